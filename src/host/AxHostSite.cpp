// The container side of a hosted control: creation by ProgID, in-place activation over the
// host window, resizing, and closing with every reference given back.
#include "host/AxHostSite.h"

#include <utility>

HRESULT CAxHostSite::CreateControl(LPCWSTR pszProgID) {
    ReleaseControl();
    CLSID clsid;
    HRESULT hr = ::CLSIDFromProgID(pszProgID, &clsid);
    if (FAILED(hr))
        return hr;
    CComPtr<IUnknown> spControl;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                            IID_IUnknown, reinterpret_cast<void**>(&spControl));
    if (FAILED(hr))
        return hr;
    if (!spControl)
        return E_UNEXPECTED;
    CComPtr<IOleObject> spOleObject;
    hr = spControl.QueryInterface(&spOleObject);
    if (FAILED(hr) || !spOleObject)
        return FAILED(hr) ? hr : E_NOINTERFACE;

    // Kept from here on, so that a failure below is undone by ReleaseControl.
    m_spControl = std::move(spControl);
    m_spOleObject = spOleObject;
    DWORD dwMisc = 0;
    spOleObject->GetMiscStatus(DVASPECT_CONTENT, &dwMisc);
    if (dwMisc & OLEMISC_SETCLIENTSITEFIRST)
        hr = spOleObject->SetClientSite(this);
    CComPtr<IPersistStreamInit> spPersist;
    if (SUCCEEDED(hr) && SUCCEEDED(m_spControl.QueryInterface(&spPersist)) && spPersist)
        hr = spPersist->InitNew();
    if (SUCCEEDED(hr) && !(dwMisc & OLEMISC_SETCLIENTSITEFIRST))
        hr = spOleObject->SetClientSite(this);
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    if (SUCCEEDED(hr))
        hr = spOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, m_hWnd, &rc);
    if (SUCCEEDED(hr))
        hr = m_spControl.QueryInterface(&m_spInPlaceObject);
    if (FAILED(hr)) {
        ReleaseControl();
        return hr;
    }
    return S_OK;
}

HRESULT CAxHostSite::QueryControl(IUnknown** ppUnk) const {
    if (!m_spControl)
        return E_FAIL;
    return m_spControl.CopyTo(ppUnk);
}

void CAxHostSite::Resize() {
    if (!m_spInPlaceObject)
        return;
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    m_spInPlaceObject->SetObjectRects(&rc, &rc);
}

void CAxHostSite::ReleaseControl() {
    // Close first: the control leaves in-place activity and destroys its window while it still
    // has its site; then it gives the site back.
    if (m_spOleObject) {
        m_spOleObject->Close(OLECLOSE_NOSAVE);
        m_spOleObject->SetClientSite(nullptr);
    }
    m_spInPlaceObject.Release();
    m_spOleObject.Release();
    m_spControl.Release();
}

HRESULT CAxHostSite::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CAxHostSite::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_nRefs));
}

ULONG CAxHostSite::Release() {
    const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
    if (nRefs == 0)
        delete this;
    return static_cast<ULONG>(nRefs);
}

HRESULT CAxHostSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}

HRESULT CAxHostSite::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}

HRESULT CAxHostSite::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_hWnd;
    return S_OK;
}

HRESULT CAxHostSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                      LPRECT lprcPosRect, LPRECT lprcClipRect,
                                      LPOLEINPLACEFRAMEINFO lpFrameInfo) {
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
        return E_POINTER;
    // No frame or document window: the host window is all the container there is.
    *ppFrame = nullptr;
    *ppDoc = nullptr;
    ::GetClientRect(m_hWnd, lprcPosRect);
    *lprcClipRect = *lprcPosRect;
    if (lpFrameInfo) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = ::GetAncestor(m_hWnd, GA_ROOT);
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT CAxHostSite::OnInPlaceDeactivate() {
    m_spInPlaceObject.Release();
    return S_OK;
}

HRESULT CAxHostSite::DeactivateAndUndo() {
    if (m_spInPlaceObject)
        m_spInPlaceObject->UIDeactivate();
    return S_OK;
}

HRESULT CAxHostSite::OnPosRectChange(LPCRECT lprcPosRect) {
    if (!lprcPosRect)
        return E_POINTER;
    if (m_spInPlaceObject)
        m_spInPlaceObject->SetObjectRects(lprcPosRect, lprcPosRect);
    return S_OK;
}
