// velmora-pack: writes the packed form of a model file, for tests and the demo.
//   velmora-pack <model file> <packed file>
#include <cwchar>

#include "PackedModel.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputws(L"usage: velmora-pack <model file> <packed file>\n", stderr);
        return 2;
    }
    const HRESULT hr = PackModelFile(argv[1], argv[2]);
    if (FAILED(hr)) {
        std::fwprintf(stderr, L"velmora-pack: cannot pack %ls into %ls (0x%08lx)\n", argv[1],
                      argv[2], static_cast<unsigned long>(hr));
        return 1;
    }
    return 0;
}
