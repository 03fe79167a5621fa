// Whether an x86-64 processor can run the CRC folding kernel, asked of the processor once.
#include "hash/crc32_fold.h"

namespace mirelon {

const CrcFoldKernel* SupportedCrcFoldKernel() {
    static const CrcFoldKernel* const kernel = [] {
        __builtin_cpu_init();
        const bool supported = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
        return supported ? &kCrcFoldKernelPclmul : nullptr;
    }();
    return kernel;
}

} // namespace mirelon
