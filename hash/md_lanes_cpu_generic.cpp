// Processors without the x86-64 SIMD kernels: every lane runs the single-stream transform.
#include "hash/md_lane_kernel.h"

namespace mirelon {

const MdLaneKernel* SupportedMdLaneKernelAvx2() {
    return nullptr;
}

const MdLaneKernel* SupportedMdLaneKernelAvx512() {
    return nullptr;
}

} // namespace mirelon
