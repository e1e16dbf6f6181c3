// The in-process COM server around the stand-in model reader: class object, unload check and
// registration under HKEY_CLASSES_ROOT (apartment-threaded, with a ProgID).
#include <windows.h>
#include <olectl.h>

#include <atomic>
#include <string>

#include "ModelReader.h"

namespace {

std::atomic<LONG> g_nServerLocks{0};

class ReaderClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory)
            return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // The class object is static; references to it do not count.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pOuter)
            return CLASS_E_NOAGGREGATION;
        IModelReader* pReader = nullptr;
        HRESULT hr = CreateStandinModelReader(&pReader);
        if (FAILED(hr))
            return hr;
        hr = pReader->QueryInterface(riid, ppv);
        pReader->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL bLock) override {
        g_nServerLocks += bLock ? 1 : -1;
        return S_OK;
    }
};

ReaderClassFactory g_classFactory;

std::wstring ClsidText() {
    wchar_t text[40] = {};
    StringFromGUID2(CLSID_StandinModelReader, text, 40);
    return text;
}

LSTATUS SetKeyValue(const std::wstring& key, LPCWSTR pszName, const std::wstring& value) {
    HKEY hKey = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &hKey, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    return status;
}

std::wstring ModulePath() {
    HMODULE hModule = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&g_classFactory), &hModule);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD nLength =
            GetModuleFileNameW(hModule, path.data(), static_cast<DWORD>(path.size()));
        if (nLength == 0)
            return std::wstring();
        if (nLength < path.size()) {
            path.resize(nLength);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_StandinModelReader)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_classFactory.QueryInterface(riid, ppv);
}

STDAPI DllCanUnloadNow() {
    return g_nServerLocks == 0 && LiveModelReaders() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring modulePath = ModulePath();
    if (modulePath.empty())
        return SELFREG_E_CLASS;
    const std::wstring clsidKey = L"CLSID\\" + ClsidText();
    const std::wstring progId = kStandinModelReaderProgId;
    const struct {
        std::wstring key;
        LPCWSTR pszName;
        std::wstring value;
    } entries[] = {
        {clsidKey, nullptr, L"Velmora stand-in model reader"},
        {clsidKey + L"\\InprocServer32", nullptr, modulePath},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsidKey + L"\\ProgID", nullptr, progId},
        {progId, nullptr, L"Velmora stand-in model reader"},
        {progId + L"\\CLSID", nullptr, ClsidText()},
    };
    for (const auto& entry : entries)
        if (SetKeyValue(entry.key, entry.pszName, entry.value) != ERROR_SUCCESS)
            return SELFREG_E_CLASS;
    return S_OK;
}

STDAPI DllUnregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText()).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kStandinModelReaderProgId);
    return S_OK;
}
