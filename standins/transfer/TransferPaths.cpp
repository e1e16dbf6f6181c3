// Names and paths of the stand-in file-transfer component.
#include "TransferPaths.h"

#include <windows.h>

#include <string_view>

namespace transfer {

namespace {

bool IsSeparator(wchar_t ch) {
    return ch == L'\\' || ch == L'/';
}

bool IsUnreserved(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == '-' || ch == '.' || ch == '_' || ch == '~';
}

bool AppendPercentEncoded(const std::wstring& strText, std::wstring& strOut) {
    if (strText.empty())
        return true;
    const int nText = static_cast<int>(strText.size());
    const int nBytes = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, strText.data(), nText,
                                             nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return false;
    std::string utf8(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, strText.data(), nText, utf8.data(), nBytes,
                          nullptr, nullptr);
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    for (const char c : utf8) {
        const auto ch = static_cast<unsigned char>(c);
        if (IsUnreserved(ch)) {
            strOut += static_cast<wchar_t>(ch);
        } else {
            strOut += L'%';
            strOut += kHex[ch >> 4];
            strOut += kHex[ch & 0xF];
        }
    }
    return true;
}

} // namespace

bool IsPlainSegment(const std::wstring& strSegment) {
    if (strSegment.empty() || strSegment == L"." || strSegment == L"..")
        return false;
    for (const wchar_t ch : strSegment)
        if (ch < 0x20 || IsSeparator(ch) ||
            std::wstring_view(L"<>:\"|?*").find(ch) != std::wstring_view::npos)
            return false;
    return true;
}

bool SplitRelativeName(const std::wstring& strName, std::vector<std::wstring>& vecSegments) {
    vecSegments.clear();
    size_t nStart = 0;
    for (;;) {
        size_t nEnd = nStart;
        while (nEnd < strName.size() && !IsSeparator(strName[nEnd]))
            ++nEnd;
        std::wstring strSegment = strName.substr(nStart, nEnd - nStart);
        if (!IsPlainSegment(strSegment)) {
            vecSegments.clear();
            return false;
        }
        vecSegments.push_back(std::move(strSegment));
        if (nEnd == strName.size())
            return true;
        nStart = nEnd + 1;
    }
}

bool ServerPath(const std::wstring& strService, const std::vector<std::wstring>& vecSegments,
                std::wstring& strPath) {
    strPath.clear();
    std::wstring strOut = L"/";
    if (!AppendPercentEncoded(strService, strOut))
        return false;
    for (const std::wstring& strSegment : vecSegments) {
        strOut += L'/';
        if (!AppendPercentEncoded(strSegment, strOut))
            return false;
    }
    strPath = std::move(strOut);
    return true;
}

std::wstring FileNameOfPath(const std::wstring& strPath) {
    const size_t nSeparator = strPath.find_last_of(L"\\/");
    return nSeparator == std::wstring::npos ? strPath : strPath.substr(nSeparator + 1);
}

bool ParseContentLength(const std::wstring& strValue, unsigned long long& nLength) {
    if (strValue.empty())
        return false;
    unsigned long long nValue = 0;
    for (const wchar_t ch : strValue) {
        if (ch < L'0' || ch > L'9')
            return false;
        const unsigned digit = static_cast<unsigned>(ch - L'0');
        if (nValue > (~0ULL - digit) / 10)
            return false;
        nValue = nValue * 10 + digit;
    }
    nLength = nValue;
    return true;
}

} // namespace transfer
