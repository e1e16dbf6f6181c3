// Saves what a window shows on the screen, tips and popups over it included, as a PNG file.
#pragma once

#include <windows.h>

bool SaveWindowScreenshot(HWND hWnd, const wchar_t* pszPath);
