// Processors without the x86-64 folding kernel: the CRCs run on their tables.
#include "hash/crc32_fold.h"

namespace mirelon {

const CrcFoldKernel* SupportedCrcFoldKernel() {
    return nullptr;
}

} // namespace mirelon
