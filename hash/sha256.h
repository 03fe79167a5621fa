#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// SHA-256 (FIPS 180-2).
struct Sha256State {
    uint32_t h[8];
    uint64_t length;
    uint8_t buffer[64];
};

void Sha256Init(Sha256State& state);
void Sha256Update(Sha256State& state, const uint8_t* bytes, size_t count);
void Sha256Final(Sha256State& state, uint8_t digest[32]);

} // namespace mirelon
