// The ATL-style layer: CString semantics hosts rely on, CComPtr reference handling, and the
// resource owners.
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCom.h"
#include "atl/AtlResource.h"

namespace {

TEST(CString, KeepsEmbeddedNulsButTextOperationsStopAtTheFirst) {
    const CString s(L"ab\0cd", 5);
    EXPECT_EQ(5, s.GetLength());
    EXPECT_EQ(L'c', s[3]);
    EXPECT_TRUE(s == L"ab");
    EXPECT_EQ(-1, s.Find(L"cd"));
    const BSTR b = s.AllocSysString();
    EXPECT_EQ(5u, ::SysStringLen(b));
    ::SysFreeString(b);
}

TEST(CString, CopiesShareUntilWritten) {
    CString a(L"text");
    CString b(a);
    EXPECT_EQ(a.GetString(), b.GetString());
    b.SetAt(0, L'n');
    EXPECT_STREQ(L"text", a);
    EXPECT_STREQ(L"next", b);
    b += b; // appending a string to itself
    EXPECT_STREQ(L"nextnext", b);
    b.Append(b.GetString() + 4, 2);
    EXPECT_STREQ(L"nextnextne", b);
}

TEST(CString, FormatTakesWideStringsForPercentS) {
    CString s;
    s.Format(L"$%d <%s> %c", -2, L"wide", L'x');
    EXPECT_STREQ(L"$-2 <wide> x", s);
    s.AppendFormat(L"%ls", L"!");
    EXPECT_STREQ(L"$-2 <wide> x!", s);
}

TEST(CString, HostFacingSurface) {
    CString s("narrow");
    EXPECT_STREQ(L"narrow", s);
    EXPECT_STREQ(L"nar", s.Left(3));
    EXPECT_STREQ(L"row", s.Right(3));
    EXPECT_STREQ(L"rro", s.Mid(2, 3));
    EXPECT_STREQ(L"", s.Mid(10));
    EXPECT_EQ(2, s.Find(L'r'));
    EXPECT_EQ(3, s.ReverseFind(L'r'));
    EXPECT_EQ(0, s.CompareNoCase(L"NARROW"));
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_STREQ(L"x-narrow-y", L"x-" + s + L"-y");
    EXPECT_EQ(2, s.Replace(L"r", L"RR"));
    EXPECT_STREQ(L"naRRRRow", s);
    wchar_t* p = s.GetBuffer(20);
    wcscpy(p, L"buffer");
    s.ReleaseBuffer();
    EXPECT_EQ(6, s.GetLength());
    s.Empty();
    EXPECT_TRUE(s.IsEmpty());

    CString padded(L"  -x y-  ");
    EXPECT_STREQ(L"-x y-", padded.Trim());
    EXPECT_STREQ(L"x y", padded.Trim(L"-"));
    EXPECT_EQ(1, padded.Remove(L' '));
    EXPECT_STREQ(L"yx", padded.MakeReverse());
    EXPECT_EQ(1, CString(L"abc").FindOneOf(L"xcb"));
    EXPECT_STREQ(L"ab", CString(L"abc").SpanIncluding(L"ab"));
    EXPECT_STREQ(L"a", CString(L"a;b").SpanExcluding(L";"));

    const CString list(L";a;;bc;");
    std::vector<CString> tokens;
    int pos = 0;
    for (CString token = list.Tokenize(L";", pos); pos >= 0; token = list.Tokenize(L";", pos))
        tokens.push_back(token);
    ASSERT_EQ(2u, tokens.size());
    EXPECT_STREQ(L"a", tokens[0]);
    EXPECT_STREQ(L"bc", tokens[1]);
    EXPECT_STREQ(L"", CString(static_cast<LPCWSTR>(nullptr)));
}

TEST(CString, CopiesMayTravelBetweenThreads) {
    const CString shared(L"shared text");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&shared] {
            for (int i = 0; i < 20000; ++i) {
                CString copy(shared);
                copy += L"!";
                ASSERT_EQ(12, copy.GetLength());
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_STREQ(L"shared text", shared);
}

TEST(CComPtr, TakesAndGivesBackReferences) {
    FakeEngine engine;
    {
        CComPtr<IEngine> a(&engine);
        CComPtr<IEngine> b;
        b = a;
        EXPECT_EQ(3, engine.m_nRefs);
        b = b; // self-assignment keeps the reference
        EXPECT_EQ(3, engine.m_nRefs);
        CComPtr<IUnknown> unknown;
        EXPECT_EQ(S_OK, a.QueryInterface(&unknown));
        EXPECT_EQ(4, engine.m_nRefs);
        unknown.Release();
        IEngine** out = &b; // an out-parameter gives up the old value first
        EXPECT_EQ(nullptr, *out);
        EXPECT_EQ(2, engine.m_nRefs);
        CComPtr<IEngine> moved(std::move(a));
        EXPECT_EQ(2, engine.m_nRefs);
    }
    EXPECT_EQ(1, engine.m_nRefs);
}

int g_nClosed = 0;
void CountClose(int) {
    ++g_nClosed;
}
using CCountedOwner = CUniqueResource<int, CountClose, 0>;

TEST(Owners, CloseWhatTheyHoldExactlyOnce) {
    g_nClosed = 0;
    {
        CCountedOwner a(7);
        CCountedOwner b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(7, b.get());
        *b.put() = 8; // put() closes the old value before handing out the slot
        EXPECT_EQ(1, g_nClosed);
        a = std::move(b);
        EXPECT_EQ(1, g_nClosed);
        EXPECT_EQ(8, a.release());
    }
    EXPECT_EQ(1, g_nClosed);

    CUniqueBstr text = MakeBstr(CString(L"co\0py", 5));
    EXPECT_EQ(5u, ::SysStringLen(text.get()));
    CUniqueVariant v;
    v.vt = VT_BSTR;
    v.bstrVal = text.release();
    v.reset(); // frees the string once
    EXPECT_EQ(VT_EMPTY, v.vt);
}

} // namespace
