// The string utilities through the public API only, so that the same cases also run against the
// DLL (test_strings_dll): the global locale a test installs here must reach the library.
#include <climits>
#include <locale>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "VelmoraBase.h"

namespace {

// One row of a table: the call as written, its result, and the expected result.
#define CALL(expr) #expr, expr

struct BoolCase {
    const char* call;
    bool actual;
    bool expected;
};
struct IntCase {
    const char* call;
    int actual;
    int expected;
};
struct TextCase {
    const char* call;
    CString actual;
    const wchar_t* expected;
};

template <class Case, size_t N> void ExpectAll(const Case (&cases)[N]) {
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.actual) << c.call;
}

// Text results compare in full, embedded NULs included.
template <size_t N> void ExpectAll(const TextCase (&cases)[N]) {
    for (const TextCase& c : cases) {
        EXPECT_EQ(static_cast<int>(wcslen(c.expected)), c.actual.GetLength()) << c.call;
        EXPECT_STREQ(c.expected, c.actual.GetString()) << c.call;
    }
}

class Strings : public ::testing::Test {
protected:
    CVelmoraBase host{nullptr};
    const CString abNulCd{L"ab\0cd", 5}; // seen as 'ab' by every method
    const CString nulAb{L"\0ab", 3};     // seen as ''
};

TEST_F(Strings, CaseConversionAndEquality) {
    const TextCase texts[] = {
        {CALL(host.To_Upper_lower(L"", true)), L""},
        {CALL(host.To_Upper_lower(L"", false)), L""},
        {CALL(host.To_Upper_lower(L"abC1", true)), L"ABC1"},
        {CALL(host.To_Upper_lower(L"abC1", false)), L"abc1"},
        {CALL(host.To_Upper_lower(abNulCd, true)), L"AB"},
        {CALL(host.To_Upper_lower(nulAb, true)), L""},
    };
    ExpectAll(texts);
    const BoolCase tests[] = {
        {CALL(host.Is_Equal(L"", L"", false)), true},
        {CALL(host.Is_Equal(L"", L"", true)), true},
        {CALL(host.Is_Equal(L"abc", L"ABC", true)), true},
        {CALL(host.Is_Equal(L"abc", L"ABC", false)), false},
        {CALL(host.Is_Equal(L"abc", L"abcd", true)), false},
        {CALL(host.Is_Equal(abNulCd, L"ab", false)), true},
        {CALL(host.Is_Equal(abNulCd, CString(L"ab\0xy", 5), false)), true},
        {CALL(host.Is_Equal(nulAb, L"", true)), true},
    };
    ExpectAll(tests);
}

TEST_F(Strings, EveryCharacterTests) {
    const BoolCase cases[] = {
        {CALL(host.Is_Alpha(L"")), false},
        {CALL(host.Is_Alpha(L"abc")), true},
        {CALL(host.Is_Alpha(L"ab1")), false},
        {CALL(host.Is_Alpha(abNulCd)), true},
        {CALL(host.Is_Alpha(nulAb)), false},
        {CALL(host.Is_Num(L"0123")), true},
        {CALL(host.Is_Num(L"12.5")), false},
        {CALL(host.Is_Num(L"-1")), false},
        {CALL(host.Is_Num(L"")), false},
        {CALL(host.Is_Alpha_Num(L"a1")), true},
        {CALL(host.Is_Alpha_Num(L"a 1")), false},
        {CALL(host.Is_Any_Of(L"abba", L"ab")), true},
        {CALL(host.Is_Any_Of(L"abc", L"ab")), false},
        {CALL(host.Is_Any_Of(L"a", L"")), false},
        {CALL(host.Is_Any_Of(L"", L"a")), false},
        {CALL(host.Is_Any_Of(abNulCd, CString(L"ab\0c", 4))), true},
        {CALL(host.Is_Any_Of(L"c", CString(L"ab\0c", 4))), false},
        {CALL(host.Is_From_Range(L"abc", L'a', L'z')), true},
        {CALL(host.Is_From_Range(L"abc", L'b', L'z')), false},
        {CALL(host.Is_From_Range(L"a", L'z', L'a')), false},
        {CALL(host.Is_From_Range(L"a", 0, L'z')), false},
        {CALL(host.Is_From_Range(L"a", L'a', 0)), false},
        {CALL(host.Is_From_Range(L"a", 1, L'z')), true},
        {CALL(host.Is_From_Range(L"", 1, L'z')), false},
        {CALL(host.Is_From_Range(L"\xFFFF\x8000", L'\x8000', L'\xFFFF')), true},
        {CALL(host.Is_Ansi(L"abc~")), true},
        {CALL(host.Is_Ansi(L"a\x7F")), true},
        {CALL(host.Is_Ansi(L"a\x80")), false},
        {CALL(host.Is_Ansi(L"caf\xE9")), false},
        {CALL(host.Is_Ansi(L"")), false},
        {CALL(host.Is_Ansi(CString(L"ab\0\xE9", 4))), true},
    };
    ExpectAll(cases);
}

