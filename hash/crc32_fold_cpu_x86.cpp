// The CRC folding kernels an x86-64 processor can run, asked of the processor once.
#include "hash/crc32_fold.h"

namespace mirelon {

const CrcFoldKernel* SupportedCrcFoldKernelPclmul() {
    static const CrcFoldKernel* const kernel = [] {
        __builtin_cpu_init();
        const bool supported = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
        return supported ? &kCrcFoldKernelPclmul : nullptr;
    }();
    return kernel;
}

const CrcFoldKernel* SupportedCrcFoldKernelVpclmul() {
    static const CrcFoldKernel* const kernel = [] {
        __builtin_cpu_init();
        const bool supported =
            SupportedCrcFoldKernelPclmul() != nullptr && __builtin_cpu_supports("vpclmulqdq") &&
            __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
        return supported ? &kCrcFoldKernelVpclmul : nullptr;
    }();
    return kernel;
}

} // namespace mirelon
