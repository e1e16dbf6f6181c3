// CString: a UTF-16 string with the CStringW surface hosts know.
//
// The buffer is reference-counted (atomically, so copies may travel between threads) and
// copied on the first write to a shared buffer. A string holds embedded NULs as given: the
// length is kept, not computed. Text operations (comparison, Find) see the text up to the first
// NUL, as the C wide-string functions they are built on do.
//
// Allocation failure throws std::bad_alloc; AllocSysString throws CAtlException(E_OUTOFMEMORY).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>

#include "AtlException.h"

class CString {
public:
    CString() noexcept = default;
    CString(const CString& other) noexcept : m_pData(other.m_pData) { AddRef(m_pData); }
    CString(CString&& other) noexcept : m_pData(other.m_pData) { other.m_pData = nullptr; }
    CString(LPCWSTR psz) { Assign(psz, psz ? static_cast<int>(wcslen(psz)) : 0); }
    CString(LPCWSTR pch, int nLength) { Assign(pch, pch ? nLength : 0); }
    CString(wchar_t ch, int nRepeat = 1) {
        if (nRepeat > 0) {
            wchar_t* p = Prepare(nRepeat, false);
            for (int i = 0; i < nRepeat; ++i)
                p[i] = ch;
            SetLength(nRepeat);
        }
    }
    // Narrow text is taken in the ANSI code page, as CStringW does.
    CString(LPCSTR psz) { AssignNarrow(psz, psz ? static_cast<int>(strlen(psz)) : 0); }
    CString(LPCSTR pch, int nLength) { AssignNarrow(pch, pch ? nLength : 0); }
    ~CString() { Release(m_pData); }

    CString& operator=(const CString& other) noexcept {
        AddRef(other.m_pData);
        Release(m_pData);
        m_pData = other.m_pData;
        return *this;
    }
    CString& operator=(CString&& other) noexcept {
        if (this != &other) {
            Release(m_pData);
            m_pData = other.m_pData;
            other.m_pData = nullptr;
        }
        return *this;
    }
    CString& operator=(LPCWSTR psz) {
        SetString(psz);
        return *this;
    }
    CString& operator=(LPCSTR psz) { return *this = CString(psz); }
    CString& operator=(wchar_t ch) { return *this = CString(ch); }

    void SetString(LPCWSTR psz) { SetString(psz, psz ? static_cast<int>(wcslen(psz)) : 0); }
    void SetString(LPCWSTR pch, int nLength) {
        // pch may point into this string's own buffer: build the new value first.
        CString copy(pch, nLength);
        *this = static_cast<CString&&>(copy);
    }

    int GetLength() const noexcept { return m_pData ? m_pData->nLength : 0; }
    bool IsEmpty() const noexcept { return GetLength() == 0; }
    void Empty() noexcept {
        Release(m_pData);
        m_pData = nullptr;
    }
    LPCWSTR GetString() const noexcept { return m_pData ? m_pData->Chars() : L""; }
    operator LPCWSTR() const noexcept { return GetString(); }

    wchar_t GetAt(int i) const noexcept { return GetString()[i]; }
    wchar_t operator[](int i) const noexcept { return GetAt(i); }
    void SetAt(int i, wchar_t ch) { MakeUnique()[i] = ch; }

    int Compare(LPCWSTR psz) const noexcept { return wcscmp(GetString(), psz ? psz : L""); }
    int CompareNoCase(LPCWSTR psz) const noexcept { return _wcsicmp(GetString(), psz ? psz : L""); }

    CString& operator+=(const CString& s) { return Append(s.GetString(), s.GetLength()); }
    CString& operator+=(LPCWSTR psz) { return Append(psz); }
    CString& operator+=(wchar_t ch) { return AppendChar(ch); }
    CString& Append(LPCWSTR psz) { return Append(psz, psz ? static_cast<int>(wcslen(psz)) : 0); }
    CString& Append(LPCWSTR pch, int nLength) {
        if (pch && nLength > 0) {
            // A source inside this string's own buffer must survive a reallocation.
            const bool bSelf =
                m_pData && pch >= m_pData->Chars() && pch <= m_pData->Chars() + m_pData->nCapacity;
            const CString keep(bSelf ? *this : CString());
            const int nOld = GetLength();
            if (nLength > INT_MAX - nOld)
                throw std::bad_alloc();
            wchar_t* p = Prepare(nOld + nLength, true);
            wmemcpy(p + nOld, pch, nLength);
            SetLength(nOld + nLength);
        }
        return *this;
    }
    CString& AppendChar(wchar_t ch) { return Append(&ch, 1); }

