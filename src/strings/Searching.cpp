// Searching: positions of the first, last or n-th occurrence of a text (exact code units,
// occurrences never overlap), and the head or tail of a text by a count.
#include <boost/algorithm/string/find.hpp>

#include "VelmoraBase.h"
#include "strings/TextRange.h"

namespace {

// The position of the occurrence find(text, search) returns, or -1 when there is none or the
// text or the searched text is empty.
template <class Find>
int FindPosition(const CString& strText, const CString& strSearch, Find find) {
    const TextRange text = VisibleText(strText);
    const TextRange search = VisibleText(strSearch);
    if (text.empty() || search.empty())
        return -1;
    const TextRange found = find(text, search);
    return found.empty() ? -1 : static_cast<int>(found.begin() - text.begin());
}

// The piece find(text, count) returns. An empty text gives an empty result, a count that reaches
// the length the whole text.
template <class Find> CString FindPiece(const CString& strText, long nCount, Find find) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    if (nCount >= LengthOf(text))
        return ToCString(strText, text);
    return ToCString(strText, find(text, BoundedCount(nCount, LengthOf(text))));
}

} // namespace

int CVelmoraBase::Find_First(CString strText, CString strSearch) {
    return FindPosition(strText, strSearch, [](TextRange text, TextRange search) {
        return boost::algorithm::find_first(text, search);
    });
}
int CVelmoraBase::Find_Last(CString strText, CString strSearch) {
    return FindPosition(strText, strSearch, [](TextRange text, TextRange search) {
        return boost::algorithm::find_last(text, search);
    });
}
int CVelmoraBase::Find_Nth(CString strText, CString strSearch, long nIndex) {
    return FindPosition(strText, strSearch, [nIndex](TextRange text, TextRange search) {
        return boost::algorithm::find_nth(text, search, BoundedOccurrence(nIndex, LengthOf(text)));
    });
}

CString CVelmoraBase::Find_Head(CString strText, long nCount) {
    return FindPiece(strText, nCount, [](TextRange text, int nBounded) {
        return boost::algorithm::find_head(text, nBounded);
    });
}
CString CVelmoraBase::Find_Tail(CString strText, long nCount) {
    return FindPiece(strText, nCount, [](TextRange text, int nBounded) {
        return boost::algorithm::find_tail(text, nBounded);
    });
}
