#include "DemoTour.h"

#include "DemoLog.h"

namespace {

struct TourContext {
    CDemoHost& host;
    CWindow& mainWnd;
};

// The event road: a sink hands viewer events to the main window, whose message handling
// routes them to SinkInvoke and so to the overrides above.
bool EventRoad(TourContext& tour) {
    CCortonaSink sink(tour.mainWnd, nullptr);
    VARIANT args[4];
    for (VARIANT& v : args)
        ::VariantInit(&v);
    args[3].vt = VT_I2; // button
    args[3].iVal = 1;
    args[2].vt = VT_I2; // shift
    args[1].vt = VT_I4; // x
    args[1].lVal = 40;
    args[0].vt = VT_I4; // y
    args[0].lVal = 30;
    DISPPARAMS params{args, nullptr, 4, 0};
    sink.Invoke(DISPID_MOUSEDOWN, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    sink.Invoke(DISPID_CLICK, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    return tour.host.m_nMouseDowns == 1 && tour.host.m_nClicks == 1;
}

struct TourStep {
    const wchar_t* name;
    bool (*run)(TourContext& tour);
};

constexpr TourStep kSteps[] = {
    {L"viewer events reach the host's handlers", EventRoad},
};

} // namespace

bool RunDemoTour(CDemoHost& host, CWindow& mainWnd) {
    TourContext tour{host, mainWnd};
    int failures = 0;
    for (const TourStep& step : kSteps) {
        DemoLog(L"step: %ls", step.name);
        const bool ok = step.run(tour);
        DemoLog(L"%ls %ls", ok ? L"  ok:" : L"  FAILED:", step.name);
        failures += !ok;
    }
    DemoLog(L"tour: %d of %d steps passed", static_cast<int>(std::size(kSteps)) - failures,
            static_cast<int>(std::size(kSteps)));
    return failures == 0;
}
