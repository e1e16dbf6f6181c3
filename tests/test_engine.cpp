// The stand-in viewer's scene engine: node collection, seed, view service and listener calls,
// the building of nodes from VRML text, the field objects of the nodes it builds, and the
// stand-in model reader's packed files.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCom.h"
#include "VelmoraBase.h"
#include "atl/AtlResource.h"
#include "reader/ModelReader.h"
#include "reader/PackedModel.h"
#include "viewer/engine/ComObject.h"
#include "viewer/engine/EngineTestHooks.h"
#include "viewer/engine/StandinEngine.h"

namespace {

std::wstring DataPath(const char* pszName) {
    const std::string path = std::string(VELMORA_TEST_DATA) + pszName;
    return std::wstring(path.begin(), path.end());
}

std::string ReadDataFile(const char* pszName) {
    std::vector<uint8_t> bytes;
    EXPECT_HRESULT_SUCCEEDED(ReadWholeFile(DataPath(pszName).c_str(), bytes)) << pszName;
    return std::string(bytes.begin(), bytes.end());
}

CComPtr<IStream> StreamOf(const std::string& text) {
    CComPtr<IStream> spStream;
    EXPECT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &spStream));
    ULONG nWritten = 0;
    spStream->Write(text.data(), static_cast<ULONG>(text.size()), &nWritten);
    LARGE_INTEGER start{};
    spStream->Seek(start, STREAM_SEEK_SET, nullptr);
    return spStream;
}

std::wstring TextOf(BSTR bstr) {
    return std::wstring(bstr ? bstr : L"", bstr ? SysStringLen(bstr) : 0);
}

std::wstring NameOf(INodeObject* pNode) {
    CUniqueBstr name;
    EXPECT_HRESULT_SUCCEEDED(pNode->get_Name(name.put()));
    return TextOf(name.get());
}

std::wstring TypeNameOf(INodeObject* pNode) {
    CUniqueBstr type;
    EXPECT_HRESULT_SUCCEEDED(pNode->get_TypeName(type.put()));
    return TextOf(type.get());
}

CComPtr<IFieldObject> FieldOf(INodeObject* pNode, const wchar_t* pszName) {
    CComPtr<IFieldsCollection> spFields;
    EXPECT_HRESULT_SUCCEEDED(pNode->get_Fields(&spFields));
    CUniqueVariant key;
    V_VT(&key) = VT_BSTR;
    V_BSTR(&key) = SysAllocString(pszName);
    CComPtr<IFieldObject> spField;
    spFields->get_Item(&key, &spField);
    return spField;
}

CComPtr<INodeObject> Element(IMFNodeObject* pModel, LONG nIndex) {
    CComPtr<INodeObject> spNode;
    EXPECT_HRESULT_SUCCEEDED(pModel->get_Element(nIndex, &spNode));
    return spNode;
}

// The floats of an array VARIANT in the packed form; fails the test for any other form.
std::vector<float> PackedFloats(const VARIANT& var) {
    std::vector<float> floats;
    EXPECT_EQ(VT_ARRAY | VT_VARIANT, V_VT(&var));
    if (V_VT(&var) != (VT_ARRAY | VT_VARIANT))
        return floats;
    EXPECT_EQ(1u, SafeArrayGetDim(V_ARRAY(&var)));
    LONG nLower = -1, nUpper = -1;
    SafeArrayGetLBound(V_ARRAY(&var), 1, &nLower);
    SafeArrayGetUBound(V_ARRAY(&var), 1, &nUpper);
    EXPECT_EQ(0, nLower);
    for (LONG i = nLower; i <= nUpper; ++i) {
        CUniqueVariant element;
        SafeArrayGetElement(V_ARRAY(&var), &i, &element);
        EXPECT_EQ(VT_R4, V_VT(&element));
        floats.push_back(V_R4(&element));
    }
    return floats;
}

// Records listener calls as text, e.g. "SceneLoaded(1)".
class RecordingListener final : public EngineListener {
public:
    std::vector<std::string> m_calls;

    void SceneLoaded(short nStatus) override {
        m_calls.push_back("SceneLoaded(" + std::to_string(nStatus) + ")");
    }
    void SceneUnloaded() override { m_calls.push_back("SceneUnloaded()"); }
    void CameraMoved(long nReason) override {
        m_calls.push_back("CameraMoved(" + std::to_string(nReason) + ")");
    }
    void SceneChanged() override { m_calls.push_back("SceneChanged()"); }
};

