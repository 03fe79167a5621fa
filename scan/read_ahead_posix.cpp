#include "scan/read_ahead.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace mirelon {

namespace {

// Whether the first `bytes` (0: all) are in memory, as far as their first and last byte tell,
// by reads that would rather fail than wait for the disk. Only where the open leaves the access
// time alone.
bool WantedBytesInMemory(int fd, uint64_t size, uint64_t bytes) {
    const uint64_t end = bytes == 0 || bytes > size ? size : bytes;
    char byte;
    struct iovec target {
        &byte, 1
    };
    for (const uint64_t offset : {uint64_t{0}, end - 1}) {
        if (end != 0 && preadv2(fd, &target, 1, static_cast<off_t>(offset), RWF_NOWAIT) != 1) {
            return false;
        }
    }
    return true;
}

} // namespace

bool HintReadAhead(const std::string& path, uint64_t bytes) {
    // Non-blocking, so that a file swapped for a pipe since the walk saw it cannot hold us.
    // O_NOATIME is only allowed to the file's owner: without it nothing is read to look.
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    bool unreadTimes = true;
    int fd = open(path.c_str(), kFlags | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        unreadTimes = false;
        fd = open(path.c_str(), kFlags);
    }
    if (fd < 0)
        return false;
    bool inMemory = false;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        inMemory =
            unreadTimes && WantedBytesInMemory(fd, static_cast<uint64_t>(status.st_size), bytes);
        if (!inMemory)
            posix_fadvise(fd, 0, static_cast<off_t>(bytes), POSIX_FADV_WILLNEED);
    }
    close(fd);
    return inMemory;
}

} // namespace mirelon
