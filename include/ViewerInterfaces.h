// The COM interfaces the library talks to, shared by the library and the stand-in components:
// the viewer control and its scene engine, the file-transfer component and the model reader.
//
// Interface identities that the viewer and the transfer component define are used as they are;
// the others are this project's own. Every method returns an HRESULT; strings cross as BSTRs
// owned by the caller for [in] and by the receiver for [out].
#pragma once

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <oaidl.h>

// Declares the IID_<name> constant and makes __uuidof(<name>) work.
#define VELMORA_DECLARE_IID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)                       \
    inline constexpr IID IID_##name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};               \
    __CRT_UUID_DECL(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)

struct INodeObject;
struct INodesCollection;
struct IMFNodeObject;
struct IFieldObject;
struct IFieldsCollection;

// The viewer's outgoing event interface (a dispatch interface reached through the control's
// connection-point container). Its DISPIDs and arguments are listed in CortonaSink.h.
inline constexpr IID DIID_ICortonaEvents = {
    0xFDB8ABB0, 0x4362, 0x11D3, {0x9D, 0x7C, 0x00, 0xA0, 0x24, 0x7A, 0x5F, 0x3F}};

// The value view service records are exchanged in: 48 bytes. Only the first two values have a
// meaning the library relies on; the rest belongs to the viewer.
struct ViewRecord {
    float fPanX;        // first view value: horizontal shift of the view
    float fPanY;        // second view value: vertical shift of the view
    float fDistance;    // distance of the camera from the centre of the scene
    float fAxis[3];     // camera orientation axis
    float fAngle;       // camera orientation angle, radians
    float fFieldOfView; // radians
    float fReserved[4];
};
static_assert(sizeof(ViewRecord) == 48, "the view record is 48 bytes");

// The flag the library passes with every SetView: animate the change and report it.
constexpr LONG VIEW_SET_ANIMATED_NOTIFY = 10;

// The control's main interface.
struct ICortona : public IUnknown {
    // ppEngine receives an object that offers IEngine.
    virtual HRESULT STDMETHODCALLTYPE GetEngine(IUnknown** ppEngine) = 0;
    // The four navigation settings: headlight on (1) or off (0), movement speed, navigation
    // type (such as "EXAMINE") and transition type (such as "LINEAR").
    virtual HRESULT STDMETHODCALLTYPE put_Headlight(LONG bOn) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Headlight(LONG* pbOn) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Speed(SHORT nSpeed) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Speed(SHORT* pnSpeed) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NavigationType(BSTR bstrType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NavigationType(BSTR* pbstrType) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TransitionType(BSTR bstrType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TransitionType(BSTR* pbstrType) = 0;
};
VELMORA_DECLARE_IID(ICortona, 0x86A88965, 0x7A20, 0x11D2, 0x8E, 0xDA, 0x00, 0x60, 0x08, 0x18, 0xED,
                    0xB1)

// The scene engine. It also answers QueryInterface for IServiceProvider, which gives the view
// service under the service identity IID_I3DViewService4.
struct IEngine : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Nodes(INodesCollection** ppNodes) = 0;
    // Builds the nodes of a model from VRML text; ppModel receives its root nodes.
    virtual HRESULT STDMETHODCALLTYPE CreateNodesFromStream(IStream* pStream,
                                                            IMFNodeObject** ppModel) = 0;
    // ppSeed receives an object that offers ISeedObject.
    virtual HRESULT STDMETHODCALLTYPE get_Seed(IUnknown** ppSeed) = 0;
};
VELMORA_DECLARE_IID(IEngine, 0x11DD74D3, 0x9025, 0x11D2, 0xBA, 0x48, 0x00, 0xA0, 0xC9, 0x4C, 0x69,
                    0x5A)

// The engine's seed: the number the first generated node name of a process starts from.
struct ISeedObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) = 0;
};
VELMORA_DECLARE_IID(ISeedObject, 0x5E0B6D21, 0x3C8A, 0x4F2E, 0x9B, 0x61, 0x2D, 0x7A, 0x41, 0xC3,
                    0x08, 0x95)

