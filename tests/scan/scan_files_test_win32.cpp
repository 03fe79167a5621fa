// Windows only: backslash paths past 260 characters, hidden and system files, and the volume
// serial number that keeps the walk on its drive.
#include "scan/scan_files.h"

#include "base/ascii_case.h"
#include "base/wide_path.h"
#include "scan/extension_filter.h"
#include "scan/path_separator.h"
#include "tests/scan/scan_files_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace mirelon {
namespace {

using ::testing::ElementsAre;
using testing::ScanFilesTree;
using testing::Sorted;
using testing::Walked;

TEST_F(ScanFilesTree, PathsPastThe260CharacterLimitAreWalkedWithBackslashes) {
    const std::string name(60, 'd');
    const int levels = 8; // about 500 characters of path
    tree.DeepChain("chain", name, levels);
    Walked walk(tree.Root());
    walk.Run();
    const auto files = walk.events.Files();
    ASSERT_EQ(files.size(), static_cast<size_t>(levels));
    std::string expected = tree.Root() + "\\chain";
    for (int level = 0; level < levels; ++level) {
        expected += "\\" + name;
    }
    const auto longest = std::max_element(files.begin(), files.end(),
                                          [](auto& a, auto& b) { return a.size() < b.size(); });
    EXPECT_EQ(*longest, expected + "\\f");
    EXPECT_GT(expected.size(), 260u);
    const auto folders = walk.events.Folders();
    EXPECT_NE(std::find(folders.begin(), folders.end(), expected + "\\"), folders.end());
    for (const auto& event : walk.events.events) {
        EXPECT_EQ(event.find('/'), std::string::npos) << event;
    }
}

TEST_F(ScanFilesTree, HiddenSystemAndReadOnlyFilesAreReportedLikeAnyOther) {
    const std::string hidden = tree.File("hidden.txt");
    const std::string system = tree.File("sub/system.sys");
    const std::string readOnly = tree.File("sub/fixed.txt");
    ASSERT_TRUE(::SetFileAttributesW(WidePath(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(WidePath(system).c_str(),
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(WidePath(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesW(WidePath(tree.Path("sub")).c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    Walked walk(tree.Root());
    EXPECT_THAT(Sorted(walk.Run().Files()), ElementsAre(hidden, readOnly, system));
}

TEST_F(ScanFilesTree, SameDriveIsAskedWithTheVolumeSerialNumber) {
    tree.File("top.txt");
    tree.File("other/inner.txt");
    const std::wstring root = WidePath(tree.Root().substr(0, 3));
    DWORD serial = 0;
    ASSERT_TRUE(
        ::GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0));
    std::vector<std::pair<uint64_t, uint64_t>> asked;
    Walked walk(tree.Root());
    walk.scanner.SetSameFileSystemCheck([&](uint64_t rootDevice, uint64_t entryDevice) {
        asked.emplace_back(rootDevice, entryDevice);
        return false;
    });
    walk.Run();
    EXPECT_THAT(walk.events.Files(), ElementsAre(tree.Path("top.txt")));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, serial);
    EXPECT_EQ(asked[0].second, serial);
}

// Here '\\', '/' and a drive's colon separate names; a name never holds one of them.
TEST(PathRules, FileNameFollowsEitherSlashOrTheDriveColon) {
    EXPECT_EQ(FileNameOf("C:\\Windows\\notepad.exe"), "notepad.exe");
    EXPECT_EQ(FileNameOf("C:/Users/ann/a.b.txt"), "a.b.txt");
    EXPECT_EQ(FileNameOf("\\\\?\\C:\\long\\name"), "name");
    EXPECT_EQ(FileNameOf("C:boot.ini"), "boot.ini");
    EXPECT_EQ(FileNameOf("plain"), "plain");
    EXPECT_EQ(FileNameOf("C:\\dir\\"), "");
}

TEST(ScanFilesDrive, DriveRootIsListedUnderItsOwnName) {
    Walked walk("C:\\");
    walk.scanner.SetSubFolder(false);
    walk.Run();
    EXPECT_THAT(walk.events.Folders(), ElementsAre("C:\\"));
    const auto entries = walk.events.Files();
    const bool hasWindows = std::any_of(entries.begin(), entries.end(), [](const std::string& e) {
        return EqualIgnoringAsciiCase(e, "C:\\Windows");
    });
    EXPECT_TRUE(hasWindows) << entries.size() << " entries";
}

} // namespace
} // namespace mirelon
