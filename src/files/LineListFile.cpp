// Line-list files: one entry per line, CR LF line ends, stored in the code page of the user's
// default locale. The runtime's text mode turns LF into CR LF and back, and its wide-character
// stream functions convert between UTF-16 and the locale's code page.
#include "VelmoraBase.h"

#include <locale.h>
#include <stdio.h>
#include <wchar.h>

#include <memory>
#include <string>

namespace {

struct CFileCloser {
    void operator()(FILE* pFile) const noexcept { fclose(pFile); }
};
using CUniqueCFile = std::unique_ptr<FILE, CFileCloser>;

CUniqueCFile OpenTextFile(const CString& strPath, const wchar_t* pszMode) {
    FILE* pFile = nullptr;
    if (_wfopen_s(&pFile, strPath, pszMode) != 0)
        return CUniqueCFile();
    return CUniqueCFile(pFile);
}

// The conversion follows the runtime locale; both directions set it to the user's default so a
// file written on a system reads back the same there. The setting is process-wide.
void UseUserDefaultLocale() {
    setlocale(LC_ALL, "");
}

// fgetws needs room for one character and the terminating zero; with less it reads nothing
// and never reaches the end of the file.
constexpr int kMinLineBuffer = 2;

// Writes one entry (its text up to the first NUL) and its line end, converted to the code page
// of the runtime locale. A character that code page lacks becomes its default character ('?'),
// without best-fit look-alikes; the runtime's own wide output would instead drop the rest of
// the line and still report success.
bool WriteLine(FILE* pFile, const CString& strLine) {
    std::string bytes;
    const int nLength = static_cast<int>(wcslen(strLine));
    if (nLength > 0) {
        const UINT nCodePage = ___lc_codepage_func();
        const DWORD dwFlags =
            nCodePage == CP_UTF8 || nCodePage == CP_UTF7 ? 0 : WC_NO_BEST_FIT_CHARS;
        const int nBytes = ::WideCharToMultiByte(nCodePage, dwFlags, strLine, nLength, nullptr, 0,
                                                 nullptr, nullptr);
        if (nBytes <= 0)
            return false;
        bytes.resize(static_cast<size_t>(nBytes));
        ::WideCharToMultiByte(nCodePage, dwFlags, strLine, nLength, bytes.data(), nBytes, nullptr,
                              nullptr);
    }
    bytes += '\n'; // text mode stores it as CR LF
    return fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
}

} // namespace

bool CVelmoraBase::SaveConfigeFile(CString strPath, std::vector<CString> vecLines) {
    CUniqueCFile file = OpenTextFile(strPath, L"w");
    if (!file)
        return false;
    UseUserDefaultLocale();
    bool bWritten = true;
    for (const CString& strLine : vecLines) {
        if (!WriteLine(file.get(), strLine)) {
            bWritten = false;
            break;
        }
    }
    bWritten = bWritten && !ferror(file.get());
    // The close flushes the last buffered text: a failure there is a lost tail of the file.
    const bool bClosed = fclose(file.release()) == 0;
    return bWritten && bClosed;
}

bool CVelmoraBase::OpenConfigeFile(CString strPath, std::vector<CString>& vecLines, int nMaxLen) {
    vecLines.clear();
    if (nMaxLen < kMinLineBuffer)
        return false;
    CUniqueCFile file = OpenTextFile(strPath, L"r");
    if (!file)
        return false;
    UseUserDefaultLocale();
    std::vector<wchar_t> buffer(static_cast<size_t>(nMaxLen));
    while (fgetws(buffer.data(), nMaxLen, file.get())) {
        size_t nLength = wcslen(buffer.data());
        if (nLength > 0 && buffer[nLength - 1] == L'\n')
            --nLength;
        vecLines.emplace_back(buffer.data(), static_cast<int>(nLength));
    }
    // A read error leaves an unknown part of the file unread: a partial list would pass for the
    // whole configuration, so the caller gets none.
    if (ferror(file.get())) {
        vecLines.clear();
        return false;
    }
    return true;
}
