#pragma once

#include "hash/byte_source.h"
#include "hash/hash_service.h"

#include <cstdint>

namespace mirelon {

// Feeds the bytes of `source` from `start` up to, not including, `end` to HashUpdate. False when
// the context is not open, `end` lies before `start`, a read fails, or the source ends early.
bool HashRange(HashContext* context, ByteSource& source, uint64_t start, uint64_t end);

} // namespace mirelon
