// The control's connection point for its event interface: any number of sinks, each held with
// a reference and known by its cookie, and Invoke on each of them to fire an event.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <vector>

#include "ViewerInterfaces.h"
#include "atl/AtlComPtr.h"

class CEventConnectionPoint final : public IConnectionPoint {
public:
    // Part of its container: references count on the container, which outlives it.
    explicit CEventConnectionPoint(IConnectionPointContainer* pContainer) noexcept
        : m_pContainer(pContainer) {}
    CEventConnectionPoint(const CEventConnectionPoint&) = delete;
    CEventConnectionPoint& operator=(const CEventConnectionPoint&) = delete;

    // Calls Invoke on every sink connected when the event starts and still connected when its
    // turn comes; sinks may connect and disconnect from inside the calls.
    void Fire(DISPID dispid, DISPPARAMS* pParams);
    LONG SinkCount() const noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_pContainer->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_pContainer->Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* piid) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** ppContainer) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override;

private:
    struct Connection {
        DWORD dwCookie;
        CComPtr<IDispatch> spSink;
    };

    IConnectionPointContainer* m_pContainer;
    std::vector<Connection> m_connections;
    DWORD m_dwLastCookie = 0;
};
