// The container side of one hosted control: the OLE client site and in-place site that an
// ActiveX host window gives the control it creates, and the control's lifetime in that window.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <oleidl.h>

#include "atl/AtlComPtr.h"

class CAxHostSite final : public IOleClientSite, public IOleInPlaceSite {
public:
    explicit CAxHostSite(HWND hWnd) noexcept : m_hWnd(hWnd) {}
    CAxHostSite(const CAxHostSite&) = delete;
    CAxHostSite& operator=(const CAxHostSite&) = delete;

    // Creates the control named by a ProgID, gives it this site and activates it in place over
    // the whole host window. On failure nothing is kept.
    HRESULT CreateControl(LPCWSTR pszProgID);
    // The hosted control with a reference for the caller.
    HRESULT QueryControl(IUnknown** ppUnk) const;
    // Follows the host window's client area.
    void Resize();
    // Closes the control and gives back every reference to it; the host window is going away.
    void ReleaseControl();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** ppFrame,
                                               IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                               LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT lprcPosRect) override;

private:
    ~CAxHostSite() = default;

    HWND m_hWnd;
    LONG m_nRefs = 1;
    CComPtr<IUnknown> m_spControl;
    CComPtr<IOleObject> m_spOleObject;
    CComPtr<IOleInPlaceObject> m_spInPlaceObject; // set while the control is active in place
};
