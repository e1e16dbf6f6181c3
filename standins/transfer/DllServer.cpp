// The in-process COM server of the stand-in file-transfer component, registered by its CLSID
// only.
#include <new>

#include "InstallCtl.h"
#include "StandinComObject.h"
#include "StandinServer.h"

namespace {

HRESULT CreateInstallCtl(IUnknown** ppObject) {
    *ppObject = new (std::nothrow) transfer::CInstallCtl();
    return *ppObject ? S_OK : E_OUTOFMEMORY;
}

} // namespace

const standin::ServerClass standin::g_serverClass{CLSID_InstallCtl, nullptr, nullptr,
                                                  CreateInstallCtl,
                                                  standin::LiveObjects<transfer::CInstallCtl>};
