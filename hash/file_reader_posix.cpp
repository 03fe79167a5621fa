#include "hash/file_reader.h"

#include "base/file_at.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

namespace {

int OpenForReading(const FileLocation& file) {
    // Non-blocking so that opening a FIFO without a writer returns at once; the type check
    // follows. O_NOATIME is only allowed to the file's owner, so retry without it.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int handle;
    do {
        handle = ::openat(AtFolder(file), AtName(file), kFlags | O_NOATIME);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0 && errno == EPERM) {
        do {
            handle = ::openat(AtFolder(file), AtName(file), kFlags);
        } while (handle < 0 && errno == EINTR);
    }
    return handle;
}

bool IsRegularFile(const FileLocation& file) {
    struct stat status {};
    return ::fstatat(AtFolder(file), AtName(file), &status, 0) == 0 && S_ISREG(status.st_mode);
}

} // namespace

FileReader::~FileReader() {
    Close();
}

bool FileReader::Open(const FileLocation& file) {
    Close();
    // Opening a device can have effects of its own (a tape rewinds), so only what looks like a
    // regular file is opened; the check after opening settles it.
    if (!IsRegularFile(file)) {
        return false;
    }
    const int handle = OpenForReading(file);
    if (handle < 0) {
        return false;
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(handle);
        return false;
    }
    const int flags = ::fcntl(handle, F_GETFL);
    if (flags >= 0) {
        ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK);
    }
    ::posix_fadvise(handle, 0, 0, POSIX_FADV_SEQUENTIAL);
    handle_ = handle;
    size_ = static_cast<uint64_t>(status.st_size);
    return true;
}

void FileReader::Close() {
    if (handle_ >= 0) {
        ::close(handle_);
        handle_ = -1;
        size_ = 0;
    }
}

int64_t FileReader::ReadAt(uint64_t offset, void* buffer, size_t capacity) {
    if (handle_ < 0 || offset > static_cast<uint64_t>(INT64_MAX)) {
        return -1;
    }
    ssize_t count;
    do {
        count = ::pread(handle_, buffer, capacity, static_cast<off_t>(offset));
    } while (count < 0 && errno == EINTR);
    return count < 0 ? -1 : static_cast<int64_t>(count);
}

} // namespace mirelon
