// The event connection point of the stand-in viewer control.
#include "EventConnectionPoint.h"

#include <algorithm>

void CEventConnectionPoint::Fire(DISPID dispid, DISPPARAMS* pParams) {
    std::vector<DWORD> cookies;
    for (const Connection& connection : m_connections)
        cookies.push_back(connection.dwCookie);
    for (DWORD dwCookie : cookies) {
        auto it = std::find_if(m_connections.begin(), m_connections.end(),
                               [&](const Connection& c) { return c.dwCookie == dwCookie; });
        // No reference of our own around the call: a sink that counts nothing may be deleted
        // by the handler it calls, and must not be released afterwards.
        if (it != m_connections.end())
            it->spSink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, pParams,
                               nullptr, nullptr, nullptr);
    }
}

LONG CEventConnectionPoint::SinkCount() const noexcept {
    return static_cast<LONG>(m_connections.size());
}

HRESULT CEventConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT CEventConnectionPoint::GetConnectionInterface(IID* piid) {
    if (!piid)
        return E_POINTER;
    *piid = DIID_ICortonaEvents;
    return S_OK;
}

HRESULT
CEventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppContainer) {
    if (!ppContainer)
        return E_POINTER;
    *ppContainer = m_pContainer;
    m_pContainer->AddRef();
    return S_OK;
}

HRESULT CEventConnectionPoint::Advise(IUnknown* pSink, DWORD* pdwCookie) {
    if (!pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    if (!pSink)
        return E_POINTER;
    CComPtr<IDispatch> spSink;
    if (FAILED(pSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&spSink))) || !spSink)
        return CONNECT_E_CANNOTCONNECT;
    m_connections.push_back({++m_dwLastCookie, std::move(spSink)});
    *pdwCookie = m_dwLastCookie;
    return S_OK;
}

HRESULT CEventConnectionPoint::Unadvise(DWORD dwCookie) {
    auto it = std::find_if(m_connections.begin(), m_connections.end(),
                           [&](const Connection& c) { return c.dwCookie == dwCookie; });
    if (it == m_connections.end())
        return CONNECT_E_NOCONNECTION;
    // Out of the list before the sink is released: its Release may call back in.
    CComPtr<IDispatch> spSink(std::move(it->spSink));
    m_connections.erase(it);
    return S_OK;
}

HRESULT CEventConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
    if (ppEnum)
        *ppEnum = nullptr;
    return E_NOTIMPL;
}
