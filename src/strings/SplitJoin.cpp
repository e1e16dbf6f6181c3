// Splitting a text at separator code units into a list, and joining a list with a separator.
#include <climits>
#include <new>
#include <vector>

#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/join.hpp>
#include <boost/algorithm/string/split.hpp>
#include <boost/range/adaptor/transformed.hpp>

#include "VelmoraBase.h"
#include "strings/TextRange.h"

namespace {

// The item and result type for boost::algorithm::join. An item is a range over the visible text
// of one CString of the list, read in place; the result is a CString that join appends to, so
// the joined text is built straight into it. join only ever inserts at the end.
class JoinedText {
public:
    using iterator = const wchar_t*;
    using const_iterator = const wchar_t*;

    JoinedText() = default;
    explicit JoinedText(TextRange item) : m_text(item) {}

    const wchar_t* begin() const { return m_text.begin(); }
    const wchar_t* end() const { return m_text.end(); }
    void insert(const wchar_t*, const wchar_t* first, const wchar_t* last) {
        if (last - first > INT_MAX - m_result.GetLength())
            throw std::bad_alloc();
        m_result.Append(first, static_cast<int>(last - first));
        m_text = TextRange(m_result.GetString(), m_result.GetString() + m_result.GetLength());
    }
    const CString& Result() const { return m_result; }

private:
    CString m_result;
    TextRange m_text;
};

struct ToJoinedText {
    JoinedText operator()(const CString& str) const { return JoinedText(VisibleText(str)); }
};

} // namespace

bool CVelmoraBase::Split(CString strText, CString strSeparators, std::vector<CString>& vecParts,
                         bool bCompress) {
    vecParts.clear();
    const TextRange text = VisibleText(strText);
    if (text.empty())
        return false;
    const TextRange separators = VisibleText(strSeparators);
    if (separators.empty()) {
        vecParts.push_back(ToCString(strText, text));
        return false;
    }
    // The pieces are ranges over strText's buffer; each is copied once, into its CString.
    std::vector<TextRange> pieces;
    boost::algorithm::split(pieces, text, boost::algorithm::is_any_of(separators),
                            bCompress ? boost::algorithm::token_compress_on
                                      : boost::algorithm::token_compress_off);
    vecParts.reserve(pieces.size());
    for (const TextRange& piece : pieces)
        vecParts.push_back(ToCString(strText, piece));
    return true;
}

CString CVelmoraBase::Join(std::vector<CString> vecParts, CString strSeparator) {
    if (vecParts.empty())
        return CString();
    return boost::algorithm::join(vecParts | boost::adaptors::transformed(ToJoinedText()),
                                  VisibleText(strSeparator))
        .Result();
}
