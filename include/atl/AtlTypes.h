// CPoint, CSize, CRect: the geometry types, thin value wrappers over POINT, SIZE and RECT.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() noexcept : SIZE{0, 0} {}
    CSize(int cx_, int cy_) noexcept : SIZE{cx_, cy_} {}
    CSize(SIZE size) noexcept : SIZE(size) {}

    bool operator==(SIZE other) const noexcept { return cx == other.cx && cy == other.cy; }
    bool operator!=(SIZE other) const noexcept { return !(*this == other); }
};

class CPoint : public POINT {
public:
    CPoint() noexcept : POINT{0, 0} {}
    CPoint(int x_, int y_) noexcept : POINT{x_, y_} {}
    CPoint(POINT pt) noexcept : POINT(pt) {}

    void Offset(int dx, int dy) noexcept {
        x += dx;
        y += dy;
    }
    void SetPoint(int x_, int y_) noexcept {
        x = x_;
        y = y_;
    }
    bool operator==(POINT other) const noexcept { return x == other.x && y == other.y; }
    bool operator!=(POINT other) const noexcept { return !(*this == other); }
};

class CRect : public RECT {
public:
    CRect() noexcept : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    CRect(const RECT& rc) noexcept : RECT(rc) {}
    CRect(POINT topLeft, SIZE size) noexcept
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    // Empty: no area. Null: all four coordinates zero.
    bool IsRectEmpty() const noexcept { return Width() <= 0 || Height() <= 0; }
    bool IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(POINT pt) const noexcept {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }
    void SetRect(int l, int t, int r, int b) noexcept { *this = CRect(l, t, r, b); }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) noexcept {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void InflateRect(int dx, int dy) noexcept {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }

    operator RECT*() noexcept { return this; }
    operator const RECT*() const noexcept { return this; }

    bool operator==(const RECT& rc) const noexcept {
        return left == rc.left && top == rc.top && right == rc.right && bottom == rc.bottom;
    }
    bool operator!=(const RECT& rc) const noexcept { return !(*this == rc); }
};
