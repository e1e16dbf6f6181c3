// Field lookup by name and the six field operators. The operators share one path (find the
// field, ask it for its type's interface, read or write through the type table) and differ
// only in how the host's value moves into and out of the carrier.
#include "VelmoraBase.h"

#include "scene/FieldTypes.h"

namespace {

// fillCarrier (write only) puts the host's value into the carrier and may refuse;
// takeCarrier (read only, after the viewer's call succeeded) moves the value to the host.
template <class FillCarrier, class TakeCarrier>
bool OperateField(CVelmoraBase& host, FieldType type, const CString& strFieldName,
                  const CComPtr<INodeObject>& spNode, bool bRead, FillCarrier fillCarrier,
                  TakeCarrier takeCarrier) {
    if (!spNode)
        return false;
    const CComPtr<IFieldObject> spField = host.GetFieldObject(spNode, strFieldName);
    if (!spField)
        return false;
    const FieldTypeInfo& info = GetFieldTypeInfo(type);
    CComPtr<IUnknown> spTypeInterface;
    if (FAILED(spField->QueryInterface(*info.piid, reinterpret_cast<void**>(&spTypeInterface))) ||
        !spTypeInterface)
        return false;
    FieldCarrier carrier;
    if (bRead) {
        if (FAILED(info.read(spTypeInterface, carrier)))
            return false;
        takeCarrier(carrier);
        return true;
    }
    return fillCarrier(carrier) && SUCCEEDED(info.write(spTypeInterface, carrier));
}

bool OperateTextField(CVelmoraBase& host, FieldType type, const CString& strFieldName,
                      const CComPtr<INodeObject>& spNode, CString& strValue, bool bRead) {
    return OperateField(
        host, type, strFieldName, spNode, bRead,
        [&strValue](FieldCarrier& c) {
            c.bstrText = MakeBstr(strValue);
            return true;
        },
        // The text up to its first NUL; a null BSTR is the empty text.
        [&strValue](FieldCarrier& c) { strValue = CString(c.bstrText.get()); });
}

// Reading succeeds with the viewer's call, even when the value it returned does not unpack.
bool OperateVectorField(CVelmoraBase& host, FieldType type, int nFloats,
                        const CString& strFieldName, const CComPtr<INodeObject>& spNode,
                        float* pValues, bool bRead) {
    if (!pValues)
        return false;
    return OperateField(
        host, type, strFieldName, spNode, bRead,
        [&](FieldCarrier& c) { return host.Pack_ArrayToVariant(&c.varArray, pValues, nFloats); },
        [&](FieldCarrier& c) { host.Unpack_VariantToArray(&c.varArray, pValues, nFloats); });
}

} // namespace

CComPtr<IFieldObject> CVelmoraBase::GetFieldObject(CComPtr<INodeObject> spNode,
                                                   CString strFieldName) {
    CComPtr<IFieldObject> spField;
    if (!spNode)
        return spField;
    CComPtr<IFieldsCollection> spFields;
    if (FAILED(spNode->get_Fields(&spFields)) || !spFields)
        return spField;
    CUniqueVariant varKey;
    varKey.bstrVal = MakeBstr(strFieldName).release();
    varKey.vt = VT_BSTR;
    // A field that is absent leaves the pointer null; the call's result adds nothing to that.
    spFields->get_Item(&varKey, &spField);
    return spField;
}

bool CVelmoraBase::OperatorSFNodeFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                            CComPtr<INodeObject>& spValue, bool bRead) {
    return OperateField(
        *this, FieldType::SFNode, strFieldName, spNode, bRead,
        [&spValue](FieldCarrier& c) {
            c.spNode = spValue;
            return true;
        },
        [&spValue](FieldCarrier& c) { spValue = static_cast<CComPtr<INodeObject>&&>(c.spNode); });
}

bool CVelmoraBase::OperatorSFStringFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                              CString& strValue, bool bRead) {
    return OperateTextField(*this, FieldType::SFString, strFieldName, spNode, strValue, bRead);
}

bool CVelmoraBase::OperatorMFStringFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                              CString& strValue, bool bRead) {
    return OperateTextField(*this, FieldType::MFString, strFieldName, spNode, strValue, bRead);
}

bool CVelmoraBase::OperatorSFVec2fFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                             float* const pValues, bool bRead) {
    return OperateVectorField(*this, FieldType::SFVec2f, 2, strFieldName, spNode, pValues, bRead);
}

bool CVelmoraBase::OperatorSFVec3fFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                             float* const pValues, bool bRead) {
    return OperateVectorField(*this, FieldType::SFVec3f, 3, strFieldName, spNode, pValues, bRead);
}

bool CVelmoraBase::OperatorSFRotationFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                                float* const pValues, bool bRead) {
    return OperateVectorField(*this, FieldType::SFRotation, 4, strFieldName, spNode, pValues,
                              bRead);
}
