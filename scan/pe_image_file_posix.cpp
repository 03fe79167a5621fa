#include "scan/pe_image_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

namespace {

int OpenForReading(const std::string& path) {
    // O_NOATIME spares the access time where we own the file; O_NONBLOCK keeps a FIFO from
    // blocking the open; it has no effect on regular files.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    int descriptor = open(path.c_str(), kFlags | O_NOATIME);
    if (descriptor < 0 && errno == EPERM)
        descriptor = open(path.c_str(), kFlags);
    return descriptor;
}

} // namespace

TPeFileSource::TPeFileSource(const std::string& path) {
    const int descriptor = OpenForReading(path);
    if (descriptor < 0)
        return;
    struct stat entry {};
    if (fstat(descriptor, &entry) != 0 || !S_ISREG(entry.st_mode) || entry.st_size < 0) {
        close(descriptor);
        return;
    }
    descriptor_ = descriptor;
    size_ = static_cast<uint64_t>(entry.st_size);
}

TPeFileSource::~TPeFileSource() {
    if (descriptor_ >= 0)
        close(descriptor_);
}

bool TPeFileSource::ReadDirect(uint64_t offset, void* buffer, size_t count) const {
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const ssize_t got = pread(descriptor_, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<size_t>(got);
    }
    return true;
}

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
