// The scripted tour: every capability of the library, step by step, each step checked.
#pragma once

#include "DemoHost.h"

// Runs every step against the host and its main window; true when all of them passed.
bool RunDemoTour(CDemoHost& host, CWindow& mainWnd);
