// One HTTP request of the stand-in file-transfer component over WinHTTP.
#include "HttpRequest.h"

#include "TransferPaths.h"

namespace transfer {

namespace {

// Milliseconds: name resolution, connection, sending and each wait for data.
constexpr int kResolveTimeout = 2000;
constexpr int kConnectTimeout = 2000;
constexpr int kSendTimeout = 5000;
constexpr int kReceiveTimeout = 5000;

constexpr DWORD kChunkSize = 64 * 1024;

HRESULT LastError() {
    const DWORD nError = ::GetLastError();
    return nError ? HRESULT_FROM_WIN32(nError) : E_FAIL;
}

} // namespace

HRESULT HttpRequest::Send(const std::wstring& strAddress, int nPort, const wchar_t* pszVerb,
                          const std::wstring& strPath, HANDLE hBody, DWORD nBodySize) {
    if (nPort <= 0 || nPort > 65535)
        return E_INVALIDARG;
    m_hSession.reset(::WinHttpOpen(L"VelmoraTransfer/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!m_hSession)
        return LastError();
    ::WinHttpSetTimeouts(m_hSession.get(), kResolveTimeout, kConnectTimeout, kSendTimeout,
                         kReceiveTimeout);
    m_hConnect.reset(::WinHttpConnect(m_hSession.get(), strAddress.c_str(),
                                      static_cast<INTERNET_PORT>(nPort), 0));
    if (!m_hConnect)
        return LastError();
    m_hRequest.reset(::WinHttpOpenRequest(m_hConnect.get(), pszVerb, strPath.c_str(), nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!m_hRequest)
        return LastError();
    if (!::WinHttpSendRequest(m_hRequest.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, hBody ? nBodySize : 0, 0))
        return LastError();
    if (hBody) {
        const HRESULT hr = WriteBody(hBody, nBodySize);
        if (FAILED(hr))
            return hr;
    }
    if (!::WinHttpReceiveResponse(m_hRequest.get(), nullptr))
        return LastError();
    DWORD nStatus = 0;
    DWORD nSize = sizeof(nStatus);
    if (!::WinHttpQueryHeaders(
            m_hRequest.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
            WINHTTP_HEADER_NAME_BY_INDEX, &nStatus, &nSize, WINHTTP_NO_HEADER_INDEX))
        return LastError();
    m_nStatus = nStatus;
    return S_OK;
}

HRESULT HttpRequest::WriteBody(HANDLE hBody, DWORD nBodySize) {
    std::string chunk(kChunkSize, '\0');
    DWORD nLeft = nBodySize;
    while (nLeft > 0) {
        DWORD nRead = 0;
        if (!::ReadFile(hBody, chunk.data(), nLeft < kChunkSize ? nLeft : kChunkSize, &nRead,
                        nullptr))
            return LastError();
        if (nRead == 0)
            return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF); // the file shrank while being sent
        DWORD nSent = 0;
        if (!::WinHttpWriteData(m_hRequest.get(), chunk.data(), nRead, &nSent) || nSent != nRead)
            return LastError();
        nLeft -= nRead;
    }
    return S_OK;
}

bool HttpRequest::ContentLength(unsigned long long& nLength) const {
    wchar_t szValue[32] = {};
    DWORD nSize = sizeof(szValue);
    if (!::WinHttpQueryHeaders(m_hRequest.get(), WINHTTP_QUERY_CONTENT_LENGTH,
                               WINHTTP_HEADER_NAME_BY_INDEX, szValue, &nSize,
                               WINHTTP_NO_HEADER_INDEX))
        return false;
    return ParseContentLength(szValue, nLength);
}

HRESULT HttpRequest::ReadBody(HANDLE hFile, unsigned long long& nWritten) {
    nWritten = 0;
    std::string chunk(kChunkSize, '\0');
    for (;;) {
        DWORD nRead = 0;
        if (!::WinHttpReadData(m_hRequest.get(), chunk.data(), kChunkSize, &nRead))
            return LastError();
        if (nRead == 0)
            return S_OK;
        DWORD nDone = 0;
        if (!::WriteFile(hFile, chunk.data(), nRead, &nDone, nullptr) || nDone != nRead)
            return LastError();
        nWritten += nRead;
    }
}

} // namespace transfer
