// Field objects: one field of a node, offering the interface of its VRML type.
#pragma once

#include "NodeObject.h"

// SFNode, SFString, MFString, SFVec2f, SFVec3f and SFRotation fields offer their own type
// interface; every other type offers IVariantFieldObject.
HRESULT CreateFieldObject(NodeObject* pNode, size_t nField, IFieldObject** ppField);
