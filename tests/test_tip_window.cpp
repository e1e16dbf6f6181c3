// The tip on real windows: the dialog layer and template, placement, the show/hide rules of the
// tip dialog and the host's tip operations, and the painted pixels.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "VelmoraBase.h"
#include "tip/TipLayout.h"

namespace {

const CSize kCell(8, 16);
constexpr wchar_t kFace[] = L"Tahoma";

void PumpMessages() {
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
}

std::string Describe(const RECT& rc) {
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

std::string WindowRectOf(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    return Describe(rc);
}

// A plain popup standing in for the host's main window; hidden, since under a display without
// a window manager every hide of a shown window waits for one.
struct MainWindow {
    MainWindow()
        : m_wnd(::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP, 200, 300, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr)) {}
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() {
        if (m_wnd.IsWindow())
            m_wnd.DestroyWindow();
    }
    CWindow m_wnd;
};

// A host whose tip window exists, owned by a main window.
class TipHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_main.m_wnd.IsWindow());
        ASSERT_TRUE(m_host.InitTipDlg());
        ASSERT_NE(nullptr, m_host.m_pTipDlg);
        ASSERT_TRUE(m_host.m_pTipDlg->IsWindow());
    }
    CTipDlg& Tip() { return *m_host.m_pTipDlg; }
    HWND TipWindow() { return m_host.m_pTipDlg->m_hWnd; }
    bool Visible() { return ::IsWindowVisible(TipWindow()) != FALSE; }
    void Show(CPoint pt, const CString& text, CSize cell = kCell) {
        m_host.ShowTip(pt, text, 10, cell, kFace, FW_NORMAL);
    }

    MainWindow m_main;
    CVelmoraBase m_host{&m_main.m_wnd};
};

// The template as the library's resources hold it, field by field.
TEST(TipTemplate, IsTheExtendedDialogOfTheLibrary) {
    const HMODULE hModule = ::GetModuleHandleW(nullptr);
    const HRSRC hResource = ::FindResourceExW(hModule, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(101),
                                              MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_NE(nullptr, hResource) << "dialog 101 in language 2052";
    const auto* p = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hResource)));
    ASSERT_NE(nullptr, p);
    auto word = [&](size_t offset) {
        return *reinterpret_cast<const WORD*>(p + offset);
    };
    auto dword = [&](size_t offset) {
        return *reinterpret_cast<const DWORD*>(p + offset);
    };
    EXPECT_EQ(1, word(0));
    EXPECT_EQ(0xFFFF, word(2));
    EXPECT_EQ(DWORD(WS_EX_TOPMOST | WS_EX_WINDOWEDGE | WS_EX_NOACTIVATE), dword(8));
    EXPECT_EQ(DWORD(WS_POPUP | DS_SETFONT | DS_FIXEDSYS), dword(12));
    EXPECT_EQ(0, word(16)) << "controls";
    EXPECT_EQ("0,0,317,180", std::to_string(word(18)) + "," + std::to_string(word(20)) + "," +
                                 std::to_string(word(22)) + "," + std::to_string(word(24)));
    EXPECT_EQ(0, word(26)) << "menu";
    EXPECT_EQ(0, word(28)) << "class";
    EXPECT_EQ(0, word(30)) << "title";
    EXPECT_EQ(8, word(32)) << "points";
    EXPECT_EQ(400, word(34)) << "weight";
    EXPECT_EQ(0, p[36]) << "italic";
    EXPECT_EQ(1, p[37]) << "character set";
    EXPECT_STREQ(L"MS Shell Dlg", reinterpret_cast<const wchar_t*>(p + 38));
}

// A dialog of the same template that records what its map sees.
class ProbeDlg : public CDialogImpl<ProbeDlg> {
public:
    enum { IDD = 101 };

    BEGIN_MSG_MAP(ProbeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_APP, OnAnswer)
    MESSAGE_HANDLER(WM_APP + 1, OnDecline)
    MESSAGE_HANDLER(WM_APP + 1, OnSecondChance)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        m_hWndAtInit = m_hWnd;
        return TRUE;
    }
    LRESULT OnAnswer(UINT, WPARAM wParam, LPARAM, BOOL&) { return 1000 + wParam; }
    LRESULT OnDecline(UINT, WPARAM, LPARAM, BOOL& bHandled) {
        bHandled = FALSE;
        return 1;
    }
    LRESULT OnSecondChance(UINT, WPARAM, LPARAM, BOOL&) { return 2; }

    HWND m_hWndAtInit = nullptr;
};

