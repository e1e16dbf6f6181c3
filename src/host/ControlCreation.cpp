// Creating the viewer control in an ActiveX host window and wiring the host to its interfaces.
#include "VelmoraBase.h"

#include "host/AxHostWindow.h"

namespace {

constexpr wchar_t kViewerProgID[] = L"Cortona.Control.1";

} // namespace

bool CVelmoraBase::CreateControl(CAxWindow* pWnd, HWND hWndParent, CString strProgID,
                                 CRect rcControl) {
    if (!pWnd || strProgID.IsEmpty())
        return false;
    if (pWnd->IsWindow())
        return true;
    if (rcControl.IsRectNull())
        ::GetClientRect(hWndParent, &rcControl);
    if (!AxHostRegisterClass())
        return false;
    pWnd->m_hWnd =
        ::CreateWindowExW(0, CAxWindow::GetWndClassName(), nullptr, WS_CHILD | WS_VISIBLE,
                          rcControl.left, rcControl.top, rcControl.Width(), rcControl.Height(),
                          hWndParent, nullptr, AxHostModuleInstance(), nullptr);
    if (!pWnd->m_hWnd)
        return false;
    return pWnd->CreateControl(strProgID) == S_OK;
}

bool CVelmoraBase::CreateCortonaControl(CAxWindow* pWnd, HWND hWndParent, CRect rcControl) {
    return CreateControl(pWnd, hWndParent, kViewerProgID, rcControl);
}

bool CVelmoraBase::InitCortonaInterface(CAxWindow* pWnd, CComPtr<ICortona>& spCortona,
                                        CComPtr<IEngine>& spEngine,
                                        CComPtr<I3DViewService4>& spViewService,
                                        CComPtr<INodesCollection>& spNodes) {
    if (!pWnd || !pWnd->IsWindow())
        return false;
    if (!spCortona) {
        pWnd->QueryControl(&spCortona);
        if (!spCortona)
            return false;
    }
    if (!spEngine) {
        // A sink whose target is no window would lose every event for good: refuse first.
        if (!m_pMainWnd || !m_pMainWnd->IsWindow())
            return false;
        CComPtr<IUnknown> spEngineObject;
        spCortona->GetEngine(&spEngineObject);
        if (!spEngineObject)
            return false;
        spEngineObject.QueryInterface(&spEngine);
        if (!spEngine)
            return false;
        // Room in the list first, so that a connected sink is never left unowned.
        m_vecSinks.reserve(m_vecSinks.size() + 1);
        auto* pSink = new CCortonaSink(m_pMainWnd->m_hWnd, spEngine);
        m_vecSinks.push_back(pSink);
        AdviseSink(spCortona, spEngine, pSink);
    }
    if (!spViewService) {
        CComPtr<IServiceProvider> spProvider;
        spEngine.QueryInterface(&spProvider);
        if (spProvider)
            spProvider->QueryService(IID_I3DViewService4, IID_I3DViewService4,
                                     reinterpret_cast<void**>(&spViewService));
    }
    if (!spNodes)
        spEngine->get_Nodes(&spNodes);
    return true;
}
