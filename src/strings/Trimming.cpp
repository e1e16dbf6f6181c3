// Trimming: removes the run of code units that match a class, a set or a range from the start,
// the end or both ends of a text. Classes come from the global locale at the time of the call.
#include <locale>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/trim.hpp>

#include "VelmoraBase.h"
#include "strings/TextRange.h"

namespace {

// nSide -1 trims the start, 1 the end, any other value both ends. The trimmed text is a part of
// the text's own range: nothing is copied here.
template <class Predicate> TextRange TrimSides(TextRange text, int nSide, Predicate isTrimmed) {
    switch (nSide) {
    case -1:
        return boost::algorithm::trim_left_copy_if(text, isTrimmed);
    case 1:
        return boost::algorithm::trim_right_copy_if(text, isTrimmed);
    default:
        return boost::algorithm::trim_copy_if(text, isTrimmed);
    }
}

// An empty text gives an empty result; arguments the member rejects (bArgumentsGiven false)
// give the text unchanged.
template <class Predicate>
CString TrimText(const CString& strText, int nSide, bool bArgumentsGiven, Predicate isTrimmed) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    return ToCString(strText, bArgumentsGiven ? TrimSides(text, nSide, isTrimmed) : text);
}

} // namespace

// Each member: the guard it adds to the empty-text one, and its predicate.
CString CVelmoraBase::Trim_Any_Of(CString strText, CString strSet, int nSide) {
    return TrimText(strText, nSide, !IsEmptyText(strSet),
                    boost::algorithm::is_any_of(VisibleText(strSet)));
}
CString CVelmoraBase::Trim_Alpha(CString strText, int nSide) {
    return TrimText(strText, nSide, true, boost::algorithm::is_alpha(std::locale()));
}
CString CVelmoraBase::Trim_Num(CString strText, int nSide) {
    return TrimText(strText, nSide, true, boost::algorithm::is_digit(std::locale()));
}
CString CVelmoraBase::Trim_Punct(CString strText, int nSide) {
    return TrimText(strText, nSide, true, boost::algorithm::is_punct(std::locale()));
}
CString CVelmoraBase::Trim_From_Range(CString strText, wchar_t chFrom, wchar_t chTo, int nSide) {
    return TrimText(strText, nSide, RangeGiven(chFrom, chTo),
                    boost::algorithm::is_from_range(chFrom, chTo));
}
