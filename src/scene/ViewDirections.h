// The view arithmetic of viewpoint transfer: which view value a direction code shifts and
// which way, and which direction a key is bound to.
#pragma once

#include "ViewerInterfaces.h"

// Whether nDirection is one of the four direction codes.
bool IsViewDirection(int nDirection);

// Shifts the view record by nAmount in direction nDirection (1, -1, 2 or -2). Returns false,
// leaving the record alone, for any other code.
bool ShiftView(ViewRecord& view, int nDirection, int nAmount);

// The direction code bound to chKey: 1, -1, 2 or -2 for the first of the four bound keys
// (in that order) that equals it exactly, 0 when none does.
int DirectionForKey(wchar_t chKey, const wchar_t (&boundKeys)[4]);