TEST_F(Strings, Trimming) {
    const TextCase cases[] = {
        {CALL(host.Trim_Any_Of(L"xxabcxx", L"x", -1)), L"abcxx"},
        {CALL(host.Trim_Any_Of(L"xxabcxx", L"x", 1)), L"xxabc"},
        {CALL(host.Trim_Any_Of(L"xxabcxx", L"x", 0)), L"abc"},
        {CALL(host.Trim_Any_Of(L"xxabcxx", L"x", 7)), L"abc"},
        {CALL(host.Trim_Any_Of(L"xxabcxx", L"x", -2)), L"abc"},
        {CALL(host.Trim_Any_Of(L"xyx", L"xy", 0)), L""},
        {CALL(host.Trim_Any_Of(L"abc", L"", 0)), L"abc"},
        {CALL(host.Trim_Any_Of(L"", L"x", 0)), L""},
        {CALL(host.Trim_Any_Of(L"", L"", 0)), L""},
        {CALL(host.Trim_Any_Of(abNulCd, L"x", 0)), L"ab"},
        {CALL(host.Trim_Any_Of(abNulCd, L"", 0)), L"ab"},
        {CALL(host.Trim_Any_Of(abNulCd, L"b", 1)), L"a"},
        {CALL(host.Trim_Num(L"12ab34", 0)), L"ab"},
        {CALL(host.Trim_Num(L"12ab34", -1)), L"ab34"},
        {CALL(host.Trim_Num(L"12ab34", 1)), L"12ab"},
        {CALL(host.Trim_Alpha(L"ab12cd", 0)), L"12"},
        {CALL(host.Trim_Alpha(L"abc", 1)), L""},
        {CALL(host.Trim_Alpha(L"", 1)), L""},
        {CALL(host.Trim_Punct(L"..a,b!!", 0)), L"a,b"},
        {CALL(host.Trim_Punct(L"a,b", 0)), L"a,b"},
        {CALL(host.Trim_From_Range(L"aXb", L'a', L'b', 0)), L"X"},
        {CALL(host.Trim_From_Range(L"abc", 0, L'z', 0)), L"abc"},
        {CALL(host.Trim_From_Range(L"abc", L'a', 0, 0)), L"abc"},
        {CALL(host.Trim_From_Range(L"abc", L'z', L'a', 0)), L"abc"},
        {CALL(host.Trim_From_Range(L"", L'a', 0, 0)), L""},
        {CALL(host.Trim_From_Range(CString(L"ab\0", 3), 0, L'z', 0)), L"ab"},
    };
    ExpectAll(cases);
}

TEST_F(Strings, PositionSearchesCountOccurrencesWithoutOverlap) {
    const IntCase cases[] = {
        {CALL(host.Find_First(L"abcabc", L"bc")), 1},
        {CALL(host.Find_Last(L"abcabc", L"bc")), 4},
        {CALL(host.Find_Nth(L"abcabc", L"bc", 0)), 1},
        {CALL(host.Find_Nth(L"abcabc", L"bc", 1)), 4},
        {CALL(host.Find_Nth(L"abcabc", L"bc", 2)), -1},
        {CALL(host.Find_Nth(L"abcabc", L"bc", -1)), 4},
        {CALL(host.Find_Nth(L"abcabc", L"bc", -2)), 1},
        {CALL(host.Find_Nth(L"abcabc", L"bc", -3)), -1},
        {CALL(host.Find_Nth(L"aaaa", L"aa", 1)), 2},
        {CALL(host.Find_Nth(L"aaa", L"aa", 1)), -1},
        {CALL(host.Find_Nth(L"aaa", L"aa", -1)), 1},
        {CALL(host.Find_Nth(L"aaa", L"aa", -2)), -1},
        {CALL(host.Find_Nth(L"aaa", L"a", -3)), 0},
        {CALL(host.Find_Nth(L"aaa", L"a", -4)), -1},
        {CALL(host.Find_Nth(L"aaa", L"a", LONG_MIN)), -1},
        {CALL(host.Find_Nth(L"aaa", L"a", LONG_MAX)), -1},
        {CALL(host.Find_First(L"abc", L"")), -1},
        {CALL(host.Find_First(L"", L"a")), -1},
        {CALL(host.Find_First(L"abc", L"abcd")), -1},
        {CALL(host.Find_First(L"abc", L"B")), -1},
        {CALL(host.Find_Last(L"abc", L"")), -1},
        {CALL(host.Find_First(abNulCd, L"cd")), -1},
        {CALL(host.Find_Last(abNulCd, L"b")), 1},
        {CALL(host.Find_First(L"abc", CString(L"bc\0x", 4))), 1},
        {CALL(host.Find_First(L"abc", nulAb)), -1},
    };
    ExpectAll(cases);
}

