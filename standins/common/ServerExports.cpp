// The four entry points of a stand-in server DLL, for the class the DLL describes.
#include <objbase.h>

#include "StandinServer.h"

namespace {
standin::ClassFactory g_factory(standin::g_serverClass);
} // namespace

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return g_factory.GetClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow() {
    return g_factory.CanUnloadNow();
}

STDAPI DllRegisterServer() {
    return standin::RegisterServer(standin::g_serverClass);
}

STDAPI DllUnregisterServer() {
    return standin::UnregisterServer(standin::g_serverClass);
}
