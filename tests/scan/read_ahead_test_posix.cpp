// Linux only: the page cache, seen through mincore, and named pipes.
#include "scan/read_ahead.h"
#include "scan/read_ahead_pool.h"
#include "tests/support/eventually.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace mirelon {
namespace {

// How many of the file's pages are in memory, by mincore on a mapping of it. Mapping a file
// counts as an access unless it was opened without access times.
size_t ResidentPages(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOATIME);
    struct stat status {};
    fstat(fd, &status);
    void* map = mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ, MAP_SHARED, fd, 0);
    close(fd);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((static_cast<size_t>(status.st_size) + page - 1) / page);
    mincore(map, static_cast<size_t>(status.st_size), resident.data());
    munmap(map, static_cast<size_t>(status.st_size));
    size_t count = 0;
    for (const unsigned char flags : resident)
        count += flags & 1;
    return count;
}

bool Evict(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY);
    fdatasync(fd);
    posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
    return ResidentPages(path) == 0;
}

TEST(ReadAhead, BringsTheFileIntoMemoryWithoutTouchingItsTimes) {
    test::TTempFolder dir;
    const std::string path = dir.Write("cold.bin", std::string(4u << 20, 'c'));
    struct timespec times[2] = {{1'000'000'000, 0}, {1'100'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    if (!Evict(path))
        GTEST_SKIP() << "pages of this file system cannot be evicted (tmpfs?)";

    HintReadAhead(path, 1u << 20);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    EXPECT_TRUE(test::Eventually([&] { return ResidentPages(path) >= (1u << 20) / page; }));

    HintReadAhead(path, 0);
    EXPECT_TRUE(test::Eventually([&] { return ResidentPages(path) == (4u << 20) / page; }));

    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_atim.tv_sec, 1'000'000'000);
    EXPECT_EQ(status.st_mtim.tv_sec, 1'100'000'000);
}

TEST(ReadAhead, NeverFailsNorWaits) {
    test::TTempFolder dir;
    HintReadAhead(dir / "missing", 0);
    HintReadAhead(dir.Path(), 0);
    // A pipe without a writer would block an ordinary open for reading.
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    HintReadAhead(pipe, 0);
    const std::string locked = dir.Write("locked", "x");
    chmod(locked.c_str(), 0);
    HintReadAhead(locked, 0);
}

// Files already in memory need no hint: once enough were found there one after another, only a
// sample of the files is hinted; a file found on disk brings back a hint for every file.
TEST(ReadAhead, AWarmTreeIsHintedSparinglyUntilAFileIsFoundOnDisk) {
    test::TTempFolder dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 400; ++i) {
        paths.push_back(dir.Write("f" + std::to_string(i), std::string(8192, 'w')));
    }
    TReadAheadPool pool(2, 1000, 1u << 20);
    // Given in steps of the pool's wake-up batch, each taken before the next, so that the
    // threads have judged the files before more come.
    const auto hintInSteps = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            pool.Hint(paths[i]);
            if ((i + 1) % TReadAheadPool::kWakeBatch == 0) {
                ASSERT_TRUE(test::Eventually([&] { return pool.HintsWaiting() == 0; }));
            }
        }
    };
    hintInSteps(0, TReadAheadPool::kWarmRun);
    // Taken is not yet judged: a moment for the last ones.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const uint64_t beforeWarm = pool.HintsQueued();
    EXPECT_EQ(beforeWarm, TReadAheadPool::kWarmRun);
    hintInSteps(TReadAheadPool::kWarmRun, 200);
    EXPECT_LE(pool.HintsQueued() - beforeWarm,
              (200 - beforeWarm) / TReadAheadPool::kWarmSample + 1);

    for (size_t i = 200; i < 400; ++i) {
        if (!Evict(paths[i]))
            GTEST_SKIP() << "pages of this file system cannot be evicted (tmpfs?)";
    }
    const uint64_t beforeCold = pool.HintsQueued();
    hintInSteps(200, 400);
    // Only the files before the first sampled one is judged go without a hint.
    EXPECT_GE(pool.HintsQueued() - beforeCold, 200 - 4 * TReadAheadPool::kWarmSample);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (size_t i = 300; i < 400; ++i) {
        EXPECT_TRUE(test::Eventually([&] { return ResidentPages(paths[i]) == 8192 / page; })) << i;
    }
}

} // namespace
} // namespace mirelon
