// The visible length of a text. Every string utility takes it for every argument, so on long
// texts it would cost as much as many of the operations themselves if taken one code unit at a
// time: where the processor has AVX2 the scan tests 64 code units per step.
#include "strings/TextRange.h"

#include <immintrin.h>

namespace {

__attribute__((target("avx2"))) std::size_t ScanAvx2(const wchar_t* p, std::size_t n) {
    const __m256i zero = _mm256_setzero_si256();
    const auto nulsIn = [&](std::size_t at) __attribute__((target("avx2"))) {
        return _mm256_cmpeq_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + at)),
                                  zero);
    };
    std::size_t i = 0;
    // Four blocks per step; a step with a NUL is then searched block by block.
    for (; i + 64 <= n; i += 64) {
        const __m256i nuls = _mm256_or_si256(_mm256_or_si256(nulsIn(i), nulsIn(i + 16)),
                                             _mm256_or_si256(nulsIn(i + 32), nulsIn(i + 48)));
        if (!_mm256_testz_si256(nuls, nuls))
            break;
    }
    for (; i + 16 <= n; i += 16) {
        const unsigned nulBytes = static_cast<unsigned>(_mm256_movemask_epi8(nulsIn(i)));
        if (nulBytes != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(nulBytes)) / sizeof(wchar_t);
    }
    return i + LengthBeforeNulOneByOne(p + i, n - i);
}

} // namespace

std::size_t LengthBeforeNulInBlocks(const wchar_t* p, std::size_t n) {
    static const bool bHasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return bHasAvx2 ? ScanAvx2(p, n) : LengthBeforeNulOneByOne(p, n);
}
