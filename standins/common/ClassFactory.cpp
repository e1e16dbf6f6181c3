// The class object of a stand-in server.
#include "StandinServer.h"

namespace standin {

HRESULT ClassFactory::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != m_server.clsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    return QueryInterface(riid, ppv);
}

HRESULT ClassFactory::CanUnloadNow() const noexcept {
    return m_server.pfnLiveObjects() == 0 && m_nLocks == 0 ? S_OK : S_FALSE;
}

HRESULT ClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
}

HRESULT ClassFactory::CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pOuter)
        return CLASS_E_NOAGGREGATION;
    IUnknown* pObject = nullptr;
    HRESULT hr = m_server.pfnCreate(&pObject);
    if (FAILED(hr))
        return hr;
    hr = pObject->QueryInterface(riid, ppv);
    pObject->Release();
    return hr;
}

HRESULT ClassFactory::LockServer(BOOL bLock) {
    m_nLocks += bLock ? 1 : -1;
    return S_OK;
}

} // namespace standin
