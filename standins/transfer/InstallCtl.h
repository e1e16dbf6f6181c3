// The stand-in file-transfer component: IInstallCtl over HTTP. Files live on the server under
// /<service name>/<file name>; the local folder is <local application data>\<service name>\.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ViewerInterfaces.h"

namespace transfer {

class CInstallCtl final : public IInstallCtl {
public:
    CInstallCtl();
    CInstallCtl(const CInstallCtl&) = delete;
    CInstallCtl& operator=(const CInstallCtl&) = delete;

    // Objects alive in this module, for DllCanUnloadNow.
    static LONG LiveObjects() noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE SetServiceName(BSTR bstrName) override;
    HRESULT STDMETHODCALLTYPE SetServerAddress(BSTR bstrAddress) override;
    HRESULT STDMETHODCALLTYPE SetServerPort(int nPort) override;
    HRESULT STDMETHODCALLTYPE GetLocalFolder(BSTR* pbstrFolder) override;
    HRESULT STDMETHODCALLTYPE IsLocalFileCurrent(BSTR bstrName, long nSize,
                                                 VARIANT_BOOL* pbCurrent) override;
    HRESULT STDMETHODCALLTYPE Download(BSTR bstrName) override;
    HRESULT STDMETHODCALLTYPE Upload(BSTR bstrPath) override;

private:
    ~CInstallCtl();

    // The local folder, ending with a backslash, created if missing.
    HRESULT LocalFolder(std::wstring& strFolder) const;
    // The server path of a name relative to the local folder, and its segments.
    HRESULT ServerPathOf(const std::wstring& strName, std::vector<std::wstring>& vecSegments,
                         std::wstring& strPath) const;

    LONG m_nRefs = 1;
    std::wstring m_strService;
    std::wstring m_strAddress;
    int m_nPort = 0;
};

} // namespace transfer
