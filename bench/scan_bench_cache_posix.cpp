#include "bench/scan_bench_cache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace {

// Whether any page of the open file is in memory, by mincore on a mapping of it.
bool AnyPageResident(int fd, off_t size) {
    void* map = mmap(nullptr, static_cast<size_t>(size), PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        return true;
    }
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((static_cast<size_t>(size) + page - 1) / page);
    const bool known = mincore(map, static_cast<size_t>(size), resident.data()) == 0;
    munmap(map, static_cast<size_t>(size));
    if (!known) {
        return true;
    }
    for (const unsigned char flags : resident) {
        if ((flags & 1) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool EvictTreeFromCache(const std::string& tree) {
    sync();
    bool evicted = true;
    bool checked = false;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const int fd = open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        struct stat status {};
        if (!checked && fstat(fd, &status) == 0 && status.st_size > 0) {
            checked = true;
            evicted = !AnyPageResident(fd, status.st_size);
        }
        close(fd);
    }
    return evicted;
}
