// Splitting a text at separator code units into a list, and joining a list with a separator.
#include <algorithm>
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
// of one CString of the list, read in place. The result writes the joined text straight into a
// CString's buffer, doubling its room when full; join only ever inserts at the end.
class JoinedText {
public:
    using iterator = const wchar_t*;
    using const_iterator = const wchar_t*;

    JoinedText() = default;
    explicit JoinedText(TextRange item) : m_pBegin(item.begin()), m_nLength(item.size()) {}

    const wchar_t* begin() const { return m_pBegin; }
    const wchar_t* end() const { return m_pBegin + m_nLength; }
    void insert(const wchar_t*, const wchar_t* first, const wchar_t* last) {
        const std::size_t nLength = m_nLength + static_cast<std::size_t>(last - first);
        if (nLength > m_nRoom)
            Grow(nLength);
        std::copy(first, last, m_pWrite + m_nLength);
        m_nLength = nLength;
    }
    CString Result() {
        m_result.ReleaseBuffer(static_cast<int>(m_nLength));
        return m_result;
    }

private:
    void Grow(std::size_t nLength) {
        if (nLength > static_cast<std::size_t>(INT_MAX))
            throw std::bad_alloc();
        m_result.ReleaseBuffer(static_cast<int>(m_nLength)); // GetBuffer keeps this much
        m_nRoom = std::min<std::size_t>(std::max<std::size_t>(2 * nLength, 16), INT_MAX);
        m_pWrite = m_result.GetBuffer(static_cast<int>(m_nRoom));
        m_pBegin = m_pWrite;
    }

    CString m_result;
    wchar_t* m_pWrite = nullptr;
    const wchar_t* m_pBegin = nullptr;
    std::size_t m_nLength = 0;
    std::size_t m_nRoom = 0;
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
