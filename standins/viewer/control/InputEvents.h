// How window input becomes the viewer's events: which mouse message is which event and button,
// and the shift state as the events carry it.
#pragma once

#include <windows.h>
#include <olectl.h>

struct MouseEvent {
    UINT uMsg;
    DISPID dispid; // DISPID_MOUSEDOWN or DISPID_MOUSEUP
    short nButton; // 1 left, 2 right, 4 middle
};

// The press or release for a mouse message; null for any other message.
const MouseEvent* FindMouseEvent(UINT uMsg) noexcept;

// The buttons held, from the key flags of a mouse message.
short MouseButtons(WPARAM wKeyFlags) noexcept;

// 1 Shift, 2 Ctrl, 4 Alt.
short ShiftState(bool bShift, bool bCtrl, bool bAlt) noexcept;

// Event arguments as the events carry them.
VARIANT VariantI2(short n) noexcept;
VARIANT VariantI4(long n) noexcept;
