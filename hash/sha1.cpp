#include "hash/sha1.h"

#include "base/byte_order.h"
#include "hash/block_feeder.h"

#include <bit>
#include <cstring>

namespace mirelon {

namespace {

void Sha1Transform(Sha1State& state, const uint8_t* blocks, size_t blockCount) {
    uint32_t w[16];
    for (; blockCount > 0; --blockCount, blocks += 64) {
        uint32_t a = state.h[0], b = state.h[1], c = state.h[2], d = state.h[3], e = state.h[4];
        for (int t = 0; t < 80; ++t) {
            uint32_t word;
            if (t < 16) {
                word = w[t] = Load32BE(blocks + 4 * t);
            } else {
                word = w[t & 15] =
                    std::rotl(w[(t - 3) & 15] ^ w[(t - 8) & 15] ^ w[(t - 14) & 15] ^ w[t & 15], 1);
            }
            uint32_t f;
            uint32_t k;
            if (t < 20) {
                f = d ^ (b & (c ^ d));
                k = 0x5A827999;
            } else if (t < 40) {
                f = b ^ c ^ d;
                k = 0x6ED9EBA1;
            } else if (t < 60) {
                f = (b & c) | (d & (b | c));
                k = 0x8F1BBCDC;
            } else {
                f = b ^ c ^ d;
                k = 0xCA62C1D6;
            }
            const uint32_t next = std::rotl(a, 5) + f + e + k + word;
            e = d;
            d = c;
            c = std::rotl(b, 30);
            b = a;
            a = next;
        }
        state.h[0] += a;
        state.h[1] += b;
        state.h[2] += c;
        state.h[3] += d;
        state.h[4] += e;
    }
}

} // namespace

void Sha1Init(Sha1State& state) {
    state.h[0] = 0x67452301;
    state.h[1] = 0xEFCDAB89;
    state.h[2] = 0x98BADCFE;
    state.h[3] = 0x10325476;
    state.h[4] = 0xC3D2E1F0;
    state.length = 0;
}

void Sha1Update(Sha1State& state, const uint8_t* bytes, size_t count) {
    const size_t buffered = state.length & 63;
    state.length += count;
    FeedBlocks(state.buffer, buffered, bytes, count,
               [&state](const uint8_t* blocks, size_t blockCount) {
                   Sha1Transform(state, blocks, blockCount);
               });
}

void Sha1Final(Sha1State& state, uint8_t digest[20]) {
    static constexpr uint8_t kPadding[64] = {0x80};
    uint8_t length[8];
    Store64BE(length, state.length << 3);
    const size_t index = state.length & 63;
    Sha1Update(state, kPadding, index < 56 ? 56 - index : 120 - index);
    Sha1Update(state, length, sizeof length);
    for (int i = 0; i < 5; ++i) {
        Store32BE(digest + 4 * i, state.h[i]);
    }
}

} // namespace mirelon
