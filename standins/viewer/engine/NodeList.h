// The count and indexed access that every list of nodes the engine hands out (the scene's
// nodes, a model's root nodes) answers alike.
#pragma once

#include <vector>

#include "ComObject.h"

inline HRESULT NodeListCount(const std::vector<CComPtr<INodeObject>>& nodes, LONG* pnCount) {
    if (!pnCount)
        return E_POINTER;
    *pnCount = static_cast<LONG>(nodes.size());
    return S_OK;
}

// *ppNode receives the node at nIndex with a reference, or null when there is none.
inline HRESULT NodeListItem(const std::vector<CComPtr<INodeObject>>& nodes, LONG nIndex,
                            INodeObject** ppNode) {
    if (!ppNode)
        return E_POINTER;
    *ppNode = nullptr;
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= nodes.size())
        return E_INVALIDARG;
    return ReturnInterface<INodeObject>(nodes[static_cast<size_t>(nIndex)], ppNode);
}
