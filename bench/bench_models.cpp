// Loading a large plain model file into a stream, against a bare open-and-read of the same
// file into a fresh buffer in the same run; and the memory the load takes beyond the file.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "BenchHarness.h"
#include "VelmoraBase.h"

namespace {

constexpr DWORD kFileBytes = 64u << 20;

// A VRML text of kFileBytes bytes, written in small pieces so that writing it does not raise
// the process's peak working set.
std::wstring WriteLargeModel() {
    wchar_t szTemp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring path = std::wstring(szTemp) + L"velmora_bench_" +
                              std::to_wstring(::GetCurrentProcessId()) + L".wrl";
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string chunk = "#VRML V2.0 utf8\n";
    while (chunk.size() < 64 * 1024)
        chunk += "Transform { translation 1 2 3 children [ Shape { geometry Box { } } ] }\n";
    chunk.resize(64 * 1024);
    DWORD nWritten = 0;
    for (DWORD n = 0; n < kFileBytes; n += static_cast<DWORD>(chunk.size()))
        ::WriteFile(hFile, chunk.data(), static_cast<DWORD>(chunk.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
    return path;
}

// The bare way: open, size, a fresh buffer, one read.
void BareRead(const std::wstring& path) {
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD nSize = ::GetFileSize(hFile, nullptr);
    std::unique_ptr<char[]> buffer(new char[nSize]);
    DWORD nRead = 0;
    ::ReadFile(hFile, buffer.get(), nSize, &nRead, nullptr);
    ::CloseHandle(hFile);
    bench::KeepAlive(buffer);
}

bool LibraryRead(CVelmoraBase& host, const CString& strPath) {
    IStream* pStream = nullptr;
    void* hGlobal = nullptr;
    const bool bLoaded = host.CreateStreamFromFile(nullptr, strPath, &pStream, hGlobal, false);
    if (pStream)
        pStream->Release();
    return bLoaded;
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

} // namespace

int main() {
    ::CoInitialize(nullptr);
    const std::wstring path = WriteLargeModel();
    CVelmoraBase host(nullptr);
    const CString strPath = path.c_str();

    // Memory first, while the process's peak is still that of a small program.
    const SIZE_T nWorkingSetBefore = Memory().WorkingSetSize;
    IStream* pStream = nullptr;
    void* hGlobal = nullptr;
    const bool bLoaded = host.CreateStreamFromFile(nullptr, strPath, &pStream, hGlobal, false);
    const SIZE_T nPeakGrowth = Memory().PeakWorkingSetSize - nWorkingSetBefore;
    if (pStream)
        pStream->Release();
    const double fMemoryRatio = static_cast<double>(nPeakGrowth) / kFileBytes;
    std::printf("\nModel loading, %lu MiB plain file: loaded %s; peak working set grew by %.1f "
                "MiB = %.3fx the file (%s 1.10x)\n",
                static_cast<unsigned long>(kFileBytes >> 20), bLoaded ? "yes" : "NO",
                nPeakGrowth / 1048576.0, fMemoryRatio, fMemoryRatio <= 1.10 ? "within" : "OVER");

    bench::PrintHeader("Model loading: CreateStreamFromFile against a bare CreateFileW+ReadFile");
    const double fBare = bench::MedianSeconds([&] { BareRead(path); }, 1, 9);
    const double fLibrary = bench::MedianSeconds([&] { LibraryRead(host, strPath); }, 1, 9);
    bench::ReportRatio("CreateStreamFromFile, 64 MiB plain file", fBare, fLibrary, 1.10);

    ::DeleteFileW(path.c_str());
    ::CoUninitialize();
    return bLoaded ? 0 : 1;
}