// An engine with a recording listener; on teardown everything the test made must be gone.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&m_spEngine));
        m_spHooks = CComQIPtr<IEngineTestHooks>(m_spEngine.p);
        ASSERT_TRUE(m_spHooks);
        m_nObjectsAtStart = LiveObjects();
        SetEngineListener(m_spEngine, &m_listener);
    }
    void TearDown() override {
        SetEngineListener(m_spEngine, nullptr);
        m_spModel.Release();
        m_spHooks.Release();
        m_spEngine.Release();
        // Gone with the engine: itself, its node collection and its view service.
        EXPECT_EQ(m_nObjectsAtStart - 3, LiveEngineObjects()) << "engine-made objects leaked";
    }

    LONG LiveObjects() {
        LONG nObjects = -1;
        EXPECT_HRESULT_SUCCEEDED(m_spHooks->GetLiveObjectCount(&nObjects));
        return nObjects;
    }
    HRESULT Build(const std::string& text) {
        m_spModel.Release();
        return m_spEngine->CreateNodesFromStream(StreamOf(text), &m_spModel);
    }
    CComPtr<INodeObject> BuildOne(const std::string& text) {
        EXPECT_HRESULT_SUCCEEDED(Build("#VRML V2.0 utf8\n" + text)) << text;
        return m_spModel ? Element(m_spModel, 0) : nullptr;
    }
    CComPtr<INodesCollection> Nodes() {
        CComPtr<INodesCollection> spNodes;
        EXPECT_HRESULT_SUCCEEDED(m_spEngine->get_Nodes(&spNodes));
        return spNodes;
    }
    CComPtr<I3DViewService4> ViewService() {
        CComQIPtr<IServiceProvider> spProvider(m_spEngine.p);
        CComPtr<I3DViewService4> spView;
        EXPECT_HRESULT_SUCCEEDED(spProvider->QueryService(IID_I3DViewService4, IID_I3DViewService4,
                                                          reinterpret_cast<void**>(&spView)));
        return spView;
    }

    CComPtr<IEngine> m_spEngine;
    CComQIPtr<IEngineTestHooks> m_spHooks;
    CComPtr<IMFNodeObject> m_spModel;
    RecordingListener m_listener;
    LONG m_nObjectsAtStart = 0;
};

TEST_F(EngineTest, ViewServiceKeepsTheRecordAndReportsCameraMoves) {
    CComPtr<I3DViewService4> spView = ViewService();
    ASSERT_TRUE(spView);
    ViewRecord view{};
    ASSERT_HRESULT_SUCCEEDED(spView->GetView(&view));
    EXPECT_EQ(10.0f, view.fDistance);
    EXPECT_EQ(1.0f, view.fAxis[2]);
    view.fPanX = 3.5f;
    view.fReserved[3] = -7.0f;
    ASSERT_HRESULT_SUCCEEDED(spView->SetView(&view, VIEW_SET_ANIMATED_NOTIFY));
    ViewRecord back{};
    ASSERT_HRESULT_SUCCEEDED(spView->GetView(&back));
    EXPECT_EQ(0, std::memcmp(&view, &back, sizeof view));
    EXPECT_EQ((std::vector<std::string>{"CameraMoved(10)", "SceneChanged()"}), m_listener.m_calls);
    LONG nGets = 0, nSets = 0;
    ASSERT_HRESULT_SUCCEEDED(m_spHooks->GetViewCallCounts(&nGets, &nSets));
    EXPECT_EQ(2, nGets);
    EXPECT_EQ(1, nSets);

    EXPECT_EQ(E_POINTER, spView->SetView(nullptr, VIEW_SET_ANIMATED_NOTIFY));
    EXPECT_EQ(2u, m_listener.m_calls.size()) << "no camera move without a view";

    CComQIPtr<IServiceProvider> spProvider(m_spEngine.p);
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, spProvider->QueryService(IID_IEngine, IID_IEngine, &pv));
    EXPECT_EQ(nullptr, pv);
}

TEST(EngineListenerTest, IsOnlyLentToStandinEngines) {
    FakeEngine engine;
    RecordingListener listener;
    SetEngineListener(&engine, &listener);
    SetEngineListener(nullptr, &listener);
    EXPECT_EQ(1, engine.m_nRefs);
}

TEST_F(EngineTest, SeedIsSettableAndCanBeWithheld) {
    ASSERT_HRESULT_SUCCEEDED(m_spHooks->SetSeed(TRUE, 5));
    CComPtr<IUnknown> spUnknown;
    ASSERT_HRESULT_SUCCEEDED(m_spEngine->get_Seed(&spUnknown));
    CComQIPtr<ISeedObject> spSeed(spUnknown);
    ASSERT_TRUE(spSeed);
    LONG nCount = 0;
    ASSERT_HRESULT_SUCCEEDED(spSeed->get_Count(&nCount));
    EXPECT_EQ(5, nCount);
    spSeed.Release();
    spUnknown.Release();

    ASSERT_HRESULT_SUCCEEDED(m_spHooks->SetSeed(FALSE, 5));
    EXPECT_HRESULT_FAILED(m_spEngine->get_Seed(&spUnknown));
    EXPECT_FALSE(spUnknown);
}

TEST_F(EngineTest, AddShowsNodesUnlessRefused) {
    ASSERT_HRESULT_SUCCEEDED(Build("#VRML V2.0 utf8\nDEF A Group {} DEF B Shape {} DEF C Box {}"));
    CComPtr<INodesCollection> spNodes = Nodes();
    CUniqueVariant missing;
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = 0;

    ASSERT_HRESULT_SUCCEEDED(m_spHooks->RefuseNextAdds(1));
    EXPECT_HRESULT_FAILED(spNodes->Add(Element(m_spModel, 0), &missing));
    EXPECT_TRUE(m_listener.m_calls.empty());
    EXPECT_HRESULT_SUCCEEDED(spNodes->Add(Element(m_spModel, 0), &missing));
    EXPECT_HRESULT_SUCCEEDED(spNodes->Add(Element(m_spModel, 1), &missing));
    CUniqueVariant front;
    V_VT(&front) = VT_I4;
    V_I4(&front) = 0;
    EXPECT_HRESULT_SUCCEEDED(spNodes->Add(Element(m_spModel, 2), &front));
    V_I4(&front) = 9;
    EXPECT_EQ(E_INVALIDARG, spNodes->Add(Element(m_spModel, 2), &front));

    std::wstring order;
    LONG nCount = 0;
    ASSERT_HRESULT_SUCCEEDED(spNodes->get_Count(&nCount));
    for (LONG i = 0; i < nCount; ++i) {
        CComPtr<INodeObject> spNode;
        ASSERT_HRESULT_SUCCEEDED(spNodes->get_Item(i, &spNode));
        order += NameOf(spNode);
    }
    EXPECT_EQ(L"CAB", order);
    CComPtr<INodeObject> spNone;
    EXPECT_HRESULT_FAILED(spNodes->get_Item(3, &spNone));
    EXPECT_FALSE(spNone);
    const std::vector<std::string> once{"SceneLoaded(1)", "SceneChanged()"};
    EXPECT_EQ(6u, m_listener.m_calls.size());
    EXPECT_EQ(once,
              std::vector<std::string>(m_listener.m_calls.begin(), m_listener.m_calls.begin() + 2));
}

