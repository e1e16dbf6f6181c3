// The host object's tip operations: creating its one tip dialog and driving it. Every
// operation but InitTipDlg does nothing while the tip window does not exist.
#include "VelmoraBase.h"

#include <new>

namespace {

bool TipWindowExists(const CTipDlg* pTipDlg) {
    return pTipDlg && pTipDlg->IsWindow();
}

} // namespace

bool CVelmoraBase::InitTipDlg() {
    if (!m_pTipDlg) {
        m_pTipDlg = new (std::nothrow) CTipDlg;
        if (!m_pTipDlg)
            return false;
    }
    if (!m_pMainWnd)
        return false;
    if (TipWindowExists(m_pTipDlg))
        return true;
    // Owned by the main window when it is one, so it stays above it and goes with it; a later
    // call re-creates a window that went that way.
    m_pTipDlg->Create(m_pMainWnd->IsWindow() ? m_pMainWnd->m_hWnd : nullptr);
    return true;
}

void CVelmoraBase::ShowTip(HWND hWnd, CPoint pt, CString strText, int nGap, CSize sizeChar,
                           CString strFaceName, int nWeight) {
    if (TipWindowExists(m_pTipDlg))
        m_pTipDlg->ShowTip(hWnd, pt, strText, nGap, sizeChar, strFaceName, nWeight);
}

void CVelmoraBase::ShowTip(CPoint pt, CString strText, int nGap, CSize sizeChar,
                           CString strFaceName, int nWeight) {
    if (TipWindowExists(m_pTipDlg))
        m_pTipDlg->ShowTip(pt, strText, nGap, sizeChar, strFaceName, nWeight);
}

void CVelmoraBase::ShowTip(CString strText, int nGap, CSize sizeChar, CString strFaceName,
                           int nWeight) {
    if (TipWindowExists(m_pTipDlg))
        m_pTipDlg->ShowTip(strText, nGap, sizeChar, strFaceName, nWeight);
}

// Hiding also forgets the last tip, so that the same request shows it again.
void CVelmoraBase::HideTip() {
    if (!TipWindowExists(m_pTipDlg))
        return;
    m_pTipDlg->ShowWindow(SW_HIDE);
    m_pTipDlg->m_nLastX = 0;
    m_pTipDlg->m_nLastY = 0;
    m_pTipDlg->m_strLastText.Empty();
}

void CVelmoraBase::SetUseTip(bool bUse) {
    if (TipWindowExists(m_pTipDlg))
        m_pTipDlg->m_bUseTip = bUse;
}
