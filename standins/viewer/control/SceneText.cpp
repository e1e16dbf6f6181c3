// The text lines the stand-in viewer paints, read through the engine's own interfaces.
#include "SceneText.h"

#include <cwchar>

#include "atl/AtlComPtr.h"
#include "atl/AtlResource.h"

namespace {

std::wstring NodeLine(INodeObject* pNode) {
    CUniqueBstr bstrType, bstrName;
    pNode->get_TypeName(bstrType.put());
    pNode->get_Name(bstrName.put());
    std::wstring line = bstrType ? bstrType.get() : L"?";
    if (bstrName && *bstrName.get())
        line += std::wstring(L" ") + bstrName.get();
    return line;
}

std::wstring ViewLine(IEngine* pEngine) {
    CComPtr<IServiceProvider> spProvider;
    CComPtr<I3DViewService4> spView;
    ViewRecord view{};
    if (FAILED(
            pEngine->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&spProvider))) ||
        FAILED(spProvider->QueryService(IID_I3DViewService4, IID_I3DViewService4,
                                        reinterpret_cast<void**>(&spView))) ||
        FAILED(spView->GetView(&view)))
        return L"view: none";
    wchar_t sz[96];
    swprintf(sz, 96, L"view: pan x %.2f, pan y %.2f", view.fPanX, view.fPanY);
    return sz;
}

} // namespace

std::vector<std::wstring> DescribeScene(IEngine* pEngine) {
    std::vector<std::wstring> lines;
    if (!pEngine)
        return lines;
    CComPtr<INodesCollection> spNodes;
    LONG nCount = 0;
    if (SUCCEEDED(pEngine->get_Nodes(&spNodes)) && spNodes)
        spNodes->get_Count(&nCount);
    lines.push_back(L"scene: " + std::to_wstring(nCount) + L" root node(s)");
    for (LONG i = 0; i < nCount; ++i) {
        CComPtr<INodeObject> spNode;
        if (SUCCEEDED(spNodes->get_Item(i, &spNode)) && spNode)
            lines.push_back(L"  " + NodeLine(spNode));
    }
    lines.push_back(ViewLine(pEngine));
    return lines;
}
