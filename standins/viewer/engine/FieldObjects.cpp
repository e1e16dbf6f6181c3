#include "FieldObjects.h"

#include "VariantValues.h"

namespace {

template <class I> class FieldObject : public ComObject<I> {
public:
    FieldObject(NodeObject* pNode, size_t nField) : m_spNode(pNode), m_nField(nField) {}

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* pbstrName) override {
        return AllocBstr(Decl().wideName, pbstrName);
    }
    HRESULT STDMETHODCALLTYPE get_Type(LONG* pnType) override {
        if (!pnType)
            return E_POINTER;
        *pnType = Decl().type;
        return S_OK;
    }

protected:
    void* FindExtraInterface(REFIID riid) override {
        return riid == IID_IFieldObject ? static_cast<IFieldObject*>(this) : nullptr;
    }
    const FieldDecl& Decl() const { return m_spNode->Type().fields[m_nField]; }
    const FieldTypeInfo& TypeInfo() const { return FieldTypeOf(Decl().type); }
    const FieldValue& Value() const { return m_spNode->Value(m_nField); }
    HRESULT SetValue(FieldValue value) { return m_spNode->SetValue(m_nField, std::move(value)); }

private:
    CComPtr<NodeObject> m_spNode;
    size_t m_nField;
};

// get_Value gives null for NULL; put_Value takes null as NULL.
class SFNodeField final : public FieldObject<ISFNodeObject> {
public:
    using FieldObject::FieldObject;

    HRESULT STDMETHODCALLTYPE get_Value(INodeObject** ppNode) override {
        const auto& nodes = Value().nodes;
        return ReturnInterface<INodeObject>(nodes.empty() ? nullptr : nodes[0].p, ppNode);
    }
    HRESULT STDMETHODCALLTYPE put_Value(INodeObject* pNode) override {
        return NoThrow([&] {
            FieldValue value;
            if (pNode)
                value.nodes.emplace_back(pNode);
            return SetValue(std::move(value));
        });
    }
};

class SFStringField final : public FieldObject<ISFStringObject> {
public:
    using FieldObject::FieldObject;

    HRESULT STDMETHODCALLTYPE get_Value(BSTR* pbstrValue) override {
        return AllocBstr(Value().strings[0], pbstrValue);
    }
    HRESULT STDMETHODCALLTYPE put_Value(BSTR bstrValue) override {
        return NoThrow([&] {
            FieldValue value;
            value.strings.emplace_back(bstrValue ? bstrValue : L"",
                                       bstrValue ? SysStringLen(bstrValue) : 0);
            return SetValue(std::move(value));
        });
    }
};

// put_Element at the index equal to the count appends, so the first element of an empty
// list can be written.
class MFStringField final : public FieldObject<IMFStringObject> {
public:
    using FieldObject::FieldObject;

    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        if (!pnCount)
            return E_POINTER;
        *pnCount = static_cast<LONG>(Value().strings.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Element(LONG nIndex, BSTR* pbstrValue) override {
        if (!pbstrValue)
            return E_POINTER;
        *pbstrValue = nullptr;
        const auto& strings = Value().strings;
        if (nIndex < 0 || static_cast<size_t>(nIndex) >= strings.size())
            return E_INVALIDARG;
        return AllocBstr(strings[static_cast<size_t>(nIndex)], pbstrValue);
    }
    HRESULT STDMETHODCALLTYPE put_Element(LONG nIndex, BSTR bstrValue) override {
        if (nIndex < 0 || static_cast<size_t>(nIndex) > Value().strings.size())
            return E_INVALIDARG;
        return NoThrow([&] {
            FieldValue value = Value();
            std::wstring text(bstrValue ? bstrValue : L"", bstrValue ? SysStringLen(bstrValue) : 0);
            if (static_cast<size_t>(nIndex) == value.strings.size())
                value.strings.push_back(std::move(text));
            else
                value.strings[static_cast<size_t>(nIndex)] = std::move(text);
            return SetValue(std::move(value));
        });
    }
};

// Values as VARIANTs: the vector types and every type without an interface of its own.
template <class I> class VariantField final : public FieldObject<I> {
public:
    using FieldObject<I>::FieldObject;

    HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pvarValue) override {
        return ValueToVariant(this->TypeInfo(), this->Value(), pvarValue);
    }
    HRESULT STDMETHODCALLTYPE put_Value(VARIANT varValue) override {
        return NoThrow([&] {
            FieldValue value;
            const HRESULT hr = VariantToValue(this->TypeInfo(), varValue, value);
            return FAILED(hr) ? hr : this->SetValue(std::move(value));
        });
    }
};

using FieldFactory = IFieldObject* (*)(NodeObject* pNode, size_t nField);

template <class T> IFieldObject* MakeField(NodeObject* pNode, size_t nField) {
    return static_cast<IFieldObject*>(new T(pNode, nField));
}

struct FieldInterface {
    VrmlFieldType type;
    FieldFactory make;
};

constexpr FieldInterface kOwnInterfaces[] = {
    {VRML_SFNODE, MakeField<SFNodeField>},
    {VRML_SFSTRING, MakeField<SFStringField>},
    {VRML_MFSTRING, MakeField<MFStringField>},
    {VRML_SFVEC2F, MakeField<VariantField<ISFVec2fObject>>},
    {VRML_SFVEC3F, MakeField<VariantField<ISFVec3fObject>>},
    {VRML_SFROTATION, MakeField<VariantField<ISFRotationObject>>},
};

} // namespace

HRESULT CreateFieldObject(NodeObject* pNode, size_t nField, IFieldObject** ppField) {
    if (!ppField)
        return E_POINTER;
    const VrmlFieldType type = pNode->Type().fields[nField].type;
    FieldFactory make = MakeField<VariantField<IVariantFieldObject>>;
    for (const FieldInterface& entry : kOwnInterfaces)
        if (entry.type == type)
            make = entry.make;
    *ppField = nullptr;
    return NoThrow([&] {
        *ppField = make(pNode, nField);
        return S_OK;
    });
}
