// What an engine and the objects it made share: the listener, the current view, the seed, and
// the failures tests asked for. Nodes keep it alive, so a node may outlive its engine.
#pragma once

#include <memory>

#include "StandinEngine.h"

struct EngineState {
    EngineListener* pListener = nullptr;
    ViewRecord view{0.0f, 0.0f, 10.0f, {0.0f, 0.0f, 1.0f}, 0.0f, 0.785398f, {}};
    bool bSeedAvailable = true;
    LONG nSeedCount = 1;
    LONG nAddsToRefuse = 0;
    LONG nNamesToFail = 0;
    LONG nGetViewCalls = 0;
    LONG nSetViewCalls = 0;

    // Uses up one requested failure of a kind; true when this call is to fail.
    static bool TakeFailure(LONG& nRemaining) {
        if (nRemaining <= 0)
            return false;
        --nRemaining;
        return true;
    }
};

using EngineStatePtr = std::shared_ptr<EngineState>;