TEST_F(EngineTest, NamesStartAsDefNamesAndFailOnRequest) {
    CComPtr<INodeObject> spNode = BuildOne("DEF Lamp Transform {}");
    EXPECT_EQ(L"Lamp", NameOf(spNode));
    EXPECT_EQ(L"Transform", TypeNameOf(spNode));
    ASSERT_HRESULT_SUCCEEDED(m_spHooks->FailNextNames(1));
    CUniqueBstr name(SysAllocString(L"$7"));
    EXPECT_HRESULT_FAILED(spNode->put_Name(name.get()));
    EXPECT_EQ(L"Lamp", NameOf(spNode));
    EXPECT_HRESULT_SUCCEEDED(spNode->put_Name(name.get()));
    EXPECT_EQ(L"$7", NameOf(spNode));
    EXPECT_EQ(L"", NameOf(BuildOne("Group {}")));
}

struct AcceptedCase {
    const char* pszWhat;
    std::string text;
    LONG nRoots;
};

TEST_F(EngineTest, AcceptsVrml97Text) {
    const std::string h = "#VRML V2.0 utf8\n";
    const AcceptedCase cases[] = {
        {"header only", h, 0},
        {"header with trailing text", "#VRML V2.0 utf8 exported\r\nGroup {}", 1},
        {"comments and commas", h + "# c\nGroup { # in\n children [ Shape {}, Shape {} ] } # end",
         1},
        {"MF without brackets", h + "Coordinate { point 1 2 3 } Switch { choice Box {} }", 2},
        {"MF with brackets", h + "Coordinate { point [ 1 2 3, 4 5 6, ] }", 1},
        {"numbers", h + "Transform { translation +1 -2.5e1 .5 scale 1. 2E-1 3 }", 1},
        {"booleans and ints", h + "Cone { side FALSE bottom TRUE } Switch { whichChoice -1 }", 2},
        {"image with hex pixels", h + "PixelTexture { image 2 1 4 0xFF0000FF 0x00ff00ff }", 1},
        {"strings with escapes", h + "WorldInfo { title \"a \\\"b\\\" \\\\ c\" info [\"x\" \"\"] }",
         1},
        {"UTF-8 string", h + "WorldInfo { title \"Z\xC3\xBCrich \xE6\x97\xA5\" }", 1},
        {"SFNode NULL", h + "Shape { appearance NULL geometry Sphere {} }", 1},
        {"DEF and USE", h + "DEF A Material {} Shape { appearance Appearance { material USE A } }",
         2},
        {"ROUTE",
         h + "DEF T TimeSensor {} DEF S ScalarInterpolator {} "
             "ROUTE T.fraction_changed TO S.set_fraction",
         2},
        {"PROTO with IS",
         h + "PROTO P [ field SFFloat r 1 eventIn SFBool go ] "
             "{ Sphere { radius IS r } } P { r 2 }",
         1},
        {"PROTO inside a node", h + "Group { PROTO Q [] { Box {} } children Q {} }", 1},
        {"EXTERNPROTO", h + "EXTERNPROTO E [ field SFString s ] \"e.wrl#E\" E { s \"x\" }", 1},
        {"Script",
         h + "Script { field SFInt32 n 3 eventIn SFTime t eventOut SFBool b url "
             "\"javascript:\" }",
         1},
        {"every listed node",
         h + "Anchor {} Billboard {} Collision {} LOD {} Inline {} "
             "ImageTexture {} TextureTransform {} IndexedLineSet {} "
             "PointSet {} ElevationGrid {} Extrusion {} Text {} FontStyle {} "
             "Color {} Normal {} TextureCoordinate {} Viewpoint {} "
             "NavigationInfo {} Background {} Fog {} DirectionalLight {} "
             "PointLight {} SpotLight {} TouchSensor {} Cylinder {}",
         25},
        {"hand-written file", ReadDataFile("lamp_handwritten.wrl"), 1},
        {"exported file", ReadDataFile("stool_exported.wrl"), 1},
        {"one-line file", ReadDataFile("box_minimal.wrl"), 1},
        {"USE and ROUTE file", ReadDataFile("fan_use_route.wrl"), 3},
        {"several roots file", ReadDataFile("room_several_roots.wrl"), 6},
    };
    for (const AcceptedCase& c : cases) {
        ASSERT_HRESULT_SUCCEEDED(Build(c.text)) << c.pszWhat;
        LONG nRoots = -1;
        ASSERT_HRESULT_SUCCEEDED(m_spModel->get_Count(&nRoots));
        EXPECT_EQ(c.nRoots, nRoots) << c.pszWhat;
    }
}

