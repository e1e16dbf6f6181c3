// The main window stand-in of the tests.
#include "TestMainWindow.h"

namespace {

constexpr wchar_t kClassName[] = L"VelmoraTestMainWindow";

LRESULT CALLBACK TestMainWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_VIEWER_EVENT) {
        auto* pHost = reinterpret_cast<CVelmoraBase*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        BOOL bHandled = TRUE;
        return pHost ? pHost->SinkInvoke(uMsg, wParam, lParam, bHandled) : 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

CTestMainWindow::CTestMainWindow(const RECT& rc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestMainWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kClassName, L"test main window", WS_OVERLAPPEDWINDOW, rc.left,
                               rc.top, rc.right - rc.left, rc.bottom - rc.top, nullptr, nullptr,
                               wc.hInstance, nullptr);
}

CTestMainWindow::~CTestMainWindow() {
    if (IsWindow())
        DestroyWindow();
}

void CTestMainWindow::RouteEventsTo(CVelmoraBase* pHost) noexcept {
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pHost));
}
