#include "hash/adler32.h"

#include "base/byte_order.h"
#include "hash/prefetch.h"

namespace mirelon {

namespace {

constexpr uint32_t kModulus = 65521;
// The longest run for which s2 cannot overflow 32 bits before it is reduced, even when s1 and s2
// start at kModulus - 1 and every byte is 0xFF. Reducing once per run gives the same sums as
// reducing after every byte. A multiple of 8, so runs split into whole words.
constexpr size_t kLongestRun = 5552;
static_assert(kLongestRun % 8 == 0);

// Eight bytes b0..b7 (b0 first) add b0 + ... + b7 to s1 and 8 s1 + 8 b0 + 7 b1 + ... + 1 b7 to
// s2. Both sums come from multiplications that gather 16-bit lanes into the top lane: the even
// bytes sit in lanes 0..3 of `even`, the odd ones in those of `odd`, and no lane exceeds 16 bits.
struct WordSums {
    uint32_t plain;
    uint32_t weighted;
};

inline WordSums SumWord(uint64_t word) {
    constexpr uint64_t kLaneMask = 0x00FF00FF00FF00FFu;
    const uint64_t even = word & kLaneMask;
    const uint64_t odd = (word >> 8) & kLaneMask;
    const uint64_t plain = ((even + odd) * 0x0001000100010001u) >> 48;
    const uint64_t weighted = (even * 0x0008000600040002u + odd * 0x0007000500030001u) >> 48;
    return {static_cast<uint32_t>(plain), static_cast<uint32_t>(weighted)};
}

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
            PrefetchAhead(bytes);
            const WordSums first = SumWord(Load64LE(bytes));
            const WordSums second = SumWord(Load64LE(bytes + 8));
            s2 += 16 * s1 + 8 * first.plain + first.weighted + second.weighted;
            s1 += first.plain + second.plain;
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
