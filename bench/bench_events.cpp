// Events per second through the whole road (sink Invoke -> SendMessageW -> SinkInvoke ->
// override) against a bare SendMessageW round trip to the same window.
#include <ole2.h>

#include <cstdio>

#include "BenchHarness.h"
#include "VelmoraBase.h"

namespace {

class CountingHost : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;
    long m_nEvents = 0;
    void MouseMove(CComPtr<IEngine>, short, short, long x, long) override { m_nEvents += x; }
};

constexpr UINT WM_BARE_ROUND_TRIP = WM_APP + 1;

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_BARE_ROUND_TRIP)
        return 0;
    if (uMsg == WM_VIEWER_EVENT) {
        auto* pHost = reinterpret_cast<CVelmoraBase*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        BOOL bHandled = TRUE;
        return pHost->SinkInvoke(uMsg, wParam, lParam, bHandled);
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

int main() {
    ::OleInitialize(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelmoraBenchHost";
    ::RegisterClassW(&wc);
    CWindow main(::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, wc.hInstance, nullptr));
    {
        CountingHost host(&main);
        ::SetWindowLongPtrW(main, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
        CCortonaSink sink(main, nullptr);

        VARIANT args[4];
        for (VARIANT& v : args)
            ::VariantInit(&v);
        args[3].vt = VT_I2; // button
        args[2].vt = VT_I2; // shift
        args[1].vt = VT_I4; // x
        args[1].lVal = 1;
        args[0].vt = VT_I4; // y
        DISPPARAMS params{args, nullptr, 4, 0};

        constexpr int kIterations = 20000;
        const double bare = bench::MedianSeconds(
            [&] { ::SendMessageW(main, WM_BARE_ROUND_TRIP, 0, 0); }, kIterations);
        const double road = bench::MedianSeconds(
            [&] {
                sink.Invoke(DISPID_MOUSEMOVE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                            nullptr, nullptr);
            },
            kIterations);
        bench::PrintHeader("Event road: one MouseMove event per call");
        bench::ReportRatio("sink -> SinkInvoke -> override vs SendMessageW", bare, road, 1.5);
        std::printf("events per second: %.0f (bare round trips: %.0f)\n", 1.0 / road, 1.0 / bare);
        bench::KeepAlive(host.m_nEvents);
    }
    main.DestroyWindow();
    ::OleUninitialize();
    return 0;
}
