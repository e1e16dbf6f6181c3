// The stand-in viewer control.
#include "ViewerControl.h"

#include <algorithm>
#include <new>
#include <vector>

#include "InputEvents.h"
#include "StandinServer.h"
#include "ViewerWindow.h"

namespace {

HRESULT CopyBstr(BSTR bstrFrom, BSTR* pbstrTo) {
    if (!pbstrTo)
        return E_POINTER;
    *pbstrTo = ::SysAllocStringLen(bstrFrom, ::SysStringLen(bstrFrom));
    return *pbstrTo ? S_OK : E_OUTOFMEMORY;
}

HRESULT KeepBstr(BSTR bstrFrom, CUniqueBstr& bstrTo) {
    BSTR bstrCopy = ::SysAllocStringLen(bstrFrom, ::SysStringLen(bstrFrom));
    if (!bstrCopy)
        return E_OUTOFMEMORY;
    bstrTo.reset(bstrCopy);
    return S_OK;
}

template <class T> HRESULT NoObject(T** pp) {
    if (pp)
        *pp = nullptr;
    return E_NOTIMPL;
}

} // namespace

HRESULT CViewerControl::Create(CViewerControl** ppControl) {
    *ppControl = nullptr;
    CComPtr<IEngine> spEngine;
    HRESULT hr = CreateStandinEngine(&spEngine);
    if (FAILED(hr))
        return hr;
    // Engines handed out may outlive every control, and only the engine knows when it is gone:
    // the server stays loaded for the rest of the process.
    standin::PinThisModule();
    auto* pControl = new (std::nothrow) CViewerControl();
    if (!pControl)
        return E_OUTOFMEMORY;
    pControl->m_spEngine = spEngine;
    SetEngineListener(spEngine, pControl);
    *ppControl = pControl;
    return S_OK;
}

CViewerControl::CViewerControl() noexcept
    : m_eventPoint(this), m_bstrNavigationType(::SysAllocString(L"EXAMINE")),
      m_bstrTransitionType(::SysAllocString(L"LINEAR")) {}

CViewerControl::~CViewerControl() {
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    // Hosts may keep the engine longer: it must not call a control that is gone.
    if (m_spEngine)
        SetEngineListener(m_spEngine, nullptr);
}

void CViewerControl::Fire(DISPID dispid, std::initializer_list<VARIANT> args) {
    std::vector<VARIANT> rgvarg(args.begin(), args.end());
    std::reverse(rgvarg.begin(), rgvarg.end());
    DISPPARAMS params{rgvarg.data(), nullptr, static_cast<UINT>(rgvarg.size()), 0};
    // Held for the event: a handler may release the host's last reference.
    CComPtr<IUnknown> spSelf(static_cast<ICortona*>(this));
    m_eventPoint.Fire(dispid, &params);
}

void* CViewerControl::FindExtraInterface(REFIID riid) {
    return riid == IID_IOleWindow ? static_cast<IOleInPlaceObject*>(this) : nullptr;
}

HRESULT CViewerControl::GetEngine(IUnknown** ppEngine) {
    if (!ppEngine)
        return E_POINTER;
    *ppEngine = nullptr;
    return m_spEngine->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(ppEngine));
}

HRESULT CViewerControl::put_Headlight(LONG bOn) {
    m_bHeadlight = bOn ? 1 : 0;
    return S_OK;
}

HRESULT CViewerControl::get_Headlight(LONG* pbOn) {
    if (!pbOn)
        return E_POINTER;
    *pbOn = m_bHeadlight;
    return S_OK;
}

HRESULT CViewerControl::put_Speed(SHORT nSpeed) {
    m_nSpeed = nSpeed;
    return S_OK;
}

HRESULT CViewerControl::get_Speed(SHORT* pnSpeed) {
    if (!pnSpeed)
        return E_POINTER;
    *pnSpeed = m_nSpeed;
    return S_OK;
}

HRESULT CViewerControl::put_NavigationType(BSTR bstrType) {
    return KeepBstr(bstrType, m_bstrNavigationType);
}

HRESULT CViewerControl::get_NavigationType(BSTR* pbstrType) {
    return CopyBstr(m_bstrNavigationType.get(), pbstrType);
}

HRESULT CViewerControl::put_TransitionType(BSTR bstrType) {
    return KeepBstr(bstrType, m_bstrTransitionType);
}

HRESULT CViewerControl::get_TransitionType(BSTR* pbstrType) {
    return CopyBstr(m_bstrTransitionType.get(), pbstrType);
}

HRESULT CViewerControl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
    return NoObject(ppEnum);
}

HRESULT CViewerControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    if (riid != DIID_ICortonaEvents)
        return CONNECT_E_NOCONNECTION;
    *ppCP = &m_eventPoint;
    m_eventPoint.AddRef();
    return S_OK;
}

HRESULT CViewerControl::SetClientSite(IOleClientSite* pClientSite) {
    m_spClientSite = pClientSite;
    return S_OK;
}

HRESULT CViewerControl::GetClientSite(IOleClientSite** ppClientSite) {
    if (!ppClientSite)
        return E_POINTER;
    return m_spClientSite.CopyTo(ppClientSite);
}

