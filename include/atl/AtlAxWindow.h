// CAxWindow: a window of the ActiveX host window class that hosts one control.
#pragma once

#include "AtlWindow.h"

class CAxWindow : public CWindow {
public:
    CAxWindow(HWND hWnd = nullptr) noexcept : CWindow(hWnd) {}
};
