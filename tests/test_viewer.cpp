// The viewer end to end: the ActiveX host window, CreateControl / CreateCortonaControl /
// InitCortonaInterface against the registered stand-in viewer, and real window input reaching
// the host's handlers through the control's connection point and the host's sinks.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestMainWindow.h"
#include "VelmoraBase.h"
#include "atl/AtlResource.h"
#include "viewer/control/ViewerTestHooks.h"
#include "viewer/engine/EngineTestHooks.h"

namespace {

// Records the handler calls that input can cause, as text such as "MouseDown(1,0,10,20)".
class RecordingHost : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;

    std::vector<std::wstring> m_calls;
    bool m_bRecordMoves = false;
    std::vector<LONG> m_engineRefsInHandler;

    void Click(CComPtr<IEngine> e) override { Record(e, L"Click()"); }
    void DblClick(CComPtr<IEngine> e) override { Record(e, L"DblClick()"); }
    void MouseDown(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        Record(e, L"MouseDown(" + Join({b, s, x, y}) + L")");
    }
    void MouseUp(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        Record(e, L"MouseUp(" + Join({b, s, x, y}) + L")");
    }
    void MouseMove(CComPtr<IEngine> e, short b, short s, long x, long y) override {
        if (m_bRecordMoves)
            Record(e, L"MouseMove(" + Join({b, s, x, y}) + L")");
    }
    void OnMouseEnter(CComPtr<IEngine> e) override {
        if (m_bRecordMoves)
            Record(e, L"OnMouseEnter()");
    }
    void OnMouseOut(CComPtr<IEngine> e) override {
        if (m_bRecordMoves)
            Record(e, L"OnMouseOut()");
    }
    void OnKeyDown(CComPtr<IEngine> e, short k, short s) override {
        Record(e, L"OnKeyDown(" + Join({k, s}) + L")");
    }
    void OnKeyUp(CComPtr<IEngine> e, short k, short s) override {
        Record(e, L"OnKeyUp(" + Join({k, s}) + L")");
    }
    void OnAnchor(CComPtr<IEngine> e, wchar_t* a, wchar_t* b, wchar_t* c, wchar_t* d) override {
        Record(e, L"OnAnchor(" + std::wstring(a) + L"," + b + L"," + c + L"," + d + L")");
    }
    void OnSceneLoaded(CComPtr<IEngine> e, short n) override {
        Record(e, L"OnSceneLoaded(" + Join({n}) + L")");
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
        EXPECT_NE(nullptr, e.p) << "the handler got no engine";
    }
};

LONG RefCount(IUnknown* p) {
    p->AddRef();
    return static_cast<LONG>(p->Release());
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int ChildCount(HWND hWnd) {
    int n = 0;
    for (HWND h = ::GetWindow(hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        ++n;
    return n;
}

std::wstring ClassOf(HWND hWnd) {
    wchar_t sz[64] = L"";
    ::GetClassNameW(hWnd, sz, 64);
    return sz;
}

// The rectangle of a child window in its parent's client coordinates.
CRect RectInParent(HWND hWnd) {
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hWnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A main window that routes WM_VIEWER_EVENT to a recording host, and the host's viewer pointers.
// The window stays hidden unless a test needs the pointer: its children take messages all the
// same, and showing a top-level window costs seconds on the virtual display.
class Viewer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_main.IsWindow());
        m_main.RouteEventsTo(&m_host);
    }
    void TearDown() override {
        // The control's window first, then the host object (in the fixture's destructor).
        if (m_ax.IsWindow())
            m_ax.DestroyWindow();
        PumpMessages();
        m_main.DestroyWindow();
    }

    // Creates and wires the viewer over the main window's client area.
    void CreateViewer() {
        ASSERT_TRUE(m_host.CreateCortonaControl(&m_ax, m_main, CRect()));
        ASSERT_TRUE(
            m_host.InitCortonaInterface(&m_ax, m_spCortona, m_spEngine, m_spView, m_spNodes));
        ASSERT_TRUE(SUCCEEDED(m_spCortona.QueryInterface(&m_spHooks)));
        ASSERT_TRUE(SUCCEEDED(m_spHooks->get_ControlWindow(&m_hControl)));
        ASSERT_TRUE(::IsWindow(m_hControl));
        PumpMessages();
    }

    LONG SinkCount() {
        LONG n = -1;
        m_spHooks->get_SinkCount(&n);
        return n;
    }

    CTestMainWindow m_main{CRect(40, 40, 520, 400)};
    RecordingHost m_host{&m_main};
    CAxWindow m_ax;
    CComPtr<ICortona> m_spCortona;
    CComPtr<IEngine> m_spEngine;
    CComPtr<I3DViewService4> m_spView;
    CComPtr<INodesCollection> m_spNodes;
    CComPtr<IViewerTestHooks> m_spHooks;
    HWND m_hControl = nullptr;
};

TEST_F(Viewer, CreateControlRefusesAMissingWindowObjectOrProgID) {
    CAxWindow ax;
    EXPECT_FALSE(m_host.CreateControl(nullptr, m_main, L"Cortona.Control.1", CRect()));
    EXPECT_FALSE(m_host.CreateControl(&ax, m_main, L"", CRect()));
    EXPECT_EQ(nullptr, ax.m_hWnd);
    EXPECT_EQ(0, ChildCount(m_main));
}

TEST_F(Viewer, AnExistingWindowIsTakenAsTheControl) {
    CAxWindow existing(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, m_main, nullptr,
                                         nullptr, nullptr));
    EXPECT_TRUE(m_host.CreateControl(&existing, m_main, L"No.Such.Control", CRect(1, 2, 3, 4)));
    EXPECT_EQ(1, ChildCount(m_main));
    EXPECT_EQ(0, ChildCount(existing));
}

