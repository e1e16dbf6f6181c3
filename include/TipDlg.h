// CTipDlg: the tip popup of the host object, a borderless topmost modeless dialog that shows a
// short text, broken into lines, in a pale yellow box with a one-pixel frame, above a screen
// point and centred on it.
#pragma once

#include <windows.h>

#include <vector>

#include "atl/AtlDialog.h"
#include "atl/AtlString.h"
#include "atl/AtlTypes.h"

class CTipDlg : public CDialogImpl<CTipDlg> {
public:
    enum { IDD_TIPDLG = 101, IDD = IDD_TIPDLG };

    CTipDlg() = default;

    BEGIN_MSG_MAP(CTipDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    END_MSG_MAP()

    // Shows strText above pt (screen coordinates): centred on pt.x, its lower edge nGap pixels
    // above pt.y, in a font of the sizeChar cell (cx width, cy height), strFaceName and nWeight.
    // A repeat of the last point and text does nothing; while tips are disabled the tip hides.
    void ShowTip(CPoint pt, CString strText, int nGap, CSize sizeChar, CString strFaceName,
                 int nWeight);
    // As above, pt in the client coordinates of hWnd.
    void ShowTip(HWND hWnd, CPoint pt, CString strText, int nGap, CSize sizeChar,
                 CString strFaceName, int nWeight);
    // As above, at the mouse cursor.
    void ShowTip(CString strText, int nGap, CSize sizeChar, CString strFaceName, int nWeight);

    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    bool m_bUseTip = true;
    COLORREF m_clrBack = RGB(255, 255, 166);
    COLORREF m_clrTopLeft = RGB(222, 255, 0);
    COLORREF m_clrBottomRight = RGB(192, 192, 192);
    COLORREF m_clrText = RGB(0, 0, 0);
    std::vector<CString> m_vecLines;
    int m_nCharWidth = 0;
    int m_nCharHeight = 0;
    CString m_strFaceName;
    int m_nWeight = FW_NORMAL;
    int m_nLastX = 0;
    int m_nLastY = 0;
    CString m_strLastText;

private:
    friend class CVelmoraBase;
    // Host objects (an original and its copies) that share this dialog; the last one deletes it.
    long m_nOwners = 1;
};
