// Fake COM objects for tests: each counts its references so that tests can check that every
// path gives back what it took, and records the calls that matter.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "VelmoraBase.h"

// IUnknown with a visible reference count, for objects that live on the test's stack: the
// count starts at 1 for the test's own reference and is never used to delete the object.
template <class... Interfaces> class FakeComObject : public Interfaces... {
public:
    LONG m_nRefs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown)
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (FindInterface<Interfaces>(riid, ppv), ...);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }

protected:
    virtual ~FakeComObject() = default;

private:
    template <class First_, class...> struct Front { using type = First_; };
    using First = typename Front<Interfaces...>::type;

    template <class I> void FindInterface(REFIID riid, void** ppv) {
        if (!*ppv && riid == __uuidof(I))
            *ppv = static_cast<I*>(this);
    }
};

// An engine that does nothing but count references.
class FakeEngine : public FakeComObject<IEngine> {
public:
    HRESULT STDMETHODCALLTYPE get_Nodes(INodesCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateNodesFromStream(IStream*, IMFNodeObject**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Seed(IUnknown**) override { return E_NOTIMPL; }
};

// A file-transfer component that does nothing but count references.
class FakeInstallCtl : public FakeComObject<IInstallCtl> {
public:
    HRESULT STDMETHODCALLTYPE SetServiceName(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetServerAddress(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetServerPort(int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetLocalFolder(BSTR*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsLocalFileCurrent(BSTR, long, VARIANT_BOOL*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Download(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Upload(BSTR) override { return S_OK; }
};

// The viewer's event connection point: keeps its sinks (without references, as the sinks of
// the library count none) and can fire an event to all of them.
class FakeConnectionPoint : public FakeComObject<IConnectionPoint> {
public:
    std::vector<IDispatch*> m_sinks; // indexed by cookie - 1; null once unadvised
    HRESULT m_hrAdvise = S_OK;

    size_t ConnectedCount() const {
        size_t n = 0;
        for (IDispatch* p : m_sinks)
            n += p != nullptr;
        return n;
    }
    void Fire(DISPID dispid, DISPPARAMS* pParams) {
        for (IDispatch* p : std::vector<IDispatch*>(m_sinks))
            if (p)
                p->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, pParams, nullptr, nullptr, nullptr);
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* piid) override {
        *piid = DIID_ICortonaEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pSink, DWORD* pdwCookie) override {
        if (FAILED(m_hrAdvise))
            return m_hrAdvise;
        IDispatch* pDispatch = nullptr;
        pSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDispatch));
        m_sinks.push_back(pDispatch);
        *pdwCookie = static_cast<DWORD>(m_sinks.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override {
        if (dwCookie == 0 || dwCookie > m_sinks.size() || !m_sinks[dwCookie - 1])
            return CONNECT_E_NOCONNECTION;
        m_sinks[dwCookie - 1] = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

// A viewer control with the event connection point (or, with bOfferEvents false, without any
// connection-point container).
class FakeCortona : public FakeComObject<ICortona, IConnectionPointContainer> {
public:
    FakeConnectionPoint m_point;
    bool m_bOfferEvents = true;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!m_bOfferEvents && riid == IID_IConnectionPointContainer) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return FakeComObject::QueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE GetEngine(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Headlight(LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Headlight(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Speed(SHORT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Speed(SHORT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_NavigationType(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_NavigationType(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_TransitionType(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_TransitionType(BSTR*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        *ppCP = nullptr;
        if (riid != DIID_ICortonaEvents)
            return CONNECT_E_NOCONNECTION;
        *ppCP = &m_point;
        m_point.AddRef();
        return S_OK;
    }
};