TEST_F(Viewer, TheHostWindowTakesItsRectangleAndTheControlFillsIt) {
    CRect rcClient;
    m_main.GetClientRect(&rcClient);
    const struct {
        CRect rcControl;
        CRect rcExpected;
    } cases[] = {
        {CRect(0, 0, 0, 0), rcClient},
        {CRect(10, 20, 110, 220), CRect(10, 20, 110, 220)},
    };
    for (const auto& c : cases) {
        CAxWindow ax;
        ASSERT_TRUE(m_host.CreateCortonaControl(&ax, m_main, c.rcControl));
        EXPECT_EQ(L"AtlAxWin100", ClassOf(ax));
        EXPECT_TRUE(RectInParent(ax) == c.rcExpected)
            << RectInParent(ax).left << "," << RectInParent(ax).top << " "
            << RectInParent(ax).Width() << "x" << RectInParent(ax).Height();
        HWND hControl = ::GetWindow(ax, GW_CHILD);
        ASSERT_TRUE(::IsWindow(hControl));
        EXPECT_TRUE(RectInParent(hControl) ==
                    CRect(0, 0, c.rcExpected.Width(), c.rcExpected.Height()));
        // The control follows its host window.
        ax.MoveWindow(5, 6, 70, 80);
        EXPECT_TRUE(RectInParent(hControl) == CRect(0, 0, 70, 80));
        ax.DestroyWindow();
        EXPECT_FALSE(::IsWindow(hControl));
    }
}

TEST_F(Viewer, AnUnregisteredProgIDFailsAndLeavesTheHostWindow) {
    EXPECT_FALSE(m_host.CreateControl(&m_ax, m_main, L"Velmora.NoSuchControl.1", CRect()));
    ASSERT_TRUE(m_ax.IsWindow());
    EXPECT_EQ(L"AtlAxWin100", ClassOf(m_ax));
    CComPtr<IUnknown> spControl;
    EXPECT_TRUE(FAILED(m_ax.QueryControl(&spControl)));
    EXPECT_EQ(nullptr, spControl.p);
    // The window stands for the control from now on.
    EXPECT_TRUE(m_host.CreateCortonaControl(&m_ax, m_main, CRect()));
    CComPtr<ICortona> spCortona;
    CComPtr<IEngine> spEngine;
    CComPtr<I3DViewService4> spView;
    CComPtr<INodesCollection> spNodes;
    EXPECT_FALSE(m_host.InitCortonaInterface(&m_ax, spCortona, spEngine, spView, spNodes));
}

TEST_F(Viewer, InitWithoutAHostWindowFillsNothing) {
    CAxWindow ax;
    EXPECT_FALSE(
        m_host.InitCortonaInterface(nullptr, m_spCortona, m_spEngine, m_spView, m_spNodes));
    EXPECT_FALSE(m_host.InitCortonaInterface(&ax, m_spCortona, m_spEngine, m_spView, m_spNodes));
    EXPECT_FALSE(m_spCortona || m_spEngine || m_spView || m_spNodes);
    EXPECT_TRUE(m_host.m_vecSinks.empty());
}

