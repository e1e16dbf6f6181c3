// One HTTP request of the stand-in file-transfer component over WinHTTP: synchronous, without
// a proxy (the server is on this machine), with short time-outs so a dead server fails fast.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "atl/AtlResource.h"

namespace transfer {

namespace detail {
inline void CloseInternet(HINTERNET h) noexcept {
    ::WinHttpCloseHandle(h);
}
} // namespace detail
using CUniqueInternet = CUniqueResource<HINTERNET, detail::CloseInternet>;

// The error an HTTP status outside 2xx turns into.
inline HRESULT HttpStatusError(DWORD nStatus) {
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, nStatus & 0xFFFF);
}

class HttpRequest {
public:
    // Sends pszVerb for strPath to strAddress:nPort and waits for the response headers. When
    // hBody is a file, its next nBodySize bytes are the request body.
    HRESULT Send(const std::wstring& strAddress, int nPort, const wchar_t* pszVerb,
                 const std::wstring& strPath, HANDLE hBody = nullptr, DWORD nBodySize = 0);

    DWORD Status() const noexcept { return m_nStatus; }
    bool Succeeded() const noexcept { return m_nStatus >= 200 && m_nStatus < 300; }

    // The response's Content-Length; false when it has none.
    bool ContentLength(unsigned long long& nLength) const;

    // Writes the response body to hFile; nWritten receives the number of bytes written.
    HRESULT ReadBody(HANDLE hFile, unsigned long long& nWritten);

private:
    HRESULT WriteBody(HANDLE hBody, DWORD nBodySize);

    // Declared in opening order, so they close request first.
    CUniqueInternet m_hSession;
    CUniqueInternet m_hConnect;
    CUniqueInternet m_hRequest;
    DWORD m_nStatus = 0;
};

} // namespace transfer
