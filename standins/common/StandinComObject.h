// Reference-counted COM objects for the stand-ins, and per-kind counts of the ones alive so
// that a server can tell when it may unload and tests can check every path gives back what it
// made.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <new>
#include <utility>

#include "atl/AtlComPtr.h"

namespace standin {

// Objects of one kind alive in this module; Kind only tells the counts apart.
template <class Kind> inline std::atomic<LONG> g_nLiveObjects{0};

template <class Kind> LONG LiveObjects() noexcept {
    return g_nLiveObjects<Kind>;
}

// IUnknown over the listed interfaces, counted as a live object of Kind; the object deletes
// itself on its last release.
template <class Kind, class... Interfaces> class ComObject : public Interfaces... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown)
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            (FindInterface<Interfaces>(riid, ppv), ...);
        if (!*ppv)
            *ppv = FindExtraInterface(riid);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG nRefs = --m_nRefs;
        if (nRefs == 0)
            delete this;
        return nRefs;
    }

protected:
    ComObject() noexcept { ++g_nLiveObjects<Kind>; }
    virtual ~ComObject() { --g_nLiveObjects<Kind>; }
    // Identities answered besides the listed interfaces (for example a base interface they
    // share). The result is not yet AddRef'ed.
    virtual void* FindExtraInterface(REFIID) { return nullptr; }

private:
    template <class F, class...> struct Front { using type = F; };
    using First = typename Front<Interfaces...>::type;

    template <class I> void FindInterface(REFIID riid, void** ppv) {
        if (!*ppv && riid == __uuidof(I))
            *ppv = static_cast<I*>(this);
    }

    std::atomic<ULONG> m_nRefs{1};
};

// Makes an object and hands the first reference to a smart pointer.
template <class T, class... Args> CComPtr<T> MakeComObject(Args&&... args) {
    CComPtr<T> sp;
    sp.Attach(new T(std::forward<Args>(args)...));
    return sp;
}

// Runs the body of a COM method: running out of memory becomes E_OUTOFMEMORY instead of an
// exception crossing the interface.
template <class F> HRESULT NoThrow(F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Hands a reference out through an out-parameter.
template <class I> HRESULT ReturnInterface(I* p, I** pp) {
    if (!pp)
        return E_POINTER;
    *pp = p;
    if (p)
        p->AddRef();
    return S_OK;
}

} // namespace standin
