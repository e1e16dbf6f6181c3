// The three stand-in COM servers as the suite registers and loads them: their registry keys,
// their class objects, and when they say they may unload.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ViewerInterfaces.h"
#include "atl/AtlComPtr.h"
#include "reader/ModelReader.h"
#include "viewer/control/ViewerTestHooks.h"

namespace {

struct ServerCase {
    const wchar_t* pszDll;
    const CLSID& clsid;
    const wchar_t* pszProgId;      // nullptr: registered by CLSID only
    const wchar_t* pszDescription; // nullptr: no default value on the class keys
    bool bPinsItself;              // stays loaded once it has made an object
};

const ServerCase kServers[] = {
    {L"standin_transfer.dll", CLSID_InstallCtl, nullptr, nullptr, false},
    {L"standin_reader.dll", CLSID_StandinModelReader, L"VelmoraStandin.ModelReader",
     L"Velmora stand-in model reader", false},
    {L"standin_viewer.dll", CLSID_StandinViewer, L"Cortona.Control.1",
     L"VelmoraBase stand-in viewer control", true},
};

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t szClsid[40] = {};
    ::StringFromGUID2(clsid, szClsid, 40);
    return szClsid;
}

// A string value under HKEY_CLASSES_ROOT; nothing when the key or the value is missing.
std::optional<std::wstring> ClassesValue(const std::wstring& strKey,
                                         const wchar_t* pszName = nullptr) {
    wchar_t szValue[MAX_PATH * 2] = {};
    DWORD cb = sizeof(szValue);
    if (::RegGetValueW(HKEY_CLASSES_ROOT, strKey.c_str(), pszName, RRF_RT_REG_SZ, nullptr, szValue,
                       &cb) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(szValue);
}

bool ClassesKeyExists(const std::wstring& strKey) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, strKey.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

std::optional<std::wstring> Described(const wchar_t* pszValue) {
    return pszValue ? std::optional<std::wstring>(pszValue) : std::nullopt;
}

TEST(StandinServers, RegisteredUnderTheirClsidAndProgId) {
    for (const ServerCase& server : kServers) {
        SCOPED_TRACE(testing::Message() << "server " << std::wstring(server.pszDll).c_str());
        const std::wstring strClassKey = L"CLSID\\" + ClsidText(server.clsid);
        const std::wstring strServerKey = strClassKey + L"\\InprocServer32";
        EXPECT_EQ(Described(server.pszDescription), ClassesValue(strClassKey));
        const std::optional<std::wstring> path = ClassesValue(strServerKey);
        ASSERT_TRUE(path.has_value());
        const std::wstring strDll = server.pszDll;
        ASSERT_GT(path->size(), strDll.size());
        EXPECT_EQ(0, _wcsicmp(path->c_str() + path->size() - strDll.size(), strDll.c_str()))
            << "InprocServer32 names the server DLL";
        EXPECT_EQ(L"Apartment", ClassesValue(strServerKey, L"ThreadingModel").value_or(L""));
        if (!server.pszProgId) {
            EXPECT_FALSE(ClassesKeyExists(strClassKey + L"\\ProgID"));
            continue;
        }
        const std::wstring strProgId = server.pszProgId;
        EXPECT_EQ(strProgId, ClassesValue(strClassKey + L"\\ProgID").value_or(L""));
        EXPECT_EQ(Described(server.pszDescription), ClassesValue(strProgId));
        EXPECT_EQ(ClsidText(server.clsid), ClassesValue(strProgId + L"\\CLSID").value_or(L""));
    }
}

// The server DLL loaded by path, with its entry points.
class LoadedServer {
public:
    explicit LoadedServer(const wchar_t* pszDll) : m_hModule(::LoadLibraryW(pszDll)) {}
    LoadedServer(const LoadedServer&) = delete;
    LoadedServer& operator=(const LoadedServer&) = delete;
    ~LoadedServer() { Unload(); }

    bool Loaded() const { return m_hModule != nullptr; }
    void Unload() {
        if (m_hModule)
            ::FreeLibrary(m_hModule);
        m_hModule = nullptr;
    }
    HRESULT GetClassObject(REFCLSID rclsid, IClassFactory** ppFactory) const {
        using GetClassObjectProc = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
        const auto pfn = reinterpret_cast<GetClassObjectProc>(
            reinterpret_cast<void*>(::GetProcAddress(m_hModule, "DllGetClassObject")));
        return pfn(rclsid, IID_IClassFactory, reinterpret_cast<void**>(ppFactory));
    }
    HRESULT CanUnloadNow() const {
        using CanUnloadNowProc = HRESULT(STDAPICALLTYPE*)();
        const auto pfn = reinterpret_cast<CanUnloadNowProc>(
            reinterpret_cast<void*>(::GetProcAddress(m_hModule, "DllCanUnloadNow")));
        return pfn();
    }

private:
    HMODULE m_hModule;
};

TEST(StandinServers, UnloadOnlyWithoutLocksOrLiveObjects) {
    for (const ServerCase& server : kServers) {
        SCOPED_TRACE(testing::Message() << "server " << std::wstring(server.pszDll).c_str());
        LoadedServer loaded(server.pszDll);
        ASSERT_TRUE(loaded.Loaded());
        CComPtr<IClassFactory> spFactory;
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, loaded.GetClassObject(IID_IUnknown, &spFactory));
        ASSERT_HRESULT_SUCCEEDED(loaded.GetClassObject(server.clsid, &spFactory));
        EXPECT_EQ(S_OK, loaded.CanUnloadNow()) << "the class object alone does not count";

        EXPECT_HRESULT_SUCCEEDED(spFactory->LockServer(TRUE));
        EXPECT_EQ(S_FALSE, loaded.CanUnloadNow());
        EXPECT_HRESULT_SUCCEEDED(spFactory->LockServer(FALSE));
        EXPECT_EQ(S_OK, loaded.CanUnloadNow());

        CComPtr<IUnknown> spObject;
        IUnknown* pOuter = spFactory;
        EXPECT_EQ(
            CLASS_E_NOAGGREGATION,
            spFactory->CreateInstance(pOuter, IID_IUnknown, reinterpret_cast<void**>(&spObject)));
        ASSERT_HRESULT_SUCCEEDED(
            spFactory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&spObject)));
        EXPECT_EQ(S_FALSE, loaded.CanUnloadNow()) << "a live object keeps the server";
        spObject.Release();
        EXPECT_EQ(S_OK, loaded.CanUnloadNow());

        spFactory.Release();
        loaded.Unload();
        EXPECT_EQ(server.bPinsItself, ::GetModuleHandleW(server.pszDll) != nullptr);
    }
}

} // namespace
