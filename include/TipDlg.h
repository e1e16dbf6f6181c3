// CTipDlg: the tip popup of the host object.
#pragma once

#include <windows.h>

#include <vector>

#include "atl/AtlString.h"
#include "atl/AtlWindow.h"

class CTipDlg : public CWindow {
public:
    enum { IDD = 101 };

    CTipDlg() = default;
    CTipDlg(const CTipDlg&) = delete;
    CTipDlg& operator=(const CTipDlg&) = delete;
    virtual ~CTipDlg() = default;

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
