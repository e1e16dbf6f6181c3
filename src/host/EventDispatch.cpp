// SinkInvoke: the DISPID table that routes a viewer event to its virtual handler.
#include <utility>

#include "EventArguments.h"
#include "VelmoraBase.h"

namespace {

// Calls one handler with the arguments read from the event's argument block. The handler's
// i-th argument after the engine is rgvarg[N - 1 - i]: the block holds the last argument first.
template <auto Handler> struct Route;

template <class... Args, void (CVelmoraBase::*Handler)(CComPtr<IEngine>, Args...)>
struct Route<Handler> {
    static void Call(CVelmoraBase& host, IEngine* pEngine, const DISPPARAMS* pParams) {
        if constexpr (sizeof...(Args) == 0) {
            // An event without arguments does not look at the argument block.
            (host.*Handler)(CComPtr<IEngine>(pEngine));
        } else {
            CallWith(host, pEngine, pParams, std::index_sequence_for<Args...>());
        }
    }

private:
    template <size_t... I>
    static void CallWith(CVelmoraBase& host, IEngine* pEngine, const DISPPARAMS* pParams,
                         std::index_sequence<I...>) {
        constexpr UINT nArgs = sizeof...(Args);
        if (!pParams || !pParams->rgvarg || pParams->cArgs < nArgs)
            return;
        const VARIANT* v = pParams->rgvarg;
        if (!(EventArgument<Args>::Holds(v[nArgs - 1 - I]) && ...))
            return;
        (host.*Handler)(CComPtr<IEngine>(pEngine), EventArgument<Args>::Get(v[nArgs - 1 - I])...);
    }
};

struct EventRoute {
    DISPID dispid;
    void (*call)(CVelmoraBase& host, IEngine* pEngine, const DISPPARAMS* pParams);
};

constexpr EventRoute kEventRoutes[] = {
    {DISPID_CLICK, Route<&CVelmoraBase::Click>::Call},
    {DISPID_DBLCLICK, Route<&CVelmoraBase::DblClick>::Call},
    {DISPID_KEYDOWN, Route<&CVelmoraBase::OnKeyDown>::Call},
    {DISPID_KEYUP, Route<&CVelmoraBase::OnKeyUp>::Call},
    {DISPID_MOUSEDOWN, Route<&CVelmoraBase::MouseDown>::Call},
    {DISPID_MOUSEMOVE, Route<&CVelmoraBase::MouseMove>::Call},
    {DISPID_MOUSEUP, Route<&CVelmoraBase::MouseUp>::Call},
    {1, Route<&CVelmoraBase::OnMouseEnter>::Call},
    {2, Route<&CVelmoraBase::OnMouseOut>::Call},
    {5, Route<&CVelmoraBase::OnEventOut>::Call},
    {6, Route<&CVelmoraBase::OnSceneLoaded>::Call},
    {7, Route<&CVelmoraBase::OnAnchor>::Call},
    {8, Route<&CVelmoraBase::OnSceneUnloaded>::Call},
    {9, Route<&CVelmoraBase::OnDrag>::Call},
    {10, Route<&CVelmoraBase::OnDrop>::Call},
    {11, Route<&CVelmoraBase::OnFrameRateMeasured>::Call},
    {12, Route<&CVelmoraBase::OnCameraMove>::Call},
};

} // namespace

LRESULT CVelmoraBase::SinkInvoke(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // A WM_VIEWER_EVENT that did not come from a sink carries no record.
    const auto* pEvent = reinterpret_cast<const SinkEventParams*>(wParam);
    if (!pEvent)
        return 0;
    // Keeps the engine alive even if a handler drops the host's last reference to it.
    const CComPtr<IEngine> spHold(pEvent->engine);
    for (const EventRoute& route : kEventRoutes)
        if (route.dispid == pEvent->dispid) {
            route.call(*this, pEvent->engine, pEvent->params);
            break;
        }
    return 0;
}
