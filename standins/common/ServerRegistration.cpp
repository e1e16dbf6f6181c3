// Registration of a stand-in server's class under HKEY_CLASSES_ROOT.
#include <olectl.h>

#include <vector>

#include "StandinComObject.h"
#include "StandinServer.h"
#include "atl/AtlResource.h"

namespace standin {

namespace {

void CloseKey(HKEY hKey) noexcept {
    ::RegCloseKey(hKey);
}
using CUniqueKey = CUniqueResource<HKEY, CloseKey>;

// A string value to write: the key under HKEY_CLASSES_ROOT, the value's name (nullptr for the
// key's default value) and its text.
struct ClassesValue {
    std::wstring strKey;
    const wchar_t* pszName;
    std::wstring strValue;
};

bool SetClassesValue(const ClassesValue& value) {
    CUniqueKey hKey;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, value.strKey.c_str(), 0, nullptr, 0, KEY_WRITE,
                          nullptr, hKey.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring& strText = value.strValue;
    return ::RegSetValueExW(
               hKey.get(), value.pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(strText.c_str()),
               static_cast<DWORD>((strText.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t szClsid[40] = {};
    ::StringFromGUID2(clsid, szClsid, 40);
    return szClsid;
}

std::wstring ClassKey(const ServerClass& server) {
    return L"CLSID\\" + ClsidText(server.clsid);
}

std::vector<ClassesValue> RegistryValues(const ServerClass& server,
                                         const std::wstring& strModulePath) {
    const std::wstring strClassKey = ClassKey(server);
    const std::wstring strServerKey = strClassKey + L"\\InprocServer32";
    std::vector<ClassesValue> values;
    if (server.pszDescription)
        values.push_back({strClassKey, nullptr, server.pszDescription});
    values.push_back({strServerKey, nullptr, strModulePath});
    values.push_back({strServerKey, L"ThreadingModel", L"Apartment"});
    if (server.pszProgId) {
        const std::wstring strProgId = server.pszProgId;
        values.push_back({strClassKey + L"\\ProgID", nullptr, strProgId});
        if (server.pszDescription)
            values.push_back({strProgId, nullptr, server.pszDescription});
        values.push_back({strProgId + L"\\CLSID", nullptr, ClsidText(server.clsid)});
    }
    return values;
}

bool DeleteClassesTree(const std::wstring& strKey) {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, strKey.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace

HRESULT RegisterServer(const ServerClass& server) {
    return NoThrow([&] {
        const std::wstring strModulePath = ThisModulePath();
        if (strModulePath.empty())
            return SELFREG_E_CLASS;
        for (const ClassesValue& value : RegistryValues(server, strModulePath))
            if (!SetClassesValue(value))
                return SELFREG_E_CLASS;
        return S_OK;
    });
}

HRESULT UnregisterServer(const ServerClass& server) {
    return NoThrow([&] {
        bool bRemoved = DeleteClassesTree(ClassKey(server));
        if (server.pszProgId)
            bRemoved = DeleteClassesTree(server.pszProgId) && bRemoved;
        return bRemoved ? S_OK : SELFREG_E_CLASS;
    });
}

} // namespace standin
