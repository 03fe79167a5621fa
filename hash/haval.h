#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// HAVAL version 1 with 3, 4 or 5 passes and 128 to 256 output bits. Pass counts outside 3 to 5
// are clamped into that range.
struct HavalState {
    uint32_t bitsLow; // message length in bits, low and high halves
    uint32_t bitsHigh;
    uint32_t fingerprint[8];
    uint8_t block[128];
};

void HavalInit(HavalState& state);
void HavalUpdate(HavalState& state, const uint8_t* bytes, size_t count, int passes);
// fptlen is 128, 160, 192, 224 or 256 and digest receives fptlen / 8 bytes; any other length
// writes nothing.
void HavalFinal(HavalState& state, int fptlen, int passes, uint8_t* digest);

// The ten bytes appended after the padding: version, passes, output length and bit count.
void HavalTail(const HavalState& state, int fptlen, int passes, uint8_t tail[10]);

} // namespace mirelon
