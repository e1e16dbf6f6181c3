// The tip dialog's show operations and its window messages other than painting.
#include "TipDlg.h"

#include <utility>

#include "tip/TipLayout.h"

namespace {

// The horizontal extent that a tip at x must fit in: the primary screen, as wide as
// SM_CXSCREEN says at this moment, or the other monitor that holds the point.
void ScreenExtentAt(CPoint pt, int& nLeft, int& nRight) {
    nLeft = 0;
    nRight = ::GetSystemMetrics(SM_CXSCREEN);
    const HMONITOR hMonitor = ::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (hMonitor && ::GetMonitorInfoW(hMonitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
        nLeft = info.rcMonitor.left;
        nRight = info.rcMonitor.right;
    }
}

} // namespace

void CTipDlg::ShowTip(CPoint pt, CString strText, int nGap, CSize sizeChar, CString strFaceName,
                      int nWeight) {
    if (!m_bUseTip) {
        ShowWindow(SW_HIDE);
        return;
    }
    // The same tip again: nothing to do, even if a mouse move has hidden it since.
    if (pt.x == m_nLastX && pt.y == m_nLastY && strText == m_strLastText)
        return;
    // A character width below one pixel has no layout (the budget divides by it): the request
    // is ignored and the tip stays as it was.
    if (sizeChar.cx < 1)
        return;

    m_nCharWidth = sizeChar.cx;
    m_nCharHeight = sizeChar.cy;
    m_strFaceName = strFaceName;
    m_nWeight = nWeight;

    int nLeft = 0;
    int nRight = 0;
    ScreenExtentAt(pt, nLeft, nRight);
    TipLayout layout =
        LayOutTip(pt, strText, nGap, sizeChar, TipCharBudget(pt.x, nLeft, nRight, sizeChar.cx));
    m_vecLines = std::move(layout.vecLines);
    MoveWindow(&layout.rcWindow, TRUE);
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);

    m_nLastX = pt.x;
    m_nLastY = pt.y;
    m_strLastText = strText;
}

void CTipDlg::ShowTip(HWND hWnd, CPoint pt, CString strText, int nGap, CSize sizeChar,
                      CString strFaceName, int nWeight) {
    ::ClientToScreen(hWnd, &pt);
    ShowTip(pt, strText, nGap, sizeChar, strFaceName, nWeight);
}

void CTipDlg::ShowTip(CString strText, int nGap, CSize sizeChar, CString strFaceName, int nWeight) {
    CPoint pt;
    // Without a cursor position there is no point to show the tip at.
    if (!::GetCursorPos(&pt))
        return;
    ShowTip(pt, strText, nGap, sizeChar, strFaceName, nWeight);
}

LRESULT CTipDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    ShowWindow(SW_HIDE);
    return TRUE;
}

// Moving the mouse onto the tip hides it; the record of the last tip stays, so the same
// request does not bring it back.
LRESULT CTipDlg::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    ShowWindow(SW_HIDE);
    return 0;
}
