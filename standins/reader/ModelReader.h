// The stand-in model reader: a COM object offering IModelReader, registered as an in-process
// server (standin_reader.dll) and also made directly for tests and the demo.
#pragma once

#include "ViewerInterfaces.h"

// {C2E84F17-9B3D-4A62-8F05-71D6A9E03B48}
inline constexpr CLSID CLSID_StandinModelReader = {
    0xC2E84F17, 0x9B3D, 0x4A62, {0x8F, 0x05, 0x71, 0xD6, 0xA9, 0xE0, 0x3B, 0x48}};
inline constexpr wchar_t kStandinModelReaderProgId[] = L"VelmoraStandin.ModelReader";

// A reader without the registry. ReadPackedFile fills the caller's buffer when it holds at
// least the content's size in bytes and fails otherwise; a missing, damaged or truncated
// packed file fails and leaves the buffer untouched.
HRESULT CreateStandinModelReader(IModelReader** ppReader);

// Reader objects alive in this process (the server's unload check).
LONG LiveModelReaders();
