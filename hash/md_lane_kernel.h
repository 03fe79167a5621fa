#pragma once

// The interface between the lane scheduler and its SIMD block transforms. The transforms are
// built for instruction sets the baseline build does not assume, so this header holds only
// plain data and declarations: nothing inline that a SIMD file could emit a copy of.

#include <cstddef>
#include <cstdint>

namespace mirelon {

inline constexpr int kMdMaxLanes = 16;

// The chaining values of up to 16 MD4 or MD5 streams, sliced by word: a[i] .. d[i] belong to
// lane i. `message` is the transforms' scratch for one block of every lane, sliced the same way
// (message[w][i] is word w of lane i's block); it lives here rather than on the stack, which
// 64-bit Windows aligns to 16 bytes only.
struct alignas(64) MdLaneWords {
    uint32_t a[kMdMaxLanes], b[kMdMaxLanes], c[kMdMaxLanes], d[kMdMaxLanes];
    uint32_t message[16][kMdMaxLanes];
};

// Runs `blockCount` consecutive 64-byte blocks through every lane: lane i reads its blocks from
// lanes[i]. All `width` lanes run; one whose result does not matter still needs readable bytes.
using MdLaneTransform = void (*)(MdLaneWords& words, const uint8_t* const* lanes,
                                 size_t blockCount);

struct MdLaneKernel {
    int width;
    MdLaneTransform md4;
    MdLaneTransform md5;
};

// Present only in x86-64 builds; usable only where the processor has the instruction set.
extern const MdLaneKernel kMdLaneKernelAvx2;
extern const MdLaneKernel kMdLaneKernelAvx512;

// The kernel of a SIMD path when this build has it and the processor supports it, else nullptr.
const MdLaneKernel* SupportedMdLaneKernelAvx2();
const MdLaneKernel* SupportedMdLaneKernelAvx512();

} // namespace mirelon
