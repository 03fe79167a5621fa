// MD4 and MD5 over 8 lanes with AVX2: one 32-bit lane per stream. Built with AVX2 enabled for
// this file only; run only where the processor has it.
#include "hash/md_lane_rounds.h"

#include <immintrin.h>

namespace mirelon {

namespace {

struct Avx2 {
    using Vec = __m256i;
    static constexpr int kWidth = 8;

    MIRELON_LANE_INLINE Vec Load(const uint32_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
    }
    MIRELON_LANE_INLINE void Store(uint32_t* p, Vec v) {
        _mm256_storeu_si256(reinterpret_cast<Vec*>(p), v);
    }
    MIRELON_LANE_INLINE Vec Add(Vec x, Vec y) { return _mm256_add_epi32(x, y); }
    MIRELON_LANE_INLINE Vec Set1(uint32_t k) { return _mm256_set1_epi32(static_cast<int>(k)); }
    template <int S> MIRELON_LANE_INLINE Vec Rotl(Vec x) {
        return _mm256_or_si256(_mm256_slli_epi32(x, S), _mm256_srli_epi32(x, 32 - S));
    }

    // Each written so that the operations not waiting for b, the newest value, come first.
    MIRELON_LANE_INLINE Vec Choose(Vec b, Vec c, Vec d) {
        return _mm256_xor_si256(d, _mm256_and_si256(b, _mm256_xor_si256(c, d)));
    }
    MIRELON_LANE_INLINE Vec Select(Vec b, Vec c, Vec d) {
        return _mm256_or_si256(_mm256_andnot_si256(d, c), _mm256_and_si256(b, d));
    }
    MIRELON_LANE_INLINE Vec Parity(Vec b, Vec c, Vec d) {
        return _mm256_xor_si256(b, _mm256_xor_si256(c, d));
    }
    MIRELON_LANE_INLINE Vec Md5I(Vec b, Vec c, Vec d) {
        const Vec notD = _mm256_xor_si256(d, _mm256_set1_epi32(-1));
        return _mm256_xor_si256(c, _mm256_or_si256(b, notD));
    }
    MIRELON_LANE_INLINE Vec Majority(Vec b, Vec c, Vec d) {
        return _mm256_or_si256(_mm256_and_si256(b, _mm256_or_si256(c, d)), _mm256_and_si256(c, d));
    }

    // A 64-byte block of each of the 8 lanes is two 8 x 8 matrices of words (words 0 to 7 and
    // 8 to 15), each transposed so that row w holds word w of every lane.
    MIRELON_LANE_INLINE void LoadMessage(const uint8_t* const* lanes, size_t offset,
                                         uint32_t (*message)[kMdMaxLanes]) {
#pragma GCC unroll 2
        for (int half = 0; half < 2; ++half) {
            Vec r[8], t[8];
#pragma GCC unroll 8
            for (int i = 0; i < 8; ++i) {
                r[i] =
                    _mm256_loadu_si256(reinterpret_cast<const Vec*>(lanes[i] + offset + 32 * half));
            }
#pragma GCC unroll 4
            for (int i = 0; i < 8; i += 2) {
                t[i] = _mm256_unpacklo_epi32(r[i], r[i + 1]);
                t[i + 1] = _mm256_unpackhi_epi32(r[i], r[i + 1]);
            }
            // r[4k + m] holds, in each 128-bit half h, word 4h + m of lanes 4k to 4k + 3.
#pragma GCC unroll 2
            for (int k = 0; k < 8; k += 4) {
                r[k] = _mm256_unpacklo_epi64(t[k], t[k + 2]);
                r[k + 1] = _mm256_unpackhi_epi64(t[k], t[k + 2]);
                r[k + 2] = _mm256_unpacklo_epi64(t[k + 1], t[k + 3]);
                r[k + 3] = _mm256_unpackhi_epi64(t[k + 1], t[k + 3]);
            }
#pragma GCC unroll 4
            for (int m = 0; m < 4; ++m) {
                Store(message[8 * half + m], _mm256_permute2x128_si256(r[m], r[4 + m], 0x20));
                Store(message[8 * half + 4 + m], _mm256_permute2x128_si256(r[m], r[4 + m], 0x31));
            }
        }
    }
};

#undef MIRELON_LANE_INLINE

void Md4Avx2(MdLaneWords& words, const uint8_t* const* lanes, size_t blockCount) {
    MdLaneRounds<Avx2>::Md4(words, lanes, blockCount);
}

void Md5Avx2(MdLaneWords& words, const uint8_t* const* lanes, size_t blockCount) {
    MdLaneRounds<Avx2>::Md5(words, lanes, blockCount);
}

} // namespace

const MdLaneKernel kMdLaneKernelAvx2 = {8, Md4Avx2, Md5Avx2};

} // namespace mirelon
