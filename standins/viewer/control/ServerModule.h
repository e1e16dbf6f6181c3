// The stand-in viewer's COM server: its module, and the count of live objects and server locks
// that DllCanUnloadNow reports on.
#pragma once

#include <windows.h>

HMODULE ServerModule() noexcept;
void ServerObjectCreated() noexcept;
void ServerObjectDestroyed() noexcept;
LONG ServerLiveObjects() noexcept;
// Keeps the server loaded for the rest of the process: engines handed out may outlive every
// control, and only the engine knows when it is gone.
void ServerPinModule() noexcept;