    CString Left(int nCount) const { return Mid(0, nCount); }
    CString Right(int nCount) const {
        const int n = Clamp(nCount, 0, GetLength());
        return CString(GetString() + GetLength() - n, n);
    }
    CString Mid(int iFirst) const { return Mid(iFirst, GetLength()); }
    CString Mid(int iFirst, int nCount) const {
        const int first = Clamp(iFirst, 0, GetLength());
        const int count = Clamp(nCount, 0, GetLength() - first);
        if (first == 0 && count == GetLength())
            return *this;
        return CString(GetString() + first, count);
    }

    int Find(LPCWSTR pszSub, int iStart = 0) const noexcept {
        if (!pszSub || iStart < 0 || iStart > GetLength())
            return -1;
        const wchar_t* hit = wcsstr(GetString() + iStart, pszSub);
        return hit ? static_cast<int>(hit - GetString()) : -1;
    }
    int Find(wchar_t ch, int iStart = 0) const noexcept {
        if (iStart < 0 || iStart >= GetLength())
            return -1;
        const wchar_t* hit = wcschr(GetString() + iStart, ch);
        return hit ? static_cast<int>(hit - GetString()) : -1;
    }
    int ReverseFind(wchar_t ch) const noexcept {
        const wchar_t* hit = wcsrchr(GetString(), ch);
        return hit ? static_cast<int>(hit - GetString()) : -1;
    }

    // Format follows the Microsoft runtime: %s and %c take wide arguments here.
    void __cdecl Format(LPCWSTR pszFormat, ...) {
        va_list args;
        va_start(args, pszFormat);
        FormatV(pszFormat, args);
        va_end(args);
    }
    void __cdecl AppendFormat(LPCWSTR pszFormat, ...) {
        va_list args;
        va_start(args, pszFormat);
        CString tail;
        tail.FormatV(pszFormat, args);
        va_end(args);
        *this += tail;
    }
    void FormatV(LPCWSTR pszFormat, va_list args) {
        va_list counting;
        va_copy(counting, args);
        const int n = _vscwprintf(pszFormat, counting);
        va_end(counting);
        if (n <= 0) {
            Empty();
            return;
        }
        CString result;
        wchar_t* p = result.Prepare(n, false);
        _vsnwprintf(p, n + 1, pszFormat, args);
        result.SetLength(n);
        *this = static_cast<CString&&>(result);
    }

