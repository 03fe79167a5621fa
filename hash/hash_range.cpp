#include "hash/hash_range.h"

#include <algorithm>
#include <memory>

namespace mirelon {

namespace {

// Large reads cost fewer system calls; the checksum does not depend on the chunk size. One
// buffer per thread, so scanning many small files allocates nothing.
constexpr size_t kReadBufferSize = 256 * 1024;

uint8_t* ReadBuffer() {
    thread_local std::unique_ptr<uint8_t[]> buffer;
    if (!buffer) {
        buffer = std::make_unique_for_overwrite<uint8_t[]>(kReadBufferSize);
    }
    return buffer.get();
}

} // namespace

bool HashRange(HashContext* context, ByteSource& source, uint64_t start, uint64_t end) {
    if (context == nullptr || context->state == nullptr || end < start) {
        return false;
    }
    const uint64_t target = end - start;
    uint8_t* buffer = target > 0 ? ReadBuffer() : nullptr;
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
