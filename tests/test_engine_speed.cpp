// How fast the stand-in engine builds a large exported model: a multi-MiB IndexedFaceSet,
// reported in MiB/s and as a ratio against converting the same numbers with from_chars alone.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "../bench/support/BenchHarness.h"
#include "VelmoraBase.h"
#include "viewer/engine/StandinEngine.h"

namespace {

std::string LargeFaceSet(int nGrid) {
    std::string text = "#VRML V2.0 utf8\nDEF Terrain Shape {\n  geometry IndexedFaceSet {\n"
                       "    coord Coordinate {\n      point [\n";
    char line[96];
    for (int z = 0; z < nGrid; ++z)
        for (int x = 0; x < nGrid; ++x) {
            std::snprintf(line, sizeof line, "        %.6f %.6f %.6f,\n", x * 0.1,
                          (x * z % 7) * 0.01, z * 0.1);
            text += line;
        }
    text += "      ]\n    }\n    coordIndex [\n";
    for (int z = 0; z + 1 < nGrid; ++z)
        for (int x = 0; x + 1 < nGrid; ++x) {
            const int i = z * nGrid + x;
            std::snprintf(line, sizeof line, "      %d, %d, %d, %d, -1,\n", i, i + 1, i + nGrid + 1,
                          i + nGrid);
            text += line;
        }
    return text + "    ]\n  }\n}\n";
}

// The baseline: every number of the text through from_chars, nothing else.
double ConvertNumbers(const std::string& text) {
    double sum = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        if ((*p >= '0' && *p <= '9') || *p == '-') {
            float value = 0;
            const auto result = std::from_chars(p, end, value);
            sum += value;
            p = result.ptr == p ? p + 1 : result.ptr;
        } else {
            ++p;
        }
    }
    return sum;
}

TEST(EngineSpeed, ParsesALargeIndexedFaceSet) {
    const std::string text = LargeFaceSet(300);
    const double dMiB = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    CComPtr<IEngine> spEngine;
    ASSERT_HRESULT_SUCCEEDED(CreateStandinEngine(&spEngine));
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, text.size());
    std::memcpy(GlobalLock(hGlobal), text.data(), text.size());
    GlobalUnlock(hGlobal);
    CComPtr<IStream> spStream;
    ASSERT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(hGlobal, TRUE, &spStream));

    HRESULT hr = E_FAIL;
    const double dParse = bench::MedianSeconds(
        [&] {
            LARGE_INTEGER start{};
            spStream->Seek(start, STREAM_SEEK_SET, nullptr);
            CComPtr<IMFNodeObject> spModel;
            hr = spEngine->CreateNodesFromStream(spStream, &spModel);
        },
        1, 5);
    ASSERT_HRESULT_SUCCEEDED(hr);
    double dSum = 0;
    const double dBaseline = bench::MedianSeconds([&] { dSum += ConvertNumbers(text); }, 1, 5);
    bench::KeepAlive(dSum);
    std::printf("parse: %.2f MiB in %.1f ms = %.1f MiB/s; %.2fx the time of from_chars over "
                "its numbers\n",
                dMiB, dParse * 1e3, dMiB / dParse, dParse / dBaseline);
}

} // namespace
