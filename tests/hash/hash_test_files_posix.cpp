#include "tests/hash/hash_test_files.h"

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon::test {

bool MakeSparseFile(const std::string& path, uint64_t size, std::string_view tail) {
    if (tail.size() > size) {
        return false;
    }
    const int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (handle < 0) {
        return false;
    }
    const off_t tailOffset = static_cast<off_t>(size - tail.size());
    bool made =
        ::ftruncate(handle, static_cast<off_t>(size)) == 0 &&
        ::pwrite(handle, tail.data(), tail.size(), tailOffset) == static_cast<ssize_t>(tail.size());
    made = ::close(handle) == 0 && made;
    return made;
}

std::string SparseFileParent() {
    // Reading a hole on tmpfs copies the shared zero page instead of zeroing fresh page cache.
    struct stat status {};
    if (::stat("/dev/shm", &status) == 0 && S_ISDIR(status.st_mode) &&
        ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    return std::filesystem::temp_directory_path().string();
}

bool IsSparse(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    return static_cast<uint64_t>(status.st_blocks) * 512 <
           static_cast<uint64_t>(status.st_size) / 16;
}

int64_t AccessTime(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return -1;
    }
    return status.st_atim.tv_sec;
}

bool SetAccessTime(const std::string& path, int64_t seconds) {
    const timespec times[2] = {{static_cast<time_t>(seconds), 0}, {0, UTIME_OMIT}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool IsPrivileged() {
    return ::geteuid() == 0;
}

} // namespace mirelon::test
