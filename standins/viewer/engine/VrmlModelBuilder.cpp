#include "VrmlModelBuilder.h"

HRESULT BuildModelFromStream(const EngineStatePtr&, IStream* pStream, IMFNodeObject** ppModel) {
    if (!pStream || !ppModel)
        return E_POINTER;
    *ppModel = nullptr;
    return E_NOTIMPL;
}
