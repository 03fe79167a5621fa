#include "scan/read_ahead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

void HintReadAhead(const std::string& path, uint64_t bytes) {
    // Non-blocking, so that a file swapped for a pipe since the walk saw it cannot hold us.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
        posix_fadvise(fd, 0, static_cast<off_t>(bytes), POSIX_FADV_WILLNEED);
    close(fd);
}

} // namespace mirelon
