// Reads VRML97 classic text (UTF-8): nodes with DEF/USE, PROTO and EXTERNPROTO declarations,
// Script nodes with their own fields, ROUTE statements and comments.
#pragma once

#include <string_view>
#include <vector>

#include "EngineState.h"
#include "VrmlTypes.h"

// Thrown for text that is not valid VRML97; nothing the parse made survives it.
struct VrmlSyntaxError {};

// The root nodes of a scene. The text must start with the VRML97 header line and must be
// UTF-8 without control characters other than tabs and line ends.
std::vector<CComPtr<INodeObject>> ParseVrmlScene(const EngineStatePtr& spState,
                                                 std::string_view text);

// One field value without nodes in it (declaration defaults), such as "0 0 1 0" or "[]".
FieldValue ParseVrmlFieldValue(const FieldTypeInfo& type, std::string_view text);
