// Model loading: files read into streams (plain, and packed through a model reader), models
// built by the stand-in engine, and their root nodes added to the scene and named.
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCom.h"
#include "VelmoraBase.h"
#include "atl/AtlResource.h"
#include "reader/ModelReader.h"
#include "reader/PackedModel.h"
#include "viewer/engine/EngineTestHooks.h"
#include "viewer/engine/StandinEngine.h"

namespace {

constexpr char kPackedHeader[16] = {'P', 'A', 'C', 'K', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

constexpr char kTwoParts[] = R"(#VRML V2.0 utf8
PROTO Part [ field SFString _object_name_ "" field SFVec3f size 1 1 1 ] {
  Shape { geometry Box { size IS size } }
}
Part { _object_name_ "crane" }
Group { }
Part { _object_name_ "barge" }
)";
constexpr char kNoRoots[] = "#VRML V2.0 utf8\n";

// A model reader for the packed form of these tests: a 16-byte header, then the content as it
// is. It counts its calls and can fail or hand back a buffer of its own.
class FakeModelReader : public FakeComObject<IModelReader> {
public:
    enum Behaviour { Fill, ReplaceLonger, ReplaceShorter, Fail };
    Behaviour m_behaviour = Fill;
    int m_nCalls = 0;
    UINT m_nBufferBytes = 0;

    HRESULT STDMETHODCALLTYPE ReadPackedFile(BSTR bstrPath, BSTR* pbstrContent) override {
        ++m_nCalls;
        m_nBufferBytes = ::SysStringByteLen(*pbstrContent);
        if (m_behaviour == Fail)
            return E_FAIL;
        std::ifstream file(bstrPath, std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(file)), {});
        content.erase(0, sizeof kPackedHeader);
        if (m_behaviour == Fill) {
            std::memcpy(*pbstrContent, content.data(), m_nBufferBytes);
            return S_OK;
        }
        const UINT nBytes = m_behaviour == ReplaceLonger ? m_nBufferBytes + 8 : m_nBufferBytes / 2;
        content.resize(nBytes, '\n');
        ::SysFreeString(*pbstrContent);
        *pbstrContent = ::SysAllocStringByteLen(content.data(), nBytes);
        return S_OK;
    }
};

// Fails the test on any call: for paths that must not reach the viewer.
class UntouchableEngine : public FakeEngine {
public:
    HRESULT STDMETHODCALLTYPE get_Nodes(INodesCollection**) override { return Touched(); }
    HRESULT STDMETHODCALLTYPE CreateNodesFromStream(IStream*, IMFNodeObject**) override {
        return Touched();
    }
    HRESULT STDMETHODCALLTYPE get_Seed(IUnknown**) override { return Touched(); }

private:
    static HRESULT Touched() {
        ADD_FAILURE() << "the engine was called";
        return E_FAIL;
    }
};

std::string Packed(const std::string& content) {
    return std::string(kPackedHeader, sizeof kPackedHeader) + content;
}

std::string StreamContent(IStream* pStream) {
    STATSTG stat{};
    pStream->Stat(&stat, STATFLAG_NONAME);
    std::string content(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
    pStream->Seek({}, STREAM_SEEK_SET, nullptr);
    ULONG nRead = 0;
    pStream->Read(content.data(), static_cast<ULONG>(content.size()), &nRead);
    content.resize(nRead);
    return content;
}

int NameNumber(const CString& strName) {
    EXPECT_EQ(strName[0], L'$') << strName.GetString();
    return _wtoi(strName.GetString() + 1);
}

class ModelsTest : public ::testing::Test {
protected:
    CVelmoraBase m_host{nullptr};
    FakeModelReader m_reader;
    CComPtr<IEngine> m_spEngine;
    CComPtr<IEngineTestHooks> m_spHooks;
    CComPtr<INodesCollection> m_spNodes;
    std::wstring m_folder;
    std::vector<std::wstring> m_files;

    void SetUp() override {
        wchar_t szTemp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szTemp);
        m_folder = std::wstring(szTemp) + L"velmora_models_" +
                   std::to_wstring(::GetCurrentProcessId()) + L"\\";
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        m_host.m_spModelReader = &m_reader;
        ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&m_spEngine));
        ASSERT_HRESULT_SUCCEEDED(m_spEngine.QueryInterface(&m_spHooks));
        ASSERT_HRESULT_SUCCEEDED(m_spEngine->get_Nodes(&m_spNodes));
    }
    void TearDown() override {
        for (const std::wstring& file : m_files)
            ::DeleteFileW(file.c_str());
        ::RemoveDirectoryW(m_folder.c_str());
        m_host.m_spModelReader.Release();
        EXPECT_EQ(m_reader.m_nRefs, 1);
    }
    CString File(const wchar_t* pszName, const std::string& content) {
        const std::wstring path = m_folder + pszName;
        std::ofstream(path.c_str(), std::ios::binary).write(content.data(), content.size());
        m_files.push_back(path);
        return path.c_str();
    }
    LONG SceneNodes() {
        LONG n = -1;
        m_spNodes->get_Count(&n);
        return n;
    }
};

