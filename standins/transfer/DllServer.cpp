// The in-process COM server of the stand-in file-transfer component: class factory, unloading
// and registration under HKEY_CLASSES_ROOT\CLSID (apartment-threaded).
#include <windows.h>
#include <objbase.h>

#include <new>
#include <string>

#include "InstallCtl.h"

namespace {

LONG g_nServerLocks = 0;

class CInstallCtlFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // One static factory for the module's lifetime; LockServer keeps the module loaded.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pOuter)
            return CLASS_E_NOAGGREGATION;
        auto* pObject = new (std::nothrow) transfer::CInstallCtl();
        if (!pObject)
            return E_OUTOFMEMORY;
        const HRESULT hr = pObject->QueryInterface(riid, ppv);
        pObject->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL bLock) override {
        if (bLock)
            ::InterlockedIncrement(&g_nServerLocks);
        else
            ::InterlockedDecrement(&g_nServerLocks);
        return S_OK;
    }
};

CInstallCtlFactory g_factory;

std::wstring ClassKey() {
    wchar_t szClsid[40] = {};
    ::StringFromGUID2(CLSID_InstallCtl, szClsid, 40);
    return std::wstring(L"CLSID\\") + szClsid;
}

HRESULT SetStringValue(HKEY hKey, const wchar_t* pszName, const std::wstring& strValue) {
    const LSTATUS status =
        ::RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                         static_cast<DWORD>((strValue.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(status);
}

HRESULT ThisModulePath(std::wstring& strPath) {
    HMODULE hModule = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&g_factory), &hModule))
        return HRESULT_FROM_WIN32(::GetLastError());
    wchar_t szPath[MAX_PATH] = {};
    const DWORD nLength = ::GetModuleFileNameW(hModule, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return E_FAIL;
    strPath = szPath;
    return S_OK;
}

} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_InstallCtl)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow() {
    return transfer::CInstallCtl::LiveObjects() == 0 && g_nServerLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    std::wstring strModule;
    HRESULT hr = ThisModulePath(strModule);
    if (FAILED(hr))
        return hr;
    HKEY hKey = nullptr;
    const std::wstring strKey = ClassKey() + L"\\InprocServer32";
    LSTATUS status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, strKey.c_str(), 0, nullptr, 0,
                                       KEY_SET_VALUE, nullptr, &hKey, nullptr);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    hr = SetStringValue(hKey, nullptr, strModule);
    if (SUCCEEDED(hr))
        hr = SetStringValue(hKey, L"ThreadingModel", L"Apartment");
    ::RegCloseKey(hKey);
    return hr;
}

STDAPI DllUnregisterServer() {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK
                                                                     : HRESULT_FROM_WIN32(status);
}
