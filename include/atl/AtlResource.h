// Move-only owners for platform resources: one template parameterised by the close function
// and the invalid value, and a one-line alias per resource. put() releases the current value
// first, so an owner can be handed to an API as an out-parameter.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <type_traits>
#include <utility>

#include "AtlException.h"
#include "AtlString.h"

// InvalidBits: the bit pattern of the "holds nothing" value (INVALID_HANDLE_VALUE is -1).
template <class T, auto Close, std::intptr_t InvalidBits = 0> class CUniqueResource {
public:
    static T Invalid() noexcept {
        if constexpr (std::is_pointer_v<T>)
            return reinterpret_cast<T>(InvalidBits);
        else
            return static_cast<T>(InvalidBits);
    }

    CUniqueResource() noexcept = default;
    explicit CUniqueResource(T value) noexcept : m_value(value) {}
    CUniqueResource(const CUniqueResource&) = delete;
    CUniqueResource& operator=(const CUniqueResource&) = delete;
    CUniqueResource(CUniqueResource&& other) noexcept : m_value(other.release()) {}
    CUniqueResource& operator=(CUniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~CUniqueResource() { reset(); }

    T get() const noexcept { return m_value; }
    explicit operator bool() const noexcept { return m_value != Invalid(); }
    T release() noexcept { return std::exchange(m_value, Invalid()); }
    void reset() noexcept { reset(Invalid()); }
    void reset(T value) noexcept {
        const T old = std::exchange(m_value, value);
        if (old != Invalid())
            Close(old);
    }
    T* put() noexcept {
        reset();
        return &m_value;
    }

private:
    T m_value = Invalid();
};

namespace velmora_detail {
inline void CloseHandleValue(HANDLE h) noexcept {
    ::CloseHandle(h);
}
inline void FreeGlobal(HGLOBAL h) noexcept {
    ::GlobalFree(h);
}
inline void FreeBstr(BSTR b) noexcept {
    ::SysFreeString(b);
}
inline void DeleteGdiObject(HGDIOBJ h) noexcept {
    ::DeleteObject(h);
}
inline void DeleteDeviceContext(HDC h) noexcept {
    ::DeleteDC(h);
}
inline void DestroySafeArray(SAFEARRAY* p) noexcept {
    ::SafeArrayDestroy(p);
}
} // namespace velmora_detail

using CUniqueHandle = CUniqueResource<HANDLE, velmora_detail::CloseHandleValue>;
using CUniqueFile = CUniqueResource<HANDLE, velmora_detail::CloseHandleValue, -1>;
using CUniqueHGlobal = CUniqueResource<HGLOBAL, velmora_detail::FreeGlobal>;
using CUniqueBstr = CUniqueResource<BSTR, velmora_detail::FreeBstr>;
using CUniqueDC = CUniqueResource<HDC, velmora_detail::DeleteDeviceContext>;
using CUniqueSafeArray = CUniqueResource<SAFEARRAY*, velmora_detail::DestroySafeArray>;
template <class T> using CUniqueGdiObject = CUniqueResource<T, velmora_detail::DeleteGdiObject>;
using CUniqueBrush = CUniqueGdiObject<HBRUSH>;
using CUniqueFont = CUniqueGdiObject<HFONT>;
using CUniqueBitmap = CUniqueGdiObject<HBITMAP>;

// A VARIANT that is cleared when it goes out of scope.
class CUniqueVariant : public VARIANT {
public:
    CUniqueVariant() noexcept { ::VariantInit(this); }
    CUniqueVariant(const CUniqueVariant&) = delete;
    CUniqueVariant& operator=(const CUniqueVariant&) = delete;
    ~CUniqueVariant() { ::VariantClear(this); }
    void reset() noexcept { ::VariantClear(this); }
    VARIANT* put() noexcept {
        ::VariantClear(this);
        return this;
    }
};

// Selects an object into a device context and selects the previous one back on scope exit.
class CSelectObject {
public:
    CSelectObject(HDC hdc, HGDIOBJ hObject) noexcept
        : m_hdc(hdc), m_hPrevious(::SelectObject(hdc, hObject)) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject() { ::SelectObject(m_hdc, m_hPrevious); }

private:
    HDC m_hdc;
    HGDIOBJ m_hPrevious;
};

// Locks a movable memory block for the scope; get() is null when the lock failed.
class CGlobalLock {
public:
    explicit CGlobalLock(HGLOBAL hGlobal) noexcept
        : m_hGlobal(hGlobal), m_p(hGlobal ? ::GlobalLock(hGlobal) : nullptr) {}
    CGlobalLock(const CGlobalLock&) = delete;
    CGlobalLock& operator=(const CGlobalLock&) = delete;
    ~CGlobalLock() {
        if (m_p)
            ::GlobalUnlock(m_hGlobal);
    }
    void* get() const noexcept { return m_p; }

private:
    HGLOBAL m_hGlobal;
    void* m_p;
};

// Every BSTR copy the library hands out is made here: out of memory raises
// CAtlException(E_OUTOFMEMORY).
inline CUniqueBstr MakeBstr(const CString& str) {
    return CUniqueBstr(str.AllocSysString());
}
