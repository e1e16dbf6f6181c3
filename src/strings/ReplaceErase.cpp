// Replacing and erasing: one occurrence of a searched text (the first, the last or the n-th),
// every occurrence, or the head or the tail of a text. Results are written straight into the
// new CString; a missing occurrence or an empty head or tail leaves the text unchanged.
#include <boost/algorithm/string/erase.hpp>
#include <boost/algorithm/string/replace.hpp>

#include "VelmoraBase.h"
#include "strings/TextRange.h"

namespace {

// Guards of the occurrence members, in order: an empty text gives an empty result, an empty
// searched text the text unchanged, an empty replacement hands over to erase(). Otherwise
// replace(out, text, search, format) writes the result.
template <class Erase, class Replace>
CString ReplaceOccurrence(const CString& strText, const CString& strSearch,
                          const CString& strReplace, Erase erase, Replace replace) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    const TextRange search = VisibleText(strSearch);
    if (search.empty())
        return ToCString(strText, text);
    const TextRange format = VisibleText(strReplace);
    if (format.empty())
        return erase();
    return WriteCString(text.size() + format.size(),
                        [&](wchar_t* out) { return replace(out, text, search, format); });
}

template <class Erase>
CString EraseOccurrence(const CString& strText, const CString& strSearch, Erase erase) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    const TextRange search = VisibleText(strSearch);
    if (search.empty())
        return ToCString(strText, text);
    return WriteCString(text.size(), [&](wchar_t* out) { return erase(out, text, search); });
}

// Guards of the head and tail replacements, in order: an empty text gives an empty result, an
// empty replacement hands over to erase(), a count that reaches the length gives the text
// unchanged (the replacement is not applied).
template <class Erase, class Replace>
CString ReplaceEnd(const CString& strText, const CString& strReplace, long nCount, Erase erase,
                   Replace replace) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    const TextRange format = VisibleText(strReplace);
    if (format.empty())
        return erase();
    if (nCount >= LengthOf(text))
        return ToCString(strText, text);
    return WriteCString(text.size() + format.size(), [&](wchar_t* out) {
        return replace(out, text, BoundedCount(nCount, LengthOf(text)), format);
    });
}

// Guards of the head and tail erasures, in order: an empty text gives an empty result, a count
// of 0 the text unchanged, a count that reaches the length an empty result.
template <class Erase> CString EraseEnd(const CString& strText, long nCount, Erase erase) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    if (nCount == 0)
        return ToCString(strText, text);
    if (nCount >= LengthOf(text))
        return CString();
    return WriteCString(text.size(), [&](wchar_t* out) {
        return erase(out, text, BoundedCount(nCount, LengthOf(text)));
    });
}

} // namespace

CString CVelmoraBase::Replace_First(CString strText, CString strSearch, CString strReplace) {
    return ReplaceOccurrence(
        strText, strSearch, strReplace, [&] { return Erase_First(strText, strSearch); },
        [](wchar_t* out, TextRange text, TextRange search, TextRange format) {
            return boost::algorithm::replace_first_copy(out, text, search, format);
        });
}
CString CVelmoraBase::Replace_Last(CString strText, CString strSearch, CString strReplace) {
    return ReplaceOccurrence(
        strText, strSearch, strReplace, [&] { return Erase_Last(strText, strSearch); },
        [](wchar_t* out, TextRange text, TextRange search, TextRange format) {
            return boost::algorithm::replace_last_copy(out, text, search, format);
        });
}
CString CVelmoraBase::Replace_Nth(CString strText, CString strSearch, CString strReplace,
                                  long nIndex) {
    return ReplaceOccurrence(
        strText, strSearch, strReplace, [&] { return Erase_Nth(strText, strSearch, nIndex); },
        [nIndex](wchar_t* out, TextRange text, TextRange search, TextRange format) {
            return boost::algorithm::replace_nth_copy(
                out, text, search, BoundedOccurrence(nIndex, LengthOf(text)), format);
        });
}
CString CVelmoraBase::Replace_Head(CString strText, CString strReplace, long nCount) {
    return ReplaceEnd(
        strText, strReplace, nCount, [&] { return Erase_Head(strText, nCount); },
        [](wchar_t* out, TextRange text, int nBounded, TextRange format) {
            return boost::algorithm::replace_head_copy(out, text, nBounded, format);
        });
}
CString CVelmoraBase::Replace_Tail(CString strText, CString strReplace, long nCount) {
    return ReplaceEnd(
        strText, strReplace, nCount, [&] { return Erase_Tail(strText, nCount); },
        [](wchar_t* out, TextRange text, int nBounded, TextRange format) {
            return boost::algorithm::replace_tail_copy(out, text, nBounded, format);
        });
}

CString CVelmoraBase::Erase_First(CString strText, CString strSearch) {
    return EraseOccurrence(strText, strSearch, [](wchar_t* out, TextRange text, TextRange search) {
        return boost::algorithm::erase_first_copy(out, text, search);
    });
}
CString CVelmoraBase::Erase_Last(CString strText, CString strSearch) {
    return EraseOccurrence(strText, strSearch, [](wchar_t* out, TextRange text, TextRange search) {
        return boost::algorithm::erase_last_copy(out, text, search);
    });
}
CString CVelmoraBase::Erase_Nth(CString strText, CString strSearch, long nIndex) {
    return EraseOccurrence(strText, strSearch,
                           [nIndex](wchar_t* out, TextRange text, TextRange search) {
                               return boost::algorithm::erase_nth_copy(
                                   out, text, search, BoundedOccurrence(nIndex, LengthOf(text)));
                           });
}
CString CVelmoraBase::Erase_All(CString strText, CString strSearch) {
    return EraseOccurrence(strText, strSearch, [](wchar_t* out, TextRange text, TextRange search) {
        return boost::algorithm::erase_all_copy(out, text, search);
    });
}
CString CVelmoraBase::Erase_Head(CString strText, long nCount) {
    return EraseEnd(strText, nCount, [](wchar_t* out, TextRange text, int nBounded) {
        return boost::algorithm::erase_head_copy(out, text, nBounded);
    });
}
CString CVelmoraBase::Erase_Tail(CString strText, long nCount) {
    return EraseEnd(strText, nCount, [](wchar_t* out, TextRange text, int nBounded) {
        return boost::algorithm::erase_tail_copy(out, text, nBounded);
    });
}
