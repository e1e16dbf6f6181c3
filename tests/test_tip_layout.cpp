// Tip geometry as pure arithmetic: character budget, line breaking, window placement and the
// frame edges.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tip/TipLayout.h"

namespace {

CString Repeat(wchar_t ch, int n) {
    return CString(ch, n);
}

std::vector<int> LineLengths(const TipLayout& layout) {
    std::vector<int> lengths;
    for (const CString& line : layout.vecLines)
        lengths.push_back(line.GetLength());
    return lengths;
}

std::string Describe(const CRect& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.Width()) + "x" + std::to_string(rc.Height());
}

TEST(TipBudget, NearerEdgeInCharacterWidthsAndNeverBelowOne) {
    struct Case {
        int x, nLeft, nRight, nCharWidth, nExpected;
    } const cases[] = {
        {100, 0, 1920, 8, 12},     // the left edge is nearer
        {1800, 0, 1920, 8, 15},    // the right edge is nearer
        {960, 0, 1920, 1, 960},    // the middle
        {7, 0, 1920, 8, 1},        // within one width of the left edge: 0 becomes 1
        {1913, 0, 1920, 8, 1},     // within one width of the right edge
        {-7, 0, 1920, 8, 1},       // just off the left edge truncates to 0
        {-100, 0, 1920, 8, 1},     // far off the left edge would be negative
        {2100, 0, 1920, 8, 1},     // far off the right edge would be negative
        {2020, 1920, 3840, 8, 12}, // on a second monitor, measured from its own edges
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nExpected, TipCharBudget(c.x, c.nLeft, c.nRight, c.nCharWidth))
            << "x=" << c.x << " extent [" << c.nLeft << "," << c.nRight << ") cw=" << c.nCharWidth;
}

TEST(TipLayout, BreaksLinesAndPlacesTheWindow) {
    const CPoint pt(100, 500);
    const CSize cell(8, 16);
    struct Case {
        const char* name;
        CString text;
        int nBudget;
        std::vector<int> lines;
        int nTextWidth;
        CRect rcWindow;
    } const cases[] = {
        {"30 ASCII break after 24", Repeat(L'a', 30), 12, {24, 6}, 192, CRect(3, 456, 197, 490)},
        {"15 wide break after 12", Repeat(0x4E2D, 15), 12, {12, 3}, 192, CRect(3, 456, 197, 490)},
        {"3 ASCII fit", L"abc", 12, {3}, 24, CRect(87, 472, 113, 490)},
        {"exactly 2B units fit", Repeat(L'a', 24), 12, {24}, 192, CRect(3, 472, 197, 490)},
        {"2B + 1 units break", Repeat(L'a', 25), 12, {24, 1}, 192, CRect(3, 456, 197, 490)},
        {"0x80 counts one", Repeat(0x80, 24), 12, {24}, 192, CRect(3, 472, 197, 490)},
        {"0x81 counts two", Repeat(0x81, 13), 12, {12, 1}, 192, CRect(3, 456, 197, 490)},
        {"a wide unit overflowing", L"a\x4E2D", 1, {1, 1}, 16, CRect(91, 456, 109, 490)},
        {"empty text", L"", 12, {0}, 0, CRect(99, 472, 101, 490)},
    };
    for (const Case& c : cases) {
        const TipLayout layout = LayOutTip(pt, c.text, 10, cell, c.nBudget);
        EXPECT_EQ(c.lines, LineLengths(layout)) << c.name;
        EXPECT_EQ(c.nTextWidth, layout.nTextWidth) << c.name;
        EXPECT_EQ(Describe(c.rcWindow), Describe(layout.rcWindow)) << c.name;
        CString joined;
        for (const CString& line : layout.vecLines)
            joined += line;
        EXPECT_TRUE(joined == c.text) << c.name << ": the lines together are the text";
    }
}

TEST(TipLayout, PointOffTheScreenStillGetsAPositiveWidthAndNoEmptyLine) {
    const CSize cell(8, 16);
    const CPoint pt(-100, 300);
    const TipLayout layout =
        LayOutTip(pt, L"abcde", 0, cell, TipCharBudget(pt.x, 0, 1920, cell.cx));
    EXPECT_EQ((std::vector<int>{2, 2, 1}), LineLengths(layout));
    EXPECT_EQ(16, layout.nTextWidth);
    EXPECT_EQ("-109,250 18x50", Describe(layout.rcWindow));
}

TEST(TipFrame, EdgesCoverEachBorderPixelOnceInItsColour) {
    const CRect rc(0, 0, 10, 6);
    const auto edges = TipFrameEdges(rc);
    const std::string expected[] = {"0,0 9x1", "0,0 1x5", "9,0 1x6", "0,5 10x1"};
    const bool topLeft[] = {true, true, false, false};
    for (size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(expected[i], Describe(edges[i].rc)) << "edge " << i;
        EXPECT_EQ(topLeft[i], edges[i].bTopLeft) << "edge " << i;
    }
}

} // namespace