struct RefusedCase {
    const char* pszWhat;
    std::string text;
};

TEST_F(EngineTest, RefusesWhatIsNotValidVrmlWithoutAPartialScene) {
    const std::string h = "#VRML V2.0 utf8\n";
    const std::string valid = "Group { children [ Shape { geometry Box {} } ] }\n";
    const std::string packed = [&] {
        const std::string text = h + valid;
        const std::vector<uint8_t> bytes =
            PackModel(reinterpret_cast<const uint8_t*>(text.data()), text.size());
        return std::string(bytes.begin(), bytes.end());
    }();
    const RefusedCase cases[] = {
        {"empty", ""},
        {"no header", valid},
        {"VRML 1.0 header", "#VRML V1.0 ascii\n" + valid},
        {"header glued to text", "#VRML V2.0 utf8Group {}"},
        {"packed file", packed},
        {"binary bytes", h + valid + std::string("\x01\x02\0\xff", 4)},
        {"invalid UTF-8 in a string", h + "WorldInfo { title \"\xC3\x28\" }"},
        {"unknown node type", h + valid + "Teapot {}"},
        {"unknown field", h + "Box { colour 1 0 0 }"},
        {"text for a number", h + valid + "Sphere { radius big }"},
        {"number glued to text", h + "Sphere { radius 1.5cm }"},
        {"vector too short", h + "Transform { translation 1 2 }"},
        {"list not whole vectors", h + "Coordinate { point [ 1 2 3 4 ] }"},
        {"int out of range", h + "Switch { whichChoice 2147483648 }"},
        {"bad boolean", h + "Cone { side yes }"},
        {"unclosed node", h + "Group { children ["},
        {"unclosed string", h + "WorldInfo { title \"abc }"},
        {"USE before DEF", h + "Shape { appearance USE Missing }"},
        {"ROUTE to an unknown node", h + "DEF T TimeSensor {} ROUTE T.a TO X.b"},
        {"IS outside a prototype", h + "Sphere { radius IS r }"},
        {"IS to an undeclared field", h + "PROTO P [] { Sphere { radius IS r } }"},
        {"duplicate interface field", h + "PROTO P [ field SFFloat a 1 field SFFloat a 2 ] {}"},
        {"prototype used in its own default", h + "PROTO P [ field SFNode n P {} ] { Group {} }"},
        {"NULL in a node list", h + "Group { children [ NULL ] }"},
        {"image with missing pixels", h + "PixelTexture { image 2 2 1 0 0 0 }"},
        {"nesting too deep", h +
                                 [] {
                                     std::string deep;
                                     for (int i = 0; i < 5000; ++i)
                                         deep += "Group { children ";
                                     return deep + "Box {}" + std::string(5000, '}');
                                 }()},
    };
    for (const RefusedCase& c : cases) {
        CComPtr<IMFNodeObject> spModel;
        EXPECT_HRESULT_FAILED(m_spEngine->CreateNodesFromStream(StreamOf(c.text), &spModel))
            << c.pszWhat;
        EXPECT_FALSE(spModel) << c.pszWhat;
        EXPECT_EQ(m_nObjectsAtStart, LiveObjects()) << c.pszWhat << ": objects left behind";
    }
    EXPECT_EQ(E_POINTER, m_spEngine->CreateNodesFromStream(nullptr, &m_spModel));
}

TEST_F(EngineTest, UseSharesTheDefinedNode) {
    ASSERT_HRESULT_SUCCEEDED(Build(ReadDataFile("fan_use_route.wrl")));
    CComPtr<INodeObject> spFan = Element(m_spModel, 0);
    EXPECT_EQ(L"Fan", NameOf(spFan));
    CComPtr<INodeObject> spRotor = [&] {
        CUniqueVariant children;
        CComQIPtr<IVariantFieldObject>(FieldOf(spFan, L"children"))->get_Value(&children);
        LONG i = 0;
        CUniqueVariant first;
        SafeArrayGetElement(V_ARRAY(&children), &i, &first);
        return CComQIPtr<INodeObject>(V_UNKNOWN(&first));
    }();
    ASSERT_TRUE(spRotor);
    EXPECT_EQ(L"Rotor", NameOf(spRotor));

    CUniqueVariant blades;
    ASSERT_HRESULT_SUCCEEDED(
        CComQIPtr<IVariantFieldObject>(FieldOf(spRotor, L"children"))->get_Value(&blades));
    std::vector<IUnknown*> shared;
    for (LONG i = 1; i < 4; ++i) {
        CUniqueVariant turned;
        SafeArrayGetElement(V_ARRAY(&blades), &i, &turned);
        CComQIPtr<INodeObject> spTurned(V_UNKNOWN(&turned));
        CUniqueVariant inner;
        CComQIPtr<IVariantFieldObject>(FieldOf(spTurned, L"children"))->get_Value(&inner);
        LONG zero = 0;
        CUniqueVariant blade;
        SafeArrayGetElement(V_ARRAY(&inner), &zero, &blade);
        shared.push_back(V_UNKNOWN(&blade));
    }
    LONG zero = 0;
    CUniqueVariant first;
    SafeArrayGetElement(V_ARRAY(&blades), &zero, &first);
    for (IUnknown* pBlade : shared)
        EXPECT_EQ(V_UNKNOWN(&first), pBlade);
}

