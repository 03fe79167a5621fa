// The SIMD lane kernels an x86-64 processor can run, asked of the processor itself once. The
// features are normally known before main; __builtin_cpu_init also serves a caller from another
// library's static constructor.
#include "hash/md_lane_kernel.h"

namespace mirelon {

const MdLaneKernel* SupportedMdLaneKernelAvx2() {
    static const MdLaneKernel* const kernel = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? &kMdLaneKernelAvx2 : nullptr;
    }();
    return kernel;
}

const MdLaneKernel* SupportedMdLaneKernelAvx512() {
    static const MdLaneKernel* const kernel = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") ? &kMdLaneKernelAvx512 : nullptr;
    }();
    return kernel;
}

} // namespace mirelon
