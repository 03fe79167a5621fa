#include "hash/tiger.h"

#include "base/byte_order.h"

#include <array>
#include <cstring>

namespace mirelon {

namespace {

using SBoxes = std::array<std::array<uint64_t, 256>, 4>;

constexpr void Round(const SBoxes& t, uint64_t& a, uint64_t& b, uint64_t& c, uint64_t x,
                     uint64_t multiplier) {
    c ^= x;
    a -= t[0][c & 0xFF] ^ t[1][(c >> 16) & 0xFF] ^ t[2][(c >> 32) & 0xFF] ^ t[3][(c >> 48) & 0xFF];
    b += t[3][(c >> 8) & 0xFF] ^ t[2][(c >> 24) & 0xFF] ^ t[1][(c >> 40) & 0xFF] ^ t[0][c >> 56];
    b *= multiplier;
}

constexpr void Pass(const SBoxes& t, uint64_t& a, uint64_t& b, uint64_t& c, const uint64_t x[8],
                    uint64_t multiplier) {
    Round(t, a, b, c, x[0], multiplier);
    Round(t, b, c, a, x[1], multiplier);
    Round(t, c, a, b, x[2], multiplier);
    Round(t, a, b, c, x[3], multiplier);
    Round(t, b, c, a, x[4], multiplier);
    Round(t, c, a, b, x[5], multiplier);
    Round(t, a, b, c, x[6], multiplier);
    Round(t, b, c, a, x[7], multiplier);
}

constexpr void KeySchedule(uint64_t x[8]) {
    x[0] -= x[7] ^ 0xA5A5A5A5A5A5A5A5ull;
    x[1] ^= x[0];
    x[2] += x[1];
    x[3] -= x[2] ^ ((~x[1]) << 19);
    x[4] ^= x[3];
    x[5] += x[4];
    x[6] -= x[5] ^ ((~x[4]) >> 23);
    x[7] ^= x[6];
    x[0] += x[7];
    x[1] -= x[0] ^ ((~x[7]) << 19);
    x[2] ^= x[1];
    x[3] += x[2];
    x[4] -= x[3] ^ ((~x[2]) >> 23);
    x[5] ^= x[4];
    x[6] += x[5];
    x[7] -= x[6] ^ 0x0123456789ABCDEFull;
}

constexpr void Compress(const SBoxes& t, uint64_t state[3], const uint64_t block[8], int passes) {
    uint64_t a = state[0];
    uint64_t b = state[1];
    uint64_t c = state[2];
    uint64_t x[8] = {block[0], block[1], block[2], block[3],
                     block[4], block[5], block[6], block[7]};
    Pass(t, a, b, c, x, 5);
    KeySchedule(x);
    Pass(t, c, a, b, x, 7);
    KeySchedule(x);
    Pass(t, b, c, a, x, 9);
    for (int extra = 3; extra < passes; ++extra) {
        KeySchedule(x);
        Pass(t, a, b, c, x, 9);
        const uint64_t saved = a;
        a = c;
        c = b;
        b = saved;
    }
    state[0] ^= a;
    state[1] = b - state[1];
    state[2] += c;
}

constexpr uint64_t kInitial[3] = {0x0123456789ABCDEFull, 0xFEDCBA9876543210ull,
                                  0xF096A5B4C3B2E187ull};

// The authors' generation procedure: start with every byte column of every box holding its
// index, then for five passes swap each byte with the one named by the running hash of a fixed
// text, hashing with the boxes as they stand at that moment.
SBoxes GenerateSBoxes() {
    SBoxes t{};
    for (auto& box : t) {
        for (uint64_t i = 0; i < 256; ++i) {
            box[i] = i * 0x0101010101010101ull;
        }
    }
    constexpr char kSeedText[] = "Tiger - A Fast New Hash Function, by Ross Anderson and Eli Biham";
    static_assert(sizeof(kSeedText) == 65);
    uint64_t seed[8] = {};
    for (int w = 0; w < 8; ++w) {
        for (int i = 7; i >= 0; --i) {
            seed[w] = (seed[w] << 8) | static_cast<uint8_t>(kSeedText[8 * w + i]);
        }
    }
    uint64_t state[3] = {kInitial[0], kInitial[1], kInitial[2]};
    constexpr int kGenerationPasses = 5;
    int which = 2;
    for (int pass = 0; pass < kGenerationPasses; ++pass) {
        for (int i = 0; i < 256; ++i) {
            for (auto& box : t) {
                if (++which == 3) {
                    which = 0;
                    Compress(t, state, seed, 3);
                }
                for (int column = 0; column < 8; ++column) {
                    const int shift = 8 * column;
                    const uint64_t mask = 0xFFull << shift;
                    const int other = static_cast<int>((state[which] >> shift) & 0xFF);
                    const uint64_t mine = box[i] & mask;
                    const uint64_t theirs = box[other] & mask;
                    box[i] = (box[i] & ~mask) | theirs;
                    box[other] = (box[other] & ~mask) | mine;
                }
            }
        }
    }
    return t;
}

// Generated once, at first use; a function-local static is initialised thread-safely.
const SBoxes& TigerSBoxes() {
    static const SBoxes boxes = GenerateSBoxes();
    return boxes;
}

int ClampPasses(int passes) {
    return passes < 3 ? 3 : (passes > 5 ? 5 : passes);
}

void CompressBlock(TigerState& state, const uint8_t* bytes, int passes) {
    uint64_t block[8];
    for (int i = 0; i < 8; ++i) {
        block[i] = Load64LE(bytes + 8 * i);
    }
    Compress(TigerSBoxes(), state.words, block, passes);
}

} // namespace

void TigerInit(TigerState& state) {
    TigerSBoxes(); // so that no later call pays for the generation
    std::memset(&state, 0, sizeof(state));
    std::memcpy(state.words, kInitial, sizeof(kInitial));
}

void TigerUpdate(TigerState& state, const uint8_t* bytes, size_t count, int passes) {
    passes = ClampPasses(passes);
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
        CompressBlock(state, state.block, passes);
    }
    for (; count >= 64; bytes += 64, count -= 64) {
        CompressBlock(state, bytes, passes);
    }
    std::memcpy(state.block, bytes, count);
}

void TigerFinal(TigerState& state, int passes, uint64_t words[3]) {
    const uint64_t bitCount = state.length << 3;
    static constexpr uint8_t kPadding[64] = {0x01};
    const size_t index = state.length % 64;
    TigerUpdate(state, kPadding, index < 56 ? 56 - index : 120 - index, passes);
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i) {
        lengthBytes[i] = static_cast<uint8_t>(bitCount >> (8 * i));
    }
    TigerUpdate(state, lengthBytes, sizeof(lengthBytes), passes);
    std::memcpy(words, state.words, sizeof(state.words));
}

} // namespace mirelon
