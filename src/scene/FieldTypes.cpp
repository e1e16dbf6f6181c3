#include "scene/FieldTypes.h"

#include <iterator>

namespace {

// pTypeInterface is the pointer that QueryInterface returned for the type's identity.
template <class I> I* As(IUnknown* pTypeInterface) {
    return static_cast<I*>(pTypeInterface);
}

HRESULT ReadNode(IUnknown* p, FieldCarrier& c) {
    return As<ISFNodeObject>(p)->get_Value(&c.spNode);
}
HRESULT WriteNode(IUnknown* p, FieldCarrier& c) {
    return As<ISFNodeObject>(p)->put_Value(c.spNode);
}
HRESULT ReadText(IUnknown* p, FieldCarrier& c) {
    return As<ISFStringObject>(p)->get_Value(c.bstrText.put());
}
HRESULT WriteText(IUnknown* p, FieldCarrier& c) {
    return As<ISFStringObject>(p)->put_Value(c.bstrText.get());
}
// MFString: only the first string is read or written; the others are left alone.
HRESULT ReadFirstText(IUnknown* p, FieldCarrier& c) {
    return As<IMFStringObject>(p)->get_Element(0, c.bstrText.put());
}
HRESULT WriteFirstText(IUnknown* p, FieldCarrier& c) {
    return As<IMFStringObject>(p)->put_Element(0, c.bstrText.get());
}
template <class I> HRESULT ReadArray(IUnknown* p, FieldCarrier& c) {
    return As<I>(p)->get_Value(c.varArray.put());
}
template <class I> HRESULT WriteArray(IUnknown* p, FieldCarrier& c) {
    return As<I>(p)->put_Value(static_cast<const VARIANT&>(c.varArray));
}

constexpr FieldTypeInfo kFieldTypes[] = {
    {FieldType::SFNode, &IID_ISFNodeObject, ReadNode, WriteNode},
    {FieldType::SFString, &IID_ISFStringObject, ReadText, WriteText},
    {FieldType::MFString, &IID_IMFStringObject, ReadFirstText, WriteFirstText},
    {FieldType::SFVec2f, &IID_ISFVec2fObject, ReadArray<ISFVec2fObject>,
     WriteArray<ISFVec2fObject>},
    {FieldType::SFVec3f, &IID_ISFVec3fObject, ReadArray<ISFVec3fObject>,
     WriteArray<ISFVec3fObject>},
    {FieldType::SFRotation, &IID_ISFRotationObject, ReadArray<ISFRotationObject>,
     WriteArray<ISFRotationObject>},
};

constexpr bool InTypeOrder() {
    for (size_t i = 0; i < std::size(kFieldTypes); ++i)
        if (static_cast<size_t>(kFieldTypes[i].type) != i)
            return false;
    return true;
}
static_assert(InTypeOrder(), "the table is indexed by FieldType");

} // namespace

const FieldTypeInfo& GetFieldTypeInfo(FieldType type) {
    return kFieldTypes[static_cast<size_t>(type)];
}
