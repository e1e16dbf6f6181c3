// The standard VRML97 node types with their fields, types and default values.
#pragma once

#include <string_view>

#include "VrmlTypes.h"

// Null when the name is no standard node type. Script is not among them: each Script node
// declares fields of its own.
NodeTypePtr FindStandardNodeType(std::string_view name);

// The fields every Script node has before its own declarations.
NodeTypePtr ScriptBaseType();
