// VRML97 field types, field values and node types as the engine keeps them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ViewerInterfaces.h"
#include "atl/AtlComPtr.h"

// How a field type's values are stored and exchanged.
enum class ValueKind { Bool, Int32, Float, Time, String, Node, Image };

struct FieldTypeInfo {
    VrmlFieldType type;
    const char* pszName;
    ValueKind kind;
    int nComponents; // floats per value: 3 for SFVec3f and MFColor, 4 for SFRotation
    bool bMulti;
};

const FieldTypeInfo& FieldTypeOf(VrmlFieldType type);
// Null when the name is no VRML97 field type.
const FieldTypeInfo* FindFieldType(std::string_view name);

// One field's value. Only the vector of the type's kind is used: floats (all components in a
// row), ints (SFBool as 0 or 1; SFImage as width, height, components, pixels), times,
// strings, nodes (none for an SFNode holding NULL).
struct FieldValue {
    std::vector<float> floats;
    std::vector<int32_t> ints;
    std::vector<double> times;
    std::vector<std::wstring> strings;
    std::vector<CComPtr<INodeObject>> nodes;
};

// The value a field has when its declaration gives none: zeros, FALSE, "", NULL, empty lists.
FieldValue ZeroValue(const FieldTypeInfo& type);

struct FieldDecl {
    std::string name; // as written in VRML text (UTF-8)
    std::wstring wideName;
    VrmlFieldType type;
    FieldValue defaultValue;
};

// A node type: a standard one, a prototype, or one Script node with its own fields.
struct NodeType {
    std::string name;
    std::wstring wideName;
    std::vector<FieldDecl> fields;

    // The index of the field with this name, or -1.
    int FindField(std::string_view fieldName) const;
    int FindField(std::wstring_view fieldName) const;
};

using NodeTypePtr = std::shared_ptr<const NodeType>;

// UTF-8 to UTF-16; the text has been checked to be valid UTF-8 before.
std::wstring WidenUtf8(std::string_view text);