    CString& MakeUpper() { return Transform(towupper); }
    CString& MakeLower() { return Transform(towlower); }
    // Without an argument the white space is trimmed; otherwise the characters of pszTargets.
    CString& TrimLeft(LPCWSTR pszTargets = nullptr) {
        int i = 0;
        while (i < GetLength() && IsTrimmed(GetAt(i), pszTargets))
            ++i;
        return *this = Mid(i);
    }
    CString& TrimRight(LPCWSTR pszTargets = nullptr) {
        int n = GetLength();
        while (n > 0 && IsTrimmed(GetAt(n - 1), pszTargets))
            --n;
        return *this = Left(n);
    }
    CString& Trim(LPCWSTR pszTargets = nullptr) {
        return TrimRight(pszTargets).TrimLeft(pszTargets);
    }
    CString& MakeReverse() {
        wchar_t* p = MakeUnique();
        for (int i = 0, j = GetLength() - 1; i < j; ++i, --j) {
            const wchar_t c = p[i];
            p[i] = p[j];
            p[j] = c;
        }
        return *this;
    }
    int FindOneOf(LPCWSTR pszCharSet) const noexcept {
        const wchar_t* hit = wcspbrk(GetString(), pszCharSet ? pszCharSet : L"");
        return hit ? static_cast<int>(hit - GetString()) : -1;
    }
    CString SpanIncluding(LPCWSTR pszCharSet) const {
        return Left(static_cast<int>(wcsspn(GetString(), pszCharSet ? pszCharSet : L"")));
    }
    CString SpanExcluding(LPCWSTR pszCharSet) const {
        return Left(static_cast<int>(wcscspn(GetString(), pszCharSet ? pszCharSet : L"")));
    }
    int Remove(wchar_t ch) {
        CString kept;
        for (int i = 0; i < GetLength(); ++i)
            if (GetAt(i) != ch)
                kept.AppendChar(GetAt(i));
        const int removed = GetLength() - kept.GetLength();
        if (removed > 0)
            *this = static_cast<CString&&>(kept);
        return removed;
    }
    // The next token after iStart, skipping leading delimiters; iStart becomes -1 (and the
    // result empty) when there is none.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const {
        if (iStart >= 0 && iStart < GetLength() && pszTokens && *pszTokens) {
            const wchar_t* p = GetString() + iStart;
            p += wcsspn(p, pszTokens);
            if (*p) {
                const int first = static_cast<int>(p - GetString());
                const int count = static_cast<int>(wcscspn(p, pszTokens));
                iStart = first + count + 1;
                return Mid(first, count);
            }
        }
        iStart = -1;
        return CString();
    }
    void Truncate(int nNewLength) {
        if (nNewLength >= 0 && nNewLength < GetLength()) {
            MakeUnique();
            SetLength(nNewLength);
        }
    }
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew) {
        const int nOld = pszOld ? static_cast<int>(wcslen(pszOld)) : 0;
        if (nOld == 0)
            return 0;
        CString result;
        int count = 0;
        int from = 0;
        for (int hit = Find(pszOld); hit >= 0; hit = Find(pszOld, from)) {
            result.Append(GetString() + from, hit - from);
            result.Append(pszNew);
            from = hit + nOld;
            ++count;
        }
        if (count > 0) {
            result.Append(GetString() + from, GetLength() - from);
            *this = static_cast<CString&&>(result);
        }
        return count;
    }
    int Replace(wchar_t chOld, wchar_t chNew) {
        int count = 0;
        for (int i = 0; i < GetLength(); ++i)
            if (GetAt(i) == chOld) {
                SetAt(i, chNew);
                ++count;
            }
        return count;
    }
    int Insert(int iIndex, LPCWSTR psz) {
        const int at = Clamp(iIndex, 0, GetLength());
        CString result(GetString(), at);
        result.Append(psz);
        result.Append(GetString() + at, GetLength() - at);
        *this = static_cast<CString&&>(result);
        return GetLength();
    }
    int Delete(int iIndex, int nCount = 1) {
        const int at = Clamp(iIndex, 0, GetLength());
        const int n = Clamp(nCount, 0, GetLength() - at);
        if (n > 0) {
            CString result(GetString(), at);
            result.Append(GetString() + at + n, GetLength() - at - n);
            *this = static_cast<CString&&>(result);
        }
        return GetLength();
    }

    // Direct buffer access: room for at least nMinLength characters plus a NUL.
    LPWSTR GetBuffer() { return GetBuffer(GetLength()); }
    LPWSTR GetBuffer(int nMinLength) {
        wchar_t* p = Prepare(nMinLength > GetLength() ? nMinLength : GetLength(), true);
        return p;
    }
    LPWSTR GetBufferSetLength(int nLength) {
        wchar_t* p = GetBuffer(nLength);
        SetLength(nLength);
        return p;
    }
    // nNewLength -1 takes the length up to the first NUL.
    void ReleaseBuffer(int nNewLength = -1) {
        if (!m_pData)
            return;
        if (nNewLength < 0)
            nNewLength = static_cast<int>(wcslen(m_pData->Chars()));
        SetLength(nNewLength < m_pData->nCapacity ? nNewLength : m_pData->nCapacity);
    }

    BSTR AllocSysString() const {
        BSTR bstr = ::SysAllocStringLen(GetString(), static_cast<UINT>(GetLength()));
        if (!bstr)
            AtlThrow(E_OUTOFMEMORY);
        return bstr;
    }