TEST_F(Strings, HeadAndTailByCount) {
    const TextCase cases[] = {
        {CALL(host.Find_Head(L"abcdef", 2)), L"ab"},
        {CALL(host.Find_Head(L"abcdef", 0)), L""},
        {CALL(host.Find_Head(L"abcdef", 6)), L"abcdef"},
        {CALL(host.Find_Head(L"abcdef", 10)), L"abcdef"},
        {CALL(host.Find_Head(L"abcdef", -2)), L"abcd"},
        {CALL(host.Find_Head(L"abcdef", -6)), L""},
        {CALL(host.Find_Head(L"abcdef", -10)), L""},
        {CALL(host.Find_Head(L"abcdef", LONG_MIN)), L""},
        {CALL(host.Find_Tail(L"abcdef", 2)), L"ef"},
        {CALL(host.Find_Tail(L"abcdef", 0)), L""},
        {CALL(host.Find_Tail(L"abcdef", 6)), L"abcdef"},
        {CALL(host.Find_Tail(L"abcdef", 10)), L"abcdef"},
        {CALL(host.Find_Tail(L"abcdef", -2)), L"cdef"},
        {CALL(host.Find_Tail(L"abcdef", -6)), L""},
        {CALL(host.Find_Tail(L"abcdef", -10)), L""},
        {CALL(host.Find_Tail(L"abcdef", LONG_MIN)), L""},
        {CALL(host.Find_Head(L"", 3)), L""},
        {CALL(host.Find_Tail(L"", -3)), L""},
        {CALL(host.Find_Head(abNulCd, 2)), L"ab"},
        {CALL(host.Find_Tail(abNulCd, 1)), L"b"},
    };
    ExpectAll(cases);
}

TEST_F(Strings, ReplaceOneOccurrence) {
    const TextCase cases[] = {
        {CALL(host.Replace_First(L"x-y-z", L"-", L"+")), L"x+y-z"},
        {CALL(host.Replace_Last(L"x-y-z", L"-", L"+")), L"x-y+z"},
        {CALL(host.Replace_Nth(L"x-y-z", L"-", L"+", 1)), L"x-y+z"},
        {CALL(host.Replace_Nth(L"x-y-z", L"-", L"+", -2)), L"x+y-z"},
        {CALL(host.Replace_Nth(L"x-y-z", L"-", L"+", 2)), L"x-y-z"},
        {CALL(host.Replace_Nth(L"x-y-z", L"-", L"+", LONG_MIN)), L"x-y-z"},
        {CALL(host.Replace_Nth(L"aaaa", L"aa", L"b", 1)), L"aab"},
        {CALL(host.Replace_Nth(L"aaa", L"aa", L"b", -1)), L"ab"},
        {CALL(host.Replace_First(L"abc", L"x", L"y")), L"abc"},
        {CALL(host.Replace_First(L"abc", L"", L"y")), L"abc"},
        {CALL(host.Replace_First(L"", L"a", L"y")), L""},
        {CALL(host.Replace_First(L"a-b", L"-", L"")), L"ab"},
        {CALL(host.Replace_Last(L"a-b-c", L"-", L"")), L"a-bc"},
        {CALL(host.Replace_Nth(L"a-b-c", L"-", L"", 1)), L"a-bc"},
        {CALL(host.Replace_First(L"aaa", L"a", L"aa")), L"aaaa"},
        {CALL(host.Replace_First(L"ab", L"ab", L"a much longer text")), L"a much longer text"},
        {CALL(host.Replace_First(abNulCd, L"b", L"B")), L"aB"},
        {CALL(host.Replace_First(abNulCd, L"c", L"C")), L"ab"},
        {CALL(host.Replace_First(L"a-b", L"-", CString(L"+\0x", 3))), L"a+b"},
        {CALL(host.Replace_First(L"a-b", L"-", nulAb)), L"ab"},
    };
    ExpectAll(cases);
}

