// File transfer: the library's decisions against a recording component, and the stand-in
// component end to end against the nginx that the test scripts start (VELMORA_HTTP_PORT,
// VELMORA_HTTP_ROOT). Failure messages are caught and dismissed by a CBT hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FakeCom.h"
#include "TransferPaths.h"
#include "VelmoraBase.h"

namespace {

namespace fs = std::filesystem;

const std::wstring kCaption = L"\u51FA\u9519\u5566";
const std::wstring kDownloadFailed = L"\u4E0B\u8F7D\u6587\u4EF6<";
const std::wstring kUploadFailed = L"\u4E0A\u4F20\u6587\u4EF6<";
const std::wstring kFailed = L">\u5931\u8D25!";

void WriteBytes(const fs::path& path, const std::string& bytes) {
    FILE* pFile = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(pFile, nullptr) << path.string();
    fwrite(bytes.data(), 1, bytes.size(), pFile);
    fclose(pFile);
}

std::optional<std::string> ReadBytes(const fs::path& path) {
    FILE* pFile = _wfopen(path.c_str(), L"rb");
    if (!pFile)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), pFile)) > 0)
        bytes.append(chunk, n);
    fclose(pFile);
    return bytes;
}

fs::path TempFolder(const wchar_t* pszPurpose) {
    const fs::path dir = fs::temp_directory_path() /
                         (std::wstring(pszPurpose) + std::to_wstring(::GetCurrentProcessId()));
    fs::create_directories(dir);
    return dir;
}

// Records every message box this thread shows, and closes it with OK.
class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        s_pActive = this;
        m_hHook = ::SetWindowsHookExW(WH_CBT, &CbtProc, nullptr, ::GetCurrentThreadId());
    }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
    ~MessageBoxCatcher() {
        ::UnhookWindowsHookEx(m_hHook);
        s_pActive = nullptr;
    }

    // "caption|text" of each box, in order.
    const std::vector<std::wstring>& Seen() const { return m_boxes; }

private:
    // Activation also reaches other windows (the one that gets the focus back when a box
    // closes); only dialog boxes are message boxes.
    static LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
        const HWND hWnd = reinterpret_cast<HWND>(wParam);
        wchar_t szClass[16] = {};
        if (nCode == HCBT_ACTIVATE && s_pActive && ::GetClassNameW(hWnd, szClass, 16) &&
            std::wstring(szClass) == L"#32770" && s_pActive->m_seen.insert(hWnd).second) {
            wchar_t szCaption[256] = {};
            wchar_t szText[1024] = {};
            ::GetWindowTextW(hWnd, szCaption, 256);
            ::GetDlgItemTextW(hWnd, 0xFFFF, szText, 1024);
            s_pActive->m_boxes.push_back(std::wstring(szCaption) + L"|" + szText);
            ::PostMessageW(hWnd, WM_COMMAND, IDOK, 0);
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline MessageBoxCatcher* s_pActive = nullptr;
    HHOOK m_hHook = nullptr;
    std::set<HWND> m_seen;
    std::vector<std::wstring> m_boxes;
};

// A component that records what the library asks and answers as configured.
class RecordingInstallCtl : public FakeComObject<IInstallCtl> {
public:
    std::vector<std::wstring> m_calls;
    long m_nSizeAsked = 0;
    VARIANT_BOOL m_bCurrent = VARIANT_FALSE;
    HRESULT m_hrTransfer = S_OK;

