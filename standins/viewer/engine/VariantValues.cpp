#include "VariantValues.h"

#include "atl/AtlResource.h"

namespace {

// The VARIANT type one element of a kind travels as.
VARTYPE ElementType(ValueKind kind) {
    switch (kind) {
    case ValueKind::Bool:
        return VT_BOOL;
    case ValueKind::Int32:
    case ValueKind::Image:
        return VT_I4;
    case ValueKind::Float:
        return VT_R4;
    case ValueKind::Time:
        return VT_R8;
    case ValueKind::String:
        return VT_BSTR;
    case ValueKind::Node:
        break;
    }
    return VT_UNKNOWN;
}

size_t ElementCount(ValueKind kind, const FieldValue& value) {
    switch (kind) {
    case ValueKind::Bool:
    case ValueKind::Int32:
    case ValueKind::Image:
        return value.ints.size();
    case ValueKind::Float:
        return value.floats.size();
    case ValueKind::Time:
        return value.times.size();
    case ValueKind::String:
        return value.strings.size();
    case ValueKind::Node:
        break;
    }
    return value.nodes.size();
}

// *pvar is empty on entry.
HRESULT ElementToVariant(ValueKind kind, const FieldValue& value, size_t i, VARIANT* pvar) {
    switch (kind) {
    case ValueKind::Bool:
        V_BOOL(pvar) = value.ints[i] ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case ValueKind::Int32:
    case ValueKind::Image:
        V_I4(pvar) = value.ints[i];
        break;
    case ValueKind::Float:
        V_R4(pvar) = value.floats[i];
        break;
    case ValueKind::Time:
        V_R8(pvar) = value.times[i];
        break;
    case ValueKind::String:
        V_BSTR(pvar) =
            SysAllocStringLen(value.strings[i].data(), static_cast<UINT>(value.strings[i].size()));
        if (!V_BSTR(pvar))
            return E_OUTOFMEMORY;
        break;
    case ValueKind::Node:
        V_UNKNOWN(pvar) = value.nodes[i];
        V_UNKNOWN(pvar)->AddRef();
        break;
    }
    V_VT(pvar) = ElementType(kind);
    return S_OK;
}

bool TravelsAsScalar(const FieldTypeInfo& type) {
    return !type.bMulti && type.nComponents == 1 && type.kind != ValueKind::Image;
}

// Converts one element and appends it to the value.
HRESULT AppendElement(ValueKind kind, const VARIANT& varElement, FieldValue& value) {
    CUniqueVariant varConverted;
    if (FAILED(VariantChangeType(&varConverted, const_cast<VARIANT*>(&varElement), 0,
                                 ElementType(kind))))
        return DISP_E_TYPEMISMATCH;
    switch (kind) {
    case ValueKind::Bool:
        value.ints.push_back(V_BOOL(&varConverted) ? 1 : 0);
        break;
    case ValueKind::Int32:
    case ValueKind::Image:
        value.ints.push_back(V_I4(&varConverted));
        break;
    case ValueKind::Float:
        value.floats.push_back(V_R4(&varConverted));
        break;
    case ValueKind::Time:
        value.times.push_back(V_R8(&varConverted));
        break;
    case ValueKind::String: {
        const BSTR bstr = V_BSTR(&varConverted);
        value.strings.emplace_back(bstr ? bstr : L"", bstr ? SysStringLen(bstr) : 0);
        break;
    }
    case ValueKind::Node: {
        CComPtr<INodeObject> spNode;
        if (!V_UNKNOWN(&varConverted) ||
            FAILED(V_UNKNOWN(&varConverted)
                       ->QueryInterface(IID_INodeObject, reinterpret_cast<void**>(&spNode))))
            return DISP_E_TYPEMISMATCH;
        value.nodes.push_back(std::move(spNode));
        break;
    }
    }
    return S_OK;
}

// Element types an array may hold besides VARIANTs: numbers, booleans, texts, objects.
bool IsScalarElementType(VARTYPE vt) {
    switch (vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_BSTR:
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return true;
    default:
        return false;
    }
}

HRESULT AppendArray(ValueKind kind, const VARIANT& varValue, FieldValue& value) {
    SAFEARRAY* psa = nullptr;
    if (V_VT(&varValue) & VT_BYREF)
        psa = V_ARRAYREF(&varValue) ? *V_ARRAYREF(&varValue) : nullptr;
    else
        psa = V_ARRAY(&varValue);
    const VARTYPE vtElement = V_VT(&varValue) & VT_TYPEMASK;
    if (!psa || SafeArrayGetDim(psa) != 1 ||
        (vtElement != VT_VARIANT && !IsScalarElementType(vtElement)))
        return E_INVALIDARG;
    LONG nLower = 0;
    LONG nUpper = -1;
    if (FAILED(SafeArrayGetLBound(psa, 1, &nLower)) || FAILED(SafeArrayGetUBound(psa, 1, &nUpper)))
        return E_INVALIDARG;
    for (LONG i = nLower; i <= nUpper; ++i) {
        CUniqueVariant varElement;
        void* pTarget = vtElement == VT_VARIANT ? static_cast<void*>(&varElement)
                                                : static_cast<void*>(&V_UI1(&varElement));
        if (FAILED(SafeArrayGetElement(psa, &i, pTarget)))
            return E_INVALIDARG;
        if (vtElement != VT_VARIANT)
            V_VT(&varElement) = vtElement;
        const HRESULT hr = AppendElement(kind, varElement, value);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool FitsType(const FieldTypeInfo& type, const FieldValue& value) {
    const size_t nCount = ElementCount(type.kind, value);
    if (type.kind == ValueKind::Image) {
        if (nCount < 3 || value.ints[0] < 0 || value.ints[1] < 0 || value.ints[2] < 0 ||
            value.ints[2] > 4)
            return false;
        return nCount - 3 == static_cast<size_t>(int64_t{value.ints[0]} * value.ints[1]);
    }
    const size_t nComponents = static_cast<size_t>(type.nComponents);
    return type.bMulti ? nCount % nComponents == 0 : nCount == nComponents;
}

} // namespace

HRESULT ValueToVariant(const FieldTypeInfo& type, const FieldValue& value, VARIANT* pvarValue) {
    if (!pvarValue)
        return E_POINTER;
    VariantInit(pvarValue);
    const size_t nCount = ElementCount(type.kind, value);
    if (TravelsAsScalar(type))
        return nCount == 0 ? S_OK : ElementToVariant(type.kind, value, 0, pvarValue);

    CUniqueSafeArray spArray(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(nCount)));
    if (!spArray)
        return E_OUTOFMEMORY;
    VARIANT* pElements = nullptr;
    if (FAILED(SafeArrayAccessData(spArray.get(), reinterpret_cast<void**>(&pElements))))
        return E_FAIL;
    HRESULT hr = S_OK;
    for (size_t i = 0; i < nCount && SUCCEEDED(hr); ++i)
        hr = ElementToVariant(type.kind, value, i, &pElements[i]);
    SafeArrayUnaccessData(spArray.get());
    if (FAILED(hr))
        return hr;
    V_VT(pvarValue) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(pvarValue) = spArray.release();
    return S_OK;
}

HRESULT VariantToValue(const FieldTypeInfo& type, const VARIANT& varValue, FieldValue& value) {
    value = FieldValue();
    const VARTYPE vt = V_VT(&varValue);
    HRESULT hr = S_OK;
    if (vt & VT_ARRAY)
        hr = AppendArray(type.kind, varValue, value);
    else if (!(type.kind == ValueKind::Node && (vt == VT_EMPTY || vt == VT_NULL)))
        hr = AppendElement(type.kind, varValue, value);
    if (FAILED(hr))
        return hr;
    if (type.kind == ValueKind::Node && !type.bMulti)
        return value.nodes.size() <= 1 ? S_OK : E_INVALIDARG;
    return FitsType(type, value) ? S_OK : E_INVALIDARG;
}