TEST_F(Strings, EraseOccurrences) {
    const TextCase cases[] = {
        {CALL(host.Erase_All(L"x-y-z", L"-")), L"xyz"},
        {CALL(host.Erase_All(L"aabb", L"ab")), L"ab"},
        {CALL(host.Erase_All(L"aaa", L"aa")), L"a"},
        {CALL(host.Erase_All(L"abc", L"")), L"abc"},
        {CALL(host.Erase_All(L"", L"a")), L""},
        {CALL(host.Erase_Nth(L"abcabc", L"bc", -1)), L"abca"},
        {CALL(host.Erase_Nth(L"abc", L"b", 5)), L"abc"},
        {CALL(host.Erase_Nth(L"aaaa", L"aa", 1)), L"aa"},
        {CALL(host.Erase_Nth(L"abc", L"b", LONG_MIN)), L"abc"},
        {CALL(host.Erase_First(L"abc", L"")), L"abc"},
        {CALL(host.Erase_First(L"abab", L"ab")), L"ab"},
        {CALL(host.Erase_Last(L"abab", L"a")), L"abb"},
        {CALL(host.Erase_All(abNulCd, L"b")), L"a"},
    };
    ExpectAll(cases);
}

// A count that reaches the length leaves the text unchanged when replacing, but erases all of
// it; an empty replacement turns a replacement into the erasure.
TEST_F(Strings, ReplaceAndEraseHeadAndTail) {
    const TextCase cases[] = {
        {CALL(host.Replace_Head(L"abcdef", L"X", 2)), L"Xcdef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", 0)), L"abcdef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", 6)), L"abcdef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", 10)), L"abcdef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", -2)), L"Xef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", -6)), L"abcdef"},
        {CALL(host.Replace_Head(L"abcdef", L"X", LONG_MIN)), L"abcdef"},
        {CALL(host.Replace_Tail(L"abcdef", L"X", 2)), L"abcdX"},
        {CALL(host.Replace_Tail(L"abcdef", L"X", -2)), L"abX"},
        {CALL(host.Replace_Tail(L"abcdef", L"X", 0)), L"abcdef"},
        {CALL(host.Replace_Tail(L"abcdef", L"X", 6)), L"abcdef"},
        {CALL(host.Replace_Tail(L"abcdef", L"X", LONG_MIN)), L"abcdef"},
        {CALL(host.Replace_Head(L"abc", L"X", 5)), L"abc"},
        {CALL(host.Replace_Head(L"abc", L"", 5)), L""},
        {CALL(host.Replace_Tail(L"abc", L"", 1)), L"ab"},
        {CALL(host.Replace_Head(L"", L"X", 1)), L""},
        {CALL(host.Erase_Head(L"abcdef", 2)), L"cdef"},
        {CALL(host.Erase_Head(L"abcdef", 0)), L"abcdef"},
        {CALL(host.Erase_Head(L"abcdef", 6)), L""},
        {CALL(host.Erase_Head(L"abcdef", 10)), L""},
        {CALL(host.Erase_Head(L"abcdef", -2)), L"ef"},
        {CALL(host.Erase_Head(L"abcdef", -6)), L"abcdef"},
        {CALL(host.Erase_Head(L"abcdef", -10)), L"abcdef"},
        {CALL(host.Erase_Head(L"abcdef", LONG_MIN)), L"abcdef"},
        {CALL(host.Erase_Tail(L"abcdef", 2)), L"abcd"},
        {CALL(host.Erase_Tail(L"abcdef", -2)), L"ab"},
        {CALL(host.Erase_Tail(L"abcdef", 6)), L""},
        {CALL(host.Erase_Tail(L"abcdef", -6)), L"abcdef"},
        {CALL(host.Erase_Tail(L"", 1)), L""},
        {CALL(host.Erase_Head(abNulCd, 1)), L"b"},
        {CALL(host.Erase_Tail(abNulCd, 2)), L""},
        {CALL(host.Replace_Tail(abNulCd, L"X", 1)), L"aX"},
        {CALL(host.Replace_Head(abNulCd, L"X", 2)), L"ab"},
    };
    ExpectAll(cases);
}

