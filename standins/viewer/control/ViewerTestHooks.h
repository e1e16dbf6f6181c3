// What tests may ask of the stand-in viewer control beyond what a real viewer offers: firing
// any event through its real connection point, and looking at its connections and live objects.
#pragma once

#include "ViewerInterfaces.h"

struct IViewerTestHooks : public IUnknown {
    // Calls Invoke(dispid, pParams) on every connected sink, as the control's own events do.
    virtual HRESULT STDMETHODCALLTYPE FireEvent(DISPID dispid, DISPPARAMS* pParams) = 0;
    // Sinks connected to the event interface now.
    virtual HRESULT STDMETHODCALLTYPE get_SinkCount(LONG* pnCount) = 0;
    // Controls of this server alive now, this one included: 1 means every other has gone.
    virtual HRESULT STDMETHODCALLTYPE get_LiveObjectCount(LONG* pnCount) = 0;
    // The control's own child window, null while it is not active in place.
    virtual HRESULT STDMETHODCALLTYPE get_ControlWindow(HWND* phWnd) = 0;
};
VELMORA_DECLARE_IID(IViewerTestHooks, 0x3E6F1A94, 0xC25B, 0x4D87, 0x9F, 0x13, 0x6A, 0xB8, 0x04,
                    0xE2, 0x7C, 0x51)

// The stand-in control's class, registered under the viewer's ProgID.
inline constexpr CLSID CLSID_StandinViewer = {
    0xB7C4D2E8, 0x5A19, 0x4F63, {0x8E, 0x2D, 0x91, 0x47, 0xC0, 0x3B, 0x6F, 0xA5}};
