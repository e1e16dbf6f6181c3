// Float arrays in variants: packing, and the forms unpacking accepts and refuses.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "VelmoraBase.h"
#include "atl/AtlResource.h"

namespace {

constexpr float kUntouched = -12345.0f;

class ArraysTest : public ::testing::Test {
protected:
    CVelmoraBase m_host{nullptr};
};

// A one-dimensional array of vt elements with the given lower bound, filled by put(i, pElem).
template <class Put> SAFEARRAY* MakeArray(VARTYPE vt, LONG nLowerBound, LONG nCount, Put put) {
    SAFEARRAY* pArray = ::SafeArrayCreateVector(vt, nLowerBound, static_cast<ULONG>(nCount));
    for (LONG i = 0; i < nCount; ++i) {
        LONG index = nLowerBound + i;
        put(i, pArray, &index);
    }
    return pArray;
}

SAFEARRAY* FloatArray(std::vector<float> values, LONG nLowerBound = 0) {
    return MakeArray(
        VT_R4, nLowerBound, static_cast<LONG>(values.size()),
        [&](LONG i, SAFEARRAY* p, LONG* pIndex) { ::SafeArrayPutElement(p, pIndex, &values[i]); });
}

// An array of VARIANTs; each element is made by make(i, element).
template <class Make> SAFEARRAY* VariantArray(LONG nCount, Make make) {
    return MakeArray(VT_VARIANT, 0, nCount, [&](LONG i, SAFEARRAY* p, LONG* pIndex) {
        CUniqueVariant element;
        make(i, element);
        ::SafeArrayPutElement(p, pIndex, &element);
    });
}

void HoldArray(CUniqueVariant& var, VARTYPE vtElement, SAFEARRAY* pArray) {
    var.vt = VT_ARRAY | vtElement;
    var.parray = pArray;
}

uint32_t Bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

TEST_F(ArraysTest, PackThenUnpackGivesTheSameBits) {
    float in[] = {1.5f, -0.0f, std::numeric_limits<float>::denorm_min(),
                  std::numeric_limits<float>::infinity(), 3.4e38f};
    CUniqueVariant packed;
    ASSERT_TRUE(m_host.Pack_ArrayToVariant(&packed, in, 5));

    EXPECT_EQ(packed.vt, VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(::SafeArrayGetDim(packed.parray), 1u);
    LONG lower = -1, upper = -1;
    ::SafeArrayGetLBound(packed.parray, 1, &lower);
    ::SafeArrayGetUBound(packed.parray, 1, &upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 4);
    VARIANT* pElements = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SafeArrayAccessData(packed.parray, (void**)&pElements));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pElements[i].vt, VT_R4) << i;
    ::SafeArrayUnaccessData(packed.parray);

    float out[6];
    std::fill(std::begin(out), std::end(out), kUntouched);
    ASSERT_TRUE(m_host.Unpack_VariantToArray(&packed, out, 5));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Bits(out[i]), Bits(in[i])) << i;
    EXPECT_EQ(out[5], kUntouched);
    EXPECT_EQ(packed.vt, VT_ARRAY | VT_VARIANT) << "unpacking leaves the variant alone";
}

TEST_F(ArraysTest, PackRefusesBadArgumentsWithoutTouchingTheVariant) {
    float values[] = {1, 2};
    for (int nCount : {0, -1}) {
        VARIANT var;
        var.vt = VT_I4;
        var.lVal = 77;
        EXPECT_FALSE(m_host.Pack_ArrayToVariant(&var, values, nCount)) << nCount;
        EXPECT_EQ(var.vt, VT_I4);
        EXPECT_EQ(var.lVal, 77);
    }
    VARIANT var;
    var.vt = VT_I4;
    EXPECT_FALSE(m_host.Pack_ArrayToVariant(&var, nullptr, 2));
    EXPECT_EQ(var.vt, VT_I4);
    EXPECT_FALSE(m_host.Pack_ArrayToVariant(nullptr, values, 2));
}

// Each case: how to build the variant, how many floats to ask for, the expected result and
// the floats expected afterwards (kUntouched where nothing may be written).
struct UnpackCase {
    const char* name;
    void (*make)(CUniqueVariant& var);
    int nCount;
    bool bResult;
    std::vector<float> expected;
};