// What CreateStreamFromFile leaves in hGlobal: the sentinel, null, or the stream's block.
enum class Block { Untouched, Null, Stream };

struct StreamCase {
    const char* name;
    const wchar_t* pszFile; // null: no file
    std::string content;
    bool bPacked;
    FakeModelReader::Behaviour behaviour;
    bool bResult;
    Block block;
    std::string expected;
    int nReaderCalls;
};

const std::string kText = "#VRML V2.0 utf8\nGroup { }\n";

const StreamCase kStreamCases[] = {
    {"plain file", L"plain.wrl", kText, false, FakeModelReader::Fill, true, Block::Stream, kText,
     0},
    {"packed file", L"packed.pck", Packed(kText), true, FakeModelReader::Fill, true, Block::Stream,
     kText, 1},
    {"reader hands back a longer buffer", L"longer.pck", Packed(kText), true,
     FakeModelReader::ReplaceLonger, true, Block::Stream, kText, 1},
    {"no file, plain", nullptr, "", false, FakeModelReader::Fill, false, Block::Untouched, "", 0},
    {"no file, packed", nullptr, "", true, FakeModelReader::Fill, false, Block::Untouched, "", 0},
    {"zero bytes, plain", L"empty.wrl", "", false, FakeModelReader::Fill, false, Block::Untouched,
     "", 0},
    {"zero bytes, packed", L"empty.pck", "", true, FakeModelReader::Fill, false, Block::Untouched,
     "", 0},
    {"header only, packed", L"header.pck", Packed(""), true, FakeModelReader::Fill, false,
     Block::Untouched, "", 0},
    {"reader fails", L"damaged.pck", Packed(kText), true, FakeModelReader::Fail, false,
     Block::Untouched, "", 1},
    {"reader hands back too few bytes", L"short.pck", Packed(kText), true,
     FakeModelReader::ReplaceShorter, false, Block::Untouched, "", 1},
};

TEST_F(ModelsTest, CreateStreamFromFile) {
    for (const StreamCase& c : kStreamCases) {
        m_reader.m_nCalls = 0;
        m_reader.m_behaviour = c.behaviour;
        const CString strPath =
            c.pszFile ? File(c.pszFile, c.content) : CString((m_folder + L"missing.wrl").c_str());
        IStream* const pSentinelStream = reinterpret_cast<IStream*>(0x5EAF00D);
        void* const pSentinelBlock = reinterpret_cast<void*>(0xB10CC);
        IStream* pStream = pSentinelStream;
        void* hGlobal = pSentinelBlock;
        EXPECT_EQ(m_host.CreateStreamFromFile(m_spEngine, strPath, &pStream, hGlobal, c.bPacked),
                  c.bResult)
            << c.name;
        EXPECT_EQ(m_reader.m_nCalls, c.nReaderCalls) << c.name;
        if (c.nReaderCalls) {
            EXPECT_EQ(m_reader.m_nBufferBytes, kText.size()) << c.name;
        }
        if (!c.bResult) {
            EXPECT_EQ(pStream, pSentinelStream) << c.name;
            EXPECT_EQ(hGlobal, c.block == Block::Null ? nullptr : pSentinelBlock) << c.name;
            continue;
        }
        ASSERT_NE(pStream, pSentinelStream) << c.name;
        CComPtr<IStream> spStream;
        spStream.Attach(pStream);
        HGLOBAL hStreamBlock = nullptr;
        ::GetHGlobalFromStream(spStream, &hStreamBlock);
        EXPECT_EQ(hGlobal, hStreamBlock) << c.name;
        EXPECT_EQ(StreamContent(spStream), c.expected) << c.name;
    }
}

