// The plumbing every string utility shares: the text of a CString seen as a Boost range over the
// string's own buffer (up to the first NUL, never copied), the bounds that keep counts and
// occurrence numbers inside what a text can hold, and the ways back to a CString.
#pragma once

#include <climits>
#include <cstddef>
#include <new>

#include <boost/range/iterator_range.hpp>

#include "atl/AtlString.h"

using TextRange = boost::iterator_range<const wchar_t*>;

inline std::size_t LengthBeforeNulOneByOne(const wchar_t* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n && p[i] != L'\0')
        ++i;
    return i;
}

// The same for texts of at least 32 code units, in blocks where the processor allows.
std::size_t LengthBeforeNulInBlocks(const wchar_t* p, std::size_t n);

// The number of code units before the first NUL among the n at p (n when there is none).
inline std::size_t LengthBeforeNul(const wchar_t* p, std::size_t n) {
    return n >= 32 ? LengthBeforeNulInBlocks(p, n) : LengthBeforeNulOneByOne(p, n);
}

// The text a string utility works on: the code units of str up to its first NUL.
inline TextRange VisibleText(const CString& str) {
    const wchar_t* const p = str.GetString();
    return TextRange(p, p + LengthBeforeNul(p, static_cast<std::size_t>(str.GetLength())));
}

// Empty as the string utilities see it: nothing before the first NUL.
inline bool IsEmptyText(const CString& str) {
    return str.GetString()[0] == L'\0';
}

// A character range bound of 0 (the NUL character) counts as no range given.
inline bool RangeGiven(wchar_t chFrom, wchar_t chTo) {
    return chFrom != 0 && chTo != 0;
}

inline int LengthOf(TextRange text) {
    return static_cast<int>(text.size());
}

// piece (a part of source's visible text) as a CString. The whole of a NUL-free source comes back
// as source itself, sharing its buffer.
inline CString ToCString(const CString& source, TextRange piece) {
    if (piece.begin() == source.GetString() && LengthOf(piece) == source.GetLength())
        return source;
    return CString(piece.begin(), LengthOf(piece));
}

// A result of at most nCapacity code units, written straight into a new CString's buffer:
// write(begin) writes from begin and returns the end of what it wrote.
template <class Write> CString WriteCString(std::size_t nCapacity, Write write) {
    if (nCapacity > static_cast<std::size_t>(INT_MAX))
        throw std::bad_alloc();
    CString result;
    wchar_t* const begin = result.GetBuffer(static_cast<int>(nCapacity));
    result.ReleaseBuffer(static_cast<int>(write(begin) - begin));
    return result;
}

// A head or tail count for Boost's finders. Counts at or past the length are the callers' guards;
// below minus the length every count names the same empty head or tail, and keeping it there
// keeps Boost's negation of it from overflowing.
inline int BoundedCount(long nCount, int nLength) {
    return nCount < -static_cast<long>(nLength) ? -nLength : static_cast<int>(nCount);
}

// An occurrence number for Boost's nth finder. A text of n code units holds at most n
// occurrences, so every number below -(n + 1) finds nothing, as -(n + 1) does.
inline int BoundedOccurrence(long nIndex, int nLength) {
    const long long nLowest = -static_cast<long long>(nLength) - 1;
    return nIndex < nLowest ? static_cast<int>(nLowest) : static_cast<int>(nIndex);
}
