#include "hash/gost.h"

#include <array>
#include <cstring>

namespace mirelon {

namespace {

using Block256 = std::array<uint32_t, 8>;

// The eight 4-bit substitution boxes of the test parameter set; box 0 takes the least
// significant nibble of the round input.
constexpr uint8_t kTestSBoxes[8][16] = {
    {4, 10, 9, 2, 13, 8, 0, 14, 6, 11, 1, 12, 7, 15, 5, 3},
    {14, 11, 4, 12, 6, 13, 15, 10, 2, 3, 8, 1, 0, 7, 5, 9},
    {5, 8, 1, 13, 10, 3, 4, 2, 14, 15, 12, 7, 6, 0, 9, 11},
    {7, 13, 10, 1, 0, 8, 9, 15, 14, 4, 6, 12, 11, 2, 5, 3},
    {6, 12, 7, 1, 5, 15, 13, 8, 4, 10, 9, 14, 0, 3, 11, 2},
    {4, 11, 10, 0, 7, 2, 1, 13, 3, 6, 8, 5, 9, 12, 15, 14},
    {13, 11, 4, 1, 3, 15, 5, 9, 0, 10, 14, 7, 6, 8, 2, 12},
    {1, 15, 13, 0, 5, 7, 10, 4, 9, 2, 3, 14, 6, 11, 8, 12},
};

constexpr uint32_t RotateLeft(uint32_t value, int bits) {
    return (value << bits) | (value >> (32 - bits));
}

using RoundTables = std::array<std::array<uint32_t, 256>, 4>;

// Table k maps byte k of the round input through two S-boxes, already shifted into place
// and rotated left by 11, so the rotation distributes over the XOR of the four lookups.
constexpr RoundTables MakeRoundTables() {
    RoundTables tables{};
    for (int k = 0; k < 4; ++k) {
        for (uint32_t b = 0; b < 256; ++b) {
            const uint32_t low = kTestSBoxes[2 * k][b & 15];
            const uint32_t high = kTestSBoxes[2 * k + 1][b >> 4];
            tables[k][b] = RotateLeft(((high << 4) | low) << (8 * k), 11);
        }
    }
    return tables;
}

constexpr RoundTables kRoundTables = MakeRoundTables();

inline uint32_t RoundFunction(uint32_t x) {
    return kRoundTables[0][x & 0xFF] ^ kRoundTables[1][(x >> 8) & 0xFF] ^
           kRoundTables[2][(x >> 16) & 0xFF] ^ kRoundTables[3][x >> 24];
}

// GOST 28147-89 simple substitution of the four 64-bit parts of `value`, part k under key k,
// low word first. The four encryptions are independent, so they run interleaved round by round
// and the processor overlaps their table lookups.
void EncryptParts(const Block256 (&keys)[4], Block256& value) {
    uint32_t n1[4];
    uint32_t n2[4];
    for (int k = 0; k < 4; ++k) {
        n1[k] = value[2 * k];
        n2[k] = value[2 * k + 1];
    }
    auto roundPair = [&](int first, int second) {
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
            n2[k] ^= RoundFunction(n1[k] + keys[k][first]);
        }
#pragma GCC unroll 4
        for (int k = 0; k < 4; ++k) {
            n1[k] ^= RoundFunction(n2[k] + keys[k][second]);
        }
    };
    for (int repeat = 0; repeat < 3; ++repeat) {
        for (int i = 0; i < 8; i += 2) {
            roundPair(i, i + 1);
        }
    }
    for (int i = 7; i > 0; i -= 2) {
        roundPair(i, i - 1);
    }
    // The last round does not swap the halves.
    for (int k = 0; k < 4; ++k) {
        value[2 * k] = n2[k];
        value[2 * k + 1] = n1[k];
    }
}

constexpr Block256 kC3 = {0xFF00FF00, 0xFF00FF00, 0x00FF00FF, 0x00FF00FF,
                          0x00FFFF00, 0xFF0000FF, 0x000000FF, 0xFF00FFFF};

inline uint32_t ByteOf(const Block256& value, int index) {
    return (value[index / 4] >> (8 * (index % 4))) & 0xFF;
}

// Byte 8i + k of the input becomes byte i + 4k of the key.
Block256 TransformP(const Block256& value) {
    Block256 out{};
    for (int k = 0; k < 8; ++k) {
        out[k] = ByteOf(value, k) | (ByteOf(value, 8 + k) << 8) | (ByteOf(value, 16 + k) << 16) |
                 (ByteOf(value, 24 + k) << 24);
    }
    return out;
}

// Drops the lowest 64-bit part and puts the XOR of the two lowest parts on top.
Block256 TransformA(const Block256& value) {
    return {
        value[2],           value[3], value[4], value[5], value[6], value[7], value[0] ^ value[2],
        value[1] ^ value[3]};
}

Block256 Xor(const Block256& a, const Block256& b) {
    Block256 out{};
    for (int i = 0; i < 8; ++i) {
        out[i] = a[i] ^ b[i];
    }
    return out;
}

// The linear shift register psi on sixteen 16-bit words, applied `times` times: each step
// drops word 0 and appends word0 ^ word1 ^ word2 ^ word3 ^ word12 ^ word15.
Block256 Psi(const Block256& value, int times) {
    uint16_t sequence[16 + 61];
    for (int i = 0; i < 8; ++i) {
        sequence[2 * i] = static_cast<uint16_t>(value[i]);
        sequence[2 * i + 1] = static_cast<uint16_t>(value[i] >> 16);
    }
    for (int n = 0; n < times; ++n) {
        sequence[n + 16] = sequence[n] ^ sequence[n + 1] ^ sequence[n + 2] ^ sequence[n + 3] ^
                           sequence[n + 12] ^ sequence[n + 15];
    }
    Block256 out{};
    for (int i = 0; i < 8; ++i) {
        out[i] =
            sequence[times + 2 * i] | (static_cast<uint32_t>(sequence[times + 2 * i + 1]) << 16);
    }
    return out;
}

// The step function f(H, M).
void Step(uint32_t hash[8], const Block256& message) {
    Block256 h;
    std::memcpy(h.data(), hash, sizeof(h));

    Block256 u = h;
    Block256 v = message;
    Block256 keys[4];
    keys[0] = TransformP(Xor(u, v));
    for (int j = 1; j < 4; ++j) {
        u = TransformA(u);
        if (j == 2) {
            u = Xor(u, kC3);
        }
        v = TransformA(TransformA(v));
        keys[j] = TransformP(Xor(u, v));
    }

    Block256 s = h;
    EncryptParts(keys, s);

    const Block256 mixed = Psi(Xor(h, Psi(Xor(message, Psi(s, 12)), 1)), 61);
    std::memcpy(hash, mixed.data(), sizeof(mixed));
}

void Add256(uint32_t target[8], const Block256& addend) {
    uint64_t carry = 0;
    for (int i = 0; i < 8; ++i) {
        carry += static_cast<uint64_t>(target[i]) + addend[i];
        target[i] = static_cast<uint32_t>(carry);
        carry >>= 32;
    }
}

Block256 ReadBlock(const uint8_t* bytes) {
    Block256 words{};
    for (int i = 0; i < 8; ++i) {
        words[i] = static_cast<uint32_t>(bytes[4 * i]) |
                   (static_cast<uint32_t>(bytes[4 * i + 1]) << 8) |
                   (static_cast<uint32_t>(bytes[4 * i + 2]) << 16) |
                   (static_cast<uint32_t>(bytes[4 * i + 3]) << 24);
    }
    return words;
}

void ProcessBlock(GostState& state, const uint8_t* bytes, uint32_t bitCount) {
    const Block256 message = ReadBlock(bytes);
    Add256(state.sum, message);
    Step(state.hash, message);
    Add256(state.length, Block256{bitCount, 0, 0, 0, 0, 0, 0, 0});
}

} // namespace

