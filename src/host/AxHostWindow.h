// The ActiveX host window class "AtlAxWin100", registered under the library's own module.
#pragma once

#include <windows.h>

// The module that holds the library's code: VelmoraBase.dll, or the executable that links the
// library statically.
HINSTANCE AxHostModuleInstance() noexcept;

// Registers the window class once; later calls only report whether it is registered.
bool AxHostRegisterClass() noexcept;
