#include "hash/adler32.h"

namespace mirelon {

namespace {

constexpr uint32_t kModulus = 65521;
// The longest run for which s2 cannot overflow 32 bits before it is reduced, even when s1 and s2
// start at kModulus - 1 and every byte is 0xFF. Reducing once per run gives the same sums as
// reducing after every byte.
constexpr size_t kLongestRun = 5552;

} // namespace

void Adler32Init(CrcState& state) {
    state.value = 1;
}

void Adler32Update(CrcState& state, const uint8_t* bytes, size_t count) {
    uint32_t s1 = state.value & 0xFFFF;
    uint32_t s2 = state.value >> 16;
    while (count > 0) {
        size_t run = count < kLongestRun ? count : kLongestRun;
        count -= run;
        for (; run >= 16; run -= 16, bytes += 16) {
            for (int i = 0; i < 16; ++i) {
                s1 += bytes[i];
                s2 += s1;
            }
        }
        for (; run > 0; --run, ++bytes) {
            s1 += *bytes;
            s2 += s1;
        }
        s1 %= kModulus;
        s2 %= kModulus;
    }
    state.value = (s2 << 16) | s1;
}

uint32_t Adler32Final(const CrcState& state) {
    return state.value;
}

} // namespace mirelon
