#pragma once

// The interface between the CRCs and their folding kernels. The kernels are built for
// instruction sets the baseline build does not assume, so this header holds only plain data and
// declarations.

#include <cstddef>
#include <cstdint>

namespace mirelon {

// Advances a CRC register (as CrcState holds it) over `count` bytes: a multiple of 16, at least
// kCrcFoldMinimum. Any alignment.
using CrcFoldUpdate = uint32_t (*)(uint32_t crc, const uint8_t* bytes, size_t count);

inline constexpr size_t kCrcFoldMinimum = 64;

struct CrcFoldKernel {
    CrcFoldUpdate msbFirst;  // CRC32
    CrcFoldUpdate reflected; // CRC32B
};

// Present only in x86-64 builds; usable only where the processor has PCLMULQDQ and SSE4.1, or
// VPCLMULQDQ and AVX-512 F and BW.
extern const CrcFoldKernel kCrcFoldKernelPclmul;
extern const CrcFoldKernel kCrcFoldKernelVpclmul;

// The kernel when this build has it and the processor supports it, else nullptr.
const CrcFoldKernel* SupportedCrcFoldKernelPclmul();
const CrcFoldKernel* SupportedCrcFoldKernelVpclmul();

} // namespace mirelon
