#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// SHA-512 and SHA-384 (FIPS 180-2): one compression function, different initial values and a
// digest cut to 48 bytes for SHA-384.
struct Sha512State {
    uint64_t h[8];
    uint64_t lengthLow;
    uint64_t lengthHigh;
    uint8_t buffer[128];
};

void Sha384Init(Sha512State& state);
void Sha512Init(Sha512State& state);
void Sha512Update(Sha512State& state, const uint8_t* bytes, size_t count);
void Sha384Final(Sha512State& state, uint8_t digest[48]);
void Sha512Final(Sha512State& state, uint8_t digest[64]);

} // namespace mirelon