struct I3DViewService4 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetView(ViewRecord* pView) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetView(const ViewRecord* pView, LONG nFlags) = 0;
};
VELMORA_DECLARE_IID(I3DViewService4, 0x757B0F53, 0x1359, 0x462D, 0xBD, 0x2E, 0x47, 0xAE, 0x36, 0x18,
                    0xC2, 0x2B)

// The nodes of the scene.
struct INodesCollection : public IUnknown {
    // pvarBefore: where to insert; VT_ERROR (a missing argument) appends.
    virtual HRESULT STDMETHODCALLTYPE Add(INodeObject* pNode, VARIANT* pvarBefore) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG nIndex, INodeObject** ppNode) = 0;
};
VELMORA_DECLARE_IID(INodesCollection, 0x8C1E3F52, 0x6A0D, 0x4B7C, 0xA3, 0x19, 0x5F, 0x02, 0xE8,
                    0x7B, 0x44, 0xD6)

// A multi-node value, such as the root nodes of a model.
struct IMFNodeObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Element(LONG nIndex, INodeObject** ppNode) = 0;
};
VELMORA_DECLARE_IID(IMFNodeObject, 0x2F6A9C13, 0x8E47, 0x4D05, 0x91, 0xB2, 0x6C, 0x3D, 0xF0, 0x58,
                    0x27, 0xA1)

struct INodeObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_Name(BSTR bstrName) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* pbstrName) = 0;
    // The VRML node type, such as "Transform".
    virtual HRESULT STDMETHODCALLTYPE get_TypeName(BSTR* pbstrType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Fields(IFieldsCollection** ppFields) = 0;
};
VELMORA_DECLARE_IID(INodeObject, 0x4B93D7E0, 0x1F25, 0x4A6C, 0x8D, 0x3E, 0x72, 0xB9, 0x0C, 0x61,
                    0xF5, 0x2E)

// The fields of one node.
struct IFieldsCollection : public IUnknown {
    // varKey: the field name (VT_BSTR) or its index. *ppField stays null when there is none.
    virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT* pvarKey, IFieldObject** ppField) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) = 0;
};
VELMORA_DECLARE_IID(IFieldsCollection, 0x9A47E2C5, 0x0B63, 0x4E18, 0xB7, 0x5D, 0x13, 0x8F, 0xA6,
                    0x2C, 0x90, 0x4B)

// VRML field types as IFieldObject::get_Type reports them.
enum VrmlFieldType : LONG {
    VRML_SFBOOL = 1,
    VRML_SFCOLOR,
    VRML_SFFLOAT,
    VRML_SFIMAGE,
    VRML_SFINT32,
    VRML_SFNODE,
    VRML_SFROTATION,
    VRML_SFSTRING,
    VRML_SFTIME,
    VRML_SFVEC2F,
    VRML_SFVEC3F,
    VRML_MFCOLOR,
    VRML_MFFLOAT,
    VRML_MFINT32,
    VRML_MFNODE,
    VRML_MFROTATION,
    VRML_MFSTRING,
    VRML_MFTIME,
    VRML_MFVEC2F,
    VRML_MFVEC3F,
};

// A field of a node. Its value is reached through the interface of its type (below), by
// QueryInterface on the field.
struct IFieldObject : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* pbstrName) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(LONG* pnType) = 0;
};
VELMORA_DECLARE_IID(IFieldObject, 0x6D0C58B4, 0x27F1, 0x4C93, 0xAE, 0x40, 0x81, 0x5B, 0x3A, 0xD7,
                    0x16, 0xC9)

// The field-type interfaces. Vector values travel as VARIANT arrays of floats.
struct ISFNodeObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(INodeObject** ppNode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(INodeObject* pNode) = 0;
};
VELMORA_DECLARE_IID(ISFNodeObject, 0x276E474E, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53, 0x54,
                    0x00, 0x00)

