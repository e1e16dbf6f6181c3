// Field lookup and the six field operators on nodes that the stand-in engine parsed from
// VRML text.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "VelmoraBase.h"
#include "atl/AtlResource.h"
#include "viewer/engine/EngineTestHooks.h"
#include "viewer/engine/StandinEngine.h"

namespace {

constexpr char kModel[] = R"(#VRML V2.0 utf8
Transform { translation 1 2 3 rotation 0 0 1 0.5 }
Shape {
  appearance Appearance { }
  geometry Text { string [ "first" "second" "third" ] }
}
WorldInfo { title "Harbour" }
TextureTransform { scale 2 3 }
WorldInfo { }
Box { size 4 5 6 }
)";
enum Root { kTransform, kShape, kWorldInfo, kTextureTransform, kEmptyWorldInfo, kBox, kRoots };

constexpr float kUntouched = -999.0f;

class FieldsTest : public ::testing::Test {
protected:
    CVelmoraBase m_host{nullptr};
    CComPtr<IEngine> m_spEngine;
    CComPtr<IEngineTestHooks> m_spHooks;
    CComPtr<INodeObject> m_roots[kRoots];
    LONG m_nLiveAtStart = 0;

    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&m_spEngine));
        ASSERT_HRESULT_SUCCEEDED(m_spEngine.QueryInterface(&m_spHooks));
        LoadRoots();
        m_nLiveAtStart = LiveObjects();
    }
    void LoadRoots() {
        CComPtr<IStream> spStream;
        ASSERT_HRESULT_SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, &spStream));
        ASSERT_HRESULT_SUCCEEDED(spStream->Write(kModel, sizeof kModel - 1, nullptr));
        ASSERT_HRESULT_SUCCEEDED(spStream->Seek({}, STREAM_SEEK_SET, nullptr));
        CComPtr<IMFNodeObject> spModel;
        ASSERT_HRESULT_SUCCEEDED(m_spEngine->CreateNodesFromStream(spStream, &spModel));
        LONG nCount = 0;
        ASSERT_HRESULT_SUCCEEDED(spModel->get_Count(&nCount));
        ASSERT_EQ(nCount, kRoots);
        for (LONG i = 0; i < kRoots; ++i)
            ASSERT_HRESULT_SUCCEEDED(spModel->get_Element(i, &m_roots[i]));
    }
    void TearDown() override {
        if (m_spHooks) {
            EXPECT_EQ(LiveObjects(), m_nLiveAtStart) << "every reference given back";
        }
    }
    LONG LiveObjects() {
        LONG n = 0;
        m_spHooks->GetLiveObjectCount(&n);
        return n;
    }
    // The first nCount strings of the Text node's "string" field, comma-separated.
    CString FirstStrings(int nCount) {
        CComPtr<INodeObject> spText;
        m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spText, true);
        CComPtr<IFieldObject> spStrings = m_host.GetFieldObject(spText, L"string");
        CComPtr<IMFStringObject> spTyped;
        spStrings.QueryInterface(&spTyped);
        CString strAll;
        for (LONG i = 0; spTyped && i < nCount; ++i) {
            CUniqueBstr bstr;
            spTyped->get_Element(i, bstr.put());
            strAll += (i ? L"," : L"");
            strAll += bstr.get();
        }
        return strAll;
    }
};

std::wstring TypeName(INodeObject* pNode) {
    CUniqueBstr bstr;
    if (!pNode || FAILED(pNode->get_TypeName(bstr.put())))
        return L"(none)";
    return bstr.get();
}

// The three vector operators, as one table.
using VectorOperator = bool (CVelmoraBase::*)(CString, CComPtr<INodeObject>, float* const, bool);
struct VectorCase {
    const char* name;
    VectorOperator op;
    Root root;
    const wchar_t* pszField;
    int nFloats;
    float stored[4];
    float written[4];
};
const VectorCase kVectorCases[] = {
    {"SFVec3f",
     &CVelmoraBase::OperatorSFVec3fFieldValue,
     kTransform,
     L"translation",
     3,
     {1, 2, 3},
     {-4.5f, 0, 1e6f}},
    {"SFRotation",
     &CVelmoraBase::OperatorSFRotationFieldValue,
     kTransform,
     L"rotation",
     4,
     {0, 0, 1, 0.5f},
     {1, 0, 0, 3.25f}},
    {"SFVec2f",
     &CVelmoraBase::OperatorSFVec2fFieldValue,
     kTextureTransform,
     L"scale",
     2,
     {2, 3},
     {0.5f, 8}},
};

TEST_F(FieldsTest, VectorFieldsReadAndWriteExactlyTheirFloats) {
    for (const VectorCase& c : kVectorCases) {
        float values[5];
        std::fill(std::begin(values), std::end(values), kUntouched);
        EXPECT_TRUE((m_host.*c.op)(c.pszField, m_roots[c.root], values, true)) << c.name;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(values[i], i < c.nFloats ? c.stored[i] : kUntouched) << c.name << " " << i;

        float written[5];
        std::copy(c.written, c.written + 4, written);
        written[4] = kUntouched;
        written[c.nFloats] = 777; // beyond the type's floats: never written to the field
        EXPECT_TRUE((m_host.*c.op)(c.pszField, m_roots[c.root], written, false)) << c.name;
        std::fill(std::begin(values), std::end(values), kUntouched);
        EXPECT_TRUE((m_host.*c.op)(c.pszField, m_roots[c.root], values, true)) << c.name;
        for (int i = 0; i < c.nFloats; ++i)
            EXPECT_EQ(values[i], c.written[i]) << c.name << " " << i;
        EXPECT_EQ(values[c.nFloats], kUntouched) << c.name;
    }
}

