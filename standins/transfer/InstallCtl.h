// The stand-in file-transfer component: IInstallCtl over HTTP. Files live on the server under
// /<service name>/<file name>; the local folder is <local application data>\<service name>\.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "StandinComObject.h"
#include "ViewerInterfaces.h"

namespace transfer {

// Counted as live objects of its own kind, for DllCanUnloadNow.
class CInstallCtl final : public standin::ComObject<CInstallCtl, IInstallCtl> {
public:
    HRESULT STDMETHODCALLTYPE SetServiceName(BSTR bstrName) override;
    HRESULT STDMETHODCALLTYPE SetServerAddress(BSTR bstrAddress) override;
    HRESULT STDMETHODCALLTYPE SetServerPort(int nPort) override;
    HRESULT STDMETHODCALLTYPE GetLocalFolder(BSTR* pbstrFolder) override;
    HRESULT STDMETHODCALLTYPE IsLocalFileCurrent(BSTR bstrName, long nSize,
                                                 VARIANT_BOOL* pbCurrent) override;
    HRESULT STDMETHODCALLTYPE Download(BSTR bstrName) override;
    HRESULT STDMETHODCALLTYPE Upload(BSTR bstrPath) override;

private:
    ~CInstallCtl() override = default;

    // The local folder, ending with a backslash, created if missing.
    HRESULT LocalFolder(std::wstring& strFolder) const;
    // The server path of a name relative to the local folder, and its segments.
    HRESULT ServerPathOf(const std::wstring& strName, std::vector<std::wstring>& vecSegments,
                         std::wstring& strPath) const;

    std::wstring m_strService;
    std::wstring m_strAddress;
    int m_nPort = 0;
};

} // namespace transfer
