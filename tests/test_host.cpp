// The host object (defaults, copying, destruction) and the event path: the sink, AdviseSink
// and the DISPID table of SinkInvoke, up to a real window receiving WM_VIEWER_EVENT.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCom.h"
#include "TestMainWindow.h"
#include "VelmoraBase.h"

namespace {

// A host that writes every handler call as text, e.g. "MouseDown(1,0,10,20)".
class RecordingHost : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;

    std::vector<std::wstring> m_calls;
    std::vector<IEngine*> m_engines;

    void Click(CComPtr<IEngine> e) override { Record(e, L"Click()"); }
    void DblClick(CComPtr<IEngine> e) override { Record(e, L"DblClick()"); }
    void MouseMove(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        Record(e, L"MouseMove(" + Join({b, s, x, y}) + L")");
    }
    void MouseDown(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        Record(e, L"MouseDown(" + Join({b, s, x, y}) + L")");
    }
    void MouseUp(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        Record(e, L"MouseUp(" + Join({b, s, x, y}) + L")");
    }
    void OnKeyDown(CComPtr<IEngine> e, short k, short s) override {
        Record(e, L"OnKeyDown(" + Join({k, s}) + L")");
    }
    void OnKeyUp(CComPtr<IEngine> e, short k, short s) override {
        Record(e, L"OnKeyUp(" + Join({k, s}) + L")");
    }
    void OnMouseEnter(CComPtr<IEngine> e) override { Record(e, L"OnMouseEnter()"); }
    void OnMouseOut(CComPtr<IEngine> e) override { Record(e, L"OnMouseOut()"); }
    void OnEventOut(CComPtr<IEngine> e, IDispatch* p, wchar_t* f, wchar_t* v, double t) override {
        Record(e, L"OnEventOut(" + std::wstring(p ? L"node" : L"null") + L"," + f + L"," + v +
                      L"," + std::to_wstring(static_cast<int>(t * 10)) + L")");
    }
    void OnSceneLoaded(CComPtr<IEngine> e, short n) override {
        Record(e, L"OnSceneLoaded(" + Join({n}) + L")");
    }
    void OnAnchor(CComPtr<IEngine> e, wchar_t* a, wchar_t* b, wchar_t* c, wchar_t* d) override {
        Record(e, L"OnAnchor(" + std::wstring(a) + L"," + b + L"," + c + L"," + d + L")");
    }
    void OnSceneUnloaded(CComPtr<IEngine> e) override { Record(e, L"OnSceneUnloaded()"); }
    void OnDrag(CComPtr<IEngine> e, wchar_t* d, short b, short s, long x, long y) override {
        Record(e, L"OnDrag(" + std::wstring(d) + L"," + Join({b, s, x, y}) + L")");
    }
    void OnDrop(CComPtr<IEngine> e, wchar_t* d, short b, short s, long x, long y) override {
        Record(e, L"OnDrop(" + std::wstring(d) + L"," + Join({b, s, x, y}) + L")");
    }
    void OnFrameRateMeasured(CComPtr<IEngine> e, float f) override {
        Record(e, L"OnFrameRateMeasured(" + std::to_wstring(static_cast<int>(f * 10)) + L")");
    }
    void OnCameraMove(CComPtr<IEngine> e, long n) override {
        Record(e, L"OnCameraMove(" + Join({n}) + L")");
    }

private:
    static std::wstring Join(std::initializer_list<long> values) {
        std::wstring s;
        for (long v : values)
            s += (s.empty() ? L"" : L",") + std::to_wstring(v);
        return s;
    }
    void Record(const CComPtr<IEngine>& e, std::wstring call) {
        m_calls.push_back(std::move(call));
        m_engines.push_back(e.p);
    }
};

// Argument variants, written in call order; Params() lays them out last argument first.
struct Args {
    std::vector<VARIANT> v;

    Args& I2(short n) {
        return Add(VT_I2, [&](VARIANT& x) { x.iVal = n; });
    }
    Args& I4(long n) {
        return Add(VT_I4, [&](VARIANT& x) { x.lVal = n; });
    }
    Args& R4(float f) {
        return Add(VT_R4, [&](VARIANT& x) { x.fltVal = f; });
    }
    Args& R8(double d) {
        return Add(VT_R8, [&](VARIANT& x) { x.dblVal = d; });
    }
    Args& Str(const wchar_t* s) {
        return Add(VT_BSTR, [&](VARIANT& x) { x.bstrVal = const_cast<BSTR>(s); });
    }
    Args& Disp(IDispatch* p) {
        return Add(VT_DISPATCH, [&](VARIANT& x) { x.pdispVal = p; });
    }
    Args& Byref(short* p) {
        return Add(VT_BYREF | VT_I2, [&](VARIANT& x) { x.piVal = p; });
    }

