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

// The code that runs the CRCs. kTable runs on any processor; the others fold long inputs by
// carry-less multiplication and leave the tail to the tables: kFolded 128 bits at a time
// (x86-64 with PCLMULQDQ), kFoldedWide 512 (VPCLMULQDQ with AVX-512).
enum class CrcPath { kTable, kFolded, kFoldedWide };

// "table", "pclmul" or "vpclmul".
const char* CrcPathName(CrcPath path);
// Whether this build and this processor can run the path.
bool CrcPathSupported(CrcPath path);
// The widest supported path, unless the environment forces the portable code (simd_request.h).
// Crc32Update and Crc32bUpdate run on this path.
CrcPath SelectedCrcPath();
// The updates on a given path; an unsupported path runs as kTable.
void Crc32UpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count);
void Crc32bUpdateOn(CrcPath path, CrcState& state, const uint8_t* bytes, size_t count);

} // namespace mirelon
