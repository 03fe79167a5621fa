#include "hash/ripemd.h"

#include <cstring>

namespace mirelon {

namespace {

// Message word selection and rotation amounts of the left and right lines, 16 steps a round.
constexpr uint8_t kLeftWord[80] = {0, 1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15,
                                   7, 4,  13, 1,  10, 6,  15, 3,  12, 0, 9,  5,  2,  14, 11, 8,
                                   3, 10, 14, 4,  9,  15, 8,  1,  2,  7, 0,  6,  13, 11, 5,  12,
                                   1, 9,  11, 10, 0,  8,  12, 4,  13, 3, 7,  15, 14, 5,  6,  2,
                                   4, 0,  5,  9,  7,  12, 2,  10, 14, 1, 3,  8,  11, 6,  15, 13};
constexpr uint8_t kRightWord[80] = {5,  14, 7,  0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12,
                                    6,  11, 3,  7, 0, 13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,
                                    15, 5,  1,  3, 7, 14, 6,  9,  11, 8,  12, 2,  10, 0,  4,  13,
                                    8,  6,  4,  1, 3, 11, 15, 0,  5,  12, 2,  13, 9,  7,  10, 14,
                                    12, 15, 10, 4, 1, 5,  8,  7,  6,  2,  13, 14, 0,  3,  9,  11};
constexpr uint8_t kLeftShift[80] = {11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,
                                    7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12,
                                    11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,
                                    11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,  8,  6,  5,  12,
                                    9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
constexpr uint8_t kRightShift[80] = {
    8,  9,  9,  11, 13, 15, 15, 5, 7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,
    12, 8,  9,  11, 7,  7,  12, 7, 6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14,
    12, 13, 5,  14, 13, 13, 7,  5, 15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,
    12, 5,  15, 8,  8,  5,  12, 9, 12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};

constexpr uint32_t kLeftConstant[5] = {0x00000000, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xA953FD4E};
constexpr uint32_t kRight160Constant[5] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x7A6D76E9,
                                           0x00000000};
constexpr uint32_t kRight128Constant[4] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x00000000};

constexpr uint32_t RotateLeft(uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

// f1 to f5; the left line uses them in this order, the right line in reverse.
inline uint32_t Mix(int function, uint32_t x, uint32_t y, uint32_t z) {
    switch (function) {
    case 0:
        return x ^ y ^ z;
    case 1:
        return (x & y) | (~x & z);
    case 2:
        return (x | ~y) ^ z;
    case 3:
        return (x & z) | (y & ~z);
    default:
        return x ^ (y | ~z);
    }
}

void LoadWords(const uint8_t* bytes, uint32_t words[16]) {
    for (int i = 0; i < 16; ++i) {
        words[i] = static_cast<uint32_t>(bytes[4 * i]) |
                   (static_cast<uint32_t>(bytes[4 * i + 1]) << 8) |
                   (static_cast<uint32_t>(bytes[4 * i + 2]) << 16) |
                   (static_cast<uint32_t>(bytes[4 * i + 3]) << 24);
    }
}

void Compress128(uint32_t chain[4], const uint8_t* bytes) {
    uint32_t x[16];
    LoadWords(bytes, x);
    uint32_t al = chain[0], bl = chain[1], cl = chain[2], dl = chain[3];
    uint32_t ar = al, br = bl, cr = cl, dr = dl;
#pragma GCC unroll 64
    for (int j = 0; j < 64; ++j) {
        const int round = j / 16;
        uint32_t t = RotateLeft(
            al + Mix(round, bl, cl, dl) + x[kLeftWord[j]] + kLeftConstant[round], kLeftShift[j]);
        al = dl;
        dl = cl;
        cl = bl;
        bl = t;
        t = RotateLeft(ar + Mix(3 - round, br, cr, dr) + x[kRightWord[j]] +
                           kRight128Constant[round],
                       kRightShift[j]);
        ar = dr;
        dr = cr;
        cr = br;
        br = t;
    }
    const uint32_t t = chain[1] + cl + dr;
    chain[1] = chain[2] + dl + ar;
    chain[2] = chain[3] + al + br;
    chain[3] = chain[0] + bl + cr;
    chain[0] = t;
}

void Compress160(uint32_t chain[5], const uint8_t* bytes) {
    uint32_t x[16];
    LoadWords(bytes, x);
    uint32_t al = chain[0], bl = chain[1], cl = chain[2], dl = chain[3], el = chain[4];
    uint32_t ar = al, br = bl, cr = cl, dr = dl, er = el;
#pragma GCC unroll 80
    for (int j = 0; j < 80; ++j) {
        const int round = j / 16;
        uint32_t t =
            RotateLeft(al + Mix(round, bl, cl, dl) + x[kLeftWord[j]] + kLeftConstant[round],
                       kLeftShift[j]) +
            el;
        al = el;
        el = dl;
        dl = RotateLeft(cl, 10);
        cl = bl;
        bl = t;
        t = RotateLeft(ar + Mix(4 - round, br, cr, dr) + x[kRightWord[j]] +
                           kRight160Constant[round],
                       kRightShift[j]) +
            er;
        ar = er;
        er = dr;
        dr = RotateLeft(cr, 10);
        cr = br;
        br = t;
    }
    const uint32_t t = chain[1] + cl + dr;
    chain[1] = chain[2] + dl + er;
    chain[2] = chain[3] + el + ar;
    chain[3] = chain[4] + al + br;
    chain[4] = chain[0] + bl + cr;
    chain[0] = t;
}

// The Merkle-Damgard framing both variants share: 64-byte blocks, 0x80 padding and the bit
// count as a little-endian 64-bit number.
template <typename State, void (*CompressFn)(uint32_t*, const uint8_t*)>
void Feed(State& state, const uint8_t* bytes, size_t count) {
    size_t index = state.length % 64;
    state.length += count;
    if (index > 0) {
        const size_t taken = count < 64 - index ? count : 64 - index;
        std::memcpy(state.block + index, bytes, taken);
        bytes += taken;
        count -= taken;
        index += taken;
        if (index < 64) {
            return;
        }
        CompressFn(state.chain, state.block);
    }
    for (; count >= 64; bytes += 64, count -= 64) {
        CompressFn(state.chain, bytes);
    }
    std::memcpy(state.block, bytes, count);
}

template <typename State, void (*CompressFn)(uint32_t*, const uint8_t*)>
void Finish(State& state, uint8_t* digest) {
    const uint64_t bitCount = state.length << 3;
    static constexpr uint8_t kPadding[64] = {0x80};
    const size_t index = state.length % 64;
    Feed<State, CompressFn>(state, kPadding, index < 56 ? 56 - index : 120 - index);
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<uint8_t>(bitCount >> (8 * i));
    }
    Feed<State, CompressFn>(state, lengthBytes, sizeof(lengthBytes));
    constexpr size_t kWords = sizeof(state.chain) / sizeof(state.chain[0]);
    for (size_t i = 0; i < kWords; ++i) {
        for (int b = 0; b < 4; ++b) {
            digest[4 * i + b] = static_cast<uint8_t>(state.chain[i] >> (8 * b));
        }
    }
}

constexpr uint32_t kInitialChain[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};

} // namespace

void Ripemd128Init(Ripemd128State& state) {
    std::memset(&state, 0, sizeof(state));
    std::memcpy(state.chain, kInitialChain, sizeof(state.chain));
}

void Ripemd128Update(Ripemd128State& state, const uint8_t* bytes, size_t count) {
    Feed<Ripemd128State, Compress128>(state, bytes, count);
}

void Ripemd128Final(Ripemd128State& state, uint8_t digest[16]) {
    Finish<Ripemd128State, Compress128>(state, digest);
}

void Ripemd160Init(Ripemd160State& state) {
    std::memset(&state, 0, sizeof(state));
    std::memcpy(state.chain, kInitialChain, sizeof(state.chain));
}

void Ripemd160Update(Ripemd160State& state, const uint8_t* bytes, size_t count) {
    Feed<Ripemd160State, Compress160>(state, bytes, count);
}

void Ripemd160Final(Ripemd160State& state, uint8_t digest[20]) {
    Finish<Ripemd160State, Compress160>(state, digest);
}

} // namespace mirelon
