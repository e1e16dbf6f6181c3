// A top-level window that plays an application's main window in tests: it hands
// WM_VIEWER_EVENT to the SinkInvoke of the host it routes to, as a host application's window
// procedure does. It stays hidden unless a test shows it, and is destroyed with the object.
#pragma once

#include <windows.h>

#include "VelmoraBase.h"

class CTestMainWindow : public CWindow {
public:
    explicit CTestMainWindow(const RECT& rc);
    CTestMainWindow(const CTestMainWindow&) = delete;
    CTestMainWindow& operator=(const CTestMainWindow&) = delete;
    ~CTestMainWindow();

    // The host whose SinkInvoke gets the viewer events; none (nullptr) drops them.
    void RouteEventsTo(CVelmoraBase* pHost) noexcept;
};
