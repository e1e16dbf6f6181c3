#include "scene/ViewDirections.h"

namespace {

struct ViewDirection {
    int nCode;
    float ViewRecord::*pValue; // the view value the code shifts
    bool bRaise;               // true adds the step, false subtracts it
};

// In the order the bound keys of ViewTransfer_Key are given.
constexpr ViewDirection kDirections[] = {
    {1, &ViewRecord::fPanY, true},
    {-1, &ViewRecord::fPanY, false},
    {2, &ViewRecord::fPanX, false},
    {-2, &ViewRecord::fPanX, true},
};

} // namespace

bool ShiftView(ViewRecord& view, int nDirection, int nAmount) {
    for (const ViewDirection& direction : kDirections) {
        if (direction.nCode != nDirection)
            continue;
        float& fValue = view.*direction.pValue;
        const float fStep = static_cast<float>(nAmount);
        fValue = direction.bRaise ? fValue + fStep : fValue - fStep;
        return true;
    }
    return false;
}

int DirectionForKey(wchar_t chKey, const wchar_t (&boundKeys)[4]) {
    for (int i = 0; i < 4; ++i)
        if (boundKeys[i] == chKey)
            return kDirections[i].nCode;
    return 0;
}
