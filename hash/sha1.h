#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// SHA-1 (FIPS 180-2).
struct Sha1State {
    uint32_t h[5];
    uint64_t length;
    uint8_t buffer[64];
};

void Sha1Init(Sha1State& state);
void Sha1Update(Sha1State& state, const uint8_t* bytes, size_t count);
void Sha1Final(Sha1State& state, uint8_t digest[20]);

} // namespace mirelon
