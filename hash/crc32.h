#pragma once

#include <cstddef>
#include <cstdint>

namespace mirelon {

// The running register of CRC32, CRC32B and ADLER32.
struct CrcState {
    uint32_t value;
};

// CRC32 is CRC-32/BZIP2 (polynomial 0x04C11DB7, most significant bit first); CRC32B is the
// reflected CRC-32 of zlib. Both start from all ones and share the final inversion.
void Crc32Init(CrcState& state);
void Crc32Update(CrcState& state, const uint8_t* bytes, size_t count);
void Crc32bUpdate(CrcState& state, const uint8_t* bytes, size_t count);
uint32_t CrcFinal(const CrcState& state);

} // namespace mirelon