const UnpackCase kUnpackCases[] = {
    {"array of VT_R4",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R4, FloatArray({1.5f, 2.5f, 3.5f}));
     },
     3,
     true,
     {1.5f, 2.5f, 3.5f, kUntouched}},
    {"VARIANTs of VT_R4, VT_I4, VT_R8 and a numeric BSTR",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_VARIANT, VariantArray(4, [](LONG i, CUniqueVariant& e) {
                       switch (i) {
                       case 0:
                           e.vt = VT_R4;
                           e.fltVal = 0.25f;
                           break;
                       case 1:
                           e.vt = VT_I4;
                           e.lVal = -7;
                           break;
                       case 2:
                           e.vt = VT_R8;
                           e.dblVal = 2.5;
                           break;
                       default:
                           e.vt = VT_BSTR;
                           e.bstrVal = ::SysAllocString(L"2.25");
                       }
                   }));
     },
     4,
     true,
     {0.25f, -7.0f, 2.5f, 2.25f}},
    {"a BSTR that is no number stops the unpacking",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_VARIANT, VariantArray(3, [](LONG i, CUniqueVariant& e) {
                       if (i == 1) {
                           e.vt = VT_BSTR;
                           e.bstrVal = ::SysAllocString(L"north");
                       } else {
                           e.vt = VT_R4;
                           e.fltVal = 9.0f;
                       }
                   }));
     },
     3,
     false,
     {9.0f, kUntouched, kUntouched, kUntouched}},
    {"a count below the length reads the first elements",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R4, FloatArray({1, 2, 3, 4}));
     },
     2,
     true,
     {1, 2, kUntouched, kUntouched}},
    {"a count above the length fills what there is",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R4, FloatArray({1, 2}));
     },
     4,
     false,
     {1, 2, kUntouched, kUntouched}},
    {"lower bound 1 is refused at index 0",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R4, FloatArray({1, 2}, 1));
     },
     2,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
    {"array of VT_R8 is refused",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R8, MakeArray(VT_R8, 0, 2, [](LONG, SAFEARRAY* p, LONG* pIndex) {
                       double d = 4.0;
                       ::SafeArrayPutElement(p, pIndex, &d);
                   }));
     },
     2,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
    {"VT_R8 elements labelled as VT_R4 are refused, never overrun",
     [](CUniqueVariant& v) {
         HoldArray(v, VT_R4, MakeArray(VT_R8, 0, 2, [](LONG, SAFEARRAY* p, LONG* pIndex) {
                       double d = 4.0;
                       ::SafeArrayPutElement(p, pIndex, &d);
                   }));
     },
     1,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
    {"a single float is refused",
     [](CUniqueVariant& v) {
         v.vt = VT_R4;
         v.fltVal = 1.0f;
     },
     1,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
    {"two dimensions are refused",
     [](CUniqueVariant& v) {
         SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
         HoldArray(v, VT_R4, ::SafeArrayCreate(VT_R4, 2, bounds));
     },
     1,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
    {"VT_ARRAY with a null array is refused",
     [](CUniqueVariant& v) { HoldArray(v, VT_R4, nullptr); },
     1,
     false,
     {kUntouched, kUntouched, kUntouched, kUntouched}},
};

TEST_F(ArraysTest, UnpackForms) {
    for (const UnpackCase& c : kUnpackCases) {
        CUniqueVariant var;
        c.make(var);
        float out[4];
        std::fill(std::begin(out), std::end(out), kUntouched);
        EXPECT_EQ(m_host.Unpack_VariantToArray(&var, out, c.nCount), c.bResult) << c.name;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(out[i], c.expected[i]) << c.name << ", float " << i;
    }
}

TEST_F(ArraysTest, UnpackFollowsAReferenceOnce) {
    CUniqueVariant owner;
    HoldArray(owner, VT_R4, FloatArray({6, 7}));
    SAFEARRAY* pArray = owner.parray;
    VARIANT byRef;
    byRef.vt = VT_ARRAY | VT_BYREF | VT_R4;
    byRef.pparray = &pArray;
    float out[2] = {};
    EXPECT_TRUE(m_host.Unpack_VariantToArray(&byRef, out, 2));
    EXPECT_EQ(out[0], 6);
    EXPECT_EQ(out[1], 7);

    SAFEARRAY* pNull = nullptr;
    byRef.pparray = &pNull;
    EXPECT_FALSE(m_host.Unpack_VariantToArray(&byRef, out, 1)) << "reference to a null array";
    byRef.pparray = nullptr;
    EXPECT_FALSE(m_host.Unpack_VariantToArray(&byRef, out, 1)) << "null reference";
}

TEST_F(ArraysTest, UnpackRefusesBadArgumentsWithoutTouchingAnything) {
    CUniqueVariant var;
    HoldArray(var, VT_R4, FloatArray({1}));
    float out[1] = {kUntouched};
    EXPECT_FALSE(m_host.Unpack_VariantToArray(&var, out, 0));
    EXPECT_FALSE(m_host.Unpack_VariantToArray(&var, out, -3));
    EXPECT_FALSE(m_host.Unpack_VariantToArray(&var, nullptr, 1));
    EXPECT_FALSE(m_host.Unpack_VariantToArray(nullptr, out, 1));
    EXPECT_EQ(out[0], kUntouched);
}

} // namespace
