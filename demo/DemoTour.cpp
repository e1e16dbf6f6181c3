#include "DemoTour.h"

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

#include "DemoLog.h"
#include "atl/AtlResource.h"
#include "reader/ModelReader.h"

namespace {

enum class Outcome { Passed, Failed, Skipped };

Outcome Check(bool ok) {
    return ok ? Outcome::Passed : Outcome::Failed;
}

struct TourContext {
    CDemoHost& host;
    CWindow& mainWnd;
    CString strDataFolder; // demo-data\ beside the executable
    CComPtr<INodeObject> spLamp;
};

// Lets the windows handle what the steps posted to them.
void PumpMessages() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(20);
    }
}

Outcome CreateViewer(TourContext& t) {
    CDemoHost& h = t.host;
    const bool created = h.CreateCortonaControl(&h.m_viewer, t.mainWnd, CRect());
    const bool wired = h.InitCortonaInterface(&h.m_viewer, h.m_spCortona, h.m_spEngine,
                                              h.m_spViewService, h.m_spNodes);
    DemoLog(L"  control created: %d, interfaces: %d, sinks: %d", created, wired,
            static_cast<int>(h.m_vecSinks.size()));
    return Check(created && wired && h.m_spViewService && h.m_spNodes);
}

Outcome InputReachesHandlers(TourContext& t) {
    const HWND hInput = t.host.ViewerInputWindow();
    ::PostMessageW(hInput, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
    ::PostMessageW(hInput, WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    ::PostMessageW(hInput, WM_KEYDOWN, 'A', 0);
    ::PostMessageW(hInput, WM_KEYUP, 'A', 0);
    PumpMessages();
    return Check(t.host.m_nMouseDowns >= 1 && t.host.m_nMouseUps >= 1 && t.host.m_nClicks >= 1 &&
                 t.host.m_nKeyDowns >= 1);
}

bool AddModel(TourContext& t, const CString& strPath, CComPtr<INodeObject>* pspNode) {
    CDemoHost& h = t.host;
    CString strNodeName, strObjectName;
    const bool ok = h.AddObjectFromModelFile(h.m_spEngine, h.m_spNodes, strPath, pspNode,
                                             &strNodeName, &strObjectName);
    DemoLog(L"  %ls: %ls, node name %ls, object name \"%ls\"", strPath.GetString(),
            ok ? L"added" : L"NOT added", strNodeName.GetString(), strObjectName.GetString());
    return ok;
}

Outcome LoadPlainModel(TourContext& t) {
    return Check(AddModel(t, t.strDataFolder + L"lamp.wrl", std::addressof(t.spLamp)));
}

Outcome LoadPackedModel(TourContext& t) {
    CDemoHost& h = t.host;
    // The packed file's bytes are offered to the engine first; only after it refuses them
    // does the reader unpack them.
    if (FAILED(h.m_spModelReader.CoCreateInstance(CLSID_StandinModelReader)))
        return Outcome::Failed;
    return Check(AddModel(t, t.strDataFolder + L"stool.vmpk", nullptr));
}

Outcome ReadAndWriteFields(TourContext& t) {
    CDemoHost& h = t.host;
    float translation[3] = {};
    bool ok = h.OperatorSFVec3fFieldValue(L"translation", t.spLamp, translation, true);
    DemoLog(L"  translation was %.2f %.2f %.2f", translation[0], translation[1], translation[2]);
    translation[0] += 0.5f;
    ok = ok && h.OperatorSFVec3fFieldValue(L"translation", t.spLamp, translation, false);
    float readBack[3] = {};
    ok = ok && h.OperatorSFVec3fFieldValue(L"translation", t.spLamp, readBack, true) &&
         readBack[0] == translation[0];
    DemoLog(L"  translation now %.2f %.2f %.2f", readBack[0], readBack[1], readBack[2]);

    float rotation[4] = {0, 1, 0, 0.6f};
    ok = ok && h.OperatorSFRotationFieldValue(L"rotation", t.spLamp, rotation, false);

    CString strTitle;
    ok = ok && h.OperatorMFStringFieldValue(L"title", t.spLamp, strTitle, true);
    DemoLog(L"  title was \"%ls\"", strTitle.GetString());
    CString strNewTitle = strTitle + L" (moved)";
    ok = ok && h.OperatorMFStringFieldValue(L"title", t.spLamp, strNewTitle, false);
    ok = ok && h.OperatorMFStringFieldValue(L"title", t.spLamp, strTitle, true) &&
         strTitle == strNewTitle;
    DemoLog(L"  title now \"%ls\"", strTitle.GetString());

    CString strObjectName;
    ok = ok && h.OperatorSFStringFieldValue(L"_object_name_", t.spLamp, strObjectName, true);
    DemoLog(L"  object name \"%ls\"; a field that is not a vector refuses vector access: %ls",
            strObjectName.GetString(),
            h.OperatorSFVec3fFieldValue(L"_object_name_", t.spLamp, readBack, true) ? L"no"
                                                                                    : L"yes");
    return Check(ok);
}

Outcome NavigateWithArrowKeys(TourContext& t) {
    CDemoHost& h = t.host;
    bool ok = h.SetNavigationInfo(h.m_spCortona, true, 3, L"EXAMINE", L"LINEAR");
    LONG bHeadlight = 0;
    SHORT nSpeed = 0;
    CUniqueBstr type, transition;
    h.m_spCortona->get_Headlight(&bHeadlight);
    h.m_spCortona->get_Speed(&nSpeed);
    h.m_spCortona->get_NavigationType(type.put());
    h.m_spCortona->get_TransitionType(transition.put());
    DemoLog(L"  navigation: headlight %ld, speed %d, type %ls, transition %ls", bHeadlight, nSpeed,
            type.get(), transition.get());

    ViewRecord before{}, after{};
    h.m_spViewService->GetView(&before);
    const int nMovesBefore = h.m_nCameraMoves;
    const HWND hInput = h.ViewerInputWindow();
    for (WPARAM key : {VK_LEFT, VK_LEFT, VK_LEFT, VK_UP, VK_UP})
        ::PostMessageW(hInput, WM_KEYDOWN, key, 0);
    PumpMessages();
    h.m_spViewService->GetView(&after);
    DemoLog(L"  view moved from (%.1f, %.1f) to (%.1f, %.1f)", before.fPanX, before.fPanY,
            after.fPanX, after.fPanY);
    ok = ok && bHeadlight == 1 && nSpeed == 3 && after.fPanX == before.fPanX - 3 &&
         after.fPanY == before.fPanY + 2 && h.m_nCameraMoves - nMovesBefore == 5;
    return Check(ok);
}

Outcome SaveAndOpenLineList(TourContext& t) {
    CDemoHost& h = t.host;
    const std::vector<CString> lines = {L"lamp.wrl", L"", L"stool.vmpk", L"chair.wrl"};
    const CString strPath = t.strDataFolder + L"recent-models.txt";
    std::vector<CString> reopened;
    const bool ok = h.SaveConfigeFile(strPath, lines) && h.OpenConfigeFile(strPath, reopened, 260);
    DemoLog(L"  saved %d lines, reopened %d", static_cast<int>(lines.size()),
            static_cast<int>(reopened.size()));
    return Check(ok && reopened == lines);
}

Outcome DownloadAndUpload(TourContext& t) {
    CDemoHost& h = t.host;
    const wchar_t* pszPort = _wgetenv(L"VELMORA_HTTP_PORT");
    if (!pszPort) {
        DemoLog(L"  no local file server (VELMORA_HTTP_PORT is not set)");
        return Outcome::Skipped;
    }
    // The tour talks to the local server only; the host's default address is never used.
    bool ok = h.InitFileTransfer(h.m_spInstallCtl, h.m_strServiceName, L"127.0.0.1", _wtoi(pszPort),
                                 h.m_strLocalFolder);
    DemoLog(L"  local folder %ls", h.m_strLocalFolder.GetString());
    ok = ok && h.DownloadFile(L"chair.wrl", false);
    DemoLog(L"  chair.wrl downloaded: %ls", ok ? L"yes" : L"no");
    ok = ok && AddModel(t, h.m_strLocalFolder + L"chair.wrl", nullptr);
    const bool uploaded = h.UploadFile(t.strDataFolder + L"recent-models.txt", false);
    DemoLog(L"  recent-models.txt uploaded: %ls", uploaded ? L"yes" : L"no");
    return Check(ok && uploaded);
}

Outcome UseStringUtilities(TourContext& t) {
    CDemoHost& h = t.host;
    std::vector<CString> parts;
    bool ok = h.Split(L"lamp;stool;;chair", L";", parts, true) && parts.size() == 3;
    const CString joined = h.Join(parts, L", ");
    const CString upper = h.To_Upper_lower(joined, true);
    const int second = h.Find_Nth(joined, L", ", 1);
    const CString replaced = h.Replace_First(joined, L"stool", L"bench");
    const CString trimmed = h.Trim_Any_Of(L"--model--", L"-", 0);
    DemoLog(L"  Split+Join: \"%ls\"; upper: \"%ls\"; second \", \" at %d; replaced: \"%ls\"; "
            L"trimmed: \"%ls\"",
            joined.GetString(), upper.GetString(), second, replaced.GetString(),
            trimmed.GetString());
    ok = ok && joined == L"lamp, stool, chair" && upper == L"LAMP, STOOL, CHAIR" && second == 11 &&
         replaced == L"lamp, bench, chair" && trimmed == L"model";
    return Check(ok);
}

Outcome ShowTipOverViewer(TourContext& t) {
    CDemoHost& h = t.host;
    if (!h.InitTipDlg())
        return Outcome::Failed;
    h.ShowTip(h.ViewerInputWindow(), CPoint(470, 330), L"Desk lamp $1: arrows move the view", 12,
              CSize(7, 15), L"Arial", FW_NORMAL);
    PumpMessages();
    return Check(h.m_pTipDlg && h.m_pTipDlg->IsWindowVisible());
}

struct TourStep {
    const wchar_t* name;
    Outcome (*run)(TourContext& tour);
};

constexpr TourStep kSteps[] = {
    {L"the viewer control is created in the main window", CreateViewer},
    {L"input in the viewer reaches the host's handlers", InputReachesHandlers},
    {L"a plain model is loaded and named", LoadPlainModel},
    {L"a packed model is loaded through the model reader", LoadPackedModel},
    {L"fields are read and written", ReadAndWriteFields},
    {L"navigation settings and arrow keys move the view", NavigateWithArrowKeys},
    {L"a line list is saved and reopened", SaveAndOpenLineList},
    {L"a model is downloaded from the local server and a file uploaded", DownloadAndUpload},
    {L"string utilities", UseStringUtilities},
    {L"a tip shows over the viewer", ShowTipOverViewer},
};

CString DataFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path, static_cast<int>(n));
    return folder.Left(folder.ReverseFind(L'\\') + 1) + L"demo-data\\";
}

} // namespace

bool RunDemoTour(CDemoHost& host, CWindow& mainWnd) {
    TourContext tour{host, mainWnd, DataFolder(), nullptr};
    int failures = 0;
    for (const TourStep& step : kSteps) {
        DemoLog(L"step: %ls", step.name);
        const Outcome outcome = step.run(tour);
        DemoLog(L"  %ls", outcome == Outcome::Passed    ? L"ok"
                          : outcome == Outcome::Skipped ? L"skipped"
                                                        : L"FAILED");
        failures += outcome == Outcome::Failed;
    }
    DemoLog(L"tour: %d of %d steps failed", failures, static_cast<int>(std::size(kSteps)));
    return failures == 0;
}
