// Builds the nodes of a model from VRML97 classic text read from a stream.
#pragma once

#include "EngineState.h"

// *ppModel receives the model's root nodes. Text that is not VRML, or not valid VRML, is
// refused with a failure and *ppModel stays null: no partial scene.
HRESULT BuildModelFromStream(const EngineStatePtr& spState, IStream* pStream,
                             IMFNodeObject** ppModel);
