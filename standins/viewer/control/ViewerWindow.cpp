// The stand-in viewer's child window: painting the scene double-buffered, and input -> events.
#include "ViewerWindow.h"

#include <new>

#include "InputEvents.h"
#include "SceneText.h"
#include "StandinServer.h"
#include "ViewerControl.h"
#include "atl/AtlResource.h"

namespace {

constexpr wchar_t kClassName[] = L"VelmoraStandinViewer";
constexpr DISPID kMouseEnter = 1;
constexpr DISPID kMouseLeave = 2;

// Per-window state, owned by the window from WM_NCCREATE to WM_NCDESTROY.
struct WindowState {
    CViewerControl* pControl;
    bool bTracking = false;    // the pointer is inside and a leave notice is requested
    bool bLeftPressed = false; // a left press started in this window: its release is a click
};

WindowState* StateOf(HWND hWnd) noexcept {
    return reinterpret_cast<WindowState*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

bool KeyDown(int nVirtKey) noexcept {
    return (::GetKeyState(nVirtKey) & 0x8000) != 0;
}

short MouseShift(WPARAM wKeyFlags) noexcept {
    return ShiftState((wKeyFlags & MK_SHIFT) != 0, (wKeyFlags & MK_CONTROL) != 0, KeyDown(VK_MENU));
}

short KeyShift() noexcept {
    return ShiftState(KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU));
}

void FireMouse(CViewerControl& control, DISPID dispid, short nButton, WPARAM wParam,
               LPARAM lParam) {
    control.Fire(dispid, {VariantI2(nButton), VariantI2(MouseShift(wParam)),
                          VariantI4(static_cast<short>(LOWORD(lParam))),
                          VariantI4(static_cast<short>(HIWORD(lParam)))});
}

void Paint(HWND hWnd, IEngine* pEngine) {
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(hWnd, &ps);
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    CUniqueDC memDC(::CreateCompatibleDC(hdc));
    CUniqueBitmap bitmap(::CreateCompatibleBitmap(hdc, rc.right, rc.bottom));
    if (memDC && bitmap) {
        CSelectObject selectBitmap(memDC.get(), bitmap.get());
        CSelectObject selectFont(memDC.get(), ::GetStockObject(DEFAULT_GUI_FONT));
        CUniqueBrush background(::CreateSolidBrush(RGB(24, 32, 48)));
        ::FillRect(memDC.get(), &rc, background.get());
        ::SetBkMode(memDC.get(), TRANSPARENT);
        ::SetTextColor(memDC.get(), RGB(220, 230, 240));
        TEXTMETRICW tm{};
        ::GetTextMetricsW(memDC.get(), &tm);
        int y = 8;
        for (const std::wstring& line : DescribeScene(pEngine)) {
            ::TextOutW(memDC.get(), 8, y, line.c_str(), static_cast<int>(line.size()));
            y += tm.tmHeight + 2;
        }
        ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, memDC.get(), 0, 0, SRCCOPY);
    }
    ::EndPaint(hWnd, &ps);
}

LRESULT CALLBACK ViewerWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* pState =
            new (std::nothrow) WindowState{static_cast<CViewerControl*>(pCreate->lpCreateParams)};
        if (!pState)
            return FALSE;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pState));
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    WindowState* pState = StateOf(hWnd);
    if (!pState)
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    CViewerControl& control = *pState->pControl;

    if (const MouseEvent* pEvent = FindMouseEvent(uMsg)) {
        const bool bPress = pEvent->dispid == DISPID_MOUSEDOWN;
        if (bPress) {
            ::SetFocus(hWnd);
            ::SetCapture(hWnd);
        } else if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            ::ReleaseCapture();
        }
        const bool bClick = uMsg == WM_LBUTTONUP && pState->bLeftPressed;
        if (pEvent->nButton == 1)
            pState->bLeftPressed = bPress;
        FireMouse(control, pEvent->dispid, pEvent->nButton, wParam, lParam);
        if (bClick)
            control.Fire(DISPID_CLICK);
        return 0;
    }
    switch (uMsg) {
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: its release ends it without another click.
        ::SetCapture(hWnd);
        pState->bLeftPressed = false;
        control.Fire(DISPID_DBLCLICK);
        return 0;
    case WM_MOUSEMOVE:
        if (!pState->bTracking) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hWnd, 0};
            pState->bTracking = ::TrackMouseEvent(&tme) != FALSE;
            control.Fire(kMouseEnter);
        }
        FireMouse(control, DISPID_MOUSEMOVE, MouseButtons(wParam), wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        // Only a leave that ends an enter: a stray notice must not report a second one.
        if (!pState->bTracking)
            return 0;
        pState->bTracking = false;
        control.Fire(kMouseLeave);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        control.Fire(uMsg == WM_KEYDOWN ? DISPID_KEYDOWN : DISPID_KEYUP,
                     {VariantI2(static_cast<short>(wParam)), VariantI2(KeyShift())});
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return 1; // painted whole, from a back buffer
    case WM_PAINT:
        Paint(hWnd, control.Engine());
        return 0;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        delete pState;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

bool RegisterViewerClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(standin::ThisModule(), kClassName, &wc))
        return true;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ViewerWindowProc;
    wc.hInstance = standin::ThisModule();
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

HWND CreateViewerWindow(CViewerControl* pControl, HWND hWndParent, const RECT& rc) {
    if (!RegisterViewerClass())
        return nullptr;
    return ::CreateWindowExW(0, kClassName, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                             rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hWndParent,
                             nullptr, standin::ThisModule(), pControl);
}
