// Test-only controls of a stand-in engine, reached by QueryInterface on the engine: they make
// the engine refuse or fail on request and report what it was asked to do.
#pragma once

#include "ViewerInterfaces.h"

struct IEngineTestHooks : public IUnknown {
    // The seed object: offered or not by get_Seed, and the count it reports.
    virtual HRESULT STDMETHODCALLTYPE SetSeed(BOOL bAvailable, LONG nCount) = 0;
    // The next nCalls Add calls on the node collection fail and add nothing.
    virtual HRESULT STDMETHODCALLTYPE RefuseNextAdds(LONG nCalls) = 0;
    // The next nCalls put_Name calls on nodes this engine made fail and keep the old name.
    virtual HRESULT STDMETHODCALLTYPE FailNextNames(LONG nCalls) = 0;
    // How often the view service was asked for the view and given one.
    virtual HRESULT STDMETHODCALLTYPE GetViewCallCounts(LONG* pnGetView, LONG* pnSetView) = 0;
    // Engine-made COM objects alive in this process (engines, nodes, fields, collections).
    virtual HRESULT STDMETHODCALLTYPE GetLiveObjectCount(LONG* pnObjects) = 0;
};
VELMORA_DECLARE_IID(IEngineTestHooks, 0x3F1D2A84, 0x6B0E, 0x4C57, 0x9E, 0x13, 0xA8, 0x42, 0x7C,
                    0x05, 0xD9, 0x6B)
