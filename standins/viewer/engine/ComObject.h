// COM objects made by the stand-in engine, counted together so that tests can check every path
// gives back what it made.
#pragma once

#include "StandinComObject.h"
#include "ViewerInterfaces.h"

// The kind every engine-made object is counted as.
struct EngineObjects;

template <class... Interfaces> using ComObject = standin::ComObject<EngineObjects, Interfaces...>;

using standin::MakeComObject;
using standin::NoThrow;
using standin::ReturnInterface;

// Engine-made COM objects alive in this process.
inline LONG LiveEngineObjects() {
    return standin::LiveObjects<EngineObjects>();
}
