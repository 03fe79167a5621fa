#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// GOST R 34.11-94 with the S-boxes of the standard's test parameter set. 256-bit numbers are
// kept as eight 32-bit words, word 0 least significant.
struct GostState {
    uint32_t sum[8];    // control sum of all message blocks, modulo 2^256
    uint32_t hash[8];   // chaining value
    uint32_t length[8]; // message length in bits
    uint8_t partial[32];
    uint32_t partialCount; // 0 to 32
};

void GostInit(GostState& state);
void GostUpdate(GostState& state, const uint8_t* bytes, size_t count);
// The digest is the eight chaining words, word 0 first, each little-endian.
void GostFinal(GostState& state, uint8_t digest[32]);

} // namespace mirelon
