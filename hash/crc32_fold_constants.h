#pragma once

// The multipliers of CRC folding by carry-less multiplication, worked out by the compiler from
// the polynomial 0x04C11DB7 that CRC32 and CRC32B share. A 128-bit block is split into halves of
// 64 bits; moving a half n bits further along the message multiplies it by x^n, and modulo P
// that is a multiplier of 32 bits, so the product of a half still fits in 128 bits.
//
// MSB-first (CRC32): the bytes of a block are swapped so that bit i holds the coefficient of
// x^i, and values are plain polynomials. Reflected (CRC32B): bit i of a 64-bit value holds the
// coefficient of x^(63 - i); the carry-less product of two such values lands one bit short of
// that layout in 128 bits, i.e. it is the product times x, so its multipliers are x^(n-1).
//
// Everything here is consteval: nothing of it is emitted into a file built for other
// instruction sets.

#include <cstdint>

namespace mirelon::crc_fold {

// x^32 + 0x04C11DB7.
inline constexpr uint64_t kPolynomial = 0x104C11DB7u;

// x^n mod P, bit i holding the coefficient of x^i.
consteval uint64_t PowerOfXModP(unsigned n) {
    uint32_t remainder = 1;
    for (unsigned i = 0; i < n; ++i) {
        remainder =
            (remainder & 0x80000000u) ? (remainder << 1) ^ uint32_t(kPolynomial) : remainder << 1;
    }
    return remainder;
}

// floor(x^64 / P), 33 bits: Barrett reduction's estimate of the quotient.
consteval uint64_t BarrettQuotient() {
    // The first step of the long division, x^64 - x^32 P, leaves x^32 times P's low 32 bits.
    uint64_t quotient = uint64_t{1} << 32;
    uint64_t remainder = (kPolynomial & 0xFFFFFFFFu) << 32;
    for (int degree = 31; degree >= 0; --degree) {
        if (remainder & (uint64_t{1} << (degree + 32))) {
            quotient |= uint64_t{1} << degree;
            remainder ^= kPolynomial << degree;
        }
    }
    return quotient;
}

// The low `width` bits of `value` in reverse order.
consteval uint64_t Reflect(uint64_t value, int width) {
    uint64_t reflected = 0;
    for (int bit = 0; bit < width; ++bit) {
        if (value & (uint64_t{1} << bit)) {
            reflected |= uint64_t{1} << (width - 1 - bit);
        }
    }
    return reflected;
}

// A block's two halves are multiplied by `low` and `high` (the halves of the 128-bit register
// they sit in).
struct FoldMultipliers {
    uint64_t low;
    uint64_t high;
};

struct FoldConstants {
    FoldMultipliers by2048; // sixteen blocks further on
    FoldMultipliers by512;  // four blocks further on
    FoldMultipliers by128;  // one block further on
    uint64_t by96;          // the high half of the last block, to 96 bits
    uint64_t by64;          // the top 32 of those 96 bits, to 64
    uint64_t barrett;       // BarrettQuotient()
    uint64_t polynomial;    // kPolynomial
};

// MSB-first: the high half sits 64 bits before the low one, so it travels 64 bits further.
consteval FoldConstants MsbFirstFoldConstants() {
    return {{PowerOfXModP(2048), PowerOfXModP(2112)},
            {PowerOfXModP(512), PowerOfXModP(576)},
            {PowerOfXModP(128), PowerOfXModP(192)},
            PowerOfXModP(96),
            PowerOfXModP(64),
            BarrettQuotient(),
            kPolynomial};
}

// Reflected: the first half is the low one of the register; each multiplier is x^(n-1) for the
// product's extra x, and 32-bit values take the top of their 64 bits.
consteval FoldConstants ReflectedFoldConstants() {
    return {{Reflect(PowerOfXModP(2111), 64), Reflect(PowerOfXModP(2047), 64)},
            {Reflect(PowerOfXModP(575), 64), Reflect(PowerOfXModP(511), 64)},
            {Reflect(PowerOfXModP(191), 64), Reflect(PowerOfXModP(127), 64)},
            Reflect(PowerOfXModP(95), 64),
            Reflect(PowerOfXModP(63), 64),
            Reflect(BarrettQuotient(), 33),
            Reflect(kPolynomial, 33)};
}

inline constexpr FoldConstants kMsbFirstFold = MsbFirstFoldConstants();
inline constexpr FoldConstants kReflectedFold = ReflectedFoldConstants();

} // namespace mirelon::crc_fold
