// The in-process COM server of a stand-in: one class, described by the server DLL, served by a
// class factory that counts server locks for the unload check, and registered under
// HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <string>

namespace standin {

struct ServerClass {
    const CLSID& clsid;
    // The class's ProgID, or nullptr for a class known by its CLSID only.
    const wchar_t* pszProgId;
    // The default value of the class's CLSID and ProgID keys, or nullptr to leave them empty.
    const wchar_t* pszDescription;
    // A new object with one reference for the caller.
    HRESULT (*pfnCreate)(IUnknown** ppObject);
    // Objects of the class alive in this module: while any is, the server stays loaded.
    LONG (*pfnLiveObjects)();
};

// The class this server DLL offers; each server defines it.
extern const ServerClass g_serverClass;

// The server's class object: one static object for the module's lifetime, so references to it
// do not count; LockServer keeps the module loaded instead.
class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const ServerClass& server) noexcept : m_server(server) {}
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    // DllGetClassObject and DllCanUnloadNow.
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
    HRESULT CanUnloadNow() const noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL bLock) override;

private:
    const ServerClass& m_server;
    std::atomic<LONG> m_nLocks{0};
};

// DllRegisterServer: the CLSID key with InprocServer32 (this module, apartment-threaded) and,
// with a ProgID, the ProgID key and the links between the two.
HRESULT RegisterServer(const ServerClass& server);
// DllUnregisterServer: removes those keys; keys already missing are no failure.
HRESULT UnregisterServer(const ServerClass& server);

// The module (DLL or executable) this code is linked into, and its full path ("" on failure).
HMODULE ThisModule() noexcept;
std::wstring ThisModulePath();
// Keeps this module loaded for the rest of the process.
void PinThisModule() noexcept;

} // namespace standin
