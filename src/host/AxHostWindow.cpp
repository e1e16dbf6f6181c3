// The ActiveX host window: its class, and a procedure that owns one CAxHostSite per window
// (kept in the window's extra bytes, so the host's GWLP_USERDATA stays its own).
#include "host/AxHostWindow.h"

#include <new>

#include "atl/AtlAxWindow.h"
#include "host/AxHostSite.h"

namespace {

CAxHostSite* SiteOf(HWND hWnd) noexcept {
    return reinterpret_cast<CAxHostSite*>(::GetWindowLongPtrW(hWnd, 0));
}

LRESULT CALLBACK AxHostWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
        auto* pSite = new (std::nothrow) CAxHostSite(hWnd);
        if (!pSite)
            return FALSE;
        ::SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(pSite));
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    CAxHostSite* pSite = SiteOf(hWnd);
    if (!pSite) // before WM_NCCREATE, or after WM_NCDESTROY
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case AX_MSG_CREATE_CONTROL:
        return lParam ? pSite->CreateControl(reinterpret_cast<LPCWSTR>(lParam)) : E_POINTER;
    case AX_MSG_QUERY_CONTROL:
        return lParam ? pSite->QueryControl(reinterpret_cast<IUnknown**>(lParam)) : E_POINTER;
    case WM_SIZE:
        pSite->Resize();
        break;
    case WM_ERASEBKGND:
        // The control covers the whole window and paints itself.
        if (::GetWindow(hWnd, GW_CHILD))
            return 1;
        break;
    case WM_SETFOCUS:
        // Keys belong to the control's own window.
        if (HWND hChild = ::GetWindow(hWnd, GW_CHILD)) {
            ::SetFocus(hChild);
            return 0;
        }
        break;
    case WM_DESTROY:
        pSite->ReleaseControl();
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(hWnd, 0, 0);
        pSite->Release();
        break;
    default:
        break;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

HINSTANCE AxHostModuleInstance() noexcept {
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&AxHostWindowProc), &hModule);
    return hModule;
}

bool AxHostRegisterClass() noexcept {
    // Idempotent: a class already registered under our module is kept as it is.
    const HINSTANCE hInstance = AxHostModuleInstance();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(hInstance, CAxWindow::GetWndClassName(), &wc))
        return true;
    wc.lpfnWndProc = AxHostWindowProc;
    wc.cbWndExtra = sizeof(CAxHostSite*);
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = CAxWindow::GetWndClassName();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
