#include "hash/file_reader.h"

#include "base/file_at.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

namespace {

// Small files are read whole by the kernel's own read-ahead; telling it about sequential reads
// is worth a call only for larger ones.
constexpr off_t kSequentialHintFrom = 512 * 1024;

// `extraFlags` as well as the usual ones. Non-blocking so that opening a FIFO without a writer
// returns at once; the type check follows. O_NOATIME is only allowed to the file's owner, so
// retry without it. `noAtime` tells which.
int OpenForReading(const FileLocation& file, int extraFlags, bool& noAtime) {
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int handle;
    noAtime = true;
    do {
        handle = ::openat(AtFolder(file), AtName(file), kFlags | extraFlags | O_NOATIME);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0 && errno == EPERM) {
        noAtime = false;
        do {
            handle = ::openat(AtFolder(file), AtName(file), kFlags | extraFlags);
        } while (handle < 0 && errno == EINTR);
    }
    return handle;
}

// Takes the opened handle when it is a regular file, and reads it blocking from then on;
// otherwise closes it.
bool TakeRegular(int handle, bool noAtime, intptr_t& kept, uint64_t& size) {
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(handle);
        return false;
    }
    ::fcntl(handle, F_SETFL, noAtime ? O_NOATIME : 0);
    if (status.st_size >= kSequentialHintFrom) {
        ::posix_fadvise(handle, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    kept = handle;
    size = static_cast<uint64_t>(status.st_size);
    return true;
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
    bool noAtime = false;
    const int handle = OpenForReading(file, 0, noAtime);
    return handle >= 0 && TakeRegular(handle, noAtime, handle_, size_);
}

bool FileReader::OpenSeenRegular(const FileLocation& file) {
    Close();
    bool noAtime = false;
    const int handle = OpenForReading(file, O_NOFOLLOW, noAtime);
    return handle >= 0 && TakeRegular(handle, noAtime, handle_, size_);
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
