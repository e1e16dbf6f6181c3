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

const ViewDirection* FindDirection(int nCode) {
    for (const ViewDirection& direction : kDirections)
        if (direction.nCode == nCode)
            return &direction;
    return nullptr;
}

} // namespace

bool IsViewDirection(int nDirection) {
    return FindDirection(nDirection) != nullptr;
}

bool ShiftView(ViewRecord& view, int nDirection, int nAmount) {
    const ViewDirection* pDirection = FindDirection(nDirection);
    if (!pDirection)
        return false;
    float& fValue = view.*pDirection->pValue;
    const float fStep = static_cast<float>(nAmount);
    fValue = pDirection->bRaise ? fValue + fStep : fValue - fStep;
    return true;
}

int DirectionForKey(wchar_t chKey, const wchar_t (&boundKeys)[4]) {
    for (int i = 0; i < 4; ++i)
        if (boundKeys[i] == chKey)
            return kDirections[i].nCode;
    return 0;
}
