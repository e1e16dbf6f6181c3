// The stand-in viewer's in-process server: the control's class, registered under the viewer's
// ProgID.
#include "StandinServer.h"
#include "ViewerControl.h"

namespace {

HRESULT CreateControl(IUnknown** ppObject) {
    CViewerControl* pControl = nullptr;
    const HRESULT hr = CViewerControl::Create(&pControl);
    *ppObject = static_cast<ICortona*>(pControl);
    return hr;
}

} // namespace

const standin::ServerClass standin::g_serverClass{
    CLSID_StandinViewer, L"Cortona.Control.1", L"VelmoraBase stand-in viewer control",
    CreateControl, standin::LiveObjects<CViewerControl>};
