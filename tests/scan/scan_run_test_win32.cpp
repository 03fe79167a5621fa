// Windows only: names beyond the ANSI code page and paths past 260 characters, catalogued under
// their UTF-8 names with Windows separators.
#include "base/wide_path.h"
#include "tests/scan/scan_run_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace mirelon {
namespace {

using testing::ScanRunTest;

void WriteWide(const std::string& path, const std::string& content) {
    const HANDLE file =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ASSERT_TRUE(
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    ::CloseHandle(file);
}

TEST_F(ScanRunTest, UnicodeNamesAndLongPathsAreCataloguedWhole) {
    // "snow ☃ café.TXT" and a folder in Greek: neither fits an ANSI code page.
    const std::string unicodeName = "snow \xE2\x98\x83 caf\xC3\xA9.TXT";
    const std::string greek = "\xCE\xB1\xCE\xB2\xCE\xB3";
    tree.Folder(greek);
    WriteWide(tree.Path(greek + "/" + unicodeName), "hello");
    std::string deep = tree.Folder("deep");
    for (int level = 0; level < 5; ++level) {
        deep += "\\" + std::string(60, static_cast<char>('p' + level));
        ASSERT_TRUE(::CreateDirectoryW(WidePath(deep).c_str(), nullptr));
    }
    const std::string deepFile = deep + "\\abc.bin";
    WriteWide(deepFile, "abc");
    ASSERT_GT(deepFile.size(), 300u);

    ASSERT_EQ(Scan().error, "");
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u) << run->SkippedHint();
    const auto& unicode = rows.at(tree.Root() + "\\" + greek + "\\" + unicodeName);
    EXPECT_EQ(unicode.fileName, unicodeName);
    EXPECT_EQ(unicode.extension, ".TXT");
    EXPECT_EQ(unicode.size, "5");
    EXPECT_EQ(unicode.checkSum, "5d41402abc4b2a76b9719d911017c592"); // md5sum of "hello"
    const auto& longOne = rows.at(deepFile);
    EXPECT_EQ(longOne.fileName, "abc.bin");
    EXPECT_EQ(longOne.checkSum, "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_NE(longOne.modified, "");
}

} // namespace
} // namespace mirelon
