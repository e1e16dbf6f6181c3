// What the viewer window shows: one line per root node of the scene ("Transform box") and the
// current view ("view: pan x 0.00, pan y 0.00").
#pragma once

#include <string>
#include <vector>

#include "ViewerInterfaces.h"

std::vector<std::wstring> DescribeScene(IEngine* pEngine);
