#include "SceneServices.h"

#include <vector>

#include "NodeList.h"

namespace {

// The nodes of the scene. Adding a node shows it: the listener hears of a loaded scene and a
// change to repaint.
class NodesCollection final : public ComObject<INodesCollection> {
public:
    explicit NodesCollection(EngineStatePtr spState) : m_spState(std::move(spState)) {}

    HRESULT STDMETHODCALLTYPE Add(INodeObject* pNode, VARIANT* pvarBefore) override {
        if (!pNode)
            return E_POINTER;
        size_t nPosition = m_nodes.size();
        const HRESULT hr = InsertPosition(pvarBefore, nPosition);
        if (FAILED(hr))
            return hr;
        if (EngineState::TakeFailure(m_spState->nAddsToRefuse))
            return E_FAIL;
        const HRESULT hrInsert = NoThrow([&] {
            m_nodes.insert(m_nodes.begin() + static_cast<ptrdiff_t>(nPosition), CComPtr(pNode));
            return S_OK;
        });
        if (FAILED(hrInsert))
            return hrInsert;
        if (EngineListener* pListener = m_spState->pListener) {
            pListener->SceneLoaded(1);
            pListener->SceneChanged();
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        return NodeListCount(m_nodes, pnCount);
    }
    HRESULT STDMETHODCALLTYPE get_Item(LONG nIndex, INodeObject** ppNode) override {
        return NodeListItem(m_nodes, nIndex, ppNode);
    }

private:
    // A missing argument (VT_ERROR), an empty one or none appends; a number inserts before
    // that index, where the count itself appends.
    HRESULT InsertPosition(VARIANT* pvarBefore, size_t& nPosition) const {
        if (!pvarBefore || V_VT(pvarBefore) == VT_ERROR || V_VT(pvarBefore) == VT_EMPTY)
            return S_OK;
        VARIANT varIndex;
        VariantInit(&varIndex);
        if (FAILED(VariantChangeType(&varIndex, pvarBefore, 0, VT_I4)))
            return E_INVALIDARG;
        const LONG nIndex = V_I4(&varIndex);
        if (nIndex < 0 || static_cast<size_t>(nIndex) > m_nodes.size())
            return E_INVALIDARG;
        nPosition = static_cast<size_t>(nIndex);
        return S_OK;
    }

    EngineStatePtr m_spState;
    std::vector<CComPtr<INodeObject>> m_nodes;
};

class SeedObject final : public ComObject<ISeedObject> {
public:
    explicit SeedObject(EngineStatePtr spState) : m_spState(std::move(spState)) {}

    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        if (!pnCount)
            return E_POINTER;
        *pnCount = m_spState->nSeedCount;
        return S_OK;
    }

private:
    EngineStatePtr m_spState;
};

// Keeps the current view; setting one moves the camera, which the listener hears of.
class ViewService final : public ComObject<I3DViewService4> {
public:
    explicit ViewService(EngineStatePtr spState) : m_spState(std::move(spState)) {}

    HRESULT STDMETHODCALLTYPE GetView(ViewRecord* pView) override {
        ++m_spState->nGetViewCalls;
        if (!pView)
            return E_POINTER;
        *pView = m_spState->view;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetView(const ViewRecord* pView, LONG nFlags) override {
        ++m_spState->nSetViewCalls;
        if (!pView)
            return E_POINTER;
        m_spState->view = *pView;
        if (EngineListener* pListener = m_spState->pListener) {
            pListener->CameraMoved(nFlags);
            pListener->SceneChanged();
        }
        return S_OK;
    }

private:
    EngineStatePtr m_spState;
};

} // namespace

CComPtr<INodesCollection> CreateNodesCollection(const EngineStatePtr& spState) {
    return CComPtr<INodesCollection>(MakeComObject<NodesCollection>(spState));
}

CComPtr<ISeedObject> CreateSeedObject(const EngineStatePtr& spState) {
    return CComPtr<ISeedObject>(MakeComObject<SeedObject>(spState));
}

CComPtr<I3DViewService4> CreateViewService(const EngineStatePtr& spState) {
    return CComPtr<I3DViewService4>(MakeComObject<ViewService>(spState));
}
