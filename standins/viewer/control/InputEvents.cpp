// Tables of the viewer's input events.
#include "InputEvents.h"

namespace {

constexpr MouseEvent kMouseEvents[] = {
    {WM_LBUTTONDOWN, DISPID_MOUSEDOWN, 1}, {WM_LBUTTONUP, DISPID_MOUSEUP, 1},
    {WM_RBUTTONDOWN, DISPID_MOUSEDOWN, 2}, {WM_RBUTTONUP, DISPID_MOUSEUP, 2},
    {WM_MBUTTONDOWN, DISPID_MOUSEDOWN, 4}, {WM_MBUTTONUP, DISPID_MOUSEUP, 4},
};

struct ButtonFlag {
    WPARAM wFlag;
    short nButton;
};
constexpr ButtonFlag kButtonFlags[] = {{MK_LBUTTON, 1}, {MK_RBUTTON, 2}, {MK_MBUTTON, 4}};

} // namespace

const MouseEvent* FindMouseEvent(UINT uMsg) noexcept {
    for (const MouseEvent& event : kMouseEvents)
        if (event.uMsg == uMsg)
            return &event;
    return nullptr;
}

short MouseButtons(WPARAM wKeyFlags) noexcept {
    short nButtons = 0;
    for (const ButtonFlag& flag : kButtonFlags)
        if (wKeyFlags & flag.wFlag)
            nButtons |= flag.nButton;
    return nButtons;
}

short ShiftState(bool bShift, bool bCtrl, bool bAlt) noexcept {
    return static_cast<short>((bShift ? 1 : 0) | (bCtrl ? 2 : 0) | (bAlt ? 4 : 0));
}

VARIANT VariantI2(short n) noexcept {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I2;
    v.iVal = n;
    return v;
}

VARIANT VariantI4(long n) noexcept {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}
