#pragma once

// The MD4 and MD5 block transforms over lanes, written once for every vector width. Included
// only by the SIMD transform files, each built for its own instruction set: everything here is
// internal to the including file, so no copy built for one set can stand in for another's.
//
// A file supplies its vector operations as a struct V with:
//   Vec, kWidth                     the vector type and its number of 32-bit lanes
//   Load(p), Store(p, v)            unaligned moves of kWidth words
//   Add(x, y), Set1(k)              lane-wise addition, a constant in every lane
//   Rotl<S>(x)                      lane-wise left rotation
//   Choose(b, c, d)                 (b & c) | (~b & d)
//   Select(b, c, d)                 (b & d) | (c & ~d)
//   Parity(b, c, d)                 b ^ c ^ d
//   Md5I(b, c, d)                   c ^ (b | ~d)
//   Majority(b, c, d)               (b & c) | (b & d) | (c & d)
//   LoadMessage(lanes, offset, m)   word w of lane i's block at lanes[i] + offset into m[w][i]

#include "hash/md_lane_kernel.h"

namespace mirelon {
namespace {

// Also used by the including file for its vector operations; it undefines it at its end.
#define MIRELON_LANE_INLINE [[gnu::always_inline]] static inline

template <typename V> struct MdLaneRounds {
    static_assert(V::kWidth <= kMdMaxLanes);
    using Vec = typename V::Vec;
    using BooleanFunction = Vec (*)(Vec, Vec, Vec);

    // Message word plus step constant: independent of the chaining values, so it is ready
    // before the step needs it.
    MIRELON_LANE_INLINE Vec Input(const MdLaneWords& words, int index, uint32_t k) {
        return V::Add(V::Load(words.message[index]), V::Set1(k));
    }

    // a + x + k, kept as one value: the compiler would otherwise reorder the additions and put
    // one of them after the boolean function, on the chain each step waits for.
    MIRELON_LANE_INLINE Vec Early(Vec a, Vec input) {
        Vec sum = V::Add(a, input);
        asm("" : "+v"(sum));
        return sum;
    }

    // a = b + rotl(a + f(b, c, d) + x + k, s); the boolean function is added last, as it
    // waits for b, the newest value.
    template <BooleanFunction F, int S>
    MIRELON_LANE_INLINE void Md5Step(Vec& a, Vec b, Vec c, Vec d, Vec input) {
        a = V::Add(b, V::template Rotl<S>(V::Add(Early(a, input), F(b, c, d))));
    }

    // a = rotl(a + f(b, c, d) + x + k, s).
    template <BooleanFunction F, int S>
    MIRELON_LANE_INLINE void Md4Step(Vec& a, Vec b, Vec c, Vec d, Vec input) {
        a = V::template Rotl<S>(V::Add(Early(a, input), F(b, c, d)));
    }

    MIRELON_LANE_INLINE void Md5(MdLaneWords& w, const uint8_t* const* lanes, size_t blockCount) {
        Vec a = V::Load(w.a), b = V::Load(w.b), c = V::Load(w.c), d = V::Load(w.d);
        for (size_t block = 0; block < blockCount; ++block) {
            V::LoadMessage(lanes, block * 64, w.message);
            const Vec a0 = a, b0 = b, c0 = c, d0 = d;
            constexpr BooleanFunction F = V::Choose, G = V::Select, H = V::Parity, I = V::Md5I;
            Md5Step<F, 7>(a, b, c, d, Input(w, 0, 0xd76aa478));
            Md5Step<F, 12>(d, a, b, c, Input(w, 1, 0xe8c7b756));
            Md5Step<F, 17>(c, d, a, b, Input(w, 2, 0x242070db));
            Md5Step<F, 22>(b, c, d, a, Input(w, 3, 0xc1bdceee));
            Md5Step<F, 7>(a, b, c, d, Input(w, 4, 0xf57c0faf));
            Md5Step<F, 12>(d, a, b, c, Input(w, 5, 0x4787c62a));
            Md5Step<F, 17>(c, d, a, b, Input(w, 6, 0xa8304613));
            Md5Step<F, 22>(b, c, d, a, Input(w, 7, 0xfd469501));
            Md5Step<F, 7>(a, b, c, d, Input(w, 8, 0x698098d8));
            Md5Step<F, 12>(d, a, b, c, Input(w, 9, 0x8b44f7af));
            Md5Step<F, 17>(c, d, a, b, Input(w, 10, 0xffff5bb1));
            Md5Step<F, 22>(b, c, d, a, Input(w, 11, 0x895cd7be));
            Md5Step<F, 7>(a, b, c, d, Input(w, 12, 0x6b901122));
            Md5Step<F, 12>(d, a, b, c, Input(w, 13, 0xfd987193));
            Md5Step<F, 17>(c, d, a, b, Input(w, 14, 0xa679438e));
            Md5Step<F, 22>(b, c, d, a, Input(w, 15, 0x49b40821));

            Md5Step<G, 5>(a, b, c, d, Input(w, 1, 0xf61e2562));
            Md5Step<G, 9>(d, a, b, c, Input(w, 6, 0xc040b340));
            Md5Step<G, 14>(c, d, a, b, Input(w, 11, 0x265e5a51));
            Md5Step<G, 20>(b, c, d, a, Input(w, 0, 0xe9b6c7aa));
            Md5Step<G, 5>(a, b, c, d, Input(w, 5, 0xd62f105d));
            Md5Step<G, 9>(d, a, b, c, Input(w, 10, 0x02441453));
            Md5Step<G, 14>(c, d, a, b, Input(w, 15, 0xd8a1e681));
            Md5Step<G, 20>(b, c, d, a, Input(w, 4, 0xe7d3fbc8));
            Md5Step<G, 5>(a, b, c, d, Input(w, 9, 0x21e1cde6));
            Md5Step<G, 9>(d, a, b, c, Input(w, 14, 0xc33707d6));
            Md5Step<G, 14>(c, d, a, b, Input(w, 3, 0xf4d50d87));
            Md5Step<G, 20>(b, c, d, a, Input(w, 8, 0x455a14ed));
            Md5Step<G, 5>(a, b, c, d, Input(w, 13, 0xa9e3e905));
            Md5Step<G, 9>(d, a, b, c, Input(w, 2, 0xfcefa3f8));
            Md5Step<G, 14>(c, d, a, b, Input(w, 7, 0x676f02d9));
            Md5Step<G, 20>(b, c, d, a, Input(w, 12, 0x8d2a4c8a));

            Md5Step<H, 4>(a, b, c, d, Input(w, 5, 0xfffa3942));
            Md5Step<H, 11>(d, a, b, c, Input(w, 8, 0x8771f681));
            Md5Step<H, 16>(c, d, a, b, Input(w, 11, 0x6d9d6122));
            Md5Step<H, 23>(b, c, d, a, Input(w, 14, 0xfde5380c));
            Md5Step<H, 4>(a, b, c, d, Input(w, 1, 0xa4beea44));
            Md5Step<H, 11>(d, a, b, c, Input(w, 4, 0x4bdecfa9));
            Md5Step<H, 16>(c, d, a, b, Input(w, 7, 0xf6bb4b60));
            Md5Step<H, 23>(b, c, d, a, Input(w, 10, 0xbebfbc70));
            Md5Step<H, 4>(a, b, c, d, Input(w, 13, 0x289b7ec6));
            Md5Step<H, 11>(d, a, b, c, Input(w, 0, 0xeaa127fa));
            Md5Step<H, 16>(c, d, a, b, Input(w, 3, 0xd4ef3085));
            Md5Step<H, 23>(b, c, d, a, Input(w, 6, 0x04881d05));
            Md5Step<H, 4>(a, b, c, d, Input(w, 9, 0xd9d4d039));
            Md5Step<H, 11>(d, a, b, c, Input(w, 12, 0xe6db99e5));
            Md5Step<H, 16>(c, d, a, b, Input(w, 15, 0x1fa27cf8));
            Md5Step<H, 23>(b, c, d, a, Input(w, 2, 0xc4ac5665));

            Md5Step<I, 6>(a, b, c, d, Input(w, 0, 0xf4292244));
            Md5Step<I, 10>(d, a, b, c, Input(w, 7, 0x432aff97));
            Md5Step<I, 15>(c, d, a, b, Input(w, 14, 0xab9423a7));
            Md5Step<I, 21>(b, c, d, a, Input(w, 5, 0xfc93a039));
            Md5Step<I, 6>(a, b, c, d, Input(w, 12, 0x655b59c3));
            Md5Step<I, 10>(d, a, b, c, Input(w, 3, 0x8f0ccc92));
            Md5Step<I, 15>(c, d, a, b, Input(w, 10, 0xffeff47d));
            Md5Step<I, 21>(b, c, d, a, Input(w, 1, 0x85845dd1));
            Md5Step<I, 6>(a, b, c, d, Input(w, 8, 0x6fa87e4f));
            Md5Step<I, 10>(d, a, b, c, Input(w, 15, 0xfe2ce6e0));
            Md5Step<I, 15>(c, d, a, b, Input(w, 6, 0xa3014314));
            Md5Step<I, 21>(b, c, d, a, Input(w, 13, 0x4e0811a1));
            Md5Step<I, 6>(a, b, c, d, Input(w, 4, 0xf7537e82));
            Md5Step<I, 10>(d, a, b, c, Input(w, 11, 0xbd3af235));
            Md5Step<I, 15>(c, d, a, b, Input(w, 2, 0x2ad7d2bb));
            Md5Step<I, 21>(b, c, d, a, Input(w, 9, 0xeb86d391));
            a = V::Add(a, a0);
            b = V::Add(b, b0);
            c = V::Add(c, c0);
            d = V::Add(d, d0);
        }
        V::Store(w.a, a);
        V::Store(w.b, b);
        V::Store(w.c, c);
        V::Store(w.d, d);
    }

    MIRELON_LANE_INLINE void Md4(MdLaneWords& w, const uint8_t* const* lanes, size_t blockCount) {
        Vec a = V::Load(w.a), b = V::Load(w.b), c = V::Load(w.c), d = V::Load(w.d);
        for (size_t block = 0; block < blockCount; ++block) {
            V::LoadMessage(lanes, block * 64, w.message);
            const Vec a0 = a, b0 = b, c0 = c, d0 = d;
            constexpr BooleanFunction F = V::Choose, G = V::Majority, H = V::Parity;
            constexpr uint32_t k1 = 0, k2 = 0x5A827999u, k3 = 0x6ED9EBA1u;
#pragma GCC unroll 4
            for (int i = 0; i < 16; i += 4) {
                Md4Step<F, 3>(a, b, c, d, Input(w, i, k1));
                Md4Step<F, 7>(d, a, b, c, Input(w, i + 1, k1));
                Md4Step<F, 11>(c, d, a, b, Input(w, i + 2, k1));
                Md4Step<F, 19>(b, c, d, a, Input(w, i + 3, k1));
            }
#pragma GCC unroll 4
            for (int i = 0; i < 4; ++i) {
                Md4Step<G, 3>(a, b, c, d, Input(w, i, k2));
                Md4Step<G, 5>(d, a, b, c, Input(w, i + 4, k2));
                Md4Step<G, 9>(c, d, a, b, Input(w, i + 8, k2));
                Md4Step<G, 13>(b, c, d, a, Input(w, i + 12, k2));
            }
            constexpr int kRound3Order[4] = {0, 2, 1, 3};
#pragma GCC unroll 4
            for (int i : kRound3Order) {
                Md4Step<H, 3>(a, b, c, d, Input(w, i, k3));
                Md4Step<H, 9>(d, a, b, c, Input(w, i + 8, k3));
                Md4Step<H, 11>(c, d, a, b, Input(w, i + 4, k3));
                Md4Step<H, 15>(b, c, d, a, Input(w, i + 12, k3));
            }
            a = V::Add(a, a0);
            b = V::Add(b, b0);
            c = V::Add(c, c0);
            d = V::Add(d, d0);
        }
        V::Store(w.a, a);
        V::Store(w.b, b);
        V::Store(w.c, c);
        V::Store(w.d, d);
    }
};

} // namespace
} // namespace mirelon
