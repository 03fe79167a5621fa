#pragma once

#include "hash/crc32.h"

#include <cstddef>
#include <cstdint>

namespace mirelon {

// Adler-32 (RFC 1950): s2 in the upper and s1 in the lower half of the register.
void Adler32Init(CrcState& state);
void Adler32Update(CrcState& state, const uint8_t* bytes, size_t count);
uint32_t Adler32Final(const CrcState& state);

} // namespace mirelon
