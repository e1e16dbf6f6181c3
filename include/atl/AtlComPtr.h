// CComPtr<T>: a COM interface pointer that owns one reference.
// Assignment takes a reference on the new value before releasing the old one; &p releases the
// current value first so that it can be passed as an out-parameter.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

#include <memory>

template <class T> class CComPtr {
public:
    T* p = nullptr;

    CComPtr() noexcept = default;
    CComPtr(decltype(nullptr)) noexcept {}
    CComPtr(T* lp) noexcept : p(lp) {
        if (p)
            p->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() {
        if (p)
            p->Release();
    }

    CComPtr& operator=(T* lp) noexcept {
        if (lp)
            lp->AddRef();
        T* old = p;
        p = lp;
        if (old)
            old->Release();
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) {
            T* old = p;
            p = other.p;
            other.p = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }

    operator T*() const noexcept { return p; }
    T& operator*() const noexcept { return *p; }
    T* operator->() const noexcept { return p; }
    T** operator&() noexcept {
        Release();
        return &p;
    }
    bool operator!() const noexcept { return p == nullptr; }
    bool operator==(T* other) const noexcept { return p == other; }
    bool operator!=(T* other) const noexcept { return p != other; }

    void Release() noexcept {
        T* old = p;
        p = nullptr;
        if (old)
            old->Release();
    }
    void Attach(T* lp) noexcept {
        if (p)
            p->Release();
        p = lp;
    }
    T* Detach() noexcept {
        T* old = p;
        p = nullptr;
        return old;
    }
    HRESULT CopyTo(T** ppT) const noexcept {
        if (!ppT)
            return E_POINTER;
        *ppT = p;
        if (p)
            p->AddRef();
        return S_OK;
    }
    template <class Q> HRESULT QueryInterface(Q** pp) const noexcept {
        if (!pp)
            return E_POINTER;
        *pp = nullptr;
        return p ? p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp)) : E_POINTER;
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* pOuter = nullptr,
                             DWORD dwContext = CLSCTX_ALL) noexcept {
        Release();
        return ::CoCreateInstance(clsid, pOuter, dwContext, __uuidof(T),
                                  reinterpret_cast<void**>(&p));
    }
    bool IsEqualObject(IUnknown* pOther) const noexcept {
        if (!p || !pOther)
            return p == nullptr && pOther == nullptr;
        CComPtr<IUnknown> a, b;
        p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a.p));
        pOther->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b.p));
        return a.p == b.p;
    }
};

// A CComPtr filled by QueryInterface from any interface pointer.
template <class T> class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(T* lp) noexcept : CComPtr<T>(lp) {}
    CComQIPtr(IUnknown* lp) noexcept {
        if (lp)
            lp->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&this->p));
    }
    CComQIPtr& operator=(T* lp) noexcept {
        CComPtr<T>::operator=(lp);
        return *this;
    }
};
