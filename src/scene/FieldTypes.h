// The six field types that the field operators handle: for each, the interface the field
// offers for its type, and the viewer's read and write calls on that interface.
#pragma once

#include "VelmoraBase.h"

#include "atl/AtlResource.h"

enum class FieldType { SFNode, SFString, MFString, SFVec2f, SFVec3f, SFRotation };

// A value as it crosses a type interface. Each type's calls use one member: the node, the
// text, or the float array variant.
struct FieldCarrier {
    CComPtr<INodeObject> spNode;
    CUniqueBstr bstrText;
    CUniqueVariant varArray;
};

using FieldCall = HRESULT (*)(IUnknown* pTypeInterface, FieldCarrier& carrier);

struct FieldTypeInfo {
    FieldType type;
    const IID* piid; // reached by QueryInterface on the field
    FieldCall read;  // fills the carrier
    FieldCall write; // passes the carrier's value
};

const FieldTypeInfo& GetFieldTypeInfo(FieldType type);
