// The module the stand-in COM code is linked into.
#include "StandinServer.h"

namespace standin {

namespace {

// Any address inside this module identifies it.
const char kModuleAnchor = 0;

HMODULE ModuleHandle(DWORD dwFlags) noexcept {
    HMODULE hModule = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | dwFlags,
                         reinterpret_cast<LPCWSTR>(&kModuleAnchor), &hModule);
    return hModule;
}

} // namespace

HMODULE ThisModule() noexcept {
    return ModuleHandle(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
}

std::wstring ThisModulePath() {
    const HMODULE hModule = ThisModule();
    if (!hModule)
        return std::wstring();
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD nLength =
            ::GetModuleFileNameW(hModule, path.data(), static_cast<DWORD>(path.size()));
        if (nLength == 0)
            return std::wstring();
        if (nLength < path.size()) {
            path.resize(nLength);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void PinThisModule() noexcept {
    ModuleHandle(GET_MODULE_HANDLE_EX_FLAG_PIN);
}

} // namespace standin