TEST_F(Viewer, InitFillsThePointersAndMakesOneSinkPerNewEngine) {
    CreateViewer();
    EXPECT_TRUE(m_spView != nullptr);
    EXPECT_TRUE(m_spNodes != nullptr);
    ASSERT_EQ(1u, m_host.m_vecSinks.size());
    EXPECT_EQ(1, SinkCount());

    // With every pointer filled, nothing more is made.
    EXPECT_TRUE(m_host.InitCortonaInterface(&m_ax, m_spCortona, m_spEngine, m_spView, m_spNodes));
    EXPECT_EQ(1u, m_host.m_vecSinks.size());

    // A cleared engine pointer makes a second sink: every event then arrives twice.
    m_spEngine.Release();
    EXPECT_TRUE(m_host.InitCortonaInterface(&m_ax, m_spCortona, m_spEngine, m_spView, m_spNodes));
    EXPECT_EQ(2u, m_host.m_vecSinks.size());
    EXPECT_EQ(2, SinkCount());
    ::SendMessageW(m_hControl, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4));
    m_host.m_calls.clear();
    ::SendMessageW(m_hControl, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    const std::vector<std::wstring> twice = {L"MouseUp(1,0,3,4)", L"MouseUp(1,0,3,4)", L"Click()",
                                             L"Click()"};
    EXPECT_EQ(twice, m_host.m_calls);
}

TEST_F(Viewer, NoSinkIsMadeForAMainWindowThatIsNotThere) {
    ASSERT_TRUE(m_host.CreateCortonaControl(&m_ax, m_main, CRect()));
    CWindow noWindow;
    CWindow* const mainWindows[] = {nullptr, &noWindow};
    for (CWindow* pMain : mainWindows) {
        RecordingHost host(pMain);
        CComPtr<ICortona> spCortona;
        CComPtr<IEngine> spEngine;
        CComPtr<I3DViewService4> spView;
        CComPtr<INodesCollection> spNodes;
        EXPECT_FALSE(host.InitCortonaInterface(&m_ax, spCortona, spEngine, spView, spNodes));
        EXPECT_TRUE(host.m_vecSinks.empty());
        EXPECT_EQ(nullptr, spEngine.p);
        CComPtr<IViewerTestHooks> spHooks;
        ASSERT_TRUE(SUCCEEDED(m_ax.QueryControl(&spHooks)));
        LONG nSinks = -1;
        spHooks->get_SinkCount(&nSinks);
        EXPECT_EQ(0, nSinks);
    }
}

TEST_F(Viewer, WindowInputReachesTheHandlersWithItsArguments) {
    CreateViewer();
    const LONG nEngineRefs = RefCount(m_spEngine);
    const struct Input {
        UINT uMsg;
        WPARAM wParam;
        LPARAM lParam;
    } click[] = {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(15, 25)},
                 {WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(16, 26)}},
      rightClick[] = {{WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(7, 8)},
                      {WM_RBUTTONUP, MK_CONTROL, MAKELPARAM(7, 8)}},
      middlePress[] = {{WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(1, 2)}},
      doubleClick[] = {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)},
                       {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},
                       {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5)},
                       {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)}},
      keys[] = {{WM_KEYDOWN, VK_F5, 0}, {WM_KEYUP, 'A', 0}},
      enterMoveLeave[] = {{WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 40)},
                          {WM_MOUSEMOVE, 0, MAKELPARAM(31, 41)},
                          {WM_MOUSELEAVE, 0, 0}};
    const struct {
        const char* name;
        std::vector<Input> inputs;
        std::vector<std::wstring> calls;
    } cases[] = {
        {"left click",
         {std::begin(click), std::end(click)},
         {L"MouseDown(1,1,15,25)", L"MouseUp(1,1,16,26)", L"Click()"}},
        {"right click",
         {std::begin(rightClick), std::end(rightClick)},
         {L"MouseDown(2,2,7,8)", L"MouseUp(2,2,7,8)"}},
        {"middle press", {std::begin(middlePress), std::end(middlePress)}, {L"MouseDown(4,0,1,2)"}},
        {"double click",
         {std::begin(doubleClick), std::end(doubleClick)},
         {L"MouseDown(1,0,5,5)", L"MouseUp(1,0,5,5)", L"Click()", L"DblClick()",
          L"MouseUp(1,0,5,5)"}},
        {"keys", {std::begin(keys), std::end(keys)}, {L"OnKeyDown(116,0)", L"OnKeyUp(65,0)"}},
        {"enter, move, leave",
         {std::begin(enterMoveLeave), std::end(enterMoveLeave)},
         {L"OnMouseEnter()", L"MouseMove(1,0,30,40)", L"MouseMove(0,0,31,41)", L"OnMouseOut()"}},
    };
    for (const auto& c : cases) {
        PumpMessages();
        m_host.m_calls.clear();
        m_host.m_bRecordMoves = c.inputs.front().uMsg == WM_MOUSEMOVE;
        for (const Input& input : c.inputs)
            ::PostMessageW(m_hControl, input.uMsg, input.wParam, input.lParam);
        PumpMessages();
        m_host.m_bRecordMoves = false;
        EXPECT_EQ(c.calls, m_host.m_calls) << c.name;
    }
    ::ReleaseCapture();
    EXPECT_EQ(nEngineRefs, RefCount(m_spEngine));
}

