#include "scan/pe_image_file.h"

#include <algorithm>

namespace mirelon {

const TPeFileSource::CachedPage* TPeFileSource::Page(uint64_t index) const {
    CachedPage& page = cache_[index % kCachedPages];
    if (page.index == index)
        return &page;
    const uint64_t start = index * kPageSize;
    const size_t length = static_cast<size_t>(std::min<uint64_t>(kPageSize, size_ - start));
    page.index = UINT64_MAX;
    if (!ReadDirect(start, page.bytes.data(), length))
        return nullptr;
    page.index = index;
    page.length = length;
    return &page;
}

bool TPeFileSource::Read(uint64_t offset, void* buffer, size_t count) const {
    if (!IsOpen() || offset > size_ || count > size_ - offset)
        return false;
    if (count >= kPageSize)
        return ReadDirect(offset, buffer, count);
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const CachedPage* page = Page(offset / kPageSize);
        const size_t within = static_cast<size_t>(offset % kPageSize);
        if (page == nullptr || within >= page->length)
            return false; // the file shrank since it was opened
        const size_t take = std::min(count, page->length - within);
        std::memcpy(out, page->bytes.data() + within, take);
        out += take;
        offset += take;
        count -= take;
    }
    return true;
}

} // namespace mirelon