struct SplitCase {
    const wchar_t* text;
    const wchar_t* separators;
    bool bCompress;
    bool expectedResult;
    std::vector<const wchar_t*> expectedParts;
};

TEST_F(Strings, SplitCompressesRunsButKeepsOneEmptyPieceAtEachEnd) {
    const SplitCase cases[] = {
        {L"x,y;z", L",;", false, true, {L"x", L"y", L"z"}},
        {L"x,,y", L",", false, true, {L"x", L"", L"y"}},
        {L"x,,y", L",", true, true, {L"x", L"y"}},
        {L",x,", L",", false, true, {L"", L"x", L""}},
        {L",x,", L",", true, true, {L"", L"x", L""}},
        {L"x,,", L",", true, true, {L"x", L""}},
        {L",,,", L",", false, true, {L"", L"", L"", L""}},
        {L",,,", L",", true, true, {L"", L""}},
        {L"xyz", L",", false, true, {L"xyz"}},
        {L"", L",", true, false, {}},
        {L"x,y", L"", false, false, {L"x,y"}},
    };
    for (const SplitCase& c : cases) {
        std::vector<CString> parts{L"left over"};
        EXPECT_EQ(c.expectedResult, host.Split(c.text, c.separators, parts, c.bCompress))
            << "'" << testing::PrintToString(c.text) << "' compress " << c.bCompress;
        ASSERT_EQ(c.expectedParts.size(), parts.size()) << testing::PrintToString(c.text);
        for (size_t i = 0; i < parts.size(); ++i)
            EXPECT_STREQ(c.expectedParts[i], parts[i]) << testing::PrintToString(c.text);
    }
}

TEST_F(Strings, SplitSeesTextAndSeparatorsUpToTheFirstNul) {
    std::vector<CString> parts;
    EXPECT_TRUE(host.Split(CString(L"a,b\0,c", 6), CString(L",\0b", 3), parts, false));
    ASSERT_EQ(2u, parts.size());
    EXPECT_STREQ(L"a", parts[0]);
    EXPECT_STREQ(L"b", parts[1]);
    EXPECT_FALSE(host.Split(abNulCd, L"", parts, false));
    ASSERT_EQ(1u, parts.size());
    EXPECT_EQ(2, parts[0].GetLength());
    EXPECT_FALSE(host.Split(nulAb, L",", parts, false));
    EXPECT_TRUE(parts.empty());
}

TEST_F(Strings, JoinLeavesTheCallersListUntouched) {
    const std::vector<CString> xyz{L"x", L"y", L"z"};
    const wchar_t* const firstBuffer = xyz[0].GetString();
    const TextCase cases[] = {
        {CALL(host.Join(xyz, L", ")), L"x, y, z"},
        {CALL(host.Join({}, L"-")), L""},
        {CALL(host.Join({L"x"}, L"-")), L"x"},
        {CALL(host.Join({L"x", L"", L"y"}, L"-")), L"x--y"},
        {CALL(host.Join({L"x", L"y"}, L"")), L"xy"},
        {CALL(host.Join({L"", L""}, L"")), L""},
        {CALL(host.Join({abNulCd, L"c"}, CString(L"-\0-", 3))), L"ab-c"},
    };
    ExpectAll(cases);
    ASSERT_EQ(3u, xyz.size());
    EXPECT_STREQ(L"x", xyz[0]);
    EXPECT_STREQ(L"z", xyz[2]);
    EXPECT_EQ(firstBuffer, xyz[0].GetString());
}

// The visible length is found in blocks on long texts: a NUL anywhere, at a block's edge or in
// the tail after the last block, ends the text there.
TEST_F(Strings, LongTextsEndAtTheirFirstNulWherever) {
    const int kLength = 150;
    const int nulPositions[] = {0, 1, 15, 16, 31, 32, 33, 63, 64, 79, 127, 128, 140, 149};
    for (const int at : nulPositions) {
        std::wstring raw(kLength, L'a');
        raw[at] = L'\0';
        raw[kLength - 1] = L'\0';
        const CString text(raw.data(), kLength);
        EXPECT_EQ(at, host.To_Upper_lower(text, true).GetLength()) << "NUL at " << at;
        EXPECT_EQ(at, host.Find_Tail(text, kLength).GetLength()) << "NUL at " << at;
    }
    EXPECT_EQ(kLength, host.Find_Head(CString(L'a', kLength), kLength).GetLength());
}