HRESULT CViewerControl::Close(DWORD) {
    return InPlaceDeactivate();
}

HRESULT CViewerControl::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    return NoObject(ppmk);
}

HRESULT CViewerControl::GetClipboardData(DWORD, IDataObject** ppData) {
    return NoObject(ppData);
}

HRESULT CViewerControl::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                               HWND hwndParent, LPCRECT lprcPosRect) {
    switch (iVerb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(pActiveSite ? pActiveSite : m_spClientSite.p, hwndParent,
                               lprcPosRect);
    case OLEIVERB_HIDE:
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
        return S_OK;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT CViewerControl::ActivateInPlace(IOleClientSite* pSite, HWND hwndParent,
                                        LPCRECT lprcPosRect) {
    if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        return S_OK;
    }
    if (!pSite)
        return E_UNEXPECTED;
    CComPtr<IOleInPlaceSite> spSite;
    HRESULT hr = pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&spSite));
    if (FAILED(hr) || !spSite)
        return E_NOINTERFACE;
    if (spSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;
    if (!hwndParent && FAILED(spSite->GetWindow(&hwndParent)))
        return E_FAIL;

    // The site's own idea of the position wins over the one passed with the verb.
    RECT rcPos{};
    if (lprcPosRect)
        rcPos = *lprcPosRect;
    CComPtr<IOleInPlaceFrame> spFrame;
    CComPtr<IOleInPlaceUIWindow> spDoc;
    RECT rcClip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof(frameInfo);
    RECT rcSite{};
    if (SUCCEEDED(spSite->GetWindowContext(&spFrame, &spDoc, &rcSite, &rcClip, &frameInfo)))
        rcPos = rcSite;

    hr = spSite->OnInPlaceActivate();
    if (FAILED(hr))
        return hr;
    m_hWnd = CreateViewerWindow(this, hwndParent, rcPos);
    if (!m_hWnd) {
        spSite->OnInPlaceDeactivate();
        return HRESULT_FROM_WIN32(::GetLastError());
    }
    m_spInPlaceSite = spSite;
    return S_OK;
}

HRESULT CViewerControl::EnumVerbs(IEnumOLEVERB** ppEnum) {
    if (ppEnum)
        *ppEnum = nullptr;
    return OLE_S_USEREG;
}

HRESULT CViewerControl::GetUserClassID(CLSID* pClsid) {
    if (!pClsid)
        return E_POINTER;
    *pClsid = CLSID_StandinViewer;
    return S_OK;
}

HRESULT CViewerControl::SetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!psizel)
        return E_POINTER;
    m_extent = *psizel;
    return S_OK;
}

HRESULT CViewerControl::GetExtent(DWORD dwDrawAspect, SIZEL* psizel) {
    if (dwDrawAspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!psizel)
        return E_POINTER;
    *psizel = m_extent;
    return S_OK;
}

HRESULT CViewerControl::Advise(IAdviseSink*, DWORD* pdwConnection) {
    if (pdwConnection)
        *pdwConnection = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CViewerControl::EnumAdvise(IEnumSTATDATA** ppEnum) {
    if (ppEnum)
        *ppEnum = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CViewerControl::GetMiscStatus(DWORD, DWORD* pdwStatus) {
    if (!pdwStatus)
        return E_POINTER;
    *pdwStatus = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
                 OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

HRESULT CViewerControl::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_hWnd;
    return m_hWnd ? S_OK : E_FAIL;
}

HRESULT CViewerControl::InPlaceDeactivate() {
    if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    if (CComPtr<IOleInPlaceSite> spSite = std::move(m_spInPlaceSite))
        spSite->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT CViewerControl::SetObjectRects(LPCRECT lprcPosRect, LPCRECT) {
    if (!lprcPosRect)
        return E_POINTER;
    if (m_hWnd)
        ::MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top,
                     lprcPosRect->right - lprcPosRect->left, lprcPosRect->bottom - lprcPosRect->top,
                     TRUE);
    return S_OK;
}

HRESULT CViewerControl::FireEvent(DISPID dispid, DISPPARAMS* pParams) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    CComPtr<IUnknown> spSelf(static_cast<ICortona*>(this));
    m_eventPoint.Fire(dispid, pParams ? pParams : &none);
    return S_OK;
}

HRESULT CViewerControl::get_SinkCount(LONG* pnCount) {
    if (!pnCount)
        return E_POINTER;
    *pnCount = m_eventPoint.SinkCount();
    return S_OK;
}

HRESULT CViewerControl::get_LiveObjectCount(LONG* pnCount) {
    if (!pnCount)
        return E_POINTER;
    *pnCount = standin::LiveObjects<CViewerControl>();
    return S_OK;
}

HRESULT CViewerControl::get_ControlWindow(HWND* phWnd) {
    if (!phWnd)
        return E_POINTER;
    *phWnd = m_hWnd;
    return S_OK;
}

void CViewerControl::SceneLoaded(short nStatus) {
    Fire(6, {VariantI2(nStatus)});
}

void CViewerControl::SceneUnloaded() {
    Fire(8);
}

void CViewerControl::CameraMoved(long nReason) {
    Fire(12, {VariantI4(nReason)});
}

void CViewerControl::SceneChanged() {
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
