#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// RIPEMD-128 and RIPEMD-160 (Dobbertin, Bosselaers and Preneel).
struct Ripemd128State {
    uint32_t chain[4];
    uint64_t length; // bytes fed so far
    uint8_t block[64];
};

struct Ripemd160State {
    uint32_t chain[5];
    uint64_t length; // bytes fed so far
    uint8_t block[64];
};

void Ripemd128Init(Ripemd128State& state);
void Ripemd128Update(Ripemd128State& state, const uint8_t* bytes, size_t count);
// The digest is the chaining words, each little-endian.
void Ripemd128Final(Ripemd128State& state, uint8_t digest[16]);

void Ripemd160Init(Ripemd160State& state);
void Ripemd160Update(Ripemd160State& state, const uint8_t* bytes, size_t count);
void Ripemd160Final(Ripemd160State& state, uint8_t digest[20]);

} // namespace mirelon
