// The demo's host class: the application's main object, derived from CVelmoraBase as every
// host is. It logs each viewer event it receives.
#pragma once

#include "VelmoraBase.h"

class CDemoHost : public CVelmoraBase {
public:
    using CVelmoraBase::CVelmoraBase;

    // How many events arrived, by handler, for the tour's checks.
    int m_nClicks = 0;
    int m_nMouseDowns = 0;
    int m_nMouseUps = 0;
    int m_nKeyDowns = 0;
    int m_nSceneLoads = 0;
    int m_nCameraMoves = 0;

    void Click(CComPtr<IEngine> spEngine) override;
    void DblClick(CComPtr<IEngine> spEngine) override;
    void MouseDown(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y) override;
    void MouseUp(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y) override;
    void OnKeyDown(CComPtr<IEngine> spEngine, short nKeyCode, short nShift) override;
    void OnKeyUp(CComPtr<IEngine> spEngine, short nKeyCode, short nShift) override;
    void OnMouseEnter(CComPtr<IEngine> spEngine) override;
    void OnMouseOut(CComPtr<IEngine> spEngine) override;
    void OnSceneLoaded(CComPtr<IEngine> spEngine, short nStatus) override;
    void OnSceneUnloaded(CComPtr<IEngine> spEngine) override;
    void OnCameraMove(CComPtr<IEngine> spEngine, long nReason) override;
};
