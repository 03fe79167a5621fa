// Linux only: named pipes and devices, file permissions, and reads that leave the access time
// alone (O_NOATIME).
#include "hash/hash_range.h"
#include "hash/hash_service.h"
#include "tests/hash/hash_file_fixture.h"
#include "tests/hash/hash_test_files.h"
#include "tests/hash/hash_test_support.h"
#include "tests/support/named_pipe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirelon {
namespace {

using test::HashFileTest;
using test::kMd5;

TEST_F(HashFileTest, OnlyRegularFilesAreOpened) {
    const std::string fifo = test::MakeNamedPipe(folder_.File("pipe"));
    // No writer ever opens the pipe: a blocking open or read would hang here.
    std::string text;
    EXPECT_EQ(HashFile(kMd5, fifo, text), 5);
    EXPECT_EQ(HashFileSize(fifo), -1);
    EXPECT_EQ(HashFile(kMd5, "/dev/null", text), 5);
    EXPECT_EQ(HashFile(kMd5, "/dev/zero", text), 5);
    EXPECT_EQ(HashFile(kMd5, folder_.File(""), text), 5);
    EXPECT_TRUE(text.empty());

    HashContext context;
    ASSERT_EQ(HashInit(&context, kMd5), 0);
    EXPECT_FALSE(HashFileRange(&context, "/dev/zero", 0, 4096));
}

TEST_F(HashFileTest, UnreadableFileIsNotOpened) {
    if (test::IsPrivileged()) {
        GTEST_SKIP() << "permissions do not bind a privileged user";
    }
    const std::string path = folder_.Write("secret", "abc");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    std::string text;
    EXPECT_EQ(HashFile(kMd5, path, text), 5);
}

TEST_F(HashFileTest, HashingLeavesTheAccessTimeAlone) {
    const std::string path = folder_.Write("old", test::RandomBytes(10000, 1));
    // Older than the modification time, so even a relatime mount would update it on a read.
    const int64_t long_ago = 946684800;
    ASSERT_TRUE(test::SetAccessTime(path, long_ago));
    std::string text;
    ASSERT_EQ(HashFile(kMd5, path, text), 0);
    EXPECT_EQ(test::AccessTime(path), long_ago);
}

} // namespace
} // namespace mirelon
