// Navigation settings and viewpoint transfer against a recording control and view service.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <servprov.h>

#include "FakeCom.h"
#include "VelmoraBase.h"
#include "viewer/engine/EngineTestHooks.h"
#include "viewer/engine/StandinEngine.h"

namespace {

// A control that records each navigation setting as text, e.g. "Speed(7)".
class RecordingCortona : public FakeCortona {
public:
    std::vector<std::wstring> m_calls;
    HRESULT m_hr = S_OK;

    HRESULT STDMETHODCALLTYPE put_Headlight(LONG b) override {
        return Record(L"Headlight(" + std::to_wstring(b) + L")");
    }
    HRESULT STDMETHODCALLTYPE put_Speed(SHORT n) override {
        return Record(L"Speed(" + std::to_wstring(n) + L")");
    }
    HRESULT STDMETHODCALLTYPE put_NavigationType(BSTR b) override {
        return Record(L"NavigationType(" + Text(b) + L")");
    }
    HRESULT STDMETHODCALLTYPE put_TransitionType(BSTR b) override {
        return Record(L"TransitionType(" + Text(b) + L")");
    }

private:
    // A null BSTR shows as "null" so that a test can tell it from an empty one.
    static std::wstring Text(BSTR b) { return b ? std::wstring(b, ::SysStringLen(b)) : L"null"; }
    HRESULT Record(std::wstring call) {
        m_calls.push_back(std::move(call));
        return m_hr;
    }
};

// A view service holding a record whose bytes 8 to 47 carry a pattern.
class FakeViewService : public FakeComObject<I3DViewService4> {
public:
    ViewRecord m_view{};
    int m_nGets = 0;
    std::vector<LONG> m_setFlags;
    HRESULT m_hrGet = S_OK;

    FakeViewService() {
        m_view.fPanX = 100;
        m_view.fPanY = 200;
        auto* pBytes = reinterpret_cast<unsigned char*>(&m_view);
        for (size_t i = 8; i < sizeof m_view; ++i)
            pBytes[i] = static_cast<unsigned char>(i * 7);
    }
    HRESULT STDMETHODCALLTYPE GetView(ViewRecord* pView) override {
        ++m_nGets;
        if (FAILED(m_hrGet))
            return m_hrGet;
        *pView = m_view;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetView(const ViewRecord* pView, LONG nFlags) override {
        m_view = *pView;
        m_setFlags.push_back(nFlags);
        return E_FAIL; // refusals are not reported
    }
};

class NavigationTest : public ::testing::Test {
protected:
    CVelmoraBase m_host{nullptr};
    FakeViewService m_service;
    CComPtr<I3DViewService4> m_spService{&m_service};
    const ViewRecord m_start = m_service.m_view;

    void ExpectTailUnchanged() {
        EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&m_service.m_view) + 8,
                              reinterpret_cast<const char*>(&m_start) + 8, 40),
                  0);
    }
    void TearDown() override {
        m_spService.Release();
        EXPECT_EQ(m_service.m_nRefs, 1);
    }
};

TEST_F(NavigationTest, DirectionTable) {
    const struct {
        int nDirection, nAmount;
        float fPanX, fPanY;
    } cases[] = {
        {1, 5, 100, 205},  {-1, 5, 100, 195}, {2, 5, 95, 200},
        {-2, 5, 105, 200}, {1, -5, 100, 195}, {2, 0, 100, 200},
    };
    for (const auto& c : cases) {
        m_service.m_view = m_start;
        m_service.m_setFlags.clear();
        m_service.m_nGets = 0;
        EXPECT_TRUE(m_host.ViewTransfer(m_spService, c.nDirection, c.nAmount)) << c.nDirection;
        EXPECT_EQ(m_service.m_view.fPanX, c.fPanX) << c.nDirection << " by " << c.nAmount;
        EXPECT_EQ(m_service.m_view.fPanY, c.fPanY) << c.nDirection << " by " << c.nAmount;
        EXPECT_EQ(m_service.m_nGets, 1);
        EXPECT_EQ(m_service.m_setFlags, std::vector<LONG>{10});
        ExpectTailUnchanged();
    }
}

TEST_F(NavigationTest, OtherCodesMakeNoCall) {
    for (int nDirection : {0, 3, -3, 10})
        EXPECT_FALSE(m_host.ViewTransfer(m_spService, nDirection, 5)) << nDirection;
    EXPECT_EQ(m_service.m_nGets, 0);
    EXPECT_TRUE(m_service.m_setFlags.empty());
    CComPtr<I3DViewService4> spEmpty;
    EXPECT_FALSE(m_host.ViewTransfer(spEmpty, 1, 5));
    EXPECT_FALSE(m_host.ViewTransfer_Key(spEmpty, L'a', L'a', L'b', L'c', L'd', 5));
}

