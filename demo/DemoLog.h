// The demo's log: each line goes to the console and to demo-log.txt beside the executable.
#pragma once

#include <cstdarg>

void DemoLogOpen(const wchar_t* pszPath);
void DemoLog(const wchar_t* pszFormat, ...);
