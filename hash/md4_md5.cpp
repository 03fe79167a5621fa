#include "hash/md4_md5.h"

#include "base/byte_order.h"
#include "hash/block_feeder.h"
#include "hash/prefetch.h"

#include <bit>

namespace mirelon {

namespace {

#define MIRELON_ALWAYS_INLINE [[gnu::always_inline]] inline

MIRELON_ALWAYS_INLINE uint32_t Word(const uint8_t* block, int index) {
    return Load32LE(block + 4 * index);
}

MIRELON_ALWAYS_INLINE void Round1(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                  int s) {
    a = std::rotl(a + (d ^ (b & (c ^ d))) + x, s);
}

MIRELON_ALWAYS_INLINE void Round2(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                  int s) {
    a = std::rotl(a + ((b & c) | (d & (b | c))) + x + 0x5A827999u, s);
}

MIRELON_ALWAYS_INLINE void Round3(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                  int s) {
    a = std::rotl(a + (b ^ c ^ d) + x + 0x6ED9EBA1u, s);
}

MIRELON_ALWAYS_INLINE void StepF(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                 uint32_t k, int s) {
    a = b + std::rotl(a + x + k + (d ^ (b & (c ^ d))), s);
}

// (b & d) | (c & ~d) as a sum of two disjoint terms, so both halves can run in parallel.
MIRELON_ALWAYS_INLINE void StepG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                 uint32_t k, int s) {
    a = b + std::rotl(a + x + k + (c & ~d) + (b & d), s);
}

MIRELON_ALWAYS_INLINE void StepH(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                 uint32_t k, int s) {
    a = b + std::rotl(a + x + k + (b ^ c ^ d), s);
}

MIRELON_ALWAYS_INLINE void StepI(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x,
                                 uint32_t k, int s) {
    a = b + std::rotl(a + x + k + (c ^ (b | ~d)), s);
}

#undef MIRELON_ALWAYS_INLINE

} // namespace

