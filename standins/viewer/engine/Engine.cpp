// The stand-in engine: the scene's node collection, the seed, the view service and the
// building of nodes from VRML text.
#include "StandinEngine.h"

#include <servprov.h>

#include "ComObject.h"
#include "EngineState.h"
#include "EngineTestHooks.h"
#include "SceneServices.h"
#include "VrmlModelBuilder.h"

namespace {

class StandinEngine final : public ComObject<IEngine, IServiceProvider, IEngineTestHooks> {
public:
    StandinEngine()
        : m_spState(std::make_shared<EngineState>()), m_spNodes(CreateNodesCollection(m_spState)),
          m_spViewService(CreateViewService(m_spState)) {}

    void SetListener(EngineListener* pListener) { m_spState->pListener = pListener; }

    // IEngine
    HRESULT STDMETHODCALLTYPE get_Nodes(INodesCollection** ppNodes) override {
        return ReturnInterface<INodesCollection>(m_spNodes, ppNodes);
    }
    HRESULT STDMETHODCALLTYPE CreateNodesFromStream(IStream* pStream,
                                                    IMFNodeObject** ppModel) override {
        return BuildModelFromStream(m_spState, pStream, ppModel);
    }
    HRESULT STDMETHODCALLTYPE get_Seed(IUnknown** ppSeed) override {
        if (!ppSeed)
            return E_POINTER;
        *ppSeed = nullptr;
        if (!m_spState->bSeedAvailable)
            return E_FAIL;
        return NoThrow([&] {
            *ppSeed = CreateSeedObject(m_spState).Detach();
            return S_OK;
        });
    }

    // IServiceProvider: the view service is the one service offered.
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID guidService, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (guidService != IID_I3DViewService4)
            return E_NOINTERFACE;
        return m_spViewService->QueryInterface(riid, ppv);
    }

    // IEngineTestHooks
    HRESULT STDMETHODCALLTYPE SetSeed(BOOL bAvailable, LONG nCount) override {
        m_spState->bSeedAvailable = bAvailable != FALSE;
        m_spState->nSeedCount = nCount;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RefuseNextAdds(LONG nCalls) override {
        m_spState->nAddsToRefuse = nCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FailNextNames(LONG nCalls) override {
        m_spState->nNamesToFail = nCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetViewCallCounts(LONG* pnGetView, LONG* pnSetView) override {
        if (!pnGetView || !pnSetView)
            return E_POINTER;
        *pnGetView = m_spState->nGetViewCalls;
        *pnSetView = m_spState->nSetViewCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLiveObjectCount(LONG* pnObjects) override {
        if (!pnObjects)
            return E_POINTER;
        *pnObjects = LiveEngineObjects();
        return S_OK;
    }

private:
    EngineStatePtr m_spState;
    CComPtr<INodesCollection> m_spNodes;
    CComPtr<I3DViewService4> m_spViewService;
};

} // namespace

HRESULT CreateStandinEngine(IEngine** ppEngine) {
    if (!ppEngine)
        return E_POINTER;
    *ppEngine = nullptr;
    return NoThrow([&] {
        *ppEngine = MakeComObject<StandinEngine>().Detach();
        return S_OK;
    });
}

void SetEngineListener(IEngine* pEngine, EngineListener* pListener) {
    // Only this engine offers the test hooks, so another engine is left alone.
    CComPtr<IEngineTestHooks> spHooks;
    if (pEngine && SUCCEEDED(pEngine->QueryInterface(IID_IEngineTestHooks,
                                                     reinterpret_cast<void**>(&spHooks))))
        static_cast<StandinEngine*>(spHooks.p)->SetListener(pListener);
}