    HRESULT STDMETHODCALLTYPE SetServiceName(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetServerAddress(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetServerPort(int) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetLocalFolder(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsLocalFileCurrent(BSTR bstrName, long nSize,
                                                 VARIANT_BOOL* pbCurrent) override {
        m_calls.push_back(L"current " + std::wstring(bstrName));
        m_nSizeAsked = nSize;
        *pbCurrent = m_bCurrent;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Download(BSTR bstrName) override {
        m_calls.push_back(L"download " + std::wstring(bstrName));
        return m_hrTransfer;
    }
    HRESULT STDMETHODCALLTYPE Upload(BSTR bstrPath) override {
        m_calls.push_back(L"upload " + std::wstring(bstrPath));
        return m_hrTransfer;
    }
};

using Calls = std::vector<std::wstring>;

class TransferDecisions : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = TempFolder(L"velmora-decisions-");
        m_host.m_spInstallCtl = &m_ctl;
        // Deliberately without a trailing separator: the name is appended as it is.
        m_host.m_strLocalFolder = (m_dir / L"models").c_str();
    }
    void TearDown() override {
        m_host.m_spInstallCtl.Release();
        EXPECT_EQ(m_ctl.m_nRefs, 1);
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    fs::path m_dir;
    RecordingInstallCtl m_ctl;
    CVelmoraBase m_host{nullptr};
};

TEST_F(TransferDecisions, DownloadAsksAboutTheFolderJoinedDirectlyToTheName) {
    WriteBytes(m_dir / L"modelscar.wrl", "12345");
    const struct {
        VARIANT_BOOL bCurrent;
        HRESULT hrDownload;
        bool bResult;
        Calls calls;
    } cases[] = {
        {VARIANT_TRUE, S_OK, true, {L"current car.wrl"}},
        {VARIANT_FALSE, S_OK, true, {L"current car.wrl", L"download car.wrl"}},
        {VARIANT_FALSE, E_FAIL, false, {L"current car.wrl", L"download car.wrl"}},
    };
    for (const auto& c : cases) {
        m_ctl.m_calls.clear();
        m_ctl.m_bCurrent = c.bCurrent;
        m_ctl.m_hrTransfer = c.hrDownload;
        EXPECT_EQ(m_host.DownloadFile(L"car.wrl", false), c.bResult);
        EXPECT_EQ(m_ctl.m_calls, c.calls);
        EXPECT_EQ(m_ctl.m_nSizeAsked, 5);
    }
}

TEST_F(TransferDecisions, DownloadReportedDoneWithoutAFileIsAQuietFailure) {
    MessageBoxCatcher boxes;
    EXPECT_FALSE(m_host.DownloadFile(L"car.wrl", true));
    EXPECT_EQ(m_ctl.m_calls, (Calls{L"download car.wrl"}));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(TransferDecisions, FileOfTwoGigabytesIsNeverTakenAsCurrentUnasked) {
    const fs::path big = m_dir / L"modelsbig.bin";
    WriteBytes(big, "");
    std::error_code error;
    fs::resize_file(big, 0x80000000ULL + 7, error); // sparse: no disk space is used
    if (error)
        GTEST_SKIP() << "cannot make a 2 GiB file here: " << error.message();
    m_ctl.m_bCurrent = VARIANT_TRUE;
    EXPECT_TRUE(m_host.DownloadFile(L"big.bin", false));
    // -1 is no file's size, so no component can call the copy current by size.
    EXPECT_EQ(m_ctl.m_calls, (Calls{L"current big.bin"}));
    EXPECT_EQ(m_ctl.m_nSizeAsked, -1);
}

TEST_F(TransferDecisions, NothingHappensWithoutComponentNameOrFile) {
    WriteBytes(m_dir / L"modelscar.wrl", "12345");
    MessageBoxCatcher boxes;
    EXPECT_FALSE(m_host.DownloadFile(L"", true));
    EXPECT_FALSE(m_host.UploadFile((m_dir / L"missing.txt").c_str(), true));
    EXPECT_TRUE(m_ctl.m_calls.empty());

    CVelmoraBase withoutComponent(nullptr);
    withoutComponent.m_strLocalFolder = m_host.m_strLocalFolder;
    EXPECT_FALSE(withoutComponent.DownloadFile(L"car.wrl", true));
    EXPECT_FALSE(withoutComponent.UploadFile((m_dir / L"modelscar.wrl").c_str(), true));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST(TransferPaths, NamesMapToServerPathsInsideTheService) {
    const struct {
        std::wstring name;
        std::optional<std::wstring> path;
    } cases[] = {
        {L"car.wrl", L"/svc/car.wrl"},
        {L"models\\car.wrl", L"/svc/models/car.wrl"},
        {L"a b+c%.wrl", L"/svc/a%20b%2Bc%25.wrl"},
        {L"\u4E2D.wrl", L"/svc/%E4%B8%AD.wrl"},
        {L"", std::nullopt},
        {L"..\\secret", std::nullopt},
        {L"\\root.wrl", std::nullopt},
        {L"C:\\car.wrl", std::nullopt},
        {L"a\\\\b", std::nullopt},
        {L"dir\\", std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> segments;
        std::wstring path;
        const bool bValid = transfer::SplitRelativeName(c.name, segments) &&
                            transfer::ServerPath(L"svc", segments, path);
        EXPECT_EQ(bValid ? std::optional<std::wstring>(path) : std::nullopt, c.path)
            << std::string(c.name.begin(), c.name.end());
    }
}

TEST(TransferPaths, ContentLengthIsPlainDecimal) {
    const struct {
        std::wstring text;
        std::optional<unsigned long long> value;
    } cases[] = {
        {L"0", 0ULL},           {L"4294967296", 4294967296ULL},
        {L"", std::nullopt},    {L"-1", std::nullopt},
        {L"12 ", std::nullopt}, {L"99999999999999999999", std::nullopt}, // beyond 64 bits
    };
    for (const auto& c : cases) {
        unsigned long long value = 0;
        const bool bParsed = transfer::ParseContentLength(c.text, value);
        EXPECT_EQ(bParsed ? std::optional<unsigned long long>(value) : std::nullopt, c.value)
            << std::string(c.text.begin(), c.text.end());
    }
}

// The stand-in component against the test server.
class TransferServer : public ::testing::Test {
protected:
    void SetUp() override {
        const char* pszPort = getenv("VELMORA_HTTP_PORT");
        const char* pszRoot = getenv("VELMORA_HTTP_ROOT");
        if (!pszPort || !pszRoot)
            GTEST_SKIP() << "VELMORA_HTTP_PORT/VELMORA_HTTP_ROOT unset: no test server "
                            "(scripts/nginx.sh starts one)";
        m_nPort = atoi(pszPort);
        m_strService = L"velmora-test-" + std::to_wstring(::GetCurrentProcessId());
        // The served folder seen through Wine's drive for the Unix root.
        std::wstring strRoot = L"Z:" + std::wstring(pszRoot, pszRoot + strlen(pszRoot));
        for (wchar_t& ch : strRoot)
            if (ch == L'/')
                ch = L'\\';
        m_serverFolder = fs::path(strRoot) / m_strService;
        fs::create_directories(m_serverFolder);
        m_dir = TempFolder(L"velmora-transfer-");
        ASSERT_TRUE(m_host.InitFileTransfer(m_host.m_spInstallCtl, m_strService.c_str(),
                                            L"127.0.0.1", m_nPort, m_host.m_strLocalFolder));
        m_localFolder = m_host.m_strLocalFolder.GetString();
    }
    void TearDown() override {
        std::error_code ignored;
        if (!m_localFolder.empty())
            fs::remove_all(m_localFolder, ignored);
        fs::remove_all(m_serverFolder, ignored);
        fs::remove_all(m_dir, ignored);
    }

    std::vector<fs::path> LocalFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_localFolder))
            if (entry.is_regular_file())
                files.push_back(entry.path().lexically_relative(m_localFolder));
        return files;
    }

    int m_nPort = 0;
    std::wstring m_strService;
    fs::path m_serverFolder;
    fs::path m_dir;
    std::wstring m_localFolder;
    CVelmoraBase m_host{nullptr};
};

TEST_F(TransferServer, InitReportsTheServiceFolderOncePerPointer) {
    ASSERT_FALSE(m_localFolder.empty());
    EXPECT_EQ(m_localFolder.back(), L'\\');
    EXPECT_NE(m_localFolder.find(L"\\" + m_strService + L"\\"), std::wstring::npos);
    EXPECT_TRUE(fs::is_directory(m_localFolder));
    // The host's pointer holds the only reference.
    IInstallCtl* const pCtl = m_host.m_spInstallCtl;
    EXPECT_EQ(pCtl->AddRef(), 2u);
    EXPECT_EQ(pCtl->Release(), 1u);

    CString strFolder = L"unchanged";
    EXPECT_FALSE(
        m_host.InitFileTransfer(m_host.m_spInstallCtl, L"other", L"127.0.0.1", m_nPort, strFolder));
    EXPECT_TRUE(m_host.m_spInstallCtl == pCtl);
    EXPECT_EQ(std::wstring(strFolder), L"unchanged");
}

TEST_F(TransferServer, InitStopsAtAMissingSettingAndKeepsTheComponent) {
    const struct {
        const wchar_t* pszService;
        const wchar_t* pszAddress;
        int nPort;
    } cases[] = {{L"", L"127.0.0.1", 80}, {L"svc", L"", 80}, {L"svc", L"127.0.0.1", 1}};
    for (const auto& c : cases) {
        CComPtr<IInstallCtl> spCtl;
        CString strFolder = L"unchanged";
        EXPECT_FALSE(
            m_host.InitFileTransfer(spCtl, c.pszService, c.pszAddress, c.nPort, strFolder));
        ASSERT_TRUE(spCtl != nullptr);
        EXPECT_EQ(std::wstring(strFolder), L"unchanged");
        IInstallCtl* const pCtl = spCtl;
        EXPECT_FALSE(
            m_host.InitFileTransfer(spCtl, m_strService.c_str(), L"127.0.0.1", m_nPort, strFolder));
        EXPECT_TRUE(spCtl == pCtl);
        EXPECT_EQ(std::wstring(strFolder), L"unchanged");
    }
}

TEST_F(TransferServer, PortOneStopsAfterServiceAndAddressWereHandedOver) {
    WriteBytes(m_serverFolder / L"car.wrl", "server copy");
    CVelmoraBase host(nullptr);
    EXPECT_FALSE(host.InitFileTransfer(host.m_spInstallCtl, m_strService.c_str(), L"127.0.0.1", 1,
                                       host.m_strLocalFolder));
    EXPECT_TRUE(host.m_strLocalFolder.IsEmpty());
    // Given a port by hand, the half-configured component fetches from the service it was told.
    ASSERT_TRUE(host.m_spInstallCtl != nullptr);
    host.m_spInstallCtl->SetServerPort(m_nPort);
    host.m_strLocalFolder = m_host.m_strLocalFolder;
    EXPECT_TRUE(host.DownloadFile(L"car.wrl", false));
    EXPECT_EQ(ReadBytes(m_localFolder + L"car.wrl"), "server copy");
}

TEST_F(TransferServer, DownloadFetchesMissingAndOutdatedCopiesAndKeepsCurrentOnes) {
    const struct {
        const wchar_t* pszName;
        std::optional<std::string> server;
        std::optional<std::string> localBefore;
        bool bResult;
        std::optional<std::string> localAfter;
    } cases[] = {
        {L"missing.wrl", "AAAA", std::nullopt, true, "AAAA"},
        // Same size: current, so the local bytes stay although they differ.
        {L"current.wrl", "AAAA", "BBBB", true, "BBBB"},
        {L"outdated.wrl", "AAAA", "BB", true, "AAAA"},
        {L"sub\\nested.wrl", "CC", std::nullopt, true, "CC"},
        {L"absent.wrl", std::nullopt, std::nullopt, false, std::nullopt},
        {L"absent-kept.wrl", std::nullopt, "keep", false, "keep"},
    };
    for (const auto& c : cases) {
        const fs::path name(c.pszName);
        SCOPED_TRACE(name.string());
        if (c.server) {
            fs::create_directories((m_serverFolder / name).parent_path());
            WriteBytes(m_serverFolder / name, *c.server);
        }
        if (c.localBefore)
            WriteBytes(m_localFolder + c.pszName, *c.localBefore);
        EXPECT_EQ(m_host.DownloadFile(c.pszName, false), c.bResult);
        EXPECT_EQ(ReadBytes(m_localFolder + c.pszName), c.localAfter);
    }
    // Failed and finished downloads leave no partial files behind.
    const std::vector<fs::path> expected = {L"absent-kept.wrl", L"current.wrl", L"missing.wrl",
                                            L"outdated.wrl", fs::path(L"sub") / L"nested.wrl"};
    std::vector<fs::path> files = LocalFiles();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected);
}

TEST_F(TransferServer, UploadPutsTheFileUnderTheService) {
    const fs::path local = m_dir / L"up load.txt";
    WriteBytes(local, std::string("bytes\0with zero\r\n", 17));
    EXPECT_TRUE(m_host.UploadFile(local.c_str(), false));
    EXPECT_EQ(ReadBytes(m_serverFolder / L"up load.txt"), std::string("bytes\0with zero\r\n", 17));
}

TEST_F(TransferServer, FailedTransfersShowAMessageOnlyWhenAsked) {
    // The server cannot store a file where it has a folder.
    const fs::path local = m_dir / L"blocked.txt";
    WriteBytes(local, "x");
    fs::create_directories(m_serverFolder / L"blocked.txt");
    const std::wstring strLocal = local.wstring();
    for (const bool bShowMsg : {true, false}) {
        SCOPED_TRACE(bShowMsg);
        MessageBoxCatcher boxes;
        EXPECT_FALSE(m_host.DownloadFile(L"absent.wrl", bShowMsg));
        EXPECT_FALSE(m_host.UploadFile(strLocal.c_str(), bShowMsg));
        EXPECT_FALSE(m_host.UploadFile((m_dir / L"missing.txt").c_str(), bShowMsg));
        if (!bShowMsg) {
            EXPECT_TRUE(boxes.Seen().empty());
            continue;
        }
        const std::vector<std::wstring> expected = {
            kCaption + L"|" + kDownloadFailed + L"absent.wrl" + kFailed,
            kCaption + L"|" + kUploadFailed + strLocal + kFailed};
        EXPECT_EQ(boxes.Seen(), expected);
    }
}

} // namespace
