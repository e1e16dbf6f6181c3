#include "VrmlTypes.h"

#include <type_traits>

namespace {

// In the order of the VrmlFieldType codes, starting at 1.
constexpr FieldTypeInfo kFieldTypes[] = {
    {VRML_SFBOOL, "SFBool", ValueKind::Bool, 1, false},
    {VRML_SFCOLOR, "SFColor", ValueKind::Float, 3, false},
    {VRML_SFFLOAT, "SFFloat", ValueKind::Float, 1, false},
    {VRML_SFIMAGE, "SFImage", ValueKind::Image, 1, false},
    {VRML_SFINT32, "SFInt32", ValueKind::Int32, 1, false},
    {VRML_SFNODE, "SFNode", ValueKind::Node, 1, false},
    {VRML_SFROTATION, "SFRotation", ValueKind::Float, 4, false},
    {VRML_SFSTRING, "SFString", ValueKind::String, 1, false},
    {VRML_SFTIME, "SFTime", ValueKind::Time, 1, false},
    {VRML_SFVEC2F, "SFVec2f", ValueKind::Float, 2, false},
    {VRML_SFVEC3F, "SFVec3f", ValueKind::Float, 3, false},
    {VRML_MFCOLOR, "MFColor", ValueKind::Float, 3, true},
    {VRML_MFFLOAT, "MFFloat", ValueKind::Float, 1, true},
    {VRML_MFINT32, "MFInt32", ValueKind::Int32, 1, true},
    {VRML_MFNODE, "MFNode", ValueKind::Node, 1, true},
    {VRML_MFROTATION, "MFRotation", ValueKind::Float, 4, true},
    {VRML_MFSTRING, "MFString", ValueKind::String, 1, true},
    {VRML_MFTIME, "MFTime", ValueKind::Time, 1, true},
    {VRML_MFVEC2F, "MFVec2f", ValueKind::Float, 2, true},
    {VRML_MFVEC3F, "MFVec3f", ValueKind::Float, 3, true},
};

template <class Name> int FindFieldIn(const std::vector<FieldDecl>& fields, Name name) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if constexpr (std::is_same_v<Name, std::string_view>) {
            if (fields[i].name == name)
                return static_cast<int>(i);
        } else if (fields[i].wideName == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

const FieldTypeInfo& FieldTypeOf(VrmlFieldType type) {
    return kFieldTypes[type - VRML_SFBOOL];
}

const FieldTypeInfo* FindFieldType(std::string_view name) {
    for (const FieldTypeInfo& info : kFieldTypes)
        if (name == info.pszName)
            return &info;
    return nullptr;
}

FieldValue ZeroValue(const FieldTypeInfo& type) {
    FieldValue value;
    if (type.bMulti)
        return value;
    switch (type.kind) {
    case ValueKind::Bool:
    case ValueKind::Int32:
        value.ints.assign(1, 0);
        break;
    case ValueKind::Image:
        value.ints.assign(3, 0);
        break;
    case ValueKind::Float:
        value.floats.assign(static_cast<size_t>(type.nComponents), 0.0f);
        break;
    case ValueKind::Time:
        value.times.assign(1, 0.0);
        break;
    case ValueKind::String:
        value.strings.assign(1, std::wstring());
        break;
    case ValueKind::Node:
        break;
    }
    return value;
}

int NodeType::FindField(std::string_view fieldName) const {
    return FindFieldIn(fields, fieldName);
}

int NodeType::FindField(std::wstring_view fieldName) const {
    return FindFieldIn(fields, fieldName);
}

std::wstring WidenUtf8(std::string_view text) {
    std::wstring wide;
    if (text.empty())
        return wide;
    const int nChars =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    wide.resize(static_cast<size_t>(nChars));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        nChars);
    return wide;
}
