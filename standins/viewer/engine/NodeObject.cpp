#include "NodeObject.h"

#include <set>

#include "FieldObjects.h"

namespace {

// Answered only by the engine's own nodes; gives the object itself.
constexpr IID kIidStandinNode = {
    0x8D27C4E1, 0x5A93, 0x4F0B, {0xB6, 0x1E, 0x3C, 0x70, 0xA2, 0x59, 0xE4, 0x17}};

// A node's fields, by name (VT_BSTR) or by index (any number).
class FieldsCollection final : public ComObject<IFieldsCollection> {
public:
    explicit FieldsCollection(NodeObject* pNode) : m_spNode(pNode) {}

    HRESULT STDMETHODCALLTYPE get_Item(VARIANT* pvarKey, IFieldObject** ppField) override {
        if (!ppField)
            return E_POINTER;
        *ppField = nullptr;
        if (!pvarKey)
            return E_POINTER;
        const int nField = FindField(*pvarKey);
        if (nField < 0)
            return E_INVALIDARG;
        return CreateFieldObject(m_spNode, static_cast<size_t>(nField), ppField);
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        if (!pnCount)
            return E_POINTER;
        *pnCount = static_cast<LONG>(m_spNode->Type().fields.size());
        return S_OK;
    }

private:
    int FindField(const VARIANT& key) const {
        const NodeType& type = m_spNode->Type();
        if (V_VT(&key) == VT_BSTR || V_VT(&key) == (VT_BSTR | VT_BYREF)) {
            const BSTR bstrName = V_VT(&key) == VT_BSTR ? V_BSTR(&key) : *V_BSTRREF(&key);
            return type.FindField(std::wstring_view(bstrName ? bstrName : L"",
                                                    bstrName ? SysStringLen(bstrName) : 0));
        }
        VARIANT varIndex;
        VariantInit(&varIndex);
        if (FAILED(VariantChangeType(&varIndex, const_cast<VARIANT*>(&key), 0, VT_I4)))
            return -1;
        const LONG nIndex = V_I4(&varIndex);
        return nIndex >= 0 && static_cast<size_t>(nIndex) < type.fields.size()
                   ? static_cast<int>(nIndex)
                   : -1;
    }

    CComPtr<NodeObject> m_spNode;
};

} // namespace

NodeObject::NodeObject(EngineStatePtr spState, NodeTypePtr spType, std::wstring name,
                       std::vector<FieldValue> values)
    : m_spState(std::move(spState)), m_spType(std::move(spType)), m_name(std::move(name)),
      m_values(std::move(values)) {}

HRESULT NodeObject::SetValue(size_t nField, FieldValue value) {
    for (const CComPtr<INodeObject>& spNode : value.nodes) {
        const NodeObject* pNode = AsStandinNode(spNode);
        if (!pNode || pNode->Contains(this))
            return E_INVALIDARG;
    }
    m_values[nField] = std::move(value);
    if (EngineListener* pListener = m_spState->pListener)
        pListener->SceneChanged();
    return S_OK;
}

bool NodeObject::Contains(const NodeObject* pNode) const {
    std::set<const NodeObject*> visited;
    std::vector<const NodeObject*> pending{this};
    while (!pending.empty()) {
        const NodeObject* pCurrent = pending.back();
        pending.pop_back();
        if (pCurrent == pNode)
            return true;
        if (!visited.insert(pCurrent).second)
            continue;
        for (const FieldValue& value : pCurrent->m_values)
            for (const CComPtr<INodeObject>& spChild : value.nodes)
                if (const NodeObject* pChild = AsStandinNode(spChild))
                    pending.push_back(pChild);
    }
    return false;
}

HRESULT NodeObject::put_Name(BSTR bstrName) {
    if (EngineState::TakeFailure(m_spState->nNamesToFail))
        return E_FAIL;
    m_name.assign(bstrName ? bstrName : L"", bstrName ? SysStringLen(bstrName) : 0);
    return S_OK;
}

HRESULT NodeObject::get_Name(BSTR* pbstrName) {
    return AllocBstr(m_name, pbstrName);
}

HRESULT NodeObject::get_TypeName(BSTR* pbstrType) {
    return AllocBstr(m_spType->wideName, pbstrType);
}

HRESULT NodeObject::get_Fields(IFieldsCollection** ppFields) {
    if (!ppFields)
        return E_POINTER;
    *ppFields = nullptr;
    return NoThrow([&] {
        *ppFields = MakeComObject<FieldsCollection>(this).Detach();
        return S_OK;
    });
}

void* NodeObject::FindExtraInterface(REFIID riid) {
    return riid == kIidStandinNode ? this : nullptr;
}

CComPtr<INodeObject> CreateNodeObject(EngineStatePtr spState, NodeTypePtr spType, std::wstring name,
                                      std::vector<FieldValue> values) {
    return CComPtr<INodeObject>(MakeComObject<NodeObject>(std::move(spState), std::move(spType),
                                                          std::move(name), std::move(values)));
}

NodeObject* AsStandinNode(INodeObject* pNode) {
    void* pv = nullptr;
    if (!pNode || FAILED(pNode->QueryInterface(kIidStandinNode, &pv)) || !pv)
        return nullptr;
    NodeObject* pStandin = static_cast<NodeObject*>(pv);
    pStandin->Release(); // borrowed: the caller holds the node
    return pStandin;
}

HRESULT AllocBstr(const std::wstring& text, BSTR* pbstr) {
    if (!pbstr)
        return E_POINTER;
    *pbstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *pbstr ? S_OK : E_OUTOFMEMORY;
}
