// MD4 and MD5 over 16 lanes with AVX-512F: one 32-bit lane per stream, rotations by vprold and
// every boolean function by one vpternlogd. Built with AVX-512 enabled for this file only; run
// only where the processor has it.
#include "hash/md_lane_rounds.h"

#include <immintrin.h>

namespace mirelon {

namespace {

// The vpternlogd immediate of a boolean function: its value on the three operands' truth-table
// patterns.
template <typename Function> constexpr int TruthTable(Function function) {
    return function(0xF0u, 0xCCu, 0xAAu) & 0xFF;
}

struct Avx512 {
    using Vec = __m512i;
    static constexpr int kWidth = 16;

    MIRELON_LANE_INLINE Vec Load(const uint32_t* p) { return _mm512_loadu_si512(p); }
    MIRELON_LANE_INLINE void Store(uint32_t* p, Vec v) { _mm512_storeu_si512(p, v); }
    MIRELON_LANE_INLINE Vec Add(Vec x, Vec y) { return _mm512_add_epi32(x, y); }
    MIRELON_LANE_INLINE Vec Set1(uint32_t k) { return _mm512_set1_epi32(static_cast<int>(k)); }
    template <int S> MIRELON_LANE_INLINE Vec Rotl(Vec x) { return _mm512_rol_epi32(x, S); }

    template <int Table> MIRELON_LANE_INLINE Vec Ternary(Vec b, Vec c, Vec d) {
        return _mm512_ternarylogic_epi32(b, c, d, Table);
    }
    MIRELON_LANE_INLINE Vec Choose(Vec b, Vec c, Vec d) {
        return Ternary<TruthTable(
            [](unsigned b, unsigned c, unsigned d) { return (b & c) | (~b & d); })>(b, c, d);
    }
    MIRELON_LANE_INLINE Vec Select(Vec b, Vec c, Vec d) {
        return Ternary<TruthTable(
            [](unsigned b, unsigned c, unsigned d) { return (b & d) | (c & ~d); })>(b, c, d);
    }
    MIRELON_LANE_INLINE Vec Parity(Vec b, Vec c, Vec d) {
        return Ternary<TruthTable([](unsigned b, unsigned c, unsigned d) { return b ^ c ^ d; })>(
            b, c, d);
    }
    MIRELON_LANE_INLINE Vec Md5I(Vec b, Vec c, Vec d) {
        return Ternary<TruthTable([](unsigned b, unsigned c, unsigned d) { return c ^ (b | ~d); })>(
            b, c, d);
    }
    MIRELON_LANE_INLINE Vec Majority(Vec b, Vec c, Vec d) {
        return Ternary<TruthTable([](unsigned b, unsigned c, unsigned d) {
            return (b & c) | (b & d) | (c & d);
        })>(b, c, d);
    }

    // One 64-byte block of each of the 16 lanes is a 16 x 16 matrix of words; transposed in
    // four rounds of shuffles so that row w holds word w of every lane.
    MIRELON_LANE_INLINE void LoadMessage(const uint8_t* const* lanes, size_t offset,
                                         uint32_t (*message)[kMdMaxLanes]) {
        Vec r[16], t[16];
#pragma GCC unroll 16
        for (int i = 0; i < 16; ++i) {
            r[i] = _mm512_loadu_si512(lanes[i] + offset);
        }
        // Pairs of lanes interleaved by word, then by pairs of words: t[4k + m] holds, in each
        // 128-bit quarter q, word 4q + m of lanes 4k to 4k + 3.
#pragma GCC unroll 8
        for (int i = 0; i < 16; i += 2) {
            t[i] = _mm512_unpacklo_epi32(r[i], r[i + 1]);
            t[i + 1] = _mm512_unpackhi_epi32(r[i], r[i + 1]);
        }
#pragma GCC unroll 4
        for (int k = 0; k < 16; k += 4) {
            r[k] = _mm512_unpacklo_epi64(t[k], t[k + 2]);
            r[k + 1] = _mm512_unpackhi_epi64(t[k], t[k + 2]);
            r[k + 2] = _mm512_unpacklo_epi64(t[k + 1], t[k + 3]);
            r[k + 3] = _mm512_unpackhi_epi64(t[k + 1], t[k + 3]);
        }
        // Then the 4 x 4 matrix of 128-bit quarters, for each m.
#pragma GCC unroll 4
        for (int m = 0; m < 4; ++m) {
            const Vec low01 = _mm512_shuffle_i32x4(r[m], r[4 + m], 0x44);
            const Vec high01 = _mm512_shuffle_i32x4(r[m], r[4 + m], 0xEE);
            const Vec low23 = _mm512_shuffle_i32x4(r[8 + m], r[12 + m], 0x44);
            const Vec high23 = _mm512_shuffle_i32x4(r[8 + m], r[12 + m], 0xEE);
            _mm512_storeu_si512(message[m], _mm512_shuffle_i32x4(low01, low23, 0x88));
            _mm512_storeu_si512(message[4 + m], _mm512_shuffle_i32x4(low01, low23, 0xDD));
            _mm512_storeu_si512(message[8 + m], _mm512_shuffle_i32x4(high01, high23, 0x88));
            _mm512_storeu_si512(message[12 + m], _mm512_shuffle_i32x4(high01, high23, 0xDD));
        }
    }
};

#undef MIRELON_LANE_INLINE

void Md4Avx512(MdLaneWords& words, const uint8_t* const* lanes, size_t blockCount) {
    MdLaneRounds<Avx512>::Md4(words, lanes, blockCount);
}

void Md5Avx512(MdLaneWords& words, const uint8_t* const* lanes, size_t blockCount) {
    MdLaneRounds<Avx512>::Md5(words, lanes, blockCount);
}

} // namespace

const MdLaneKernel kMdLaneKernelAvx512 = {16, Md4Avx512, Md5Avx512};

} // namespace mirelon
