#include "PackedModel.h"

#include <algorithm>
#include <cstring>

#include "atl/AtlResource.h"

namespace {

constexpr uint8_t kMagic[4] = {'V', 'M', 'P', 'K'};
constexpr uint32_t kVersion = 1;

uint32_t Checksum(const uint8_t* p, size_t n) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < n; ++i)
        hash = (hash ^ p[i]) * 16777619u;
    return hash;
}

// XOR with the keystream; applying it twice gives the original back.
void Scramble(uint8_t* p, size_t n, uint32_t nSize) {
    uint32_t state = 0x9E3779B9u ^ nSize;
    if (state == 0)
        state = 1;
    for (size_t i = 0; i < n; ++i) {
        if (i % 4 == 0) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
        }
        p[i] ^= static_cast<uint8_t>(state >> (8 * (i % 4)));
    }
}

void PutU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

} // namespace

std::vector<uint8_t> PackModel(const uint8_t* pContent, size_t nSize) {
    std::vector<uint8_t> packed(kPackedHeaderSize + nSize);
    std::memcpy(packed.data(), kMagic, sizeof kMagic);
    PutU32(&packed[4], kVersion);
    PutU32(&packed[8], static_cast<uint32_t>(nSize));
    PutU32(&packed[12], Checksum(pContent, nSize));
    if (nSize)
        std::memcpy(&packed[kPackedHeaderSize], pContent, nSize);
    Scramble(&packed[kPackedHeaderSize], nSize, static_cast<uint32_t>(nSize));
    return packed;
}

HRESULT UnpackModel(const uint8_t* pPacked, size_t nPackedSize, uint8_t* pContent,
                    size_t nCapacity) {
    const HRESULT kDamaged = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    if (!pPacked || nPackedSize < kPackedHeaderSize ||
        std::memcmp(pPacked, kMagic, sizeof kMagic) != 0 || GetU32(pPacked + 4) != kVersion)
        return kDamaged;
    const uint32_t nSize = GetU32(pPacked + 8);
    if (nPackedSize - kPackedHeaderSize != nSize)
        return kDamaged;
    std::vector<uint8_t> content(pPacked + kPackedHeaderSize, pPacked + nPackedSize);
    Scramble(content.data(), content.size(), nSize);
    if (Checksum(content.data(), content.size()) != GetU32(pPacked + 12))
        return kDamaged;
    if (!pContent || nCapacity < nSize)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    if (nSize)
        std::memcpy(pContent, content.data(), nSize);
    return S_OK;
}

HRESULT ReadWholeFile(LPCWSTR pszPath, std::vector<uint8_t>& bytes) {
    CUniqueFile file(CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return HRESULT_FROM_WIN32(GetLastError());
    if (size.QuadPart > UINT32_MAX + int64_t{kPackedHeaderSize})
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t nDone = 0;
    while (nDone < bytes.size()) {
        const DWORD nWant = static_cast<DWORD>(std::min<size_t>(bytes.size() - nDone, 1u << 30));
        DWORD nRead = 0;
        if (!ReadFile(file.get(), bytes.data() + nDone, nWant, &nRead, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        if (nRead == 0)
            return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
        nDone += nRead;
    }
    return S_OK;
}

HRESULT WriteWholeFile(LPCWSTR pszPath, const std::vector<uint8_t>& bytes) {
    CUniqueFile file(CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return HRESULT_FROM_WIN32(GetLastError());
    size_t nDone = 0;
    while (nDone < bytes.size()) {
        const DWORD nWant = static_cast<DWORD>(std::min<size_t>(bytes.size() - nDone, 1u << 30));
        DWORD nWritten = 0;
        if (!WriteFile(file.get(), bytes.data() + nDone, nWant, &nWritten, nullptr))
            return HRESULT_FROM_WIN32(GetLastError());
        nDone += nWritten;
    }
    return S_OK;
}

HRESULT PackModelFile(LPCWSTR pszSource, LPCWSTR pszTarget) {
    std::vector<uint8_t> content;
    HRESULT hr = ReadWholeFile(pszSource, content);
    if (FAILED(hr))
        return hr;
    if (content.size() > UINT32_MAX)
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    return WriteWholeFile(pszTarget, PackModel(content.data(), content.size()));
}