void GostInit(GostState& state) {
    std::memset(&state, 0, sizeof(state));
}

void GostUpdate(GostState& state, const uint8_t* bytes, size_t count) {
    if (count == 0) {
        return;
    }
    const size_t room = 32 - state.partialCount;
    const size_t taken = count < room ? count : room;
    std::memcpy(state.partial + state.partialCount, bytes, taken);
    state.partialCount += static_cast<uint32_t>(taken);
    bytes += taken;
    count -= taken;
    if (state.partialCount == 32) {
        ProcessBlock(state, state.partial, 256);
        state.partialCount = 0;
    }
    // The last stretch, even a whole block, waits in `partial` for the final step.
    while (count > 32) {
        ProcessBlock(state, bytes, 256);
        bytes += 32;
        count -= 32;
    }
    std::memcpy(state.partial + state.partialCount, bytes, count);
    state.partialCount += static_cast<uint32_t>(count);
}

void GostFinal(GostState& state, uint8_t digest[32]) {
    if (state.partialCount > 0) {
        std::memset(state.partial + state.partialCount, 0, 32 - state.partialCount);
        ProcessBlock(state, state.partial, state.partialCount * 8);
        state.partialCount = 0;
    }
    Block256 length;
    Block256 sum;
    std::memcpy(length.data(), state.length, sizeof(length));
    std::memcpy(sum.data(), state.sum, sizeof(sum));
    Step(state.hash, length);
    Step(state.hash, sum);
    for (int i = 0; i < 8; ++i) {
        for (int b = 0; b < 4; ++b) {
            digest[4 * i + b] = static_cast<uint8_t>(state.hash[i] >> (8 * b));
        }
    }
}

} // namespace mirelon
