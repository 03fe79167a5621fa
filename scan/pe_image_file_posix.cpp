#include "scan/pe_image_file.h"

#include "base/file_at.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

namespace {

int OpenForReading(const FileLocation& file) {
    // O_NOATIME spares the access time where we own the file; O_NONBLOCK keeps a FIFO from
    // blocking the open; it has no effect on regular files.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    int descriptor = openat(AtFolder(file), AtName(file), kFlags | O_NOATIME);
    if (descriptor < 0 && errno == EPERM)
        descriptor = openat(AtFolder(file), AtName(file), kFlags);
    return descriptor;
}

} // namespace

TPeFileSource::TPeFileSource(const FileLocation& file) {
    const int descriptor = OpenForReading(file);
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

} // namespace mirelon
