// Tip geometry: budget, line breaking, window placement and frame edges.
#include "tip/TipLayout.h"

#include <algorithm>

int TipCharBudget(int x, int nLeft, int nRight, int nCharWidth) {
    const int nBudget = std::min((nRight - x) / nCharWidth, (x - nLeft) / nCharWidth);
    // A point off its screen would give a negative budget, hence empty first lines and a
    // negative width; it is laid out like a point at the edge instead.
    return std::max(nBudget, 1);
}

TipLayout LayOutTip(CPoint pt, const CString& strText, int nGap, CSize sizeChar, int nBudget) {
    TipLayout layout;
    const int nMaxUnits = 2 * nBudget;
    const int nLength = strText.GetLength();
    int nUnits = 0;
    int nStart = 0;
    for (int i = 0; i < nLength; ++i) {
        const int nWeight = strText[i] <= 0x80 ? 1 : 2;
        nUnits += nWeight;
        if (nUnits > nMaxUnits) {
            // The unit that overflowed starts the next line.
            layout.vecLines.push_back(strText.Mid(nStart, i - nStart));
            nStart = i;
            nUnits = nWeight;
        }
    }
    const bool bBroken = !layout.vecLines.empty();
    layout.vecLines.push_back(strText.Mid(nStart));
    layout.nTextWidth = (bBroken ? nMaxUnits : nUnits) * sizeChar.cx;

    const int nTextHeight = static_cast<int>(layout.vecLines.size()) * sizeChar.cy;
    const CPoint ptTopLeft(pt.x - layout.nTextWidth / 2 - 1, pt.y - nTextHeight - nGap - 2);
    layout.rcWindow = CRect(ptTopLeft, CSize(layout.nTextWidth + 2, nTextHeight + 2));
    return layout;
}

std::array<TipFrameEdge, 4> TipFrameEdges(const CRect& rc) {
    const int x0 = rc.left;
    const int y0 = rc.top;
    const int nRight = rc.right;
    const int nBottom = rc.bottom;
    return {{
        {CRect(x0, y0, nRight - 1, y0 + 1), true},        // top, short of the last column
        {CRect(x0, y0, x0 + 1, nBottom - 1), true},       // left, short of the last row
        {CRect(nRight - 1, y0, nRight, nBottom), false},  // right, full height
        {CRect(x0, nBottom - 1, nRight, nBottom), false}, // bottom, full width
    }};
}
