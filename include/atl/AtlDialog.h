// CDialogImpl<T>: a modeless dialog created from the template T::IDD in the module that holds
// the calling code, with a message map that routes the dialog's messages to T's handlers.
//
// A derived class declares its map with the macros below; each handler has the signature
//     LRESULT OnSomething(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
// bHandled arrives TRUE; a handler that sets it to FALSE leaves the message to the next entry
// and then to the default dialog processing.
//
//     BEGIN_MSG_MAP(CMyDlg)
//         MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//     END_MSG_MAP()
#pragma once

#include <windows.h>

#include "AtlWindow.h"

// The dispatch that a message map implements: TRUE when the message was handled, its result
// in lResult.
class CMessageMap {
public:
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult) = 0;

protected:
    ~CMessageMap() = default;
};

#define BEGIN_MSG_MAP(theClass)                                                                    \
public:                                                                                            \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,                  \
                              LRESULT& lResult) override {                                         \
        (void)hWnd;                                                                                \
        (void)wParam;                                                                              \
        (void)lParam;                                                                              \
        (void)lResult;                                                                             \
        BOOL bHandled = TRUE;                                                                      \
        (void)bHandled;

#define MESSAGE_HANDLER(msg, func)                                                                 \
    if (uMsg == (msg)) {                                                                           \
        bHandled = TRUE;                                                                           \
        lResult = func(uMsg, wParam, lParam, bHandled);                                            \
        if (bHandled)                                                                              \
            return TRUE;                                                                           \
    }

#define END_MSG_MAP()                                                                              \
    return FALSE;                                                                                  \
    }

namespace velmora_detail {

// Messages whose result a dialog procedure returns itself; every other handled message
// passes its result through DWLP_MSGRESULT.
constexpr UINT kDirectResultMessages[] = {
    WM_INITDIALOG,    WM_CHARTOITEM,     WM_VKEYTOITEM,        WM_COMPAREITEM,
    WM_QUERYDRAGICON, WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT,      WM_CTLCOLORLISTBOX,
    WM_CTLCOLORBTN,   WM_CTLCOLORDLG,    WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,
};

inline bool ReturnsResultDirectly(UINT uMsg) noexcept {
    for (UINT direct : kDirectResultMessages)
        if (direct == uMsg)
            return true;
    return false;
}

} // namespace velmora_detail

template <class T> class CDialogImpl : public CWindow, public CMessageMap {
public:
    CDialogImpl() noexcept = default;
    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;

    // The window is not destroyed here (its owner may still need it), but it stops routing
    // messages to this object, so a window that outlives its object never reaches freed memory.
    virtual ~CDialogImpl() {
        if (::IsWindow(m_hWnd) &&
            ::GetWindowLongPtrW(m_hWnd, DWLP_USER) == reinterpret_cast<LONG_PTR>(this))
            ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    }

    // Creates the modeless dialog, hidden unless its template says otherwise, owned by
    // hWndParent (may be null). m_hWnd is set from WM_INITDIALOG on. Returns the window or null.
    HWND Create(HWND hWndParent) noexcept {
        return ::CreateDialogParamW(TemplateModule(), MAKEINTRESOURCEW(T::IDD), hWndParent,
                                    DialogProc, reinterpret_cast<LPARAM>(this));
    }

private:
    // The module whose code instantiates this template (the library, or a test executable
    // into which the library's code and resources are linked) holds the template.
    static HMODULE TemplateModule() noexcept {
        HMODULE hModule = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                 GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(&CDialogImpl::DialogProc), &hModule);
        return hModule;
    }

    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        CDialogImpl* pThis = nullptr;
        if (uMsg == WM_INITDIALOG) {
            // The creation parameter carries the object; keep it with the window from now on.
            pThis = reinterpret_cast<CDialogImpl*>(lParam);
            ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
            pThis->m_hWnd = hWnd;
        } else {
            pThis = reinterpret_cast<CDialogImpl*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
        }
        if (!pThis)
            return FALSE;

        LRESULT lResult = 0;
        const BOOL bHandled = pThis->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult);
        if (uMsg == WM_NCDESTROY) {
            // The last message of the window: the object must not keep a stale handle.
            ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
            if (pThis->m_hWnd == hWnd)
                pThis->m_hWnd = nullptr;
        }
        if (!bHandled)
            return FALSE;
        if (velmora_detail::ReturnsResultDirectly(uMsg))
            return static_cast<INT_PTR>(lResult);
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
        return TRUE;
    }
};
