// The tip's geometry as pure arithmetic: the character budget, the line breaking and the window
// rectangle of a show, and the rectangles of the one-pixel frame that the paint draws.
#pragma once

#include <array>
#include <vector>

#include "atl/AtlString.h"
#include "atl/AtlTypes.h"

// The number of layout units on each side of x that keep a text area centred on x within the
// horizontal extent [nLeft, nRight) of its screen. nCharWidth must be at least 1. Never below
// 1: a point at an edge, or off its screen, still gets lines of up to two units.
int TipCharBudget(int x, int nLeft, int nRight, int nCharWidth);

struct TipLayout {
    std::vector<CString> vecLines; // top to bottom; at least one, possibly empty
    int nTextWidth = 0;            // pixels, without the frame
    CRect rcWindow;                // screen rectangle of the window, frame included
};

// Breaks strText into lines of at most 2 * nBudget units (a code unit up to 0x80 counts one,
// any other two) and places the framed text area centred on pt.x with its lower edge nGap
// pixels above pt.y. sizeChar.cx is the unit width, sizeChar.cy the line pitch.
TipLayout LayOutTip(CPoint pt, const CString& strText, int nGap, CSize sizeChar, int nBudget);

// One frame edge: its rectangle and whether it takes the top-left colour (else the
// bottom-right one).
struct TipFrameEdge {
    CRect rc;
    bool bTopLeft;
};

// The four edges of the frame around rcClient, in drawing order: top, left, right, bottom.
std::array<TipFrameEdge, 4> TipFrameEdges(const CRect& rcClient);
