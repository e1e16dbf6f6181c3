// The scene-wide objects an engine offers: its node collection, its seed object and its view
// service.
#pragma once

#include "ComObject.h"
#include "EngineState.h"

CComPtr<INodesCollection> CreateNodesCollection(const EngineStatePtr& spState);
CComPtr<ISeedObject> CreateSeedObject(const EngineStatePtr& spState);
CComPtr<I3DViewService4> CreateViewService(const EngineStatePtr& spState);
