// The packed form of a model file: a 16-byte header followed by the content, scrambled so that
// it is no longer plain text.
//
// Header (little-endian 32-bit values): the magic "VMPK", the format version (1), the
// content's size in bytes and an FNV-1a checksum of the content. The content is XORed with a
// keystream from a xorshift generator seeded by the size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

constexpr size_t kPackedHeaderSize = 16;

// The packed form of the content (less than 4 GiB).
std::vector<uint8_t> PackModel(const uint8_t* pContent, size_t nSize);

// The content of a packed form, after checking magic, version, size and checksum: written to
// pContent only when everything is right and nCapacity is large enough.
HRESULT UnpackModel(const uint8_t* pPacked, size_t nPackedSize, uint8_t* pContent,
                    size_t nCapacity);

HRESULT ReadWholeFile(LPCWSTR pszPath, std::vector<uint8_t>& bytes);
HRESULT WriteWholeFile(LPCWSTR pszPath, const std::vector<uint8_t>& bytes);

// Packs the file at pszSource into a new file at pszTarget.
HRESULT PackModelFile(LPCWSTR pszSource, LPCWSTR pszTarget);
