// Field values as VARIANTs. Numbers, booleans and texts of single-valued types travel as
// scalars; everything else as an array VARIANT (VT_ARRAY | VT_VARIANT, one dimension, lower
// bound 0) whose elements hold VT_R4, VT_I4, VT_BOOL, VT_R8, VT_BSTR or VT_UNKNOWN values.
#pragma once

#include "VrmlTypes.h"

HRESULT ValueToVariant(const FieldTypeInfo& type, const FieldValue& value, VARIANT* pvarValue);

// Accepts scalars, arrays of any element type that converts (VariantChangeType), arrays
// behind VT_BYREF, and any lower bound; refuses counts that do not fit the type.
HRESULT VariantToValue(const FieldTypeInfo& type, const VARIANT& varValue, FieldValue& value);
