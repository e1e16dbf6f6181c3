// The demo host application. It runs the scripted tour (its log goes to demo-log.txt);
// `VelmoraDemo.exe --tour` then writes demo-screenshot.png and exits with the tour's result,
// without arguments the window stays open, with arrow keys and hover tips, until it is closed.
#include <ole2.h>

#include <cwchar>

#include "DemoHost.h"
#include "DemoLog.h"
#include "DemoTour.h"
#include "Screenshot.h"

namespace {

constexpr UINT WM_RUN_TOUR = WM_APP + 1;

struct DemoApp {
    CWindow mainWnd;
    CDemoHost* pHost = nullptr;
    bool bHeadless = false; // run the tour, save the screenshot and exit
    bool bTourPassed = false;
};
DemoApp g_app;

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_VIEWER_EVENT:
        if (g_app.pHost) {
            BOOL bHandled = TRUE;
            return g_app.pHost->SinkInvoke(uMsg, wParam, lParam, bHandled);
        }
        return 0;
    case WM_RUN_TOUR:
        g_app.bTourPassed = RunDemoTour(*g_app.pHost, g_app.mainWnd);
        DemoLog(L"screenshot: %ls", SaveWindowScreenshot(hWnd, L"demo-screenshot.png")
                                        ? L"demo-screenshot.png"
                                        : L"FAILED");
        ::DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    g_app.bHeadless = argc > 1 && std::wcscmp(argv[1], L"--tour") == 0;
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    DemoLogOpen(L"demo-log.txt");

    WNDCLASSW wc{};
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VelmoraDemoMain";
    ::RegisterClassW(&wc);
    g_app.mainWnd = ::CreateWindowExW(0, wc.lpszClassName, L"VelmoraBase demo",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 1000, 700,
                                      nullptr, nullptr, wc.hInstance, nullptr);
    if (!g_app.mainWnd.IsWindow())
        return 2;
    int exitCode = 0;
    {
        CDemoHost host(&g_app.mainWnd);
        g_app.pHost = &host;
        g_app.mainWnd.ShowWindow(SW_SHOW);
        g_app.mainWnd.UpdateWindow();
        // The tour runs in both modes; on a desktop the window then stays open to play with.
        g_app.mainWnd.PostMessage(WM_RUN_TOUR);

        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        g_app.pHost = nullptr;
        exitCode = g_app.bTourPassed ? 0 : 1;
    }
    ::OleUninitialize();
    return exitCode;
}
