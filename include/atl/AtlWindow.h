// CWindow: a borrowed window handle with thin wrappers; it never destroys the window on its own.
#pragma once

#include <windows.h>

#include "AtlTypes.h"

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hWnd = nullptr) noexcept : m_hWnd(hWnd) {}
    CWindow& operator=(HWND hWnd) noexcept {
        m_hWnd = hWnd;
        return *this;
    }
    operator HWND() const noexcept { return m_hWnd; }

    void Attach(HWND hWnd) noexcept { m_hWnd = hWnd; }
    HWND Detach() noexcept {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }

    BOOL IsWindow() const noexcept { return ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd); }
    BOOL DestroyWindow() noexcept {
        if (!::DestroyWindow(m_hWnd))
            return FALSE;
        m_hWnd = nullptr;
        return TRUE;
    }
    BOOL ShowWindow(int nCmdShow) noexcept { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE) noexcept {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
    }
    BOOL MoveWindow(const RECT* prc, BOOL bRepaint = TRUE) noexcept {
        return MoveWindow(prc->left, prc->top, prc->right - prc->left, prc->bottom - prc->top,
                          bRepaint);
    }
    BOOL GetClientRect(RECT* prc) const noexcept { return ::GetClientRect(m_hWnd, prc); }
    BOOL GetWindowRect(RECT* prc) const noexcept { return ::GetWindowRect(m_hWnd, prc); }
    BOOL ClientToScreen(POINT* ppt) const noexcept { return ::ClientToScreen(m_hWnd, ppt); }
    BOOL ScreenToClient(POINT* ppt) const noexcept { return ::ScreenToClient(m_hWnd, ppt); }
    BOOL SetWindowText(LPCWSTR psz) noexcept { return ::SetWindowTextW(m_hWnd, psz); }
    HWND GetParent() const noexcept { return ::GetParent(m_hWnd); }
    HWND SetFocus() noexcept { return ::SetFocus(m_hWnd); }
    BOOL Invalidate(BOOL bErase = TRUE) noexcept {
        return ::InvalidateRect(m_hWnd, nullptr, bErase);
    }
    BOOL UpdateWindow() noexcept { return ::UpdateWindow(m_hWnd); }
    BOOL SetWindowPos(HWND hWndAfter, int x, int y, int cx, int cy, UINT nFlags) noexcept {
        return ::SetWindowPos(m_hWnd, hWndAfter, x, y, cx, cy, nFlags);
    }
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
        return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    HWND GetDlgItem(int nID) const noexcept { return ::GetDlgItem(m_hWnd, nID); }
};
