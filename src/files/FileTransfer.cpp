// File transfer through the file-transfer component: creating and configuring it, downloads
// that skip a local copy the component calls current, uploads, and the optional failure
// messages.
#include "VelmoraBase.h"

#include "atl/AtlResource.h"

#include <io.h>
#include <sys/stat.h>

#include <climits>

namespace {

// Message texts, written as escapes so the encoding of this file never matters.
constexpr wchar_t kFailureCaption[] = L"\u51FA\u9519\u5566";
constexpr wchar_t kDownloadFailurePrefix[] = L"\u4E0B\u8F7D\u6587\u4EF6<";
constexpr wchar_t kUploadFailurePrefix[] = L"\u4E0A\u4F20\u6587\u4EF6<";
constexpr wchar_t kFailureSuffix[] = L">\u5931\u8D25!";

void ShowFailure(const wchar_t* pszPrefix, const CString& strSubject) {
    const CString strText = pszPrefix + strSubject + kFailureSuffix;
    ::MessageBoxW(nullptr, strText, kFailureCaption, MB_OK);
}

bool FileExists(const CString& strPath) {
    return _waccess(strPath, 0) == 0;
}

// The component takes the local size as a 32-bit number. A file too large for it is passed as
// -1, a size no file can have, so its copy is never taken as current and is fetched again.
long SizeForComponent(__int64 nSize) {
    return nSize <= LONG_MAX ? static_cast<long>(nSize) : -1L;
}

} // namespace

bool CVelmoraBase::InitFileTransfer(CComPtr<IInstallCtl>& spCtl, CString strServiceName,
                                    CString strServerAddress, int nServerPort,
                                    CString& strLocalFolder) {
    if (spCtl)
        return false;
    spCtl.CoCreateInstance(CLSID_InstallCtl, nullptr, CLSCTX_ALL);
    if (!spCtl)
        return false;
    if (strServiceName.IsEmpty())
        return false;
    spCtl->SetServiceName(MakeBstr(strServiceName).get());
    if (strServerAddress.IsEmpty())
        return false;
    spCtl->SetServerAddress(MakeBstr(strServerAddress).get());
    if (nServerPort <= 1)
        return false;
    spCtl->SetServerPort(nServerPort);
    CUniqueBstr bstrFolder;
    spCtl->GetLocalFolder(bstrFolder.put());
    strLocalFolder = bstrFolder.get();
    return true;
}

bool CVelmoraBase::DownloadFile(CString strName, bool bShowMsg) {
    if (!m_spInstallCtl || strName.IsEmpty())
        return false;
    // The folder is expected to end with a separator; none is inserted.
    const CString strLocalPath = m_strLocalFolder + strName;
    if (!FileExists(strLocalPath)) {
        if (SUCCEEDED(m_spInstallCtl->Download(MakeBstr(strName).get())))
            return FileExists(strLocalPath);
    } else {
        // The 64-bit size, so that a file of 2 GiB or more is asked about too rather than
        // failing the size query and counting as current.
        struct _stat64 status;
        if (_wstat64(strLocalPath, &status) != 0)
            return true;
        VARIANT_BOOL bCurrent = VARIANT_FALSE;
        m_spInstallCtl->IsLocalFileCurrent(MakeBstr(strName).get(),
                                           SizeForComponent(status.st_size), &bCurrent);
        if (bCurrent)
            return true;
        if (SUCCEEDED(m_spInstallCtl->Download(MakeBstr(strName).get())))
            return true;
    }
    if (bShowMsg)
        ShowFailure(kDownloadFailurePrefix, strName);
    return false;
}

bool CVelmoraBase::UploadFile(CString strPath, bool bShowMsg) {
    if (!m_spInstallCtl || !FileExists(strPath))
        return false;
    if (SUCCEEDED(m_spInstallCtl->Upload(MakeBstr(strPath).get())))
        return true;
    if (bShowMsg)
        ShowFailure(kUploadFailurePrefix, strPath);
    return false;
}