    DISPPARAMS Params() {
        std::reverse(v.begin(), v.end());
        return DISPPARAMS{v.data(), nullptr, static_cast<UINT>(v.size()), 0};
    }

private:
    template <class F> Args& Add(VARTYPE vt, F set) {
        VARIANT x;
        ::VariantInit(&x);
        x.vt = vt;
        set(x);
        v.push_back(x);
        return *this;
    }
};

LRESULT Deliver(CVelmoraBase& host, IEngine* engine, DISPID dispid, DISPPARAMS* params) {
    SinkEventParams event{engine, dispid, params};
    BOOL bHandled = TRUE;
    return host.SinkInvoke(WM_VIEWER_EVENT, reinterpret_cast<WPARAM>(&event), 0, bHandled);
}

TEST(HostObject, StartsWithTheDocumentedDefaults) {
    CWindow main;
    const CVelmoraBase host(&main);
    EXPECT_EQ(::GetModuleHandleW(nullptr), host.m_hInstance);
    EXPECT_EQ(2, host.m_nHostSetting1);
    EXPECT_EQ(1, host.m_nHostSetting2);
    EXPECT_EQ(1, host.m_nHostSetting3);
    EXPECT_EQ(&main, host.m_pMainWnd);
    EXPECT_EQ(nullptr, host.m_pTipDlg);
    EXPECT_EQ(nullptr, host.m_spModelReader.p);
    EXPECT_EQ(nullptr, host.m_spInstallCtl.p);
    EXPECT_STREQ(L"quorbelV4", host.m_strServiceName);
    EXPECT_STREQ(L"192.168.61.20", host.m_strServerAddress);
    EXPECT_EQ(2006, host.m_nServerPort);
    EXPECT_TRUE(host.m_strLocalFolder.IsEmpty());
    EXPECT_TRUE(host.m_vecSinks.empty());
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), host.m_nScreenWidth);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), host.m_nScreenHeight);
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(frequency.QuadPart, host.m_liFrequency.QuadPart);
    EXPECT_GT(host.m_liStartCounter.QuadPart, 0);
}

TEST(HostObject, CopiesShareComponentsByReference) {
    FakeInstallCtl ctl;
    {
        CVelmoraBase host(nullptr);
        host.m_spInstallCtl = &ctl;
        host.m_strLocalFolder = L"C:\\models\\";
        EXPECT_EQ(2, ctl.m_nRefs);
        {
            CVelmoraBase copy(host);
            EXPECT_EQ(3, ctl.m_nRefs);
            EXPECT_STREQ(L"C:\\models\\", copy.m_strLocalFolder);
        }
        EXPECT_EQ(2, ctl.m_nRefs);

        CVelmoraBase other(nullptr);
        other = host;
        EXPECT_EQ(3, ctl.m_nRefs);
        other = CVelmoraBase(nullptr);
        EXPECT_EQ(2, ctl.m_nRefs);
        EXPECT_TRUE(other.m_strLocalFolder.IsEmpty());

        CVelmoraBase& self = host;
        host = self;
        EXPECT_EQ(2, ctl.m_nRefs);
        EXPECT_STREQ(L"C:\\models\\", host.m_strLocalFolder);
    }
    EXPECT_EQ(1, ctl.m_nRefs);
}

// Sinks connected through AdviseSink, shared among copies: each is disconnected and deleted
// exactly once, by whichever holder goes last, in every order.
class SharedSinks : public ::testing::Test {
protected:
    FakeCortona cortona;
    FakeEngine engine;

    void Connect(CVelmoraBase& host, int count) {
        for (int i = 0; i < count; ++i) {
            auto* pSink = new CCortonaSink(nullptr, &engine);
            ASSERT_TRUE(host.AdviseSink(&cortona, &engine, pSink));
            host.m_vecSinks.push_back(pSink);
        }
    }
};

TEST_F(SharedSinks, TheLastCopyDisconnectsAndDeletesThem) {
    auto* host = new CVelmoraBase(nullptr);
    Connect(*host, 2);
    EXPECT_EQ(3, engine.m_nRefs);
    auto* copy = new CVelmoraBase(*host);
    delete host;
    EXPECT_EQ(2u, cortona.m_point.ConnectedCount());
    EXPECT_EQ(3, engine.m_nRefs);
    delete copy;
    EXPECT_EQ(0u, cortona.m_point.ConnectedCount());
    EXPECT_EQ(1, engine.m_nRefs);
    EXPECT_EQ(1, cortona.m_nRefs);
    EXPECT_EQ(1, cortona.m_point.m_nRefs);
}

