// The host object: defaults, copying, destruction and the default event handlers.
//
// Copies share the event sinks and the tip dialog object with their source. Each of those
// carries a count of the host objects that hold it, and the last holder deletes it, so copying,
// assigning and destroying in any order deletes every shared object exactly once.
#include "VelmoraBase.h"

namespace {

// Never contacted: hosts and tests pass the address of their own server.
constexpr wchar_t kDefaultServerAddress[] = L"192.168.61.20";
constexpr wchar_t kDefaultServiceName[] = L"quorbelV4";
constexpr int kDefaultServerPort = 2006;

} // namespace

CVelmoraBase::CVelmoraBase(CWindow* pMainWnd)
    : m_hInstance(::GetModuleHandleW(nullptr)), m_nHostSetting1(2), m_nHostSetting2(1),
      m_nHostSetting3(1), m_pMainWnd(pMainWnd), m_pTipDlg(nullptr), m_liStartCounter(),
      m_liFrequency(), m_strServiceName(kDefaultServiceName),
      m_strServerAddress(kDefaultServerAddress), m_nServerPort(kDefaultServerPort),
      m_nScreenWidth(::GetSystemMetrics(SM_CXSCREEN)),
      m_nScreenHeight(::GetSystemMetrics(SM_CYSCREEN)) {
    // The frequency first, then the counter, so the counter is as close to "now" as possible.
    ::QueryPerformanceFrequency(&m_liFrequency);
    ::QueryPerformanceCounter(&m_liStartCounter);
}

CVelmoraBase::CVelmoraBase(const CVelmoraBase& other)
    : m_hInstance(other.m_hInstance), m_nHostSetting1(other.m_nHostSetting1),
      m_nHostSetting2(other.m_nHostSetting2), m_nHostSetting3(other.m_nHostSetting3),
      m_pMainWnd(other.m_pMainWnd), m_pTipDlg(other.m_pTipDlg),
      m_liStartCounter(other.m_liStartCounter), m_liFrequency(other.m_liFrequency),
      m_spModelReader(other.m_spModelReader), m_spInstallCtl(other.m_spInstallCtl),
      m_strServiceName(other.m_strServiceName), m_strServerAddress(other.m_strServerAddress),
      m_nServerPort(other.m_nServerPort), m_strLocalFolder(other.m_strLocalFolder),
      m_vecSinks(other.m_vecSinks), m_nScreenWidth(other.m_nScreenWidth),
      m_nScreenHeight(other.m_nScreenHeight) {
    AdoptShared(*this);
}

CVelmoraBase& CVelmoraBase::operator=(const CVelmoraBase& other) {
    if (this == &other)
        return *this;
    // Copy the list first: it can throw, and nothing has changed hands yet.
    std::vector<CCortonaSink*> vecSinks(other.m_vecSinks);
    AdoptShared(other);
    ReleaseShared();
    m_vecSinks.swap(vecSinks);
    m_pTipDlg = other.m_pTipDlg;
    m_hInstance = other.m_hInstance;
    m_nHostSetting1 = other.m_nHostSetting1;
    m_nHostSetting2 = other.m_nHostSetting2;
    m_nHostSetting3 = other.m_nHostSetting3;
    m_pMainWnd = other.m_pMainWnd;
    m_liStartCounter = other.m_liStartCounter;
    m_liFrequency = other.m_liFrequency;
    m_spModelReader = other.m_spModelReader;
    m_spInstallCtl = other.m_spInstallCtl;
    m_strServiceName = other.m_strServiceName;
    m_strServerAddress = other.m_strServerAddress;
    m_nServerPort = other.m_nServerPort;
    m_strLocalFolder = other.m_strLocalFolder;
    m_nScreenWidth = other.m_nScreenWidth;
    m_nScreenHeight = other.m_nScreenHeight;
    return *this;
}

CVelmoraBase::~CVelmoraBase() {
    // The tip window goes with the first host object destroyed, so that copies find none.
    if (m_pTipDlg && m_pTipDlg->IsWindow())
        m_pTipDlg->DestroyWindow();
    ReleaseShared();
}

// Counts this object as one more holder of the sinks and tip dialog that `from` holds.
void CVelmoraBase::AdoptShared(const CVelmoraBase& from) {
    for (CCortonaSink* pSink : from.m_vecSinks)
        if (pSink)
            ++pSink->m_nOwners;
    if (from.m_pTipDlg)
        ++from.m_pTipDlg->m_nOwners;
}

// Gives up this object's hold on its sinks and tip dialog, deleting those it held last.
void CVelmoraBase::ReleaseShared() {
    for (CCortonaSink* pSink : m_vecSinks)
        if (pSink && --pSink->m_nOwners == 0)
            delete pSink;
    m_vecSinks.clear();
    if (m_pTipDlg && --m_pTipDlg->m_nOwners == 0)
        delete m_pTipDlg;
    m_pTipDlg = nullptr;
}

void CVelmoraBase::Click(CComPtr<IEngine>) {}
void CVelmoraBase::DblClick(CComPtr<IEngine>) {}
void CVelmoraBase::MouseMove(CComPtr<IEngine>, short, short, long, long) {}
void CVelmoraBase::MouseDown(CComPtr<IEngine>, short, short, long, long) {}
void CVelmoraBase::MouseUp(CComPtr<IEngine>, short, short, long, long) {}
void CVelmoraBase::OnKeyDown(CComPtr<IEngine>, short, short) {}
void CVelmoraBase::OnKeyUp(CComPtr<IEngine>, short, short) {}
void CVelmoraBase::OnMouseEnter(CComPtr<IEngine>) {}
void CVelmoraBase::OnMouseOut(CComPtr<IEngine>) {}
void CVelmoraBase::OnEventOut(CComPtr<IEngine>, IDispatch*, wchar_t*, wchar_t*, double) {}
void CVelmoraBase::OnSceneLoaded(CComPtr<IEngine>, short) {}
void CVelmoraBase::OnAnchor(CComPtr<IEngine>, wchar_t*, wchar_t*, wchar_t*, wchar_t*) {}
void CVelmoraBase::OnSceneUnloaded(CComPtr<IEngine>) {}
void CVelmoraBase::OnDrag(CComPtr<IEngine>, wchar_t*, short, short, long, long) {}
void CVelmoraBase::OnDrop(CComPtr<IEngine>, wchar_t*, short, short, long, long) {}
void CVelmoraBase::OnFrameRateMeasured(CComPtr<IEngine>, float) {}
void CVelmoraBase::OnCameraMove(CComPtr<IEngine>, long) {}
