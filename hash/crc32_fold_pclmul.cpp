// CRC32 and CRC32B folded 64 bytes at a time with PCLMULQDQ, then reduced to 32 bits by two more
// folds and a Barrett reduction. Built with PCLMULQDQ and SSE4.1 enabled for this file only; run
// only where the processor has them.
#include "hash/crc32_fold.h"
#include "hash/crc32_fold_blocks.h"

namespace mirelon {

const CrcFoldKernel kCrcFoldKernelPclmul = {FoldBy128<MsbFirstBlocks>, FoldBy128<ReflectedBlocks>};

} // namespace mirelon
