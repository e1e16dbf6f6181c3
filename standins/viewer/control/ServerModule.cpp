// The stand-in viewer's in-process server: class factory, the four exports, and registration
// of the control's class under the viewer's ProgID.
#include "ServerModule.h"

#include <ole2.h>
#include <olectl.h>

#include <cwchar>

#include "ViewerControl.h"

namespace {

constexpr wchar_t kProgID[] = L"Cortona.Control.1";
constexpr wchar_t kDescription[] = L"VelmoraBase stand-in viewer control";

LONG g_nLiveObjects = 0;
LONG g_nLocks = 0;

class CViewerClassFactory final : public IClassFactory {
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
    // A static object: the server lock count keeps the module loaded instead.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (pOuter)
            return CLASS_E_NOAGGREGATION;
        CViewerControl* pControl = nullptr;
        HRESULT hr = CViewerControl::Create(&pControl);
        if (FAILED(hr))
            return hr;
        hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override {
        if (fLock)
            ::InterlockedIncrement(&g_nLocks);
        else
            ::InterlockedDecrement(&g_nLocks);
        return S_OK;
    }
};

CViewerClassFactory g_factory;

// Sets the default value (or a named value) of a key under HKEY_CLASSES_ROOT.
bool SetClassesValue(const wchar_t* pszKey, const wchar_t* pszName, const wchar_t* pszValue) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, pszKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD cb = static_cast<DWORD>((wcslen(pszValue) + 1) * sizeof(wchar_t));
    const LSTATUS status =
        ::RegSetValueExW(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue), cb);
    ::RegCloseKey(hKey);
    return status == ERROR_SUCCESS;
}

struct ClassKeys {
    wchar_t szClsid[40];
    wchar_t szClsidKey[64];
    wchar_t szServerKey[96];
    wchar_t szProgIDKey[96];
    wchar_t szProgIDClsidKey[64];
};

ClassKeys MakeClassKeys() {
    ClassKeys keys{};
    ::StringFromGUID2(CLSID_StandinViewer, keys.szClsid, 40);
    swprintf(keys.szClsidKey, 64, L"CLSID\\%ls", keys.szClsid);
    swprintf(keys.szServerKey, 96, L"%ls\\InprocServer32", keys.szClsidKey);
    swprintf(keys.szProgIDKey, 96, L"%ls\\ProgID", keys.szClsidKey);
    swprintf(keys.szProgIDClsidKey, 64, L"%ls\\CLSID", kProgID);
    return keys;
}

} // namespace

HMODULE ServerModule() noexcept {
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&g_factory), &hModule);
    return hModule;
}

void ServerObjectCreated() noexcept {
    ::InterlockedIncrement(&g_nLiveObjects);
}

void ServerObjectDestroyed() noexcept {
    ::InterlockedDecrement(&g_nLiveObjects);
}

LONG ServerLiveObjects() noexcept {
    return g_nLiveObjects;
}

void ServerPinModule() noexcept {
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&g_factory), &hModule);
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_StandinViewer)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return g_nLiveObjects == 0 && g_nLocks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t szPath[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(ServerModule(), szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return SELFREG_E_CLASS;
    const ClassKeys keys = MakeClassKeys();
    const bool bDone = SetClassesValue(keys.szClsidKey, nullptr, kDescription) &&
                       SetClassesValue(keys.szServerKey, nullptr, szPath) &&
                       SetClassesValue(keys.szServerKey, L"ThreadingModel", L"Apartment") &&
                       SetClassesValue(keys.szProgIDKey, nullptr, kProgID) &&
                       SetClassesValue(kProgID, nullptr, kDescription) &&
                       SetClassesValue(keys.szProgIDClsidKey, nullptr, keys.szClsid);
    return bDone ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const ClassKeys keys = MakeClassKeys();
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, keys.szClsidKey);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgID);
    return S_OK;
}
