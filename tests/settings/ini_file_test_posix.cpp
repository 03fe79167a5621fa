// Linux only: a write that fails part way through the file, made with a file size limit
// (RLIMIT_FSIZE).
#include "settings/rs_exception.h"
#include "tests/settings/settings_folder_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

TEST_F(SettingsFolder, FailedWriteLeavesTheOldFileIntact) {
    const std::string path = PathOf("app.ini");
    WriteFile(path, "[s]\r\nold=1\r\n\r\n");
    TrsStorage storage;
    Attach(storage, path);
    storage.SetRootSection("s");
    storage.FindKey("new", true);
    storage.Key().WriteString(std::string(4096, 'x'));

    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(storage.Flush(), EFCreateError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadFile(path), "[s]\r\nold=1\r\n\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

} // namespace
} // namespace mirelon
