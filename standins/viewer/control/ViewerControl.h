// The stand-in viewer control: the viewer's main interface over a scene engine, the event
// connection point, in-place activation in a container's window, and the test hooks.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleidl.h>
#include <ocidl.h>

#include <initializer_list>

#include "EventConnectionPoint.h"
#include "StandinComObject.h"
#include "StandinEngine.h"
#include "ViewerInterfaces.h"
#include "ViewerTestHooks.h"
#include "atl/AtlComPtr.h"
#include "atl/AtlResource.h"

// Counted as live objects of its own kind, for DllCanUnloadNow and the test hooks.
class CViewerControl final
    : public standin::ComObject<CViewerControl, ICortona, IConnectionPointContainer, IOleObject,
                                IOleInPlaceObject, IViewerTestHooks>,
      private EngineListener {
public:
    // A new control with an empty scene, with one reference for the caller.
    static HRESULT Create(CViewerControl** ppControl);

    // Fires an event to every sink; the arguments in call order (the last one ends up first in
    // the argument block).
    void Fire(DISPID dispid, std::initializer_list<VARIANT> args = {});
    IEngine* Engine() const noexcept { return m_spEngine; }

    // ICortona
    HRESULT STDMETHODCALLTYPE GetEngine(IUnknown** ppEngine) override;
    HRESULT STDMETHODCALLTYPE put_Headlight(LONG bOn) override;
    HRESULT STDMETHODCALLTYPE get_Headlight(LONG* pbOn) override;
    HRESULT STDMETHODCALLTYPE put_Speed(SHORT nSpeed) override;
    HRESULT STDMETHODCALLTYPE get_Speed(SHORT* pnSpeed) override;
    HRESULT STDMETHODCALLTYPE put_NavigationType(BSTR bstrType) override;
    HRESULT STDMETHODCALLTYPE get_NavigationType(BSTR* pbstrType) override;
    HRESULT STDMETHODCALLTYPE put_TransitionType(BSTR bstrType) override;
    HRESULT STDMETHODCALLTYPE get_TransitionType(BSTR* pbstrType) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD dwSaveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** ppData) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG,
                                     HWND hwndParent, LPCRECT lprcPosRect) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** ppEnum) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* pClsid) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD dwDrawAspect, SIZEL* psizel) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* pdwConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** ppEnum) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD dwAspect, DWORD* pdwStatus) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

    // IViewerTestHooks
    HRESULT STDMETHODCALLTYPE FireEvent(DISPID dispid, DISPPARAMS* pParams) override;
    HRESULT STDMETHODCALLTYPE get_SinkCount(LONG* pnCount) override;
    HRESULT STDMETHODCALLTYPE get_LiveObjectCount(LONG* pnCount) override;
    HRESULT STDMETHODCALLTYPE get_ControlWindow(HWND* phWnd) override;

private:
    CViewerControl() noexcept;
    ~CViewerControl() override;

    // IOleWindow is answered by the in-place object.
    void* FindExtraInterface(REFIID riid) override;

    // EngineListener
    void SceneLoaded(short nStatus) override;
    void SceneUnloaded() override;
    void CameraMoved(long nReason) override;
    void SceneChanged() override;

    HRESULT ActivateInPlace(IOleClientSite* pSite, HWND hwndParent, LPCRECT lprcPosRect);

    CComPtr<IEngine> m_spEngine;
    CEventConnectionPoint m_eventPoint;
    CComPtr<IOleClientSite> m_spClientSite;
    CComPtr<IOleInPlaceSite> m_spInPlaceSite; // set while active in place
    HWND m_hWnd = nullptr;
    SIZEL m_extent{5000, 5000}; // HIMETRIC
    LONG m_bHeadlight = 1;
    SHORT m_nSpeed = 1;
    CUniqueBstr m_bstrNavigationType;
    CUniqueBstr m_bstrTransitionType;
};