TEST_F(NavigationTest, AViewThatCannotBeReadIsNotWritten) {
    m_service.m_hrGet = E_FAIL;
    EXPECT_FALSE(m_host.ViewTransfer(m_spService, 1, 5));
    EXPECT_FALSE(m_host.ViewTransfer_Key(m_spService, L'w', L'w', L's', L'a', L'd', 5));
    EXPECT_EQ(m_service.m_nGets, 2);
    EXPECT_TRUE(m_service.m_setFlags.empty());
}

TEST_F(NavigationTest, KeysSelectTheFirstMatchingDirection) {
    const struct {
        wchar_t chKey, ch1, ch2, ch3, ch4;
        float fPanX, fPanY;
    } cases[] = {
        {L'w', L'w', L's', L'a', L'd', 100, 203}, {L's', L'w', L's', L'a', L'd', 100, 197},
        {L'a', L'w', L's', L'a', L'd', 97, 200},  {L'd', L'w', L's', L'a', L'd', 103, 200},
        {L'x', L'x', L'x', L'a', L'd', 100, 203}, // equal to the first two: direction 1
    };
    for (const auto& c : cases) {
        m_service.m_view = m_start;
        EXPECT_TRUE(m_host.ViewTransfer_Key(m_spService, c.chKey, c.ch1, c.ch2, c.ch3, c.ch4, 3));
        EXPECT_EQ(m_service.m_view.fPanX, c.fPanX) << c.chKey;
        EXPECT_EQ(m_service.m_view.fPanY, c.fPanY) << c.chKey;
        ExpectTailUnchanged();
    }
    EXPECT_EQ(m_service.m_nGets, 5);
}

TEST_F(NavigationTest, AKeyBoundToNoDirectionMakesNoCall) {
    EXPECT_TRUE(m_host.ViewTransfer_Key(m_spService, L'W', L'w', L's', L'a', L'd', 3))
        << "keys compare exactly, without case folding";
    EXPECT_EQ(m_service.m_nGets, 0);
    EXPECT_TRUE(m_service.m_setFlags.empty());
}

TEST(NavigationSettings, PassedInOrderAndUnexamined) {
    CVelmoraBase host(nullptr);
    const struct {
        bool bSetting;
        short nSetting;
        const wchar_t *psz1, *psz2;
        std::vector<std::wstring> calls;
    } cases[] = {
        {true,
         7,
         L"EXAMINE",
         L"LINEAR",
         {L"Headlight(1)", L"Speed(7)", L"NavigationType(EXAMINE)", L"TransitionType(LINEAR)"}},
        {false,
         -2,
         L"",
         L"",
         {L"Headlight(0)", L"Speed(-2)", L"NavigationType()", L"TransitionType()"}},
    };
    for (const auto& c : cases) {
        RecordingCortona cortona;
        cortona.m_hr = E_FAIL;
        EXPECT_TRUE(host.SetNavigationInfo(&cortona, c.bSetting, c.nSetting, c.psz1, c.psz2));
        EXPECT_EQ(cortona.m_calls, c.calls);
        EXPECT_EQ(cortona.m_nRefs, 1);
    }
    EXPECT_FALSE(host.SetNavigationInfo(nullptr, true, 1, L"a", L"b"));
}

// The stand-in engine's view service: one read and one write per transfer, none for a key
// bound to nothing.
TEST(NavigationOnEngine, ViewServiceSeesOneReadAndOneWrite) {
    CVelmoraBase host(nullptr);
    CComPtr<IEngine> spEngine;
    ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&spEngine));
    CComPtr<IServiceProvider> spProvider;
    ASSERT_HRESULT_SUCCEEDED(spEngine.QueryInterface(&spProvider));
    CComPtr<I3DViewService4> spService;
    ASSERT_HRESULT_SUCCEEDED(spProvider->QueryService(IID_I3DViewService4, IID_I3DViewService4,
                                                      reinterpret_cast<void**>(&spService)));
    ViewRecord before{}, after{};
    spService->GetView(&before);

    EXPECT_TRUE(host.ViewTransfer(spService, -1, 5));
    EXPECT_TRUE(host.ViewTransfer_Key(spService, L'q', L'w', L's', L'a', L'd', 5));
    EXPECT_TRUE(host.ViewTransfer_Key(spService, L'd', L'w', L's', L'a', L'd', 2));
    spService->GetView(&after);
    EXPECT_EQ(after.fPanY, before.fPanY - 5);
    EXPECT_EQ(after.fPanX, before.fPanX + 2);
    CComPtr<IEngineTestHooks> spHooks;
    ASSERT_HRESULT_SUCCEEDED(spEngine.QueryInterface(&spHooks));
    LONG nGets = 0, nSets = 0;
    spHooks->GetViewCallCounts(&nGets, &nSets);
    EXPECT_EQ(nGets, 4) << "two transfers and the test's own two reads";
    EXPECT_EQ(nSets, 2);
}

} // namespace