void Md4Transform(MdState& state, const uint8_t* blocks, size_t blockCount) {
    uint32_t a = state.A, b = state.B, c = state.C, d = state.D;
    for (; blockCount > 0; --blockCount, blocks += 64) {
        const uint8_t* block = blocks;
        PrefetchAhead(blocks);
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;
        Round1(a, b, c, d, Word(block, 0), 3);
        Round1(d, a, b, c, Word(block, 1), 7);
        Round1(c, d, a, b, Word(block, 2), 11);
        Round1(b, c, d, a, Word(block, 3), 19);
        Round1(a, b, c, d, Word(block, 4), 3);
        Round1(d, a, b, c, Word(block, 5), 7);
        Round1(c, d, a, b, Word(block, 6), 11);
        Round1(b, c, d, a, Word(block, 7), 19);
        Round1(a, b, c, d, Word(block, 8), 3);
        Round1(d, a, b, c, Word(block, 9), 7);
        Round1(c, d, a, b, Word(block, 10), 11);
        Round1(b, c, d, a, Word(block, 11), 19);
        Round1(a, b, c, d, Word(block, 12), 3);
        Round1(d, a, b, c, Word(block, 13), 7);
        Round1(c, d, a, b, Word(block, 14), 11);
        Round1(b, c, d, a, Word(block, 15), 19);

        Round2(a, b, c, d, Word(block, 0), 3);
        Round2(d, a, b, c, Word(block, 4), 5);
        Round2(c, d, a, b, Word(block, 8), 9);
        Round2(b, c, d, a, Word(block, 12), 13);
        Round2(a, b, c, d, Word(block, 1), 3);
        Round2(d, a, b, c, Word(block, 5), 5);
        Round2(c, d, a, b, Word(block, 9), 9);
        Round2(b, c, d, a, Word(block, 13), 13);
        Round2(a, b, c, d, Word(block, 2), 3);
        Round2(d, a, b, c, Word(block, 6), 5);
        Round2(c, d, a, b, Word(block, 10), 9);
        Round2(b, c, d, a, Word(block, 14), 13);
        Round2(a, b, c, d, Word(block, 3), 3);
        Round2(d, a, b, c, Word(block, 7), 5);
        Round2(c, d, a, b, Word(block, 11), 9);
        Round2(b, c, d, a, Word(block, 15), 13);

        Round3(a, b, c, d, Word(block, 0), 3);
        Round3(d, a, b, c, Word(block, 8), 9);
        Round3(c, d, a, b, Word(block, 4), 11);
        Round3(b, c, d, a, Word(block, 12), 15);
        Round3(a, b, c, d, Word(block, 2), 3);
        Round3(d, a, b, c, Word(block, 10), 9);
        Round3(c, d, a, b, Word(block, 6), 11);
        Round3(b, c, d, a, Word(block, 14), 15);
        Round3(a, b, c, d, Word(block, 1), 3);
        Round3(d, a, b, c, Word(block, 9), 9);
        Round3(c, d, a, b, Word(block, 5), 11);
        Round3(b, c, d, a, Word(block, 13), 15);
        Round3(a, b, c, d, Word(block, 3), 3);
        Round3(d, a, b, c, Word(block, 11), 9);
        Round3(c, d, a, b, Word(block, 7), 11);
        Round3(b, c, d, a, Word(block, 15), 15);
        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state.A = a;
    state.B = b;
    state.C = c;
    state.D = d;
}

void Md5Transform(MdState& state, const uint8_t* blocks, size_t blockCount) {
    uint32_t a = state.A, b = state.B, c = state.C, d = state.D;
    for (; blockCount > 0; --blockCount, blocks += 64) {
        const uint8_t* block = blocks;
        PrefetchAhead(blocks);
        const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;
        StepF(a, b, c, d, Word(block, 0), 0xd76aa478, 7);
        StepF(d, a, b, c, Word(block, 1), 0xe8c7b756, 12);
        StepF(c, d, a, b, Word(block, 2), 0x242070db, 17);
        StepF(b, c, d, a, Word(block, 3), 0xc1bdceee, 22);
        StepF(a, b, c, d, Word(block, 4), 0xf57c0faf, 7);
        StepF(d, a, b, c, Word(block, 5), 0x4787c62a, 12);
        StepF(c, d, a, b, Word(block, 6), 0xa8304613, 17);
        StepF(b, c, d, a, Word(block, 7), 0xfd469501, 22);
        StepF(a, b, c, d, Word(block, 8), 0x698098d8, 7);
        StepF(d, a, b, c, Word(block, 9), 0x8b44f7af, 12);
        StepF(c, d, a, b, Word(block, 10), 0xffff5bb1, 17);
        StepF(b, c, d, a, Word(block, 11), 0x895cd7be, 22);
        StepF(a, b, c, d, Word(block, 12), 0x6b901122, 7);
        StepF(d, a, b, c, Word(block, 13), 0xfd987193, 12);
        StepF(c, d, a, b, Word(block, 14), 0xa679438e, 17);
        StepF(b, c, d, a, Word(block, 15), 0x49b40821, 22);

        StepG(a, b, c, d, Word(block, 1), 0xf61e2562, 5);
        StepG(d, a, b, c, Word(block, 6), 0xc040b340, 9);
        StepG(c, d, a, b, Word(block, 11), 0x265e5a51, 14);
        StepG(b, c, d, a, Word(block, 0), 0xe9b6c7aa, 20);
        StepG(a, b, c, d, Word(block, 5), 0xd62f105d, 5);
        StepG(d, a, b, c, Word(block, 10), 0x02441453, 9);
        StepG(c, d, a, b, Word(block, 15), 0xd8a1e681, 14);
        StepG(b, c, d, a, Word(block, 4), 0xe7d3fbc8, 20);
        StepG(a, b, c, d, Word(block, 9), 0x21e1cde6, 5);
        StepG(d, a, b, c, Word(block, 14), 0xc33707d6, 9);
        StepG(c, d, a, b, Word(block, 3), 0xf4d50d87, 14);
        StepG(b, c, d, a, Word(block, 8), 0x455a14ed, 20);
        StepG(a, b, c, d, Word(block, 13), 0xa9e3e905, 5);
        StepG(d, a, b, c, Word(block, 2), 0xfcefa3f8, 9);
        StepG(c, d, a, b, Word(block, 7), 0x676f02d9, 14);
        StepG(b, c, d, a, Word(block, 12), 0x8d2a4c8a, 20);

        StepH(a, b, c, d, Word(block, 5), 0xfffa3942, 4);
        StepH(d, a, b, c, Word(block, 8), 0x8771f681, 11);
        StepH(c, d, a, b, Word(block, 11), 0x6d9d6122, 16);
        StepH(b, c, d, a, Word(block, 14), 0xfde5380c, 23);
        StepH(a, b, c, d, Word(block, 1), 0xa4beea44, 4);
        StepH(d, a, b, c, Word(block, 4), 0x4bdecfa9, 11);
        StepH(c, d, a, b, Word(block, 7), 0xf6bb4b60, 16);
        StepH(b, c, d, a, Word(block, 10), 0xbebfbc70, 23);
        StepH(a, b, c, d, Word(block, 13), 0x289b7ec6, 4);
        StepH(d, a, b, c, Word(block, 0), 0xeaa127fa, 11);
        StepH(c, d, a, b, Word(block, 3), 0xd4ef3085, 16);
        StepH(b, c, d, a, Word(block, 6), 0x04881d05, 23);
        StepH(a, b, c, d, Word(block, 9), 0xd9d4d039, 4);
        StepH(d, a, b, c, Word(block, 12), 0xe6db99e5, 11);
        StepH(c, d, a, b, Word(block, 15), 0x1fa27cf8, 16);
        StepH(b, c, d, a, Word(block, 2), 0xc4ac5665, 23);

        StepI(a, b, c, d, Word(block, 0), 0xf4292244, 6);
        StepI(d, a, b, c, Word(block, 7), 0x432aff97, 10);
        StepI(c, d, a, b, Word(block, 14), 0xab9423a7, 15);
        StepI(b, c, d, a, Word(block, 5), 0xfc93a039, 21);
        StepI(a, b, c, d, Word(block, 12), 0x655b59c3, 6);
        StepI(d, a, b, c, Word(block, 3), 0x8f0ccc92, 10);
        StepI(c, d, a, b, Word(block, 10), 0xffeff47d, 15);
        StepI(b, c, d, a, Word(block, 1), 0x85845dd1, 21);
        StepI(a, b, c, d, Word(block, 8), 0x6fa87e4f, 6);
        StepI(d, a, b, c, Word(block, 15), 0xfe2ce6e0, 10);
        StepI(c, d, a, b, Word(block, 6), 0xa3014314, 15);
        StepI(b, c, d, a, Word(block, 13), 0x4e0811a1, 21);
        StepI(a, b, c, d, Word(block, 4), 0xf7537e82, 6);
        StepI(d, a, b, c, Word(block, 11), 0xbd3af235, 10);
        StepI(c, d, a, b, Word(block, 2), 0x2ad7d2bb, 15);
        StepI(b, c, d, a, Word(block, 9), 0xeb86d391, 21);
        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state.A = a;
    state.B = b;
    state.C = c;
    state.D = d;
}

void MdInit(MdState& state) {
    state.A = 0x67452301;
    state.B = 0xEFCDAB89;
    state.C = 0x98BADCFE;
    state.D = 0x10325476;
    state.bitsLow = 0;
    state.bitsHigh = 0;
}

void MdUpdate(MdState& state, const uint8_t* bytes, size_t count, MdTransform transform) {
    const size_t index = (state.bitsLow >> 3) & 63;
    const uint32_t addedLow = static_cast<uint32_t>(count << 3);
    state.bitsLow += addedLow;
    if (state.bitsLow < addedLow) {
        ++state.bitsHigh;
    }
    state.bitsHigh += static_cast<uint32_t>(count >> 29);
    FeedBlocks(state.buffer, index, bytes, count,
               [&state, transform](const uint8_t* blocks, size_t blockCount) {
                   transform(state, blocks, blockCount);
               });
}

void MdFinal(MdState& state, MdTransform transform, uint8_t digest[16]) {
    static constexpr uint8_t kPadding[64] = {0x80};
    uint8_t length[8];
    Store32LE(length, state.bitsLow);
    Store32LE(length + 4, state.bitsHigh);
    const size_t index = (state.bitsLow >> 3) & 63;
    MdUpdate(state, kPadding, index < 56 ? 56 - index : 120 - index, transform);
    MdUpdate(state, length, sizeof length, transform);
    Store32LE(digest, state.A);
    Store32LE(digest + 4, state.B);
    Store32LE(digest + 8, state.C);
    Store32LE(digest + 12, state.D);
}

} // namespace mirelon
