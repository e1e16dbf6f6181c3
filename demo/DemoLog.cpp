#include "DemoLog.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {
FILE* g_pFile = nullptr;
}

void DemoLogOpen(const wchar_t* pszPath) {
    g_pFile = _wfopen(pszPath, L"wb");
}

void DemoLog(const wchar_t* pszFormat, ...) {
    wchar_t line[1024];
    va_list args;
    va_start(args, pszFormat);
    _vsnwprintf(line, 1023, pszFormat, args);
    va_end(args);
    line[1023] = L'\0';
    // UTF-8 both ways, whatever the console's code page.
    char utf8[4096];
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8 - 2, nullptr, nullptr);
    if (n <= 0)
        return;
    utf8[n - 1] = '\n';
    std::fwrite(utf8, 1, n, stdout);
    std::fflush(stdout);
    if (g_pFile) {
        std::fwrite(utf8, 1, n, g_pFile);
        std::fflush(g_pFile);
    }
}
