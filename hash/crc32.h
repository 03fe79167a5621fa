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

// The code that runs the CRCs. kTable runs on any processor; kFolded folds long inputs by
// carry-less multiplication (x86-64 with PCLMULQDQ) and leaves the tail to the tables.
enum class CrcPath { kTable, kFolded };

// Whether this build and this processor can run the path.
bool CrcPathSupported(CrcPath path);
// kFolded where supported, unless the environment forces the portable code (simd_request.h).
// Crc32Update and Crc32bUpdate run on this path.
CrcPath SelectedCrcPath();
// The updates on a given path; an unsupported path runs as kTable.
void Crc32UpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count);
void Crc32bUpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count);

} // namespace mirelon
