// The demo's host class: the application's main object, derived from CVelmoraBase as every
// host is. It owns the viewer's host window and interface pointers, logs each viewer event,
// moves the view with the arrow keys and shows a tip where the mouse rests.
#pragma once

#include "VelmoraBase.h"

class CDemoHost : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;

    CAxWindow m_viewer;
    CComPtr<ICortona> m_spCortona;
    CComPtr<IEngine> m_spEngine;
    CComPtr<I3DViewService4> m_spViewService;
    CComPtr<INodesCollection> m_spNodes;

    // How many events arrived, by handler, for the tour's checks.
    int m_nClicks = 0;
    int m_nMouseDowns = 0;
    int m_nMouseUps = 0;
    int m_nKeyDowns = 0;
    int m_nSceneLoads = 0;
    int m_nCameraMoves = 0;

    // The viewer control's own window, which receives the user's input.
    HWND ViewerInputWindow() const { return ::GetWindow(m_viewer, GW_CHILD); }
    // Shows the tip at the point where the mouse came to rest (called by the hover timer).
    void ShowHoverTip();

    void Click(CComPtr<IEngine> spEngine) override;
    void DblClick(CComPtr<IEngine> spEngine) override;
    void MouseMove(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y) override;
    void MouseDown(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y) override;
    void MouseUp(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y) override;
    void OnKeyDown(CComPtr<IEngine> spEngine, short nKeyCode, short nShift) override;
    void OnKeyUp(CComPtr<IEngine> spEngine, short nKeyCode, short nShift) override;
    void OnMouseEnter(CComPtr<IEngine> spEngine) override;
    void OnMouseOut(CComPtr<IEngine> spEngine) override;
    void OnSceneLoaded(CComPtr<IEngine> spEngine, short nStatus) override;
    void OnSceneUnloaded(CComPtr<IEngine> spEngine) override;
    void OnCameraMove(CComPtr<IEngine> spEngine, long nReason) override;

private:
    CPoint m_ptHover;
};

// The timer the main window runs while the mouse rests over the viewer.
constexpr UINT_PTR kHoverTimer = 1;