TEST_F(Viewer, RealPointerInputClicksTheViewer) {
    CreateViewer();
    m_main.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_main);
    POINT pt{20, 30};
    ::ClientToScreen(m_hControl, &pt);
    ::SetCursorPos(pt.x, pt.y);
    PumpMessages();
    POINT ptNow{};
    ::GetCursorPos(&ptNow);
    if (ptNow.x != pt.x || ptNow.y != pt.y || ::WindowFromPoint(pt) != m_hControl)
        GTEST_SKIP() << "no pointer to move on this display";
    m_host.m_calls.clear();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(2u, ::SendInput(2, inputs, sizeof(INPUT)));
    for (int i = 0; i < 50 && m_host.m_calls.size() < 3; ++i) {
        ::Sleep(10);
        PumpMessages();
    }
    const std::vector<std::wstring> calls = {L"MouseDown(1,0,20,30)", L"MouseUp(1,0,20,30)",
                                             L"Click()"};
    EXPECT_EQ(calls, m_host.m_calls);
    EXPECT_EQ(m_hControl, ::GetFocus()) << "a click gives the viewer the keyboard";
}

TEST_F(Viewer, TheViewerPaintsTheSceneAsText) {
    CreateViewer();
    m_main.ShowWindow(SW_SHOW);
    ::RedrawWindow(m_hControl, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    // Read back from the screen: the background, and text in the band of the first line.
    HDC hdc = ::GetDC(nullptr);
    auto pixelAt = [&](int x, int y) {
        POINT pt{x, y};
        ::ClientToScreen(m_hControl, &pt);
        return ::GetPixel(hdc, pt.x, pt.y);
    };
    const COLORREF background = pixelAt(2, 2);
    int nTextPixels = 0;
    for (int y = 8; y < 20; ++y)
        for (int x = 8; x < 120; ++x)
            nTextPixels += pixelAt(x, y) != background;
    ::ReleaseDC(nullptr, hdc);
    EXPECT_EQ(RGB(24, 32, 48), background);
    EXPECT_GT(nTextPixels, 20);
}

TEST_F(Viewer, EventsFiredByTheControlReachTheirHandlers) {
    CreateViewer();
    // An event that input cannot cause, through the control's real connection point.
    VARIANT args[4];
    const wchar_t* const texts[] = {L"param", L"descr", L"_blank", L"http://127.0.0.1/a.wrl"};
    std::vector<CUniqueBstr> bstrs;
    for (int i = 0; i < 4; ++i) {
        bstrs.emplace_back(::SysAllocString(texts[i]));
        ::VariantInit(&args[i]);
        args[i].vt = VT_BSTR;
        args[i].bstrVal = bstrs.back().get();
    }
    DISPPARAMS params{args, nullptr, 4, 0};
    EXPECT_EQ(S_OK, m_spHooks->FireEvent(7, &params));
    // A scene change in the engine: setting the view moves the camera.
    ViewRecord view{};
    ASSERT_TRUE(SUCCEEDED(m_spView->GetView(&view)));
    view.fPanX += 1.0f;
    ASSERT_TRUE(SUCCEEDED(m_spView->SetView(&view, VIEW_SET_ANIMATED_NOTIFY)));
    // A node added to the scene: the scene is loaded.
    const char szModel[] = "#VRML V2.0 utf8\nDEF box Transform {}\n";
    CComPtr<IStream> spStream;
    ASSERT_EQ(S_OK, ::CreateStreamOnHGlobal(nullptr, TRUE, &spStream));
    ASSERT_EQ(S_OK, spStream->Write(szModel, sizeof(szModel) - 1, nullptr));
    ASSERT_EQ(S_OK, spStream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
    CComPtr<IMFNodeObject> spModel;
    ASSERT_EQ(S_OK, m_spEngine->CreateNodesFromStream(spStream, &spModel));
    CComPtr<INodeObject> spNode;
    ASSERT_EQ(S_OK, spModel->get_Element(0, &spNode));
    VARIANT before;
    before.vt = VT_ERROR;
    before.scode = 0;
    ASSERT_EQ(S_OK, m_spNodes->Add(spNode, &before));
    const std::vector<std::wstring> calls = {L"OnAnchor(http://127.0.0.1/a.wrl,_blank,descr,param)",
                                             L"OnCameraMove(10)", L"OnSceneLoaded(1)"};
    EXPECT_EQ(calls, m_host.m_calls);
}

TEST_F(Viewer, TheControlKeepsItsNavigationSettings) {
    CreateViewer();
    CUniqueBstr bstrWalk(::SysAllocString(L"WALK")), bstrTeleport(::SysAllocString(L"TELEPORT"));
    EXPECT_EQ(S_OK, m_spCortona->put_Headlight(0));
    EXPECT_EQ(S_OK, m_spCortona->put_Speed(7));
    EXPECT_EQ(S_OK, m_spCortona->put_NavigationType(bstrWalk.get()));
    EXPECT_EQ(S_OK, m_spCortona->put_TransitionType(bstrTeleport.get()));
    LONG bHeadlight = -1;
    SHORT nSpeed = -1;
    CUniqueBstr bstrNavigation, bstrTransition;
    m_spCortona->get_Headlight(&bHeadlight);
    m_spCortona->get_Speed(&nSpeed);
    m_spCortona->get_NavigationType(bstrNavigation.put());
    m_spCortona->get_TransitionType(bstrTransition.put());
    EXPECT_EQ(0, bHeadlight);
    EXPECT_EQ(7, nSpeed);
    EXPECT_STREQ(L"WALK", bstrNavigation.get());
    EXPECT_STREQ(L"TELEPORT", bstrTransition.get());
}

// A process-wide look at the stand-in's objects: a probe control of its own.
struct LiveObjects {
    LONG nControls = -1;
    LONG nEngineObjects = -1;
};

LiveObjects CountLiveObjects() {
    LiveObjects live;
    CComPtr<IViewerTestHooks> spProbe;
    if (FAILED(spProbe.CoCreateInstance(CLSID_StandinViewer, nullptr, CLSCTX_INPROC_SERVER)))
        return live;
    spProbe->get_LiveObjectCount(&live.nControls);
    CComPtr<ICortona> spCortona;
    CComPtr<IUnknown> spEngine;
    CComPtr<IEngineTestHooks> spEngineHooks;
    spProbe.QueryInterface(&spCortona);
    if (spCortona && SUCCEEDED(spCortona->GetEngine(&spEngine)) && spEngine &&
        SUCCEEDED(spEngine.QueryInterface(&spEngineHooks)))
        spEngineHooks->GetLiveObjectCount(&live.nEngineObjects);
    return live;
}

TEST(ViewerLifetime, TheHostObjectGoesAfterTheControlWindowAndNothingIsLeft) {
    const LiveObjects before = CountLiveObjects();
    ASSERT_EQ(1, before.nControls);
    {
        CWindow main(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                       nullptr, nullptr, nullptr, nullptr));
        {
            RecordingHost host(&main);
            CAxWindow ax;
            CComPtr<ICortona> spCortona;
            CComPtr<IEngine> spEngine;
            CComPtr<I3DViewService4> spView;
            CComPtr<INodesCollection> spNodes;
            ASSERT_TRUE(host.CreateCortonaControl(&ax, main, CRect()));
            ASSERT_TRUE(host.InitCortonaInterface(&ax, spCortona, spEngine, spView, spNodes));
            HWND hControl = ::GetWindow(ax, GW_CHILD);
            ::SendMessageW(hControl, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            ::SendMessageW(hControl, WM_LBUTTONUP, 0, 0);
            ax.DestroyWindow();
            EXPECT_FALSE(::IsWindow(hControl));
            EXPECT_EQ(2, CountLiveObjects().nControls) << "the host still holds the control";
            spCortona.Release();
            spEngine.Release();
            spView.Release();
            spNodes.Release();
        } // the host object and its sinks, after the control's window
        main.DestroyWindow();
    }
    const LiveObjects after = CountLiveObjects();
    EXPECT_EQ(before.nControls, after.nControls);
    EXPECT_EQ(before.nEngineObjects, after.nEngineObjects);
}

} // namespace
