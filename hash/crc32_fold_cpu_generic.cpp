// Processors without the x86-64 folding kernels: the CRCs run on their tables.
#include "hash/crc32_fold.h"

namespace mirelon {

const CrcFoldKernel* SupportedCrcFoldKernelPclmul() {
    return nullptr;
}

const CrcFoldKernel* SupportedCrcFoldKernelVpclmul() {
    return nullptr;
}

} // namespace mirelon
