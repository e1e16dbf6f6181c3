// CAxWindow: a window of the ActiveX host window class "AtlAxWin100" that hosts one control.
//
// The window class and its procedure belong to the library, which registers the class under
// its own module before it creates the first such window. This wrapper only talks to the window
// through its messages, so a host that links the library as a DLL uses it unchanged.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "AtlWindow.h"

// The host window's private messages (the class is ours, so the WM_USER range is free).
// AX_MSG_CREATE_CONTROL: lParam is the control's ProgID (LPCWSTR); returns the HRESULT.
// AX_MSG_QUERY_CONTROL: lParam is an IUnknown** that receives the control with a reference;
// returns the HRESULT.
constexpr UINT AX_MSG_CREATE_CONTROL = WM_USER + 0x0A01;
constexpr UINT AX_MSG_QUERY_CONTROL = WM_USER + 0x0A02;

class CAxWindow : public CWindow {
public:
    CAxWindow(HWND hWnd = nullptr) noexcept : CWindow(hWnd) {}
    CAxWindow& operator=(HWND hWnd) noexcept {
        m_hWnd = hWnd;
        return *this;
    }

    static LPCWSTR GetWndClassName() noexcept { return L"AtlAxWin100"; }

    // Creates the control named by a ProgID in this window and activates it in place; S_OK only
    // when all of that succeeded. A control already hosted here is released first.
    HRESULT CreateControl(LPCOLESTR lpszProgID) noexcept {
        if (!::IsWindow(m_hWnd))
            return E_UNEXPECTED;
        if (!lpszProgID)
            return E_POINTER;
        return static_cast<HRESULT>(
            SendMessage(AX_MSG_CREATE_CONTROL, 0, reinterpret_cast<LPARAM>(lpszProgID)));
    }

    // The hosted control, with a reference for the caller; *ppUnk is null on failure.
    HRESULT QueryControl(IUnknown** ppUnk) noexcept {
        if (!ppUnk)
            return E_POINTER;
        *ppUnk = nullptr;
        if (!::IsWindow(m_hWnd))
            return E_UNEXPECTED;
        return static_cast<HRESULT>(
            SendMessage(AX_MSG_QUERY_CONTROL, 0, reinterpret_cast<LPARAM>(ppUnk)));
    }
    template <class Q> HRESULT QueryControl(Q** ppObject) noexcept {
        if (!ppObject)
            return E_POINTER;
        *ppObject = nullptr;
        IUnknown* pUnk = nullptr;
        HRESULT hr = QueryControl(&pUnk);
        if (SUCCEEDED(hr)) {
            hr = pUnk->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(ppObject));
            pUnk->Release();
        }
        return hr;
    }
};
