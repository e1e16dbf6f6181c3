#include "DemoHost.h"

#include "DemoLog.h"

namespace {
constexpr UINT kHoverDelayMs = 400;
constexpr int kArrowStep = 1;
} // namespace

void CDemoHost::ShowHoverTip() {
    ::KillTimer(*m_pMainWnd, kHoverTimer);
    CString text;
    text.Format(L"Viewer point (%d, %d): click to select, arrows to move", m_ptHover.x,
                m_ptHover.y);
    ShowTip(ViewerInputWindow(), m_ptHover, text, 12, CSize(7, 15), L"Arial", FW_NORMAL);
}

void CDemoHost::Click(CComPtr<IEngine>) {
    ++m_nClicks;
    DemoLog(L"  event: Click");
}

void CDemoHost::DblClick(CComPtr<IEngine>) {
    DemoLog(L"  event: DblClick");
}

void CDemoHost::MouseMove(CComPtr<IEngine>, short, short, long x, long y) {
    // Rest the mouse for a moment to see a tip; moving it restarts the wait.
    m_ptHover = CPoint(x, y);
    ::SetTimer(*m_pMainWnd, kHoverTimer, kHoverDelayMs, nullptr);
}

void CDemoHost::MouseDown(CComPtr<IEngine>, short nButton, short nShift, long x, long y) {
    ++m_nMouseDowns;
    DemoLog(L"  event: MouseDown button %d shift %d at (%ld, %ld)", nButton, nShift, x, y);
}

void CDemoHost::MouseUp(CComPtr<IEngine>, short nButton, short nShift, long x, long y) {
    ++m_nMouseUps;
    DemoLog(L"  event: MouseUp button %d shift %d at (%ld, %ld)", nButton, nShift, x, y);
}

void CDemoHost::OnKeyDown(CComPtr<IEngine>, short nKeyCode, short nShift) {
    ++m_nKeyDowns;
    DemoLog(L"  event: OnKeyDown key %d shift %d", nKeyCode, nShift);
    // The arrows shift the view: up and down move the second view value, left and right the
    // first; any other key is left alone.
    ViewTransfer_Key(m_spViewService, static_cast<wchar_t>(nKeyCode), VK_UP, VK_DOWN, VK_LEFT,
                     VK_RIGHT, kArrowStep);
}

void CDemoHost::OnKeyUp(CComPtr<IEngine>, short nKeyCode, short nShift) {
    DemoLog(L"  event: OnKeyUp key %d shift %d", nKeyCode, nShift);
}

void CDemoHost::OnMouseEnter(CComPtr<IEngine>) {
    DemoLog(L"  event: OnMouseEnter");
}

void CDemoHost::OnMouseOut(CComPtr<IEngine>) {
    DemoLog(L"  event: OnMouseOut");
    ::KillTimer(*m_pMainWnd, kHoverTimer);
    HideTip();
}

void CDemoHost::OnSceneLoaded(CComPtr<IEngine>, short nStatus) {
    ++m_nSceneLoads;
    DemoLog(L"  event: OnSceneLoaded %d", nStatus);
}

void CDemoHost::OnSceneUnloaded(CComPtr<IEngine>) {
    DemoLog(L"  event: OnSceneUnloaded");
}

void CDemoHost::OnCameraMove(CComPtr<IEngine>, long nReason) {
    ++m_nCameraMoves;
    DemoLog(L"  event: OnCameraMove %ld", nReason);
}
