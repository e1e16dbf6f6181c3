// The stand-in viewer's scene engine, as the control that owns it sees it.
//
// The engine is a COM object offering IEngine (nodes from VRML text, the node collection, the
// seed) and IServiceProvider (the view service). The control creates it, lends it a listener
// for the events that scene changes raise, and takes the listener back before it goes away:
// hosts may keep engine references longer than the control lives.
#pragma once

#include "ViewerInterfaces.h"

// What the engine reports to its control. Called on the thread that changed the scene.
class EngineListener {
public:
    virtual void SceneLoaded(short nStatus) = 0; // a node was added to the scene
    virtual void SceneUnloaded() = 0;            // the scene was cleared
    virtual void CameraMoved(long nReason) = 0;  // a view was set
    virtual void SceneChanged() = 0;             // anything shown changed: repaint

protected:
    ~EngineListener() = default;
};

// Creates an engine with an empty scene.
HRESULT CreateStandinEngine(IEngine** ppEngine);

// Lends the engine a listener; null takes it back. pEngine must come from CreateStandinEngine.
void SetEngineListener(IEngine* pEngine, EngineListener* pListener);