private:
    struct Data {
        std::atomic<long> nRefs;
        int nLength;
        int nCapacity;
        wchar_t* Chars() noexcept { return reinterpret_cast<wchar_t*>(this + 1); }
    };

    static bool IsTrimmed(wchar_t ch, LPCWSTR pszTargets) noexcept {
        return pszTargets ? (ch != L'\0' && wcschr(pszTargets, ch) != nullptr) : iswspace(ch) != 0;
    }
    static int Clamp(int v, int lo, int hi) noexcept { return v < lo ? lo : (v > hi ? hi : v); }
    static void AddRef(Data* p) noexcept {
        if (p)
            p->nRefs.fetch_add(1, std::memory_order_relaxed);
    }
    static void Release(Data* p) noexcept {
        if (p && p->nRefs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            p->~Data();
            std::free(p);
        }
    }

    // A buffer owned by this string alone with room for nLength characters; keeps the
    // current text when bKeep is set.
    wchar_t* Prepare(int nLength, bool bKeep) {
        if (m_pData && m_pData->nRefs.load(std::memory_order_acquire) == 1 &&
            m_pData->nCapacity >= nLength)
            return m_pData->Chars();
        int capacity = nLength;
        if (m_pData && bKeep && nLength > m_pData->nCapacity)
            capacity = nLength + (nLength < INT_MAX / 3 ? nLength / 2 : 0);
        void* raw =
            std::malloc(sizeof(Data) + (static_cast<size_t>(capacity) + 1) * sizeof(wchar_t));
        if (!raw)
            throw std::bad_alloc();
        Data* fresh = new (raw) Data{{1}, 0, capacity};
        fresh->Chars()[0] = L'\0';
        if (bKeep && m_pData) {
            const int keep = m_pData->nLength < capacity ? m_pData->nLength : capacity;
            wmemcpy(fresh->Chars(), m_pData->Chars(), keep);
            fresh->nLength = keep;
            fresh->Chars()[keep] = L'\0';
        }
        Release(m_pData);
        m_pData = fresh;
        return fresh->Chars();
    }
    wchar_t* MakeUnique() { return Prepare(GetLength(), true); }
    void SetLength(int nLength) noexcept {
        if (m_pData) {
            m_pData->nLength = nLength;
            m_pData->Chars()[nLength] = L'\0';
        }
    }
    void Assign(LPCWSTR pch, int nLength) {
        if (nLength > 0) {
            wmemcpy(Prepare(nLength, false), pch, nLength);
            SetLength(nLength);
        }
    }
    void AssignNarrow(LPCSTR pch, int nLength) {
        if (nLength <= 0)
            return;
        const int n = ::MultiByteToWideChar(CP_ACP, 0, pch, nLength, nullptr, 0);
        if (n > 0) {
            ::MultiByteToWideChar(CP_ACP, 0, pch, nLength, Prepare(n, false), n);
            SetLength(n);
        }
    }
    template <class F> CString& Transform(F f) {
        wchar_t* p = MakeUnique();
        for (int i = 0; i < GetLength(); ++i)
            p[i] = static_cast<wchar_t>(f(p[i]));
        return *this;
    }

    Data* m_pData = nullptr;
};

inline CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, LPCWSTR b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(LPCWSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

inline bool operator==(const CString& a, const CString& b) noexcept {
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCWSTR b) noexcept {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCWSTR a, const CString& b) noexcept {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) noexcept {
    return !(a == b);
}
inline bool operator!=(const CString& a, LPCWSTR b) noexcept {
    return !(a == b);
}
inline bool operator!=(LPCWSTR a, const CString& b) noexcept {
    return !(a == b);
}
inline bool operator<(const CString& a, const CString& b) noexcept {
    return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const CString& b) noexcept {
    return a.Compare(b) > 0;
}
inline bool operator<=(const CString& a, const CString& b) noexcept {
    return a.Compare(b) <= 0;
}
inline bool operator>=(const CString& a, const CString& b) noexcept {
    return a.Compare(b) >= 0;
}

using CStringW = CString;
