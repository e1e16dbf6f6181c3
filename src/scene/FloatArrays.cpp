// Float arrays in variants: the form in which the viewer exchanges vector field values.
//
// Packing always builds a one-dimensional, zero-based array of VARIANTs holding VT_R4 values.
// Unpacking accepts an array (directly or by reference) of VT_R4 elements or of VARIANTs that
// convert to a float, and reads its elements at indices 0, 1, 2 ... whatever its lower bound.
#include "VelmoraBase.h"

#include "atl/AtlResource.h"

namespace {

// The array a variant holds, or null when it holds none (also for a null reference).
SAFEARRAY* ArrayOf(const VARIANT& var) {
    if (!(var.vt & VT_ARRAY))
        return nullptr;
    if (var.vt & VT_BYREF)
        return var.pparray ? *var.pparray : nullptr;
    return var.parray;
}

// The array's own element layout must match the element type the variant claims, so that a
// mislabelled array can neither overrun a float nor be copied as VARIANTs it does not hold.
bool ElementsAre(SAFEARRAY* pArray, VARTYPE vtElement) {
    switch (vtElement) {
    case VT_R4:
        return ::SafeArrayGetElemsize(pArray) == sizeof(float);
    case VT_VARIANT:
        return ::SafeArrayGetElemsize(pArray) == sizeof(VARIANT) &&
               (pArray->fFeatures & FADF_VARIANT);
    default:
        return false;
    }
}

bool ReadFloat(SAFEARRAY* pArray, LONG nIndex, float& fValue) {
    float fElement = 0;
    if (FAILED(::SafeArrayGetElement(pArray, &nIndex, &fElement)))
        return false;
    fValue = fElement;
    return true;
}

bool ReadVariantAsFloat(SAFEARRAY* pArray, LONG nIndex, float& fValue) {
    CUniqueVariant element;
    if (FAILED(::SafeArrayGetElement(pArray, &nIndex, static_cast<VARIANT*>(&element))))
        return false;
    if (FAILED(::VariantChangeType(&element, &element, 0, VT_R4)))
        return false;
    fValue = element.fltVal;
    return true;
}

} // namespace

bool CVelmoraBase::Pack_ArrayToVariant(VARIANT* pVariant, float* pValues, int nCount) {
    if (!pVariant || !pValues || nCount <= 0)
        return false;
    CUniqueSafeArray array(::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(nCount)));
    if (!array)
        return false;
    for (LONG i = 0; i < nCount; ++i) {
        VARIANT element;
        ::VariantInit(&element);
        element.vt = VT_R4;
        element.fltVal = pValues[i];
        if (FAILED(::SafeArrayPutElement(array.get(), &i, &element)))
            return false;
    }
    ::VariantInit(pVariant);
    pVariant->vt = VT_ARRAY | VT_VARIANT;
    pVariant->parray = array.release();
    return true;
}

bool CVelmoraBase::Unpack_VariantToArray(VARIANT* pVariant, float* pValues, int nCount) {
    if (!pVariant || !pValues || nCount <= 0)
        return false;
    SAFEARRAY* pArray = ArrayOf(*pVariant);
    if (!pArray || ::SafeArrayGetDim(pArray) != 1)
        return false;
    const VARTYPE vtElement = pVariant->vt & ~(VT_ARRAY | VT_BYREF);
    if (!ElementsAre(pArray, vtElement))
        return false;
    const auto read = vtElement == VT_R4 ? ReadFloat : ReadVariantAsFloat;
    for (LONG i = 0; i < nCount; ++i)
        if (!read(pArray, i, pValues[i]))
            return false;
    return true;
}
