// Windows only: devices, share modes, and paths past the limit of 260 characters.
#include "base/wide_path.h"
#include "hash/hash_service.h"
#include "tests/hash/hash_file_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace mirelon {
namespace {

using test::HashFileTest;
using test::kMd5;

TEST_F(HashFileTest, DevicesAndFoldersAreNotOpened) {
    std::string text;
    for (const char* device : {"NUL", "CON", "\\\\.\\NUL", "CONIN$"}) {
        EXPECT_EQ(HashFile(kMd5, device, text), 5) << device;
        EXPECT_EQ(HashFileSize(device), -1) << device;
    }
    EXPECT_EQ(HashFile(kMd5, folder_.File(""), text), 5);
    EXPECT_TRUE(text.empty());
}

TEST_F(HashFileTest, FileAnotherProgramWritesIsNotOpened) {
    const std::string path = folder_.Write("log.txt", "abc");
    const HANDLE writer =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string text;
    EXPECT_EQ(HashFile(kMd5, path, text), 5);
    EXPECT_TRUE(text.empty());
    ::CloseHandle(writer);
    EXPECT_EQ(HashFile(kMd5, path, text), 0);
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
}

TEST_F(HashFileTest, PathLongerThan260CharactersIsHashed) {
    std::string path = folder_.File("");
    for (int level = 0; level < 6; ++level) {
        path += std::string(60, static_cast<char>('a' + level)) + "\\";
        ASSERT_TRUE(::CreateDirectoryW(WidePath(path).c_str(), nullptr));
    }
    path += "abc.txt";
    ASSERT_GT(path.size(), 400u);
    const HANDLE file =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file, "abc", 3, &written, nullptr));
    ::CloseHandle(file);
    std::string text;
    EXPECT_EQ(HashFile(kMd5, path, text), 0);
    EXPECT_EQ(text, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HashFileSize(path), 3);
}

} // namespace
} // namespace mirelon