TEST_F(SharedSinks, AssignmentGivesUpTheTargetsOwnSinks) {
    CVelmoraBase source(nullptr);
    Connect(source, 1);
    {
        CVelmoraBase target(nullptr);
        Connect(target, 2);
        EXPECT_EQ(3u, cortona.m_point.ConnectedCount());
        target = source;
        EXPECT_EQ(1u, cortona.m_point.ConnectedCount());
        EXPECT_EQ(source.m_vecSinks, target.m_vecSinks);
        target = target;
        EXPECT_EQ(1u, target.m_vecSinks.size());
    }
    EXPECT_EQ(1u, cortona.m_point.ConnectedCount());
    EXPECT_EQ(2, engine.m_nRefs);
}

TEST(Sink, IsItsOwnEveryInterfaceAndCountsNothing) {
    FakeEngine engine;
    {
        CCortonaSink sink(nullptr, &engine);
        EXPECT_EQ(2, engine.m_nRefs);
        for (const IID& iid : {IID_IUnknown, IID_IDispatch, DIID_ICortonaEvents, IID_ICortona}) {
            void* p = nullptr;
            EXPECT_EQ(S_OK, sink.QueryInterface(iid, &p));
            EXPECT_EQ(static_cast<IDispatch*>(&sink), p);
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(1u, sink.AddRef());
            EXPECT_EQ(0u, sink.Release());
        }
        UINT count = 7;
        EXPECT_EQ(E_NOTIMPL, sink.GetTypeInfoCount(&count));
        EXPECT_EQ(7u, count);
        ITypeInfo* pInfo = nullptr;
        EXPECT_EQ(E_NOTIMPL, sink.GetTypeInfo(0, 0, &pInfo));
        DISPID id = 5;
        LPOLESTR name = const_cast<LPOLESTR>(L"Click");
        EXPECT_EQ(E_NOTIMPL, sink.GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
        EXPECT_EQ(5, id);
        // Without a target window the event is lost, and Invoke still succeeds.
        EXPECT_EQ(S_OK,
                  sink.Invoke(DISPID_CLICK, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr));
    }
    EXPECT_EQ(1, engine.m_nRefs);
}

TEST(Sink, AdviseSinkRefusesWhatCannotBeConnected) {
    FakeCortona cortona;
    FakeEngine engine;
    CCortonaSink sink(nullptr, &engine);
    CVelmoraBase host(nullptr);
    EXPECT_FALSE(host.AdviseSink(nullptr, &engine, &sink));
    EXPECT_FALSE(host.AdviseSink(&cortona, nullptr, &sink));
    EXPECT_FALSE(host.AdviseSink(&cortona, &engine, nullptr));
    cortona.m_point.m_hrAdvise = CONNECT_E_ADVISELIMIT;
    EXPECT_FALSE(host.AdviseSink(&cortona, &engine, &sink));
    cortona.m_point.m_hrAdvise = S_OK;
    cortona.m_bOfferEvents = false;
    EXPECT_FALSE(host.AdviseSink(&cortona, &engine, &sink));
    EXPECT_EQ(0u, cortona.m_point.ConnectedCount());
    EXPECT_EQ(1, cortona.m_nRefs);
    EXPECT_EQ(2, engine.m_nRefs);
}

struct DispatchCase {
    DISPID dispid;
    Args args;
    const wchar_t* expected; // null: no handler runs
};

TEST(SinkInvoke, RoutesEveryEventOfTheTableWithItsArguments) {
    FakeEngine node;
    short byrefKey = 38;
    DispatchCase cases[] = {
        {-600, Args(), L"Click()"},
        {-601, Args(), L"DblClick()"},
        {-602, Args().I2(65).I2(1), L"OnKeyDown(65,1)"},
        {-602, Args().Byref(&byrefKey).I2(2), L"OnKeyDown(38,2)"},
        {-604, Args().I2(66).I2(4), L"OnKeyUp(66,4)"},
        {-605, Args().I2(1).I2(0).I4(10).I4(20), L"MouseDown(1,0,10,20)"},
        {-606, Args().I2(0).I2(1).I4(-3).I4(7), L"MouseMove(0,1,-3,7)"},
        {-607, Args().I2(2).I2(2).I4(30).I4(40), L"MouseUp(2,2,30,40)"},
        {1, Args(), L"OnMouseEnter()"},
        {2, Args(), L"OnMouseOut()"},
        {5, Args().Disp(nullptr).Str(L"translation").Str(L"1 2 3").R8(2.5),
         L"OnEventOut(null,translation,1 2 3,25)"},
        {6, Args().I2(1), L"OnSceneLoaded(1)"},
        {7, Args().Str(L"u").Str(L"t").Str(L"d").Str(L"p"), L"OnAnchor(u,t,d,p)"},
        {8, Args(), L"OnSceneUnloaded()"},
        {9, Args().Str(L"f.wrl").I2(1).I2(0).I4(5).I4(6), L"OnDrag(f.wrl,1,0,5,6)"},
        {10, Args().Str(L"g.wrl").I2(2).I2(1).I4(7).I4(8), L"OnDrop(g.wrl,2,1,7,8)"},
        {11, Args().R4(59.5f), L"OnFrameRateMeasured(595)"},
        {12, Args().I4(3), L"OnCameraMove(3)"},
        // Not in the table.
        {-603, Args().I2(65), nullptr},
        {3, Args(), nullptr},
        {4, Args(), nullptr},
        {0, Args(), nullptr},
        {13, Args().I4(1), nullptr},
        {-608, Args(), nullptr},
        {-700, Args(), nullptr},
        // Arguments that do not match: too few, wrong type, null by-reference.
        {-605, Args().I2(1).I4(10).I4(20), nullptr},
        {-605, Args().I4(1).I2(0).I4(10).I4(20), nullptr},
        {-602, Args().Byref(nullptr).I2(0), nullptr},
        {12, Args(), nullptr},
        {11, Args().R8(60.0), nullptr},
    };
    for (DispatchCase& c : cases) {
        RecordingHost host(nullptr);
        FakeEngine engine;
        DISPPARAMS params = c.args.Params();
        EXPECT_EQ(0, Deliver(host, &engine, c.dispid, &params)) << c.dispid;
        if (c.expected) {
            ASSERT_EQ(1u, host.m_calls.size()) << c.dispid;
            EXPECT_EQ(c.expected, host.m_calls[0]) << c.dispid;
            EXPECT_EQ(&engine, host.m_engines[0]);
        } else {
            EXPECT_TRUE(host.m_calls.empty()) << c.dispid << L" " << host.m_calls[0];
        }
        EXPECT_EQ(1, engine.m_nRefs) << c.dispid;
    }
    EXPECT_EQ(1, node.m_nRefs);
}

TEST(SinkInvoke, PassesANullEngineOnAndIgnoresAMissingRecord) {
    RecordingHost host(nullptr);
    Args args;
    DISPPARAMS params = args.Params();
    Deliver(host, nullptr, DISPID_CLICK, &params);
    ASSERT_EQ(1u, host.m_calls.size());
    EXPECT_EQ(nullptr, host.m_engines[0]);
    BOOL bHandled = FALSE;
    EXPECT_EQ(0, host.SinkInvoke(WM_VIEWER_EVENT, 0, 0, bHandled));
    EXPECT_FALSE(bHandled);
    EXPECT_EQ(1u, host.m_calls.size());
}

TEST(SinkInvoke, DefaultHandlersGiveEveryEngineReferenceBack) {
    CVelmoraBase host(nullptr);
    FakeEngine engine;
    Args args = Args().I2(1).I2(0).I4(10).I4(20);
    DISPPARAMS params = args.Params();
    for (DISPID id : {-600, -605, 1, 12})
        Deliver(host, &engine, id, &params);
    EXPECT_EQ(1, engine.m_nRefs);
}

// The whole road in one process: a connection point fires, the sink sends WM_VIEWER_EVENT to
// a real window, whose procedure hands it to SinkInvoke, and the override runs.
TEST(EventRoad, AnInvokeReachesTheOverrideThroughARealWindow) {
    CTestMainWindow main(CRect(0, 0, 100, 100));
    ASSERT_TRUE(main.IsWindow());

    FakeCortona cortona;
    FakeEngine engine;
    {
        RecordingHost host(&main);
        main.RouteEventsTo(&host);
        auto* pSink = new CCortonaSink(main, &engine);
        host.m_vecSinks.push_back(pSink);
        ASSERT_TRUE(host.AdviseSink(&cortona, &engine, pSink));

        Args args = Args().I2(1).I2(0).I4(10).I4(20);
        DISPPARAMS params = args.Params();
        cortona.m_point.Fire(DISPID_MOUSEDOWN, &params);
        cortona.m_point.Fire(DISPID_CLICK, &params);
        ASSERT_EQ(2u, host.m_calls.size());
        EXPECT_EQ(L"MouseDown(1,0,10,20)", host.m_calls[0]);
        EXPECT_EQ(L"Click()", host.m_calls[1]);
        EXPECT_EQ(&engine, host.m_engines[0]);
    }
    // The host is gone and its sink with it: later events go nowhere.
    EXPECT_EQ(0u, cortona.m_point.ConnectedCount());
    EXPECT_EQ(1, engine.m_nRefs);
}

} // namespace