// A long text crosses the growth steps of the joined result and of the written buffers.
TEST_F(Strings, LongTextsKeepEveryCodeUnit) {
    std::vector<CString> words(500, CString(L"word"));
    const CString joined = host.Join(words, L" ");
    EXPECT_EQ(500 * 5 - 1, joined.GetLength());
    std::vector<CString> parts;
    EXPECT_TRUE(host.Split(joined, L" ", parts, true));
    EXPECT_EQ(500u, parts.size());
    EXPECT_EQ(500 * 4, host.Erase_All(joined, L" ").GetLength());
    EXPECT_EQ(joined.GetLength() + 2, host.Replace_Last(joined, L"d", L"DDD").GetLength());
    EXPECT_STREQ(L"WORD", host.Find_Tail(host.To_Upper_lower(joined, true), 4));
}

// A locale that marks '#' as a letter, '7' as punctuation instead of a digit, and maps '#' to
// '@' in upper case and back in lower case.
class MarkedCtype : public std::ctype<wchar_t> {
protected:
    using std::ctype<wchar_t>::do_is;
    using std::ctype<wchar_t>::do_toupper;
    using std::ctype<wchar_t>::do_tolower;
    bool do_is(mask m, char_type c) const override {
        if (c == L'#')
            return (m & alpha) != 0;
        if (c == L'7')
            return (m & punct) != 0;
        return std::ctype<wchar_t>::do_is(m, c);
    }
    char_type do_toupper(char_type c) const override {
        return c == L'#' ? L'@' : std::ctype<wchar_t>::do_toupper(c);
    }
    char_type do_tolower(char_type c) const override {
        return c == L'@' ? L'#' : std::ctype<wchar_t>::do_tolower(c);
    }
};

class GlobalLocale {
public:
    explicit GlobalLocale(const std::locale& locale) : m_previous(std::locale::global(locale)) {}
    ~GlobalLocale() { std::locale::global(m_previous); }
    GlobalLocale(const GlobalLocale&) = delete;
    GlobalLocale& operator=(const GlobalLocale&) = delete;

private:
    std::locale m_previous;
};

struct LocaleDependent {
    bool alpha, num, alnum, equalIgnoringCase;
    CString trimmedAlpha, trimmedNum, trimmedPunct, upper, lower;
};

LocaleDependent Evaluate(CVelmoraBase& host) {
    return {host.Is_Alpha(L"a#b"),
            host.Is_Num(L"17"),
            host.Is_Alpha_Num(L"#1"),
            host.Is_Equal(L"a#", L"A@", true),
            host.Trim_Alpha(L"#1#", 0),
            host.Trim_Num(L"7a7", 0),
            host.Trim_Punct(L"7a7", 0),
            host.To_Upper_lower(L"a#", true),
            host.To_Upper_lower(L"A@", false)};
}

void ExpectClassic(const LocaleDependent& r) {
    EXPECT_FALSE(r.alpha);
    EXPECT_TRUE(r.num);
    EXPECT_FALSE(r.alnum);
    EXPECT_FALSE(r.equalIgnoringCase);
    EXPECT_STREQ(L"#1#", r.trimmedAlpha);
    EXPECT_STREQ(L"a", r.trimmedNum);
    EXPECT_STREQ(L"7a7", r.trimmedPunct);
    EXPECT_STREQ(L"A#", r.upper);
    EXPECT_STREQ(L"a@", r.lower);
}

TEST_F(Strings, FollowTheGlobalLocaleAtTheTimeOfTheCall) {
    ExpectClassic(Evaluate(host));
    {
        const GlobalLocale marked(std::locale(std::locale::classic(), new MarkedCtype));
        const LocaleDependent r = Evaluate(host);
        EXPECT_TRUE(r.alpha);
        EXPECT_FALSE(r.num);
        EXPECT_TRUE(r.alnum);
        EXPECT_TRUE(r.equalIgnoringCase);
        EXPECT_STREQ(L"1", r.trimmedAlpha);
        EXPECT_STREQ(L"7a7", r.trimmedNum);
        EXPECT_STREQ(L"a", r.trimmedPunct);
        EXPECT_STREQ(L"A@", r.upper);
        EXPECT_STREQ(L"a#", r.lower);
    }
    ExpectClassic(Evaluate(host));
}

} // namespace
