#pragma once

// CRC folding on 128-bit blocks with PCLMULQDQ, written once for the folding kernels. Included
// only by the SIMD files, each built for its own instruction set: everything here is internal to
// the including file, so no copy built for one set can stand in for another's.

#include "hash/crc32_fold_constants.h"

#include <cstddef>
#include <cstdint>
#include <immintrin.h>

namespace mirelon {
namespace {

using crc_fold::FoldConstants;
using crc_fold::FoldMultipliers;

inline __m128i Multipliers(const FoldMultipliers& multipliers) {
    return _mm_set_epi64x(static_cast<long long>(multipliers.high),
                          static_cast<long long>(multipliers.low));
}

// `block` moved on by the multipliers' distance, plus `next`.
inline __m128i Fold(__m128i block, __m128i multipliers, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(block, multipliers, 0x00);
    const __m128i high = _mm_clmulepi64_si128(block, multipliers, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

inline uint64_t CarrylessProduct(uint64_t a, uint64_t b) {
    const __m128i product = _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(a)),
                                                 _mm_cvtsi64_si128(static_cast<long long>(b)), 0);
    return static_cast<uint64_t>(_mm_cvtsi128_si64(product));
}

// The blocks in order of bits: MSB-first needs each block's bytes reversed.
struct MsbFirstBlocks {
    static const FoldConstants& Constants() { return crc_fold::kMsbFirstFold; }
    static __m128i Reverse() {
        return _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    }
    static __m128i Load(const uint8_t* bytes) {
        return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)),
                                Reverse());
    }
    // The register meets the first 32 bits of the message: the top of the first block.
    static __m128i Register(uint32_t crc) { return _mm_set_epi32(static_cast<int>(crc), 0, 0, 0); }

    // The 128-bit remainder times x^32, modulo P.
    static uint32_t Reduce(__m128i block, const FoldConstants& k) {
        const __m128i multipliers = Multipliers({k.by96, k.by64});
        // high * (x^96 mod P) + low * x^32: 96 bits.
        const __m128i by96 = _mm_xor_si128(_mm_clmulepi64_si128(block, multipliers, 0x01),
                                           _mm_slli_si128(_mm_move_epi64(block), 4));
        // Its top 32 bits times (x^64 mod P) plus its low 64 bits.
        const __m128i by64 = _mm_xor_si128(_mm_clmulepi64_si128(by96, multipliers, 0x11), by96);
        const uint64_t value = static_cast<uint64_t>(_mm_cvtsi128_si64(by64));
        const uint64_t quotient = CarrylessProduct(value >> 32, k.barrett) >> 32;
        return static_cast<uint32_t>(value ^ CarrylessProduct(quotient, k.polynomial));
    }
};

// The same steps with the halves and the bit order mirrored.
struct ReflectedBlocks {
    static const FoldConstants& Constants() { return crc_fold::kReflectedFold; }
    static __m128i Load(const uint8_t* bytes) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    }
    static __m128i Register(uint32_t crc) { return _mm_cvtsi32_si128(static_cast<int>(crc)); }

    static uint32_t Reduce(__m128i block, const FoldConstants& k) {
        const __m128i multipliers = Multipliers({k.by96, k.by64});
        const __m128i by96 = _mm_xor_si128(_mm_clmulepi64_si128(block, multipliers, 0x00),
                                           _mm_slli_si128(_mm_srli_si128(block, 8), 4));
        const __m128i by64 = _mm_xor_si128(_mm_clmulepi64_si128(by96, multipliers, 0x10), by96);
        const uint64_t value = static_cast<uint64_t>(_mm_extract_epi64(by64, 1));
        const uint64_t quotient = CarrylessProduct(value & 0xFFFFFFFFu, k.barrett) & 0xFFFFFFFFu;
        return static_cast<uint32_t>((value ^ CarrylessProduct(quotient, k.polynomial)) >> 32);
    }
};

// Four accumulators of consecutive blocks into one, then the remaining `count` bytes (a multiple
// of 16) block by block, then the reduction.
template <typename Blocks>
uint32_t FinishFold(__m128i x0, __m128i x1, __m128i x2, __m128i x3, const uint8_t* bytes,
                    size_t count) {
    const FoldConstants& k = Blocks::Constants();
    const __m128i by128 = Multipliers(k.by128);
    __m128i x = Fold(Fold(Fold(x0, by128, x1), by128, x2), by128, x3);
    for (; count >= 16; count -= 16, bytes += 16) {
        x = Fold(x, by128, Blocks::Load(bytes));
    }
    return Blocks::Reduce(x, k);
}

// Four accumulators each take every fourth block, moved 512 bits on per step, so that four
// chains of multiplications overlap.
template <typename Blocks> uint32_t FoldBy128(uint32_t crc, const uint8_t* bytes, size_t count) {
    const __m128i by512 = Multipliers(Blocks::Constants().by512);
    __m128i x0 = _mm_xor_si128(Blocks::Load(bytes), Blocks::Register(crc));
    __m128i x1 = Blocks::Load(bytes + 16);
    __m128i x2 = Blocks::Load(bytes + 32);
    __m128i x3 = Blocks::Load(bytes + 48);
    bytes += 64;
    count -= 64;
    for (; count >= 64; count -= 64, bytes += 64) {
        x0 = Fold(x0, by512, Blocks::Load(bytes));
        x1 = Fold(x1, by512, Blocks::Load(bytes + 16));
        x2 = Fold(x2, by512, Blocks::Load(bytes + 32));
        x3 = Fold(x3, by512, Blocks::Load(bytes + 48));
    }
    return FinishFold<Blocks>(x0, x1, x2, x3, bytes, count);
}

} // namespace
} // namespace mirelon
