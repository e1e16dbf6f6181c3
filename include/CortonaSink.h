// The viewer's event path: CCortonaSink receives the viewer's event calls and forwards each,
// synchronously, to the host main window as WM_VIEWER_EVENT; CVelmoraBase::SinkInvoke turns the
// message into a call of the matching virtual handler.
//
// Events (DISPID -> handler, arguments after the engine; rgvarg[0] is the last argument):
//   -600 Click                  -601 DblClick
//   -602 OnKeyDown(key, shift)  -604 OnKeyUp(key, shift)             VT_I2, VT_I2
//   -605 MouseDown, -606 MouseMove, -607 MouseUp (button, shift, x, y) VT_I2, VT_I2, VT_I4, VT_I4
//      1 OnMouseEnter              2 OnMouseOut                   8 OnSceneUnloaded
//      5 OnEventOut(node, field, value, time)        VT_DISPATCH, VT_BSTR, VT_BSTR, VT_R8
//      6 OnSceneLoaded(status)                       VT_I2
//      7 OnAnchor(url, target, description, param)   four VT_BSTR
//      9 OnDrag, 10 OnDrop(data, button, shift, x, y) VT_BSTR, VT_I2, VT_I2, VT_I4, VT_I4
//     11 OnFrameRateMeasured(rate)                   VT_R4
//     12 OnCameraMove(reason)                        VT_I4
// Any other DISPID calls nothing. A handler with arguments runs only when the argument block
// holds at least that many arguments, each of the listed type or a VT_BYREF to it.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "ViewerInterfaces.h"
#include "atl/AtlComPtr.h"

// The private message a sink sends to the host main window; wParam is a SinkEventParams*.
constexpr UINT WM_VIEWER_EVENT = 3369; // WM_USER + 2345

// One event, on the stack of the sink's Invoke for the duration of the send.
struct SinkEventParams {
    IEngine* engine; // lent, no reference of its own; may be null
    DISPID dispid;
    DISPPARAMS* params; // as the viewer passed it
};

// A plain (not reference-counted) event sink. Its lifetime belongs to the host object that
// created it; it disconnects itself from the viewer when deleted, so a control that outlives
// its host never calls a freed sink.
class CCortonaSink final : public IDispatch {
public:
    CComPtr<IEngine> m_spEngine;
    HWND m_hWndTarget;

    CCortonaSink(HWND hWnd, CComPtr<IEngine> spEngine)
        : m_spEngine(static_cast<CComPtr<IEngine>&&>(spEngine)), m_hWndTarget(hWnd) {}
    CCortonaSink(const CCortonaSink&) = delete;
    CCortonaSink& operator=(const CCortonaSink&) = delete;
    ~CCortonaSink() {
        for (Connection& connection : m_connections)
            connection.spPoint->Unadvise(connection.dwCookie);
    }

    // Every interface is the sink itself; no reference is counted.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = static_cast<IDispatch*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 0; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD,
                                     DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        SinkEventParams event{m_spEngine.p, dispIdMember, pDispParams};
        ::SendMessageW(m_hWndTarget, WM_VIEWER_EVENT, reinterpret_cast<WPARAM>(&event), 0);
        return S_OK;
    }

private:
    friend class CVelmoraBase;

    // Where AdviseSink connected the sink, so that deleting it disconnects it.
    struct Connection {
        CComPtr<IConnectionPoint> spPoint;
        DWORD dwCookie;
    };
    std::vector<Connection> m_connections;
    // Host objects (an original and its copies) that share this sink; the last one deletes it.
    long m_nOwners = 1;
};