TEST_F(FieldsTest, StringFieldsReadAndWrite) {
    CString strValue = L"old";
    EXPECT_TRUE(m_host.OperatorSFStringFieldValue(L"title", m_roots[kWorldInfo], strValue, true));
    EXPECT_STREQ(strValue, L"Harbour");
    EXPECT_TRUE(m_host.OperatorSFStringFieldValue(L"title", m_roots[kWorldInfo], strValue = L"Quay",
                                                  false));
    strValue = L"old";
    EXPECT_TRUE(m_host.OperatorSFStringFieldValue(L"title", m_roots[kWorldInfo], strValue, true));
    EXPECT_STREQ(strValue, L"Quay");

    strValue = L"old";
    EXPECT_TRUE(
        m_host.OperatorSFStringFieldValue(L"title", m_roots[kEmptyWorldInfo], strValue, true));
    EXPECT_STREQ(strValue, L"") << "an empty value reads as the empty text";
}

TEST_F(FieldsTest, MFStringOnlyTouchesTheFirstString) {
    CComPtr<INodeObject> spText;
    ASSERT_TRUE(m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spText, true));
    CString strValue;
    EXPECT_TRUE(m_host.OperatorMFStringFieldValue(L"string", spText, strValue, true));
    EXPECT_STREQ(strValue, L"first");
    strValue = L"changed";
    EXPECT_TRUE(m_host.OperatorMFStringFieldValue(L"string", spText, strValue, false));
    EXPECT_STREQ(FirstStrings(3), L"changed,second,third");
}

TEST_F(FieldsTest, SFNodeReadsAndWritesNodes) {
    CComPtr<INodeObject> spValue = m_roots[kTransform];
    ASSERT_TRUE(m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spValue, true));
    EXPECT_EQ(TypeName(spValue), L"Text") << "the previous value was replaced";

    CComPtr<INodeObject> spBox = m_roots[kBox];
    EXPECT_TRUE(m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spBox, false));
    EXPECT_TRUE(spBox.IsEqualObject(m_roots[kBox])) << "the written value stays with the caller";
    CComPtr<INodeObject> spRead;
    EXPECT_TRUE(m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spRead, true));
    EXPECT_TRUE(spRead.IsEqualObject(m_roots[kBox]));

    // A field that holds no node reads as an empty pointer.
    CComPtr<INodeObject> spAppearance, spMaterial = m_roots[kBox];
    ASSERT_TRUE(
        m_host.OperatorSFNodeFieldValue(L"appearance", m_roots[kShape], spAppearance, true));
    EXPECT_TRUE(m_host.OperatorSFNodeFieldValue(L"material", spAppearance, spMaterial, true));
    EXPECT_FALSE(spMaterial);

    // Putting the Text node back restores the scene the fixture counts objects against.
    EXPECT_TRUE(m_host.OperatorSFNodeFieldValue(L"geometry", m_roots[kShape], spValue, false));
}

// Every operator on a field of another type, on a missing field and on an empty node: false,
// and the value argument as it was.
TEST_F(FieldsTest, RefusalsLeaveTheValueAlone) {
    const struct {
        Root root;
        const wchar_t* pszField;
    } places[] = {
        {kWorldInfo, L"title"}, // a string: wrong for all but the string operators
        {kTransform, L"translation"},
        {kTransform, L"nosuchfield"},
    };
    CComPtr<INodeObject> spEmpty;
    for (bool bRead : {true, false}) {
        for (const auto& place : places) {
            CComPtr<INodeObject>& spNode = m_roots[place.root];
            const bool bString = std::wcscmp(place.pszField, L"title") == 0;
            const bool bVec3f = std::wcscmp(place.pszField, L"translation") == 0;
            for (const VectorCase& c : kVectorCases) {
                if (bVec3f && c.op == &CVelmoraBase::OperatorSFVec3fFieldValue)
                    continue;
                float values[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
                EXPECT_FALSE((m_host.*c.op)(place.pszField, spNode, values, bRead)) << c.name;
                EXPECT_FALSE((m_host.*c.op)(place.pszField, spEmpty, values, bRead)) << c.name;
                EXPECT_FALSE((m_host.*c.op)(place.pszField, spNode, nullptr, bRead)) << c.name;
                EXPECT_EQ(values[0], kUntouched) << c.name;
            }
            CString strValue = L"kept";
            if (!bString) {
                EXPECT_FALSE(
                    m_host.OperatorSFStringFieldValue(place.pszField, spNode, strValue, bRead));
            }
            EXPECT_FALSE(
                m_host.OperatorMFStringFieldValue(place.pszField, spNode, strValue, bRead));
            EXPECT_FALSE(
                m_host.OperatorSFStringFieldValue(place.pszField, spEmpty, strValue, bRead));
            EXPECT_STREQ(strValue, L"kept");
            CComPtr<INodeObject> spValue = m_roots[kBox];
            EXPECT_FALSE(m_host.OperatorSFNodeFieldValue(place.pszField, spNode, spValue, bRead));
            EXPECT_FALSE(m_host.OperatorSFNodeFieldValue(place.pszField, spEmpty, spValue, bRead));
            EXPECT_TRUE(spValue.IsEqualObject(m_roots[kBox]));
        }
    }
    EXPECT_FALSE(m_host.GetFieldObject(m_roots[kTransform], L"nosuchfield"));
    EXPECT_FALSE(m_host.GetFieldObject(spEmpty, L"translation"));
    float values[3] = {};
    EXPECT_TRUE(m_host.OperatorSFVec3fFieldValue(L"translation", m_roots[kTransform], values, true))
        << "the refusals changed nothing";
    EXPECT_EQ(values[0], 1);
}

} // namespace
