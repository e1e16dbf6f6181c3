// The stand-in file-transfer component: IInstallCtl over HTTP.
#include "InstallCtl.h"

#include <shlobj.h>

#include "HttpRequest.h"
#include "TransferPaths.h"

namespace transfer {

namespace {

std::wstring TextOf(BSTR bstr) {
    return bstr ? std::wstring(bstr, ::SysStringLen(bstr)) : std::wstring();
}

HRESULT LastError() {
    const DWORD nError = ::GetLastError();
    return nError ? HRESULT_FROM_WIN32(nError) : E_FAIL;
}

HRESULT EnsureFolder(const std::wstring& strFolder) {
    if (::CreateDirectoryW(strFolder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return S_OK;
    return LastError();
}

HRESULT LocalAppDataFolder(std::wstring& strFolder) {
    wchar_t szPath[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                     SHGFP_TYPE_CURRENT, szPath))) {
        strFolder = szPath;
        return S_OK;
    }
    const DWORD nLength = ::GetEnvironmentVariableW(L"LOCALAPPDATA", szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    strFolder = szPath;
    return S_OK;
}

// A file being downloaded: created beside its destination and deleted again unless it has
// been moved into place, so a failed transfer never leaves a partial file behind.
class CPartialFile {
public:
    CPartialFile() = default;
    CPartialFile(const CPartialFile&) = delete;
    CPartialFile& operator=(const CPartialFile&) = delete;
    ~CPartialFile() {
        m_hFile.reset();
        if (!m_strPath.empty())
            ::DeleteFileW(m_strPath.c_str());
    }

    HRESULT Create(const std::wstring& strFolder) {
        wchar_t szPath[MAX_PATH] = {};
        if (!::GetTempFileNameW(strFolder.c_str(), L"vdl", 0, szPath))
            return LastError();
        m_strPath = szPath;
        m_hFile.reset(::CreateFileW(szPath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        return m_hFile ? S_OK : LastError();
    }
    HANDLE Handle() const noexcept { return m_hFile.get(); }

    HRESULT MoveTo(const std::wstring& strDestination) {
        m_hFile.reset();
        if (!::MoveFileExW(m_strPath.c_str(), strDestination.c_str(), MOVEFILE_REPLACE_EXISTING))
            return LastError();
        m_strPath.clear();
        return S_OK;
    }

private:
    std::wstring m_strPath;
    CUniqueFile m_hFile;
};

} // namespace

HRESULT CInstallCtl::SetServiceName(BSTR bstrName) {
    // The service name is one folder locally and one path segment on the server.
    std::wstring strName = TextOf(bstrName);
    if (!IsPlainSegment(strName))
        return E_INVALIDARG;
    m_strService = std::move(strName);
    return S_OK;
}

HRESULT CInstallCtl::SetServerAddress(BSTR bstrAddress) {
    std::wstring strAddress = TextOf(bstrAddress);
    if (strAddress.empty())
        return E_INVALIDARG;
    m_strAddress = std::move(strAddress);
    return S_OK;
}

HRESULT CInstallCtl::SetServerPort(int nPort) {
    if (nPort <= 0 || nPort > 65535)
        return E_INVALIDARG;
    m_nPort = nPort;
    return S_OK;
}

HRESULT CInstallCtl::LocalFolder(std::wstring& strFolder) const {
    if (m_strService.empty())
        return E_UNEXPECTED;
    std::wstring strBase;
    HRESULT hr = LocalAppDataFolder(strBase);
    if (FAILED(hr))
        return hr;
    if (!strBase.empty() && strBase.back() != L'\\')
        strBase += L'\\';
    std::wstring strService = strBase + m_strService;
    hr = EnsureFolder(strService);
    if (FAILED(hr))
        return hr;
    strFolder = strService + L'\\';
    return S_OK;
}

HRESULT CInstallCtl::GetLocalFolder(BSTR* pbstrFolder) {
    if (!pbstrFolder)
        return E_POINTER;
    *pbstrFolder = nullptr;
    std::wstring strFolder;
    const HRESULT hr = LocalFolder(strFolder);
    if (FAILED(hr))
        return hr;
    *pbstrFolder = ::SysAllocStringLen(strFolder.data(), static_cast<UINT>(strFolder.size()));
    return *pbstrFolder ? S_OK : E_OUTOFMEMORY;
}

HRESULT CInstallCtl::ServerPathOf(const std::wstring& strName,
                                  std::vector<std::wstring>& vecSegments,
                                  std::wstring& strPath) const {
    if (m_strService.empty() || m_strAddress.empty() || m_nPort == 0)
        return E_UNEXPECTED;
    if (!SplitRelativeName(strName, vecSegments) || !ServerPath(m_strService, vecSegments, strPath))
        return E_INVALIDARG;
    return S_OK;
}

HRESULT CInstallCtl::IsLocalFileCurrent(BSTR bstrName, long nSize, VARIANT_BOOL* pbCurrent) {
    if (!pbCurrent)
        return E_POINTER;
    *pbCurrent = VARIANT_FALSE;
    std::vector<std::wstring> vecSegments;
    std::wstring strPath;
    HRESULT hr = ServerPathOf(TextOf(bstrName), vecSegments, strPath);
    if (FAILED(hr))
        return hr;
    // A negative size is no file's size: such a copy is never current.
    if (nSize < 0)
        return S_OK;
    HttpRequest request;
    hr = request.Send(m_strAddress, m_nPort, L"HEAD", strPath);
    if (FAILED(hr))
        return hr;
    if (!request.Succeeded())
        return HttpStatusError(request.Status());
    unsigned long long nServerSize = 0;
    if (request.ContentLength(nServerSize) && nServerSize == static_cast<unsigned long long>(nSize))
        *pbCurrent = VARIANT_TRUE;
    return S_OK;
}

HRESULT CInstallCtl::Download(BSTR bstrName) {
    std::vector<std::wstring> vecSegments;
    std::wstring strPath;
    HRESULT hr = ServerPathOf(TextOf(bstrName), vecSegments, strPath);
    if (FAILED(hr))
        return hr;
    std::wstring strFolder;
    hr = LocalFolder(strFolder);
    if (FAILED(hr))
        return hr;
    // Subfolders of the name are created as needed; the last segment is the file.
    for (size_t i = 0; i + 1 < vecSegments.size(); ++i) {
        strFolder += vecSegments[i];
        hr = EnsureFolder(strFolder);
        if (FAILED(hr))
            return hr;
        strFolder += L'\\';
    }
    HttpRequest request;
    hr = request.Send(m_strAddress, m_nPort, L"GET", strPath);
    if (FAILED(hr))
        return hr;
    if (!request.Succeeded())
        return HttpStatusError(request.Status());
    CPartialFile partial;
    hr = partial.Create(strFolder);
    if (FAILED(hr))
        return hr;
    unsigned long long nWritten = 0;
    hr = request.ReadBody(partial.Handle(), nWritten);
    if (FAILED(hr))
        return hr;
    unsigned long long nExpected = 0;
    if (request.ContentLength(nExpected) && nExpected != nWritten)
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF); // the connection ended early
    return partial.MoveTo(strFolder + vecSegments.back());
}

HRESULT CInstallCtl::Upload(BSTR bstrPath) {
    const std::wstring strLocalPath = TextOf(bstrPath);
    std::vector<std::wstring> vecSegments;
    std::wstring strPath;
    HRESULT hr = ServerPathOf(FileNameOfPath(strLocalPath), vecSegments, strPath);
    if (FAILED(hr))
        return hr;
    CUniqueFile hFile(::CreateFileW(strLocalPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile)
        return LastError();
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(hFile.get(), &size))
        return LastError();
    // WinHTTP takes the body length as 32 bits.
    if (static_cast<unsigned long long>(size.QuadPart) > MAXDWORD)
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    HttpRequest request;
    hr = request.Send(m_strAddress, m_nPort, L"PUT", strPath, hFile.get(),
                      static_cast<DWORD>(size.QuadPart));
    if (FAILED(hr))
        return hr;
    return request.Succeeded() ? S_OK : HttpStatusError(request.Status());
}

} // namespace transfer
