// CAtlException: the one exception the library raises itself, carrying an HRESULT
// (E_OUTOFMEMORY when a BSTR copy cannot be allocated).
#pragma once

#include <windows.h>

class CAtlException {
public:
    HRESULT m_hr;

    CAtlException() noexcept : m_hr(E_FAIL) {}
    explicit CAtlException(HRESULT hr) noexcept : m_hr(hr) {}
    operator HRESULT() const noexcept { return m_hr; }
};

[[noreturn]] inline void AtlThrow(HRESULT hr) {
    throw CAtlException(hr);
}