TEST_F(EngineTest, PrototypeInterfaceFieldsAreTypedFieldsOfInstances) {
    for (const char* pszFile : {"lamp_handwritten.wrl", "room_several_roots.wrl"}) {
        ASSERT_HRESULT_SUCCEEDED(Build(ReadDataFile(pszFile))) << pszFile;
        LONG nRoots = 0;
        m_spModel->get_Count(&nRoots);
        CComPtr<INodeObject> spObject = Element(m_spModel, nRoots - 1);
        EXPECT_EQ(L"NamedObject", TypeNameOf(spObject));
        CComQIPtr<ISFStringObject> spName(FieldOf(spObject, L"_object_name_"));
        ASSERT_TRUE(spName) << pszFile;
        CUniqueBstr value;
        ASSERT_HRESULT_SUCCEEDED(spName->get_Value(value.put()));
        EXPECT_EQ(pszFile[0] == 'l' ? L"Desk lamp" : L"Sign", TextOf(value.get()));
        LONG nType = 0;
        spName->get_Type(&nType);
        EXPECT_EQ(VRML_SFSTRING, nType);
        EXPECT_FALSE(FieldOf(spObject, L"_object_name")) << "names match exactly";
        EXPECT_FALSE(FieldOf(spObject, L"_OBJECT_NAME_"));
    }
}

// Which interface a field of each type answers: its own for the six, IVariantFieldObject
// for the others, and never one of another type.
TEST_F(EngineTest, FieldsAnswerTheInterfaceOfTheirType) {
    const std::string decls =
        "field SFBool a TRUE field SFColor b 1 0 0 field SFFloat c 1 field SFImage d 0 0 0 "
        "field SFInt32 e 1 field SFNode f NULL field SFRotation g 0 0 1 0 field SFString h \"\" "
        "field SFTime i 0 field SFVec2f j 0 0 field SFVec3f k 0 0 0 field MFColor l [] "
        "field MFFloat m [] field MFInt32 n [] field MFNode o [] field MFRotation p [] "
        "field MFString q [] field MFTime r [] field MFVec2f s [] field MFVec3f t []";
    CComPtr<INodeObject> spNode = BuildOne("PROTO All [ " + decls + " ] { Group {} } All {}");
    ASSERT_TRUE(spNode);
    // The six own interfaces, and IVariantFieldObject (checked for every type as well).
    const struct {
        VrmlFieldType type;
        const IID* pIid;
    } own[] = {{VRML_SFNODE, &IID_ISFNodeObject},      {VRML_SFSTRING, &IID_ISFStringObject},
               {VRML_MFSTRING, &IID_IMFStringObject},  {VRML_SFVEC2F, &IID_ISFVec2fObject},
               {VRML_SFVEC3F, &IID_ISFVec3fObject},    {VRML_SFROTATION, &IID_ISFRotationObject},
               {VRML_SFBOOL, &IID_IVariantFieldObject}};
    for (LONG type = VRML_SFBOOL; type <= VRML_MFVEC3F; ++type) {
        const wchar_t name[2] = {static_cast<wchar_t>(L'a' + type - 1), 0};
        CComPtr<IFieldObject> spField = FieldOf(spNode, name);
        ASSERT_TRUE(spField) << type;
        LONG nType = 0;
        spField->get_Type(&nType);
        EXPECT_EQ(type, nType);
        const IID* pExpected = &IID_IVariantFieldObject;
        for (const auto& entry : own)
            if (entry.type == type)
                pExpected = entry.pIid;
        for (const auto& entry : own) {
            CComPtr<IUnknown> spInterface;
            const HRESULT hr =
                spField->QueryInterface(*entry.pIid, reinterpret_cast<void**>(&spInterface));
            EXPECT_EQ(entry.pIid == pExpected ? S_OK : E_NOINTERFACE, hr) << "field type " << type;
        }
        CComPtr<IFieldObject> spBase;
        EXPECT_EQ(S_OK,
                  spField->QueryInterface(IID_IFieldObject, reinterpret_cast<void**>(&spBase)));
    }

    CComPtr<IFieldsCollection> spFields;
    spNode->get_Fields(&spFields);
    LONG nCount = 0;
    spFields->get_Count(&nCount);
    EXPECT_EQ(20, nCount);
    CUniqueVariant index;
    V_VT(&index) = VT_I2;
    V_I2(&index) = 19;
    CComPtr<IFieldObject> spLast;
    ASSERT_HRESULT_SUCCEEDED(spFields->get_Item(&index, &spLast));
    CUniqueBstr lastName;
    spLast->get_Name(lastName.put());
    EXPECT_EQ(L"t", TextOf(lastName.get()));
    V_I2(&index) = 20;
    CComPtr<IFieldObject> spNone;
    EXPECT_HRESULT_FAILED(spFields->get_Item(&index, &spNone));
    EXPECT_FALSE(spNone);
}

