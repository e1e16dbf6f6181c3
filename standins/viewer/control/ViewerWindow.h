// The stand-in viewer's own child window: shows the scene and turns mouse and key input into
// the control's events.
#pragma once

#include <windows.h>

class CViewerControl;

// A visible child of hWndParent at rc, reporting to pControl until it is destroyed.
HWND CreateViewerWindow(CViewerControl* pControl, HWND hWndParent, const RECT& rc);
