#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// MD2 (RFC 1319), fed one byte at a time.
struct Md2State {
    uint8_t X[48];
    uint8_t C[16];
    uint8_t count;
    uint8_t L;
};

void Md2Init(Md2State& state);
void Md2Update(Md2State& state, const uint8_t* bytes, size_t count);
void Md2Final(Md2State& state, uint8_t digest[16]);

} // namespace mirelon