// Builds a VARIANT holding a one-dimensional array of the given element type.
void MakeArray(VARIANT* pvar, VARTYPE vt, const std::vector<double>& values, LONG nLower = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), nLower};
    SAFEARRAY* psa = SafeArrayCreate(vt, 1, &bound);
    for (size_t i = 0; i < values.size(); ++i) {
        LONG index = nLower + static_cast<LONG>(i);
        CUniqueVariant element;
        V_VT(&element) = VT_R8;
        V_R8(&element) = values[i];
        if (vt == VT_VARIANT) {
            SafeArrayPutElement(psa, &index, &element);
        } else {
            VariantChangeType(&element, &element, 0, vt);
            SafeArrayPutElement(psa, &index, &V_UI1(&element));
        }
    }
    V_VT(pvar) = VT_ARRAY | vt;
    V_ARRAY(pvar) = psa;
}

TEST_F(EngineTest, VectorValuesTravelAsPackedArraysAndAcceptOtherForms) {
    CComPtr<INodeObject> spNode = BuildOne("Transform { translation 1 2 3 }");
    CComQIPtr<ISFVec3fObject> spTranslation(FieldOf(spNode, L"translation"));
    ASSERT_TRUE(spTranslation);
    CUniqueVariant value;
    ASSERT_HRESULT_SUCCEEDED(spTranslation->get_Value(&value));
    EXPECT_EQ((std::vector<float>{1, 2, 3}), PackedFloats(value));

    CUniqueVariant r4s, shifted, i4s, texts, inner, byRef;
    MakeArray(&r4s, VT_R4, {4, 5, 6});
    MakeArray(&shifted, VT_VARIANT, {7, 8, 9}, 1);
    MakeArray(&i4s, VT_VARIANT, {-1, 0, 1});
    MakeArray(&inner, VT_R8, {0.5, 1.5, 2.5});
    V_VT(&byRef) = VT_BYREF | VT_ARRAY | VT_R8;
    V_ARRAYREF(&byRef) = &V_ARRAY(&inner);
    const struct {
        const char* pszWhat;
        VARIANT* pvar;
        std::vector<float> expected;
    } accepted[] = {
        {"packed form", &value, {1, 2, 3}},
        {"array of floats", &r4s, {4, 5, 6}},
        {"lower bound 1", &shifted, {7, 8, 9}},
        {"array of VARIANTs converted", &i4s, {-1, 0, 1}},
        {"array behind a reference", &byRef, {0.5f, 1.5f, 2.5f}},
    };
    for (const auto& c : accepted) {
        ASSERT_HRESULT_SUCCEEDED(spTranslation->put_Value(*c.pvar)) << c.pszWhat;
        CUniqueVariant back;
        spTranslation->get_Value(&back);
        EXPECT_EQ(c.expected, PackedFloats(back)) << c.pszWhat;
    }

    CUniqueVariant two, four, scalar, words, matrix;
    MakeArray(&two, VT_VARIANT, {1, 2});
    MakeArray(&four, VT_R4, {1, 2, 3, 4});
    V_VT(&scalar) = VT_R4;
    V_R4(&scalar) = 1;
    SAFEARRAY* psaWords = SafeArrayCreateVector(VT_VARIANT, 0, 3);
    for (LONG i = 0; i < 3; ++i) {
        CUniqueVariant word;
        V_VT(&word) = VT_BSTR;
        V_BSTR(&word) = SysAllocString(L"many");
        SafeArrayPutElement(psaWords, &i, &word);
    }
    V_VT(&words) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&words) = psaWords;
    SAFEARRAYBOUND bounds[2] = {{3, 0}, {1, 0}};
    V_VT(&matrix) = VT_ARRAY | VT_R4;
    V_ARRAY(&matrix) = SafeArrayCreate(VT_R4, 2, bounds);
    for (VARIANT* pvar : {&two, &four, &scalar, &words, &matrix}) {
        EXPECT_HRESULT_FAILED(spTranslation->put_Value(*pvar));
        CUniqueVariant back;
        spTranslation->get_Value(&back);
        EXPECT_EQ((std::vector<float>{0.5f, 1.5f, 2.5f}), PackedFloats(back)) << "unchanged";
    }

    CComQIPtr<ISFRotationObject> spRotation(FieldOf(spNode, L"rotation"));
    CUniqueVariant rotation;
    ASSERT_HRESULT_SUCCEEDED(spRotation->put_Value(four));
    spRotation->get_Value(&rotation);
    EXPECT_EQ((std::vector<float>{1, 2, 3, 4}), PackedFloats(rotation));
    CComQIPtr<ISFVec2fObject> spScale(FieldOf(BuildOne("TextureTransform {}"), L"scale"));
    CUniqueVariant scale;
    spScale->get_Value(&scale);
    EXPECT_EQ((std::vector<float>{1, 1}), PackedFloats(scale));
}

