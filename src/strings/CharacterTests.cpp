// Case conversion, the every-character tests and equality. Classes and case mappings come from
// the ctype facet of the global locale at the time of the call (a default-constructed locale).
#include <locale>

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/predicate.hpp>

#include "VelmoraBase.h"
#include "strings/TextRange.h"

namespace {

// True when every code unit of the text satisfies the predicate. An empty text, or arguments the
// member rejects (bArgumentsGiven false), give false.
template <class Predicate>
bool AllMatch(const CString& strText, bool bArgumentsGiven, Predicate predicate) {
    const TextRange text = VisibleText(strText);
    return !text.empty() && bArgumentsGiven && boost::algorithm::all(text, predicate);
}

} // namespace

CString CVelmoraBase::To_Upper_lower(CString strText, bool bUpper) {
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return CString();
    const std::locale locale;
    return WriteCString(text.size(), [&](wchar_t* out) {
        return bUpper ? boost::algorithm::to_upper_copy(out, text, locale)
                      : boost::algorithm::to_lower_copy(out, text, locale);
    });
}

// Each member: the guard it adds to the empty-text one, and its predicate.
bool CVelmoraBase::Is_Alpha(CString strText) {
    return AllMatch(strText, true, boost::algorithm::is_alpha(std::locale()));
}
bool CVelmoraBase::Is_Num(CString strText) {
    return AllMatch(strText, true, boost::algorithm::is_digit(std::locale()));
}
bool CVelmoraBase::Is_Alpha_Num(CString strText) {
    return AllMatch(strText, true, boost::algorithm::is_alnum(std::locale()));
}
bool CVelmoraBase::Is_Any_Of(CString strText, CString strSet) {
    return AllMatch(strText, !IsEmptyText(strSet),
                    boost::algorithm::is_any_of(VisibleText(strSet)));
}
bool CVelmoraBase::Is_From_Range(CString strText, wchar_t chFrom, wchar_t chTo) {
    return AllMatch(strText, RangeGiven(chFrom, chTo),
                    boost::algorithm::is_from_range(chFrom, chTo));
}
bool CVelmoraBase::Is_Ansi(CString strText) {
    return AllMatch(strText, true, boost::algorithm::is_from_range(L'\0', L'\x7F'));
}

// Ignoring case is equality after both sides are upper-cased under the global locale.
bool CVelmoraBase::Is_Equal(CString strLeft, CString strRight, bool bIgnoreCase) {
    if (bIgnoreCase) {
        const CString strUpperLeft = To_Upper_lower(strLeft, true);
        const CString strUpperRight = To_Upper_lower(strRight, true);
        return boost::algorithm::equals(VisibleText(strUpperLeft), VisibleText(strUpperRight));
    }
    return boost::algorithm::equals(VisibleText(strLeft), VisibleText(strRight));
}
