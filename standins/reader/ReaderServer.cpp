// The in-process COM server around the stand-in model reader, registered with a ProgID.
#include "ModelReader.h"
#include "StandinServer.h"

namespace {

HRESULT CreateReader(IUnknown** ppObject) {
    IModelReader* pReader = nullptr;
    const HRESULT hr = CreateStandinModelReader(&pReader);
    *ppObject = pReader;
    return hr;
}

} // namespace

const standin::ServerClass standin::g_serverClass{
    CLSID_StandinModelReader, kStandinModelReaderProgId, L"Velmora stand-in model reader",
    CreateReader, LiveModelReaders};
