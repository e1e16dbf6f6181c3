// Brings a model file into the scene: the engine builds the model's nodes from the file's
// stream (plain form first, packed form second), and the model's root nodes are offered to the
// scene one after the other until one has been added and named.
#include "VelmoraBase.h"

#include "atl/AtlResource.h"

namespace {

// Appends a node to the scene's collection: the position argument is "missing" (VT_ERROR 0).
bool AppendToScene(INodesCollection* pNodes, INodeObject* pNode) {
    VARIANT varMissing;
    ::VariantInit(&varMissing);
    varMissing.vt = VT_ERROR;
    varMissing.scode = 0;
    const HRESULT hr = pNodes->Add(pNode, &varMissing);
    ::VariantClear(&varMissing);
    return SUCCEEDED(hr);
}

// What AddObjectFromModelFile reports through its optional out-parameters.
struct AddedObject {
    CComPtr<INodeObject> spNode;
    CString strNodeName;
    CString strObjectName;
};

void Report(AddedObject& added, CComPtr<INodeObject>* pspNode, CString* pstrNodeName,
            CString* pstrObjectName) {
    if (pspNode)
        *pspNode = static_cast<CComPtr<INodeObject>&&>(added.spNode);
    if (pstrNodeName)
        *pstrNodeName = added.strNodeName;
    if (pstrObjectName)
        *pstrObjectName = added.strObjectName;
}

} // namespace

CComPtr<IMFNodeObject> CVelmoraBase::CreateModelFromStream(CComPtr<IEngine> spEngine,
                                                           CString strPath, bool bPacked) {
    CComPtr<IMFNodeObject> spModel;
    if (!spEngine)
        return spModel;
    CComPtr<IStream> spStream;
    void* hGlobal = nullptr;
    if (!CreateStreamFromFile(spEngine, strPath, &spStream, hGlobal, bPacked))
        return spModel;
    // The stream owns the block: releasing the stream is what frees it.
    if (FAILED(spEngine->CreateNodesFromStream(spStream, &spModel)) || !hGlobal)
        spModel.Release();
    return spModel;
}

bool CVelmoraBase::AddObjectFromModelFile(CComPtr<IEngine> spEngine,
                                          CComPtr<INodesCollection> spNodes, CString strPath,
                                          CComPtr<INodeObject>* pspNode, CString* pstrNodeName,
                                          CString* pstrObjectName) {
    if (!spEngine || !spNodes || strPath.IsEmpty())
        return false;
    // A file that loads in the plain form never reaches the model reader.
    CComPtr<IMFNodeObject> spModel = CreateModelFromStream(spEngine, strPath, false);
    if (!spModel)
        spModel = CreateModelFromStream(spEngine, strPath, true);
    if (!spModel)
        return false;
    LONG nCount = 0;
    if (FAILED(spModel->get_Count(&nCount)))
        return false;

    // The last node fetched, the last name generated and the last object name read: what a
    // failed call reports.
    AddedObject last;
    for (LONG i = 0; i < nCount; ++i) {
        last.spNode.Release();
        if (FAILED(spModel->get_Element(i, &last.spNode)) || !last.spNode)
            continue;
        CString strObjectName;
        if (OperatorSFStringFieldValue(L"_object_name_", last.spNode, strObjectName, true))
            last.strObjectName = strObjectName;
        if (!AppendToScene(spNodes, last.spNode))
            continue;
        // The number is used up even when naming fails; the node then stays in the scene
        // under the name it came with.
        GetObjectName(spEngine, last.strNodeName);
        if (FAILED(last.spNode->put_Name(MakeBstr(last.strNodeName).get())))
            continue;
        AddedObject added{last.spNode, last.strNodeName, strObjectName};
        Report(added, pspNode, pstrNodeName, pstrObjectName);
        return true;
    }
    Report(last, pspNode, pstrNodeName, pstrObjectName);
    return false;
}