struct ISFStringObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* pbstrValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(BSTR bstrValue) = 0;
};
VELMORA_DECLARE_IID(ISFStringObject, 0x276E4752, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53, 0x54,
                    0x00, 0x00)

struct IMFStringObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Element(LONG nIndex, BSTR* pbstrValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Element(LONG nIndex, BSTR bstrValue) = 0;
};
VELMORA_DECLARE_IID(IMFStringObject, 0x276E4766, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53, 0x54,
                    0x00, 0x00)

// SFVec2f, SFVec3f and SFRotation share one shape: 2, 3 and 4 floats.
struct ISFVec2fObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pvarValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT varValue) = 0;
};
VELMORA_DECLARE_IID(ISFVec2fObject, 0x276E4754, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53, 0x54,
                    0x00, 0x00)

struct ISFVec3fObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pvarValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT varValue) = 0;
};
VELMORA_DECLARE_IID(ISFVec3fObject, 0x276E4756, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53, 0x54,
                    0x00, 0x00)

struct ISFRotationObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pvarValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT varValue) = 0;
};
VELMORA_DECLARE_IID(ISFRotationObject, 0x276E4750, 0x3148, 0x11D1, 0xBA, 0xD8, 0x44, 0x45, 0x53,
                    0x54, 0x00, 0x00)

// Every other field type: its value as a VARIANT (numbers, VT_BOOL, VT_BSTR, or an array).
struct IVariantFieldObject : public IFieldObject {
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pvarValue) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT varValue) = 0;
};
VELMORA_DECLARE_IID(IVariantFieldObject, 0x0E5B8A37, 0xD4C2, 0x4F61, 0x8A, 0x9E, 0x3B, 0x70, 0x1D,
                    0xC4, 0x5F, 0x82)

// The model reader: turns a packed model file into its content.
struct IModelReader : public IUnknown {
    // *pbstrContent holds a caller-allocated buffer of the content's length in bytes (the file
    // size minus 16). The reader fills it, or frees it and puts a new BSTR of at least that many
    // bytes in its place.
    virtual HRESULT STDMETHODCALLTYPE ReadPackedFile(BSTR bstrPath, BSTR* pbstrContent) = 0;
};
VELMORA_DECLARE_IID(IModelReader, 0xA73C4E19, 0x52B8, 0x4D0F, 0x86, 0x2A, 0xE1, 0x94, 0x07, 0x3B,
                    0xD6, 0x5C)

// The file-transfer component.
struct IInstallCtl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetServiceName(BSTR bstrName) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetServerAddress(BSTR bstrAddress) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetServerPort(int nPort) = 0;
    // *pbstrFolder receives the local folder, ending with a path separator.
    virtual HRESULT STDMETHODCALLTYPE GetLocalFolder(BSTR* pbstrFolder) = 0;
    // *pbCurrent: non-zero when the local copy of the file (nSize bytes) need not be fetched.
    virtual HRESULT STDMETHODCALLTYPE IsLocalFileCurrent(BSTR bstrName, long nSize,
                                                         VARIANT_BOOL* pbCurrent) = 0;
    // Fetches the file into the local folder, at the local folder followed by the name.
    virtual HRESULT STDMETHODCALLTYPE Download(BSTR bstrName) = 0;
    // Sends the local file at bstrPath.
    virtual HRESULT STDMETHODCALLTYPE Upload(BSTR bstrPath) = 0;
};
VELMORA_DECLARE_IID(IInstallCtl, 0x2A95070F, 0xB11F, 0x4715, 0x86, 0x1F, 0xC0, 0x9C, 0x42, 0xD3,
                    0x8C, 0x92)

inline constexpr CLSID CLSID_InstallCtl = {
    0x7D4B48DA, 0x60C8, 0x4753, {0xA7, 0xBB, 0x2E, 0xDC, 0x5F, 0x6D, 0x38, 0xEF}};
