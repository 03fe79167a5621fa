// The SIMD lane kernels an x86-64 processor can run, asked of the processor itself.
#include "hash/md_lane_kernel.h"

namespace mirelon {

const MdLaneKernel* SupportedMdLaneKernelAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? &kMdLaneKernelAvx2 : nullptr;
}

const MdLaneKernel* SupportedMdLaneKernelAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") ? &kMdLaneKernelAvx512 : nullptr;
}

} // namespace mirelon