// A file whose reported size is larger than what can be read from it (on Wine, a kernel
// attribute file: 4096 bytes by its size, a few by reading) fails instead of loading half.
TEST_F(ModelsTest, AShortReadFailsAndFreesTheBlock) {
    const CString strPath = L"Z:\\sys\\kernel\\uevent_seqnum";
    if (::GetFileAttributesW(strPath) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no file whose size exceeds its content here";
    IStream* pStream = nullptr;
    void* hGlobal = reinterpret_cast<void*>(0xB10CC);
    EXPECT_FALSE(m_host.CreateStreamFromFile(m_spEngine, strPath, &pStream, hGlobal, false));
    EXPECT_EQ(pStream, nullptr);
    EXPECT_EQ(hGlobal, nullptr);
}

TEST_F(ModelsTest, CreateModelFromStream) {
    const CString strPlain = File(L"two.wrl", kTwoParts);
    const CString strPacked = File(L"two.pck", Packed(kTwoParts));
    const struct {
        const CString& strPath;
        bool bPacked;
        bool bModel;
    } cases[] = {
        {strPlain, false, true},
        {strPacked, true, true},
        {strPacked, false, false},
        {strPlain, true, false}, // the reader hands back text without its header
    };
    for (const auto& c : cases) {
        CComPtr<IMFNodeObject> spModel =
            m_host.CreateModelFromStream(m_spEngine, c.strPath, c.bPacked);
        EXPECT_EQ(!!spModel, c.bModel) << c.strPath.GetString() << " packed " << c.bPacked;
        LONG nCount = 0;
        if (spModel)
            spModel->get_Count(&nCount);
        EXPECT_EQ(nCount, c.bModel ? 3 : 0);
    }
    EXPECT_FALSE(m_host.CreateModelFromStream(nullptr, strPlain, false));
}

TEST_F(ModelsTest, RefusedBeforeReachingTheViewer) {
    UntouchableEngine engine;
    const CString strPlain = File(L"two.wrl", kTwoParts);
    CComPtr<INodeObject> spNode;
    CString strNodeName = L"unchanged", strObjectName = L"unchanged";
    EXPECT_FALSE(m_host.AddObjectFromModelFile(&engine, m_spNodes, L"", std::addressof(spNode),
                                               &strNodeName, &strObjectName));
    EXPECT_FALSE(m_host.AddObjectFromModelFile(nullptr, m_spNodes, strPlain));
    EXPECT_FALSE(m_host.AddObjectFromModelFile(m_spEngine, nullptr, strPlain));
    // Early failures leave the out-parameters as they were.
    for (const wchar_t* pszName : {L"missing.wrl", L"empty.wrl"}) {
        const CString strPath = std::wcscmp(pszName, L"empty.wrl") == 0
                                    ? File(pszName, "")
                                    : CString((m_folder + pszName).c_str());
        EXPECT_FALSE(m_host.AddObjectFromModelFile(
            m_spEngine, m_spNodes, strPath, std::addressof(spNode), &strNodeName, &strObjectName));
    }
    EXPECT_EQ(m_reader.m_nCalls, 0) << "neither file reaches the reader";
    EXPECT_FALSE(spNode);
    EXPECT_STREQ(strNodeName, L"unchanged");
    EXPECT_STREQ(strObjectName, L"unchanged");
    EXPECT_EQ(SceneNodes(), 0);
    EXPECT_EQ(engine.m_nRefs, 1);
}

TEST_F(ModelsTest, PlainAndPackedFilesLoad) {
    const struct {
        const wchar_t* pszFile;
        std::string content;
        bool bReader;
        bool bResult;
        int nReaderCalls;
    } cases[] = {
        {L"two.wrl", kTwoParts, true, true, 0},
        {L"two.pck", Packed(kTwoParts), true, true, 1},
        {L"two.pck", Packed(kTwoParts), false, false, 0},
        {L"notvrml.wrl", "solid cube\nendsolid\n", true, false, 1},
    };
    for (const auto& c : cases) {
        m_reader.m_nCalls = 0;
        m_host.m_spModelReader = c.bReader ? &m_reader : nullptr;
        const LONG nBefore = SceneNodes();
        EXPECT_EQ(m_host.AddObjectFromModelFile(m_spEngine, m_spNodes, File(c.pszFile, c.content)),
                  c.bResult)
            << c.pszFile;
        EXPECT_EQ(m_reader.m_nCalls, c.nReaderCalls) << c.pszFile;
        EXPECT_EQ(SceneNodes(), nBefore + (c.bResult ? 1 : 0)) << c.pszFile;
    }
}

TEST_F(ModelsTest, TheFirstRootThatIsAddedAndNamedEndsTheCall) {
    const CString strPath = File(L"two.wrl", kTwoParts);
    CComPtr<INodeObject> spFirst;
    CString strFirstName, strFirstObject;
    ASSERT_TRUE(m_host.AddObjectFromModelFile(
        m_spEngine, m_spNodes, strPath, std::addressof(spFirst), &strFirstName, &strFirstObject));
    EXPECT_STREQ(strFirstObject, L"crane");
    CUniqueBstr bstrName;
    ASSERT_TRUE(spFirst);
    spFirst->get_Name(bstrName.put());
    EXPECT_STREQ(bstrName.get(), strFirstName);

    // The first root is refused: the second (no object name of its own) is added and named.
    m_spHooks->RefuseNextAdds(1);
    CComPtr<INodeObject> spSecond;
    CString strSecondName, strSecondObject = L"stale";
    ASSERT_TRUE(m_host.AddObjectFromModelFile(m_spEngine, m_spNodes, strPath,
                                              std::addressof(spSecond), &strSecondName,
                                              &strSecondObject));
    EXPECT_EQ(NameNumber(strSecondName), NameNumber(strFirstName) + 1);
    EXPECT_STREQ(strSecondObject, L"") << "the object name of the node added";
    EXPECT_FALSE(spSecond.IsEqualObject(spFirst));
    EXPECT_EQ(SceneNodes(), 2);

    // The first root is added but cannot be named: it stays, its number is used up.
    m_spHooks->FailNextNames(1);
    CString strThirdName;
    ASSERT_TRUE(m_host.AddObjectFromModelFile(m_spEngine, m_spNodes, strPath, nullptr,
                                              &strThirdName, nullptr));
    EXPECT_EQ(NameNumber(strThirdName), NameNumber(strSecondName) + 2);
    EXPECT_EQ(SceneNodes(), 4);
}

TEST_F(ModelsTest, WhenNoRootIsAddedTheLastAttemptIsReported) {
    const CString strPath = File(L"two.wrl", kTwoParts);
    m_spHooks->RefuseNextAdds(3);
    CComPtr<INodeObject> spNode;
    CString strNodeName = L"unchanged", strObjectName;
    EXPECT_FALSE(m_host.AddObjectFromModelFile(
        m_spEngine, m_spNodes, strPath, std::addressof(spNode), &strNodeName, &strObjectName));
    ASSERT_TRUE(spNode) << "the node fetched last";
    CString strOwnObject;
    m_host.OperatorSFStringFieldValue(L"_object_name_", spNode, strOwnObject, true);
    EXPECT_STREQ(strOwnObject, L"barge");
    EXPECT_STREQ(strObjectName, L"barge");
    EXPECT_STREQ(strNodeName, L"") << "no node got as far as naming";
    EXPECT_EQ(SceneNodes(), 0);

    // A model without roots tries nothing and reports nothing.
    spNode = nullptr;
    strNodeName = strObjectName = L"unchanged";
    EXPECT_FALSE(m_host.AddObjectFromModelFile(m_spEngine, m_spNodes, File(L"none.wrl", kNoRoots),
                                               std::addressof(spNode), &strNodeName,
                                               &strObjectName));
    EXPECT_FALSE(spNode);
    EXPECT_STREQ(strNodeName, L"");
    EXPECT_STREQ(strObjectName, L"");
}

// Everything the loads took is given back once the scene's engine goes.
TEST_F(ModelsTest, ReferencesComeBack) {
    LONG nBefore = 0, nAfter = 0;
    m_spHooks->GetLiveObjectCount(&nBefore);
    {
        CComPtr<IEngine> spEngine;
        CComPtr<INodesCollection> spNodes;
        ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&spEngine));
        ASSERT_HRESULT_SUCCEEDED(spEngine->get_Nodes(&spNodes));
        const CString strPath = File(L"two.wrl", kTwoParts);
        const CString strPacked = File(L"two.pck", Packed(kTwoParts));
        for (const CString& strFile : {strPath, strPacked, strPath}) {
            CComPtr<INodeObject> spNode;
            ASSERT_TRUE(
                m_host.AddObjectFromModelFile(spEngine, spNodes, strFile, std::addressof(spNode)));
        }
        CComPtr<IEngineTestHooks> spHooks;
        ASSERT_HRESULT_SUCCEEDED(spEngine.QueryInterface(&spHooks));
        spHooks->RefuseNextAdds(3);
        EXPECT_FALSE(m_host.AddObjectFromModelFile(spEngine, spNodes, strPath));
    }
    m_spHooks->GetLiveObjectCount(&nAfter);
    EXPECT_EQ(nAfter, nBefore);
    EXPECT_EQ(m_reader.m_nRefs, 2) << "the host's own reference only";
}

