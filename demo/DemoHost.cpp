#include "DemoHost.h"

#include "DemoLog.h"

void CDemoHost::Click(CComPtr<IEngine>) {
    ++m_nClicks;
    DemoLog(L"  event: Click");
}

void CDemoHost::DblClick(CComPtr<IEngine>) {
    DemoLog(L"  event: DblClick");
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
}

void CDemoHost::OnKeyUp(CComPtr<IEngine>, short nKeyCode, short nShift) {
    DemoLog(L"  event: OnKeyUp key %d shift %d", nKeyCode, nShift);
}

void CDemoHost::OnMouseEnter(CComPtr<IEngine>) {
    DemoLog(L"  event: OnMouseEnter");
}

void CDemoHost::OnMouseOut(CComPtr<IEngine>) {
    DemoLog(L"  event: OnMouseOut");
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
