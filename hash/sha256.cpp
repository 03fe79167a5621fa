#include "hash/sha256.h"

#include "base/byte_order.h"
#include "hash/block_feeder.h"

#include <bit>

namespace mirelon {

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first 64 primes.
constexpr uint32_t kRoundConstants[64] = {
    0x428A2F98, 0x71374491, 0xB5C0FBCF, 0xE9B5DBA5, 0x3956C25B, 0x59F111F1, 0x923F82A4, 0xAB1C5ED5,
    0xD807AA98, 0x12835B01, 0x243185BE, 0x550C7DC3, 0x72BE5D74, 0x80DEB1FE, 0x9BDC06A7, 0xC19BF174,
    0xE49B69C1, 0xEFBE4786, 0x0FC19DC6, 0x240CA1CC, 0x2DE92C6F, 0x4A7484AA, 0x5CB0A9DC, 0x76F988DA,
    0x983E5152, 0xA831C66D, 0xB00327C8, 0xBF597FC7, 0xC6E00BF3, 0xD5A79147, 0x06CA6351, 0x14292967,
    0x27B70A85, 0x2E1B2138, 0x4D2C6DFC, 0x53380D13, 0x650A7354, 0x766A0ABB, 0x81C2C92E, 0x92722C85,
    0xA2BFE8A1, 0xA81A664B, 0xC24B8B70, 0xC76C51A3, 0xD192E819, 0xD6990624, 0xF40E3585, 0x106AA070,
    0x19A4C116, 0x1E376C08, 0x2748774C, 0x34B0BCB5, 0x391C0CB3, 0x4ED8AA4A, 0x5B9CCA4F, 0x682E6FF3,
    0x748F82EE, 0x78A5636F, 0x84C87814, 0x8CC70208, 0x90BEFFFA, 0xA4506CEB, 0xBEF9A3F7, 0xC67178F2,
};

void Sha256Transform(Sha256State& state, const uint8_t* blocks, size_t blockCount) {
    uint32_t w[64];
    for (; blockCount > 0; --blockCount, blocks += 64) {
        for (int t = 0; t < 16; ++t) {
            w[t] = Load32BE(blocks + 4 * t);
        }
        for (int t = 16; t < 64; ++t) {
            const uint32_t s0 =
                std::rotr(w[t - 15], 7) ^ std::rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
            const uint32_t s1 =
                std::rotr(w[t - 2], 17) ^ std::rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = w[t - 16] + s0 + w[t - 7] + s1;
        }
        uint32_t a = state.h[0], b = state.h[1], c = state.h[2], d = state.h[3];
        uint32_t e = state.h[4], f = state.h[5], g = state.h[6], h = state.h[7];
        for (int t = 0; t < 64; ++t) {
            const uint32_t sum1 = std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25);
            const uint32_t choose = g ^ (e & (f ^ g));
            const uint32_t t1 = h + sum1 + choose + kRoundConstants[t] + w[t];
            const uint32_t sum0 = std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22);
            const uint32_t majority = (a & b) | (c & (a | b));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + sum0 + majority;
        }
        state.h[0] += a;
        state.h[1] += b;
        state.h[2] += c;
        state.h[3] += d;
        state.h[4] += e;
        state.h[5] += f;
        state.h[6] += g;
        state.h[7] += h;
    }
}

} // namespace

void Sha256Init(Sha256State& state) {
    // The first 32 bits of the fractional parts of the square roots of the first 8 primes.
    static constexpr uint32_t kInitial[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                                             0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};
    for (int i = 0; i < 8; ++i) {
        state.h[i] = kInitial[i];
    }
    state.length = 0;
}

void Sha256Update(Sha256State& state, const uint8_t* bytes, size_t count) {
    const size_t buffered = state.length & 63;
    state.length += count;
    FeedBlocks(state.buffer, buffered, bytes, count,
               [&state](const uint8_t* blocks, size_t blockCount) {
                   Sha256Transform(state, blocks, blockCount);
               });
}

void Sha256Final(Sha256State& state, uint8_t digest[32]) {
    static constexpr uint8_t kPadding[64] = {0x80};
    uint8_t length[8];
    Store64BE(length, state.length << 3);
    const size_t index = state.length & 63;
    Sha256Update(state, kPadding, index < 56 ? 56 - index : 120 - index);
    Sha256Update(state, length, sizeof length);
    for (int i = 0; i < 8; ++i) {
        Store32BE(digest + 4 * i, state.h[i]);
    }
}

} // namespace mirelon