// The VRML97 files of the test data load as they are, and packed through the stand-in
// model reader once the plain attempt is refused; a damaged packed copy does not load.
TEST_F(ModelsTest, RealWorldFilesLoad) {
    const std::wstring folder = VELMORA_TEST_DATA L"/";
    const struct {
        const wchar_t* pszFile;
        const wchar_t* pszObjectName;
    } knownObjectNames[] = {{L"lamp_handwritten.wrl", L"Desk lamp"}, {L"box_minimal.wrl", L""}};
    CComPtr<IModelReader> spReader;
    ASSERT_HRESULT_SUCCEEDED(CreateStandinModelReader(&spReader));
    m_host.m_spModelReader = spReader;
    WIN32_FIND_DATAW found;
    HANDLE hFind = ::FindFirstFileW((folder + L"*.wrl").c_str(), &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE) << "no VRML files in the test data";
    int nFiles = 0;
    do {
        const std::wstring source = folder + found.cFileName;
        const CString strPacked = File(L"packed.pck", "");
        ASSERT_HRESULT_SUCCEEDED(PackModelFile(source.c_str(), strPacked));
        std::string damaged;
        {
            std::ifstream packed(strPacked.GetString(), std::ios::binary);
            damaged.assign(std::istreambuf_iterator<char>(packed), {});
        }
        damaged[damaged.size() / 2 + 8] ^= 0x20;
        const CString strDamaged = File(L"damaged.pck", damaged);
        const struct {
            CString strPath;
            bool bLoads;
        } forms[] = {{source.c_str(), true}, {strPacked, true}, {strDamaged, false}};
        for (const auto& form : forms) {
            CComPtr<IEngine> spEngine;
            CComPtr<INodesCollection> spNodes;
            ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&spEngine));
            ASSERT_HRESULT_SUCCEEDED(spEngine->get_Nodes(&spNodes));
            CString strNodeName, strObjectName = L"unset";
            EXPECT_EQ(m_host.AddObjectFromModelFile(spEngine, spNodes, form.strPath, nullptr,
                                                    &strNodeName, &strObjectName),
                      form.bLoads)
                << found.cFileName << " as " << form.strPath.GetString();
            if (!form.bLoads)
                continue;
            EXPECT_EQ(strNodeName[0], L'$') << found.cFileName;
            for (const auto& known : knownObjectNames) {
                if (std::wcscmp(known.pszFile, found.cFileName) == 0) {
                    EXPECT_STREQ(strObjectName, known.pszObjectName) << found.cFileName;
                }
            }
        }
        ++nFiles;
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    EXPECT_GE(nFiles, 5);
}

} // namespace
