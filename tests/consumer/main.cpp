// A minimal host: its main class derives from CVelmoraBase, its main window routes
// WM_VIEWER_EVENT to SinkInvoke, and its override hears a viewer event.
#include <ole2.h>

#include <cstdio>

#include "VelmoraBase.h"

class CMyApp : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;
    int m_nClicks = 0;
    void Click(CComPtr<IEngine>) override { ++m_nClicks; }
};

static CMyApp* g_pApp = nullptr;

static LRESULT CALLBACK MainProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_VIEWER_EVENT && g_pApp) {
        BOOL bHandled = TRUE;
        return g_pApp->SinkInvoke(uMsg, wParam, lParam, bHandled);
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

int main() {
    ::OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MyAppMain";
    ::RegisterClassW(&wc);
    CWindow mainWnd(::CreateWindowExW(0, wc.lpszClassName, L"My app", WS_OVERLAPPEDWINDOW, 0, 0,
                                      640, 480, nullptr, nullptr, wc.hInstance, nullptr));
    int failures = 0;
    {
        CMyApp app(&mainWnd);
        g_pApp = &app;
        // With the viewer registered, CreateCortonaControl and InitCortonaInterface connect its
        // events; here a sink stands in for it.
        CCortonaSink sink(mainWnd, nullptr);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        sink.Invoke(DISPID_CLICK, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
        failures += app.m_nClicks != 1;

        std::vector<CString> parts;
        app.Split(L"a,b,c", L",", parts, false);
        failures += app.Join(parts, L"+") != L"a+b+c";
        failures += app.Find_Last(L"abcabc", L"bc") != 4;
        g_pApp = nullptr;
    }
    mainWnd.DestroyWindow();
    ::OleUninitialize();
    std::printf("consumer: %s\n", failures ? "FAILED" : "ok");
    return failures;
}