TEST(DialogLayer, RoutesTheMapAndForgetsItsWindowWhenDestroyed) {
    ProbeDlg dlg;
    const HWND hWnd = dlg.Create(nullptr);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(hWnd, dlg.m_hWnd);
    EXPECT_EQ(hWnd, dlg.m_hWndAtInit) << "m_hWnd is usable from WM_INITDIALOG on";
    EXPECT_EQ(1007, ::SendMessageW(hWnd, WM_APP, 7, 0)) << "result through the dialog procedure";
    EXPECT_EQ(2, ::SendMessageW(hWnd, WM_APP + 1, 0, 0)) << "a declined message goes on";
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_APP + 2, 0, 0)) << "unmapped: default processing";
    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(DialogLayer, WindowThatOutlivesItsObjectNoLongerReachesIt) {
    HWND hWnd = nullptr;
    {
        ProbeDlg dlg;
        hWnd = dlg.Create(nullptr);
        ASSERT_NE(nullptr, hWnd);
    }
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_APP, 7, 0));
    ::DestroyWindow(hWnd);
}

TEST_F(TipHost, WindowIsAHiddenTopmostPopupOwnedByTheMainWindow) {
    EXPECT_FALSE(Visible());
    EXPECT_EQ(m_main.m_wnd.m_hWnd, ::GetWindow(TipWindow(), GW_OWNER));
    const LONG style = ::GetWindowLongW(TipWindow(), GWL_STYLE);
    EXPECT_EQ(WS_POPUP, style & (WS_POPUP | WS_CHILD | WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(::GetWindowLongW(TipWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    const HWND hWnd = TipWindow();
    EXPECT_TRUE(m_host.InitTipDlg()) << "a second call while the window exists";
    EXPECT_EQ(hWnd, TipWindow());
}

// Placement follows the layout with the real screen width, near each edge and in the middle.
TEST_F(TipHost, LandsAtTheComputedRectangle) {
    const int S = ::GetSystemMetrics(SM_CXSCREEN);
    const CString text30(L'a', 30);
    struct Case {
        CPoint pt;
        CString text;
        RECT expected;
    } const cases[] = {
        {CPoint(100, 500), text30, {3, 456, 197, 490}},
        // 50 pixels from the right edge: 6 widths each side, lines of 12 units.
        {CPoint(S - 50, 500), text30, {S - 99, 440, S - 1, 490}},
        {CPoint(S / 2, 300), L"abc", {S / 2 - 13, 272, S / 2 + 13, 290}},
    };
    for (const Case& c : cases) {
        Show(c.pt, c.text);
        EXPECT_TRUE(Visible());
        EXPECT_EQ(Describe(c.expected), WindowRectOf(TipWindow()))
            << "at " << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(TipHost, PointsFromClientCoordinatesAndTheCursor) {
    POINT origin{0, 0};
    ::ClientToScreen(m_main.m_wnd, &origin);
    m_host.ShowTip(m_main.m_wnd, CPoint(0, 0), L"abc", 10, kCell, kFace, FW_NORMAL);
    EXPECT_EQ(Describe({origin.x - 13, origin.y - 28, origin.x + 13, origin.y - 10}),
              WindowRectOf(TipWindow()));
    EXPECT_EQ(origin.x, Tip().m_nLastX);

    ::SetCursorPos(640, 400);
    POINT cursor{};
    ASSERT_TRUE(::GetCursorPos(&cursor));
    m_host.ShowTip(L"abc", 10, kCell, kFace, FW_NORMAL);
    EXPECT_EQ(Describe({cursor.x - 13, cursor.y - 28, cursor.x + 13, cursor.y - 10}),
              WindowRectOf(TipWindow()));
}

TEST_F(TipHost, RepeatedRequestChangesNothingNewPointMovesWithoutHiding) {
    Show(CPoint(300, 400), L"hello");
    const std::string rc = WindowRectOf(TipWindow());
    Show(CPoint(300, 400), L"hello", CSize(20, 40));
    EXPECT_EQ(rc, WindowRectOf(TipWindow()));
    EXPECT_EQ(8, Tip().m_nCharWidth) << "font parameters of a repeat are ignored";
    EXPECT_EQ(16, Tip().m_nCharHeight);

    Show(CPoint(500, 400), L"hello");
    EXPECT_TRUE(Visible());
    EXPECT_EQ("479,372 42x18", WindowRectOf(TipWindow()));
    Show(CPoint(500, 400), L"Hello");
    EXPECT_EQ(L"Hello", Tip().m_strLastText) << "the text comparison is case-sensitive";
}

TEST_F(TipHost, MouseMoveHidesForGoodHideTipForgets) {
    Show(CPoint(300, 400), L"hello");
    ASSERT_TRUE(Visible());
    ::SendMessageW(TipWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(Visible());
    Show(CPoint(300, 400), L"hello");
    EXPECT_FALSE(Visible()) << "the same request after a mouse move";

    m_host.HideTip();
    EXPECT_EQ(0, Tip().m_nLastX);
    EXPECT_EQ(0, Tip().m_nLastY);
    EXPECT_TRUE(Tip().m_strLastText.IsEmpty());
    Show(CPoint(300, 400), L"hello");
    EXPECT_TRUE(Visible()) << "the same request after HideTip";
}

TEST_F(TipHost, DisablingLeavesAVisibleTipUntilTheNextRequest) {
    Show(CPoint(300, 400), L"hello");
    m_host.SetUseTip(false);
    EXPECT_FALSE(Tip().m_bUseTip);
    EXPECT_TRUE(Visible());
    Show(CPoint(320, 400), L"other");
    EXPECT_FALSE(Visible());
    EXPECT_EQ(300, Tip().m_nLastX) << "a refused request leaves the record";

    m_host.SetUseTip(true);
    Show(CPoint(320, 400), L"other");
    EXPECT_TRUE(Visible());
}

TEST_F(TipHost, CharacterWidthBelowOneIsIgnored) {
    Show(CPoint(300, 400), L"hello");
    const std::string rc = WindowRectOf(TipWindow());
    for (int cx : {0, -8}) {
        Show(CPoint(600, 400), L"other", CSize(cx, 16));
        EXPECT_EQ(rc, WindowRectOf(TipWindow())) << "cx=" << cx;
        EXPECT_EQ(300, Tip().m_nLastX) << "cx=" << cx;
        EXPECT_EQ(8, Tip().m_nCharWidth) << "cx=" << cx;
    }
}

TEST_F(TipHost, OwnerDestroyedTakesTheTipAndInitMakesANewOne) {
    ::DestroyWindow(m_main.m_wnd);
    EXPECT_EQ(nullptr, Tip().m_hWnd);
    Show(CPoint(300, 400), L"hello");
    EXPECT_TRUE(Tip().m_strLastText.IsEmpty()) << "no window, no show";
    m_main.m_wnd.m_hWnd = nullptr;
    CTipDlg* pDialog = m_host.m_pTipDlg;
    EXPECT_TRUE(m_host.InitTipDlg());
    EXPECT_EQ(pDialog, m_host.m_pTipDlg) << "the same dialog object";
    EXPECT_TRUE(Tip().IsWindow());
}

TEST(TipOperations, DoNothingBeforeInitTipDlg) {
    MainWindow main;
    CVelmoraBase host(&main.m_wnd);
    host.SetUseTip(false);
    host.ShowTip(CPoint(300, 400), L"hello", 10, kCell, kFace, FW_NORMAL);
    host.ShowTip(main.m_wnd, CPoint(3, 4), L"hello", 10, kCell, kFace, FW_NORMAL);
    host.ShowTip(L"hello", 10, kCell, kFace, FW_NORMAL);
    host.HideTip();
    EXPECT_EQ(nullptr, host.m_pTipDlg);

    ASSERT_TRUE(host.InitTipDlg());
    EXPECT_TRUE(host.m_pTipDlg->m_bUseTip) << "a switch before the dialog existed is lost";
    host.ShowTip(CPoint(300, 400), L"hello", 10, kCell, kFace, FW_NORMAL);
    EXPECT_TRUE(host.m_pTipDlg->IsWindowVisible());
}

TEST(TipOperations, MainWindowDecidesTheOwner) {
    CVelmoraBase orphan(nullptr);
    EXPECT_FALSE(orphan.InitTipDlg());
    ASSERT_NE(nullptr, orphan.m_pTipDlg) << "the dialog object stays";
    EXPECT_FALSE(orphan.m_pTipDlg->IsWindow());
    orphan.ShowTip(CPoint(300, 400), L"hello", 10, kCell, kFace, FW_NORMAL);
    EXPECT_TRUE(orphan.m_pTipDlg->m_strLastText.IsEmpty());

    CWindow noWindow;
    CVelmoraBase unowned(&noWindow);
    EXPECT_TRUE(unowned.InitTipDlg());
    ASSERT_TRUE(unowned.m_pTipDlg->IsWindow());
    EXPECT_EQ(nullptr, ::GetWindow(unowned.m_pTipDlg->m_hWnd, GW_OWNER));
}

TEST(TipOperations, HostDestructionDestroysTheTipWindowCopiesFindNone) {
    MainWindow main;
    auto host = std::make_unique<CVelmoraBase>(&main.m_wnd);
    ASSERT_TRUE(host->InitTipDlg());
    CVelmoraBase copy(*host);
    const HWND hTip = host->m_pTipDlg->m_hWnd;
    ASSERT_TRUE(::IsWindow(hTip));
    ASSERT_EQ(host->m_pTipDlg, copy.m_pTipDlg);

    host.reset();
    EXPECT_FALSE(::IsWindow(hTip));
    ASSERT_NE(nullptr, copy.m_pTipDlg);
    EXPECT_FALSE(copy.m_pTipDlg->IsWindow());
    copy.ShowTip(CPoint(300, 400), L"hello", 10, kCell, kFace, FW_NORMAL);
    copy.HideTip();
    EXPECT_TRUE(copy.m_pTipDlg->m_strLastText.IsEmpty());
}

// The painted tip read back from the screen: fill, both frame colours at their exact pixels,
// and text in the text colour inside the first line.
TEST_F(TipHost, PaintsFillFrameAndText) {
    m_host.ShowTip(CPoint(400, 400), L"MM      ", 10, kCell, kFace, FW_BOLD);
    ::UpdateWindow(TipWindow());
    PumpMessages();
    RECT rc{};
    ::GetWindowRect(TipWindow(), &rc);
    ASSERT_EQ("367,372 66x18", Describe(rc));
    const int W = rc.right - rc.left;
    const int H = rc.bottom - rc.top;

    const HDC hdc = ::GetDC(nullptr);
    auto pixel = [&](int x, int y) {
        return ::GetPixel(hdc, rc.left + x, rc.top + y);
    };
    struct Probe {
        const char* what;
        int x, y;
        COLORREF expected;
    } const probes[] = {
        {"fill", W - 3, H / 2, Tip().m_clrBack},
        {"top-left corner", 0, 0, Tip().m_clrTopLeft},
        {"top edge end", W - 2, 0, Tip().m_clrTopLeft},
        {"left edge end", 0, H - 2, Tip().m_clrTopLeft},
        {"top-right corner", W - 1, 0, Tip().m_clrBottomRight},
        {"bottom-left corner", 0, H - 1, Tip().m_clrBottomRight},
        {"bottom-right corner", W - 1, H - 1, Tip().m_clrBottomRight},
        {"bottom edge", W / 2, H - 1, Tip().m_clrBottomRight},
        {"right edge", W - 1, H / 2, Tip().m_clrBottomRight},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(probe.expected, pixel(probe.x, probe.y))
            << probe.what << " at " << probe.x << "," << probe.y;

    int nTextPixels = 0;
    for (int y = 1; y < 1 + kCell.cy; ++y)
        for (int x = 1; x < 1 + 2 * kCell.cx; ++x)
            nTextPixels += pixel(x, y) == Tip().m_clrText;
    EXPECT_GT(nTextPixels, 10) << "text pixels in the first line";
    ::ReleaseDC(nullptr, hdc);
}

} // namespace
