#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// Tiger (Anderson and Biham, original 0x01 padding). Pass counts outside 3 to 5 are clamped
// into that range.
struct TigerState {
    uint64_t words[3]; // chaining values a, b, c
    uint64_t length;   // bytes fed so far
    uint8_t block[64];
};

void TigerInit(TigerState& state);
void TigerUpdate(TigerState& state, const uint8_t* bytes, size_t count, int passes);
// The three chaining words; the usual text is each as 16 hex digits, most significant first,
// cut to 32 or 40 digits for the 128- and 160-bit forms.
void TigerFinal(TigerState& state, int passes, uint64_t words[3]);

} // namespace mirelon
