// A node the engine built: its type, its name, and its field values, which its field objects
// read and write.
#pragma once

#include <string>
#include <vector>

#include "ComObject.h"
#include "EngineState.h"
#include "VrmlTypes.h"

class NodeObject final : public ComObject<INodeObject> {
public:
    NodeObject(EngineStatePtr spState, NodeTypePtr spType, std::wstring name,
               std::vector<FieldValue> values);

    const NodeType& Type() const { return *m_spType; }
    const FieldValue& Value(size_t nField) const { return m_values[nField]; }
    // Replaces a field's value. Node values must be this engine's kind of node and must not
    // contain this node (a node cannot be its own descendant).
    HRESULT SetValue(size_t nField, FieldValue value);

    HRESULT STDMETHODCALLTYPE put_Name(BSTR bstrName) override;
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* pbstrName) override;
    HRESULT STDMETHODCALLTYPE get_TypeName(BSTR* pbstrType) override;
    HRESULT STDMETHODCALLTYPE get_Fields(IFieldsCollection** ppFields) override;

protected:
    void* FindExtraInterface(REFIID riid) override;

private:
    bool Contains(const NodeObject* pNode) const;

    EngineStatePtr m_spState;
    NodeTypePtr m_spType;
    std::wstring m_name;
    std::vector<FieldValue> m_values;
};

CComPtr<INodeObject> CreateNodeObject(EngineStatePtr spState, NodeTypePtr spType, std::wstring name,
                                      std::vector<FieldValue> values);

// The engine's node behind an interface (borrowed), or null for a node made elsewhere.
NodeObject* AsStandinNode(INodeObject* pNode);

// A BSTR holding the whole text, embedded NULs included.
HRESULT AllocBstr(const std::wstring& text, BSTR* pbstr);
