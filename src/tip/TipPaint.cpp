// Painting the tip: double-buffered, so moving, resizing or repainting does not flicker. Every
// drawing object is made for this paint and released before it returns.
#include "TipDlg.h"

#include "atl/AtlResource.h"
#include "tip/TipLayout.h"

namespace {

// BeginPaint/EndPaint for the scope.
class CPaintScope {
public:
    explicit CPaintScope(HWND hWnd) noexcept : m_hWnd(hWnd), m_hdc(::BeginPaint(hWnd, &m_ps)) {}
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;
    ~CPaintScope() { ::EndPaint(m_hWnd, &m_ps); }
    HDC get() const noexcept { return m_hdc; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

// A solid one-colour rectangle: an opaque, empty text-out over it, background colour restored.
void FillSolid(HDC hdc, const CRect& rc, COLORREF clr) {
    const COLORREF clrPrevious = ::SetBkColor(hdc, clr);
    ::ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(hdc, clrPrevious);
}

} // namespace

LRESULT CTipDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    CPaintScope paint(m_hWnd);
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nWidth = rcClient.Width();
    const int nHeight = rcClient.Height();

    CUniqueDC memory(::CreateCompatibleDC(paint.get()));
    CUniqueBitmap bitmap(::CreateCompatibleBitmap(paint.get(), nWidth, nHeight));
    CSelectObject selectBitmap(memory.get(), bitmap.get());
    const HDC hdc = memory.get();

    CUniqueBrush brush(::CreateSolidBrush(m_clrBack));
    ::FillRect(hdc, &rcClient, brush.get());
    for (const TipFrameEdge& edge : TipFrameEdges(rcClient))
        FillSolid(hdc, edge.rc, edge.bTopLeft ? m_clrTopLeft : m_clrBottomRight);

    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, m_clrText);
    CUniqueFont font(::CreateFontW(m_nCharHeight, m_nCharWidth, 0, 0, m_nWeight, FALSE, FALSE,
                                   FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, m_strFaceName));
    {
        CSelectObject selectFont(hdc, font.get());
        for (size_t i = 0; i < m_vecLines.size(); ++i) {
            const int nTop = 1 + static_cast<int>(i) * m_nCharHeight;
            CRect rcLine(1, nTop, nWidth, nTop + m_nCharHeight);
            ::DrawTextW(hdc, m_vecLines[i], m_vecLines[i].GetLength(), &rcLine, DT_SINGLELINE);
        }
    }
    ::BitBlt(paint.get(), 0, 0, nWidth, nHeight, hdc, 0, 0, SRCCOPY);
    return 0;
}
