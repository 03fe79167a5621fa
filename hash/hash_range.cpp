#include "hash/hash_range.h"

#include <algorithm>
#include <memory>

namespace mirelon {

namespace {

// Large reads cost fewer system calls; the checksum does not depend on the chunk size. The
// buffer is the range's size up to this, so a small file costs a small allocation. (Not kept
// per thread: a thread_local with a destructor is freed out of order when a thread of
// mingw-w64's thread library ends.)
constexpr size_t kReadBufferSize = 256 * 1024;

} // namespace

bool HashRange(HashContext* context, ByteSource& source, uint64_t start, uint64_t end) {
    if (context == nullptr || context->state == nullptr || end < start) {
        return false;
    }
    const uint64_t target = end - start;
    const auto bufferSize = static_cast<size_t>(std::min<uint64_t>(kReadBufferSize, target));
    const auto owned = std::make_unique_for_overwrite<uint8_t[]>(bufferSize);
    uint8_t* buffer = owned.get();
    for (uint64_t done = 0; done < target;) {
        const size_t wanted =
            static_cast<size_t>(std::min<uint64_t>(kReadBufferSize, target - done));
        const int64_t count = source.ReadAt(start + done, buffer, wanted);
        if (count <= 0) {
            return false;
        }
        const auto used = static_cast<uint32_t>(std::min<uint64_t>(count, wanted));
        if (HashUpdate(context, buffer, used) != kHashOk) {
            return false;
        }
        done += used;
    }
    return true;
}

} // namespace mirelon