TEST_F(EngineTest, VariantFieldsCarryScalarsAndLists) {
    CComPtr<INodeObject> spNode =
        BuildOne("IndexedFaceSet { solid FALSE creaseAngle 0.5 coordIndex [0 1 2 -1] "
                 "coord Coordinate { point [0 0 0, 1 0 0, 0 1 0] } }");
    const struct {
        const wchar_t* pszField;
        VARTYPE vt;
        double value; // for scalars; the element count for lists
    } reads[] = {
        {L"solid", VT_BOOL, 0},
        {L"creaseAngle", VT_R4, 0.5},
        {L"coordIndex", VT_ARRAY | VT_VARIANT, 4},
    };
    for (const auto& c : reads) {
        CComQIPtr<IVariantFieldObject> spField(FieldOf(spNode, c.pszField));
        ASSERT_TRUE(spField);
        CUniqueVariant value;
        ASSERT_HRESULT_SUCCEEDED(spField->get_Value(&value));
        ASSERT_EQ(c.vt, V_VT(&value));
        if (c.vt == VT_R4) {
            EXPECT_EQ(c.value, V_R4(&value));
        }
        if (c.vt == VT_BOOL) {
            EXPECT_EQ(VARIANT_FALSE, V_BOOL(&value));
        }
        if (c.vt & VT_ARRAY) {
            LONG nUpper = -1;
            SafeArrayGetUBound(V_ARRAY(&value), 1, &nUpper);
            EXPECT_EQ(c.value, nUpper + 1);
        }
    }
    CComQIPtr<IVariantFieldObject> spSolid(FieldOf(spNode, L"solid"));
    CUniqueVariant one;
    V_VT(&one) = VT_I4;
    V_I4(&one) = 1;
    ASSERT_HRESULT_SUCCEEDED(spSolid->put_Value(one));
    CUniqueVariant solid;
    spSolid->get_Value(&solid);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(&solid));
    CComQIPtr<IVariantFieldObject> spIndex(FieldOf(spNode, L"coordIndex"));
    CUniqueVariant notNumber;
    V_VT(&notNumber) = VT_BSTR;
    V_BSTR(&notNumber) = SysAllocString(L"x");
    EXPECT_HRESULT_FAILED(spIndex->put_Value(notNumber));
}

TEST_F(EngineTest, StringFieldsKeepTheirTextAndBounds) {
    CComPtr<INodeObject> spNode = BuildOne("Text { string [ \"one\" \"two\" ] }");
    CComQIPtr<IMFStringObject> spStrings(FieldOf(spNode, L"string"));
    ASSERT_TRUE(spStrings);
    CUniqueBstr first(SysAllocString(L"first"));
    ASSERT_HRESULT_SUCCEEDED(spStrings->put_Element(0, first.get()));
    ASSERT_HRESULT_SUCCEEDED(spStrings->put_Element(2, first.get())) << "the count appends";
    EXPECT_HRESULT_FAILED(spStrings->put_Element(4, first.get()));
    EXPECT_HRESULT_FAILED(spStrings->put_Element(-1, first.get()));
    LONG nCount = 0;
    spStrings->get_Count(&nCount);
    EXPECT_EQ(3, nCount);
    std::wstring all;
    for (LONG i = 0; i < nCount; ++i) {
        CUniqueBstr element;
        ASSERT_HRESULT_SUCCEEDED(spStrings->get_Element(i, element.put()));
        all += TextOf(element.get()) + L"|";
    }
    EXPECT_EQ(L"first|two|first|", all);
    BSTR bstrNone = reinterpret_cast<BSTR>(1);
    EXPECT_HRESULT_FAILED(spStrings->get_Element(3, &bstrNone));
    EXPECT_EQ(nullptr, bstrNone);

    CComQIPtr<ISFStringObject> spTitle(
        FieldOf(BuildOne("WorldInfo { title \"a\\\"b\" }"), L"title"));
    CUniqueBstr title;
    spTitle->get_Value(title.put());
    EXPECT_EQ(L"a\"b", TextOf(title.get()));
    const wchar_t withNul[] = L"x\0y";
    CUniqueBstr embedded(SysAllocStringLen(withNul, 3));
    ASSERT_HRESULT_SUCCEEDED(spTitle->put_Value(embedded.get()));
    spTitle->get_Value(title.put());
    EXPECT_EQ(std::wstring(withNul, 3), TextOf(title.get()));
    ASSERT_HRESULT_SUCCEEDED(spTitle->put_Value(nullptr));
    spTitle->get_Value(title.put());
    EXPECT_EQ(L"", TextOf(title.get()));
}

TEST_F(EngineTest, NodeFieldsHoldNodesOrNullAndRefuseCycles) {
    CComPtr<INodeObject> spShape = BuildOne("Shape { geometry Box {} }");
    CComQIPtr<ISFNodeObject> spAppearance(FieldOf(spShape, L"appearance"));
    CComQIPtr<ISFNodeObject> spGeometry(FieldOf(spShape, L"geometry"));
    CComPtr<INodeObject> spValue;
    ASSERT_HRESULT_SUCCEEDED(spAppearance->get_Value(&spValue));
    EXPECT_FALSE(spValue) << "NULL reads as null";
    ASSERT_HRESULT_SUCCEEDED(spGeometry->get_Value(&spValue));
    EXPECT_EQ(L"Box", TypeNameOf(spValue));

    CComPtr<INodeObject> spGroup = BuildOne("Group { children Transform {} }");
    EXPECT_HRESULT_SUCCEEDED(spGeometry->put_Value(spGroup));
    CComQIPtr<IVariantFieldObject> spChildren(FieldOf(spGroup, L"children"));
    CUniqueVariant withShape;
    SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    LONG zero = 0;
    CUniqueVariant element;
    V_VT(&element) = VT_UNKNOWN;
    V_UNKNOWN(&element) = spShape;
    spShape.p->AddRef();
    SafeArrayPutElement(psa, &zero, &element);
    V_VT(&withShape) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&withShape) = psa;
    EXPECT_EQ(E_INVALIDARG, spChildren->put_Value(withShape)) << "the shape holds the group";
    EXPECT_EQ(E_INVALIDARG, spGeometry->put_Value(spShape)) << "a node in itself";
    ASSERT_HRESULT_SUCCEEDED(spGeometry->put_Value(nullptr));
    ASSERT_HRESULT_SUCCEEDED(spGeometry->get_Value(&spValue));
    EXPECT_FALSE(spValue);
    EXPECT_HRESULT_SUCCEEDED(spChildren->put_Value(withShape)) << "no cycle any more";
}

// Packed files: round trip through a file and the reader, and every kind of damage refused.
class PackedModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        m_path = std::wstring(folder) + L"velmora_engine_packed.vmp";
        ASSERT_HRESULT_SUCCEEDED(CreateStandinModelReader(&m_spReader));
    }
    void TearDown() override {
        m_spReader.Release();
        DeleteFileW(m_path.c_str());
        EXPECT_EQ(0, LiveModelReaders());
    }
    // Reads the file through the reader into a buffer of nBufferBytes filled with '?'.
    HRESULT Read(const std::vector<uint8_t>& file, UINT nBufferBytes, std::string& content) {
        EXPECT_HRESULT_SUCCEEDED(WriteWholeFile(m_path.c_str(), file));
        CUniqueBstr path(SysAllocString(m_path.c_str()));
        CUniqueBstr buffer(SysAllocStringByteLen(nullptr, nBufferBytes));
        std::memset(buffer.get(), '?', nBufferBytes);
        BSTR bstr = buffer.get();
        const HRESULT hr = m_spReader->ReadPackedFile(path.get(), &bstr);
        EXPECT_EQ(buffer.get(), bstr) << "the reader fills the caller's buffer";
        content.assign(reinterpret_cast<const char*>(buffer.get()), nBufferBytes);
        return hr;
    }

    std::wstring m_path;
    CComPtr<IModelReader> m_spReader;
};

TEST_F(PackedModelTest, RoundTripsThroughTheReader) {
    const std::string text = ReadDataFile("lamp_handwritten.wrl");
    const std::wstring plainPath = m_path + L".wrl";
    ASSERT_HRESULT_SUCCEEDED(
        WriteWholeFile(plainPath.c_str(), std::vector<uint8_t>(text.begin(), text.end())));
    ASSERT_HRESULT_SUCCEEDED(PackModelFile(plainPath.c_str(), m_path.c_str()));
    DeleteFileW(plainPath.c_str());
    std::vector<uint8_t> packed;
    ASSERT_HRESULT_SUCCEEDED(ReadWholeFile(m_path.c_str(), packed));
    ASSERT_EQ(text.size() + 16, packed.size());
    EXPECT_EQ(std::string::npos, std::string(packed.begin(), packed.end()).find("VRML"))
        << "the packed form is not plain text";

    std::string content;
    ASSERT_HRESULT_SUCCEEDED(Read(packed, static_cast<UINT>(text.size()), content));
    EXPECT_EQ(text, content);
    ASSERT_HRESULT_SUCCEEDED(Read(packed, static_cast<UINT>(text.size() + 4), content));
    EXPECT_EQ(text + "????", content) << "a larger buffer keeps its tail";
}

TEST_F(PackedModelTest, RefusesDamagedFilesAndSmallBuffers) {
    const std::string text = "#VRML V2.0 utf8\nShape { geometry Box {} }\n";
    const std::vector<uint8_t> good =
        PackModel(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const auto damaged = [&](auto change) {
        std::vector<uint8_t> file = good;
        change(file);
        return file;
    };
    const struct {
        const char* pszWhat;
        std::vector<uint8_t> file;
        UINT nBuffer;
    } cases[] = {
        {"buffer too small", good, static_cast<UINT>(text.size() - 1)},
        {"content byte changed", damaged([](auto& f) { f[20] ^= 0x40; }), 64},
        {"truncated", damaged([](auto& f) { f.pop_back(); }), 64},
        {"longer than said", damaged([](auto& f) { f.push_back(0); }), 64},
        {"magic changed", damaged([](auto& f) { f[0] = 'X'; }), 64},
        {"version changed", damaged([](auto& f) { f[4] = 9; }), 64},
        {"checksum changed", damaged([](auto& f) { f[12] ^= 1; }), 64},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 16), 64},
        {"shorter than a header", std::vector<uint8_t>(good.begin(), good.begin() + 10), 64},
        {"plain text", std::vector<uint8_t>(text.begin(), text.end()), 64},
    };
    for (const auto& c : cases) {
        std::string content;
        EXPECT_HRESULT_FAILED(Read(c.file, c.nBuffer, content)) << c.pszWhat;
        EXPECT_EQ(std::string(c.nBuffer, '?'), content) << c.pszWhat << ": buffer written";
    }
    CUniqueBstr missing(SysAllocString(L"Z:/no/such/file.vmp"));
    CUniqueBstr buffer(SysAllocStringByteLen(nullptr, 64));
    BSTR bstr = buffer.get();
    EXPECT_HRESULT_FAILED(m_spReader->ReadPackedFile(missing.get(), &bstr));
}

TEST_F(PackedModelTest, RegisteredServerMakesReaders) {
    CComPtr<IModelReader> spReader;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_StandinModelReader, nullptr,
                                              CLSCTX_INPROC_SERVER, IID_IModelReader,
                                              reinterpret_cast<void**>(&spReader)));
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(kStandinModelReaderProgId, &clsid));
    EXPECT_EQ(CLSID_StandinModelReader, clsid);
}

} // namespace
