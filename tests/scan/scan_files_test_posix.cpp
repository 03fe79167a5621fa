// Linux only: symbolic links, pipes and sockets, names that are no UTF-8, paths past PATH_MAX
// built through folder handles, permissions, and mounts inside the walked tree.
#include "scan/scan_files.h"

#include "base/file_at.h"
#include "tests/scan/scan_files_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {
namespace {

using ::testing::ElementsAre;
using testing::ScanFilesTree;
using testing::Sorted;
using testing::Walked;

TEST_F(ScanFilesTree, SymbolicLinksAreNeitherReportedNorFollowed) {
    tree.File("real/file.txt");
    tree.SymbolicLink("real/loop", "..");
    tree.SymbolicLink("real/self", ".");
    tree.SymbolicLink("link_to_file", "real/file.txt");
    tree.SymbolicLink("dangling", "nowhere");
    tree.SymbolicLink("outside", "/");
    Walked walk(tree.Root());
    walk.Run();
    EXPECT_THAT(walk.events.Files(), ElementsAre(tree.Path("real/file.txt")));
    EXPECT_THAT(Sorted(walk.events.Folders()), ElementsAre(tree.Root() + "/", tree.Path("real/")));
}

TEST_F(ScanFilesTree, RootGivenAsSymbolicLinkIsWalked) {
    tree.File("real/file.txt");
    tree.SymbolicLink("alias", "real");
    Walked walk(tree.Path("alias"));
    EXPECT_THAT(walk.Run().Files(), ElementsAre(tree.Path("alias/file.txt")));
}

TEST_F(ScanFilesTree, PipesAndSocketsArePassedOver) {
    tree.File("a.txt");
    tree.NamedPipe("fifo");
    tree.Socket("sock");
    tree.NamedPipe("pipe.exe");
    Walked walk(tree.Root());
    EXPECT_THAT(walk.Run().Files(), ElementsAre(tree.Path("a.txt")));

    // Not even as entries of a walk without sub-folders whose filter their names match.
    Walked flat(tree.Root());
    flat.scanner.SetSubFolder(false);
    flat.scanner.SetExtensions("exe;");
    EXPECT_TRUE(flat.Run().Files().empty());
}

TEST_F(ScanFilesTree, NamesThatAreNotUtf8PassUnchanged) {
    const std::string name = "caf\xE9 \xFF\xFE.TXT";
    tree.File("sub/" + name);
    Walked walk(tree.Root());
    walk.scanner.SetExtensions("txt");
    EXPECT_THAT(walk.Run().Files(), ElementsAre(tree.Path("sub/" + name)));
}

TEST_F(ScanFilesTree, TreeDeeperThanThePathLimitIsWalkedCompletely) {
    const std::string name(60, 'd');
    const int levels = 120; // about 7300 bytes of path
    tree.DeepChain("chain", name, levels);
    tree.File("after/z.txt");
    Walked walk(tree.Root());
    walk.Run();
    const auto files = walk.events.Files();
    ASSERT_EQ(files.size(), static_cast<size_t>(levels) + 1);
    const auto longest = std::max_element(files.begin(), files.end(),
                                          [](auto& a, auto& b) { return a.size() < b.size(); });
    EXPECT_GT(longest->size(), 4096u + tree.Root().size());
    std::string expected = tree.Path("chain");
    for (int level = 0; level < levels; ++level) {
        expected += "/" + name;
    }
    EXPECT_EQ(*longest, expected + "/f");
    EXPECT_EQ(walk.events.Folders().size(), static_cast<size_t>(levels) + 3);
}

// A location taken while a file is reported leads to it by the folder the walk held open and
// its name, and keeps that folder open after the walk has moved on and ended: it still leads
// there once the folder was moved elsewhere, and past the path limit.
TEST_F(ScanFilesTree, FoundFileLocationsLeadToTheirFilesThroughTheirFolders) {
    tree.File("a/one.txt", "one");
    const int levels = 50; // about 5000 bytes of path, deeper than the open folders kept
    tree.DeepChain("deep", std::string(100, 'd'), levels);
    std::vector<FileLocation> kept;
    Walked walk(tree.Root());
    walk.scanner.SetOnFoundFile([&](TCustomScanFiles& sender, const std::string& name, bool&) {
        kept.push_back(sender.FoundFileLocation(name));
    });
    walk.Run();
    ASSERT_EQ(kept.size(), static_cast<size_t>(levels) + 1);
    EXPECT_FALSE(walk.scanner.FoundFileLocation(tree.Path("a/one.txt")).HasFolder());
    std::filesystem::rename(tree.Path("a"), tree.Path("moved"));
    for (const FileLocation& location : kept) {
        ASSERT_TRUE(location.HasFolder()) << location.path;
        EXPECT_EQ(location.path.substr(location.path.rfind('/') + 1), location.name);
        const int file = ::openat(AtFolder(location), AtName(location), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(file, 0) << location.path;
        char content[8] = {};
        const ssize_t got = ::read(file, content, sizeof content);
        ::close(file);
        EXPECT_EQ(std::string(content, got > 0 ? static_cast<size_t>(got) : 0),
                  location.name == "one.txt" ? "one" : "");
    }
}

// A folder that may be neither listed nor entered (---), entered but not listed (--x), or
// listed but not entered (r--, its files' facts and contents are out of reach): each is
// reported once with the system's reason, after its folder event, and nothing in it is; so is
// a root like that.
TEST_F(ScanFilesTree, FolderThatCannotBeListedOrEnteredIsReportedWithTheReason) {
    for (const char* locked : {"none", "enter", "list"}) {
        tree.File(std::string(locked) + "/secret.txt");
        tree.File(std::string(locked) + "/inner/deeper.txt");
    }
    tree.File("open/visible.txt");
    tree.File("top.txt");
    tree.Permissions("none", 0700);
    tree.Permissions("enter", 0711);
    tree.Permissions("list", 0744);
    const std::string root = tree.Root();
    const std::string problem = test::RunUnprivileged([&]() -> std::string {
        Walked walk(root);
        walk.Run();
        std::string problems;
        const auto files = Sorted(walk.events.Files());
        if (files != std::vector<std::string>{root + "/open/visible.txt", root + "/top.txt"}) {
            problems += "files reported: " + std::to_string(files.size()) + "\n";
        }
        const auto folders = Sorted(walk.events.Folders());
        if (folders != std::vector<std::string>{root + "/", root + "/enter/", root + "/list/",
                                                root + "/none/", root + "/open/"}) {
            problems += "folder events: " + std::to_string(folders.size()) + "\n";
        }
        for (const char* locked : {"enter", "list", "none"}) {
            const std::string folder = root + "/" + locked + "/";
            const auto at = std::find(walk.events.events.begin(), walk.events.events.end(),
                                      "X " + folder + ": Permission denied");
            if (at == walk.events.events.end() || at == walk.events.events.begin() ||
                *(at - 1) != "D " + folder) {
                problems +=
                    std::string("no report right after the folder event of ") + locked + "\n";
            }
        }
        if (walk.events.Failed().size() != 3 || walk.events.events.back() != "E") {
            problems += "reports: " + std::to_string(walk.events.Failed().size()) + "\n";
        }
        Walked lockedRoot(root + "/none");
        lockedRoot.Run();
        if (lockedRoot.events.events !=
            std::vector<std::string>{"D " + root + "/none/",
                                     "X " + root + "/none/: Permission denied", "E"}) {
            problems += "locked root: " + std::to_string(lockedRoot.events.events.size()) + "\n";
        }
        return problems;
    });
    for (const char* locked : {"none", "enter", "list"}) {
        tree.Permissions(locked, 0755);
    }
    if (problem == "unsupported") {
        GTEST_SKIP() << "cannot give up privileges here";
    }
    EXPECT_EQ(problem, "");
}

TEST_F(ScanFilesTree, FolderOnAnotherFileSystemIsNotDescended) {
    tree.File("top.txt");
    tree.File("mounted/inner.txt");
    tree.File("also/inner.txt");
    struct stat rootStatus;
    ASSERT_EQ(::stat(tree.Root().c_str(), &rootStatus), 0);
    std::vector<std::pair<uint64_t, uint64_t>> asked;
    Walked walk(tree.Root());
    walk.scanner.SetSameFileSystemCheck([&](uint64_t rootDevice, uint64_t entryDevice) {
        asked.emplace_back(rootDevice, entryDevice);
        return false;
    });
    walk.Run();
    EXPECT_THAT(walk.events.Files(), ElementsAre(tree.Path("top.txt")));
    EXPECT_THAT(walk.events.Folders(), ElementsAre(tree.Root() + "/"));
    ASSERT_EQ(asked.size(), 2u);
    for (const auto& [rootDevice, entryDevice] : asked) {
        EXPECT_EQ(rootDevice, static_cast<uint64_t>(rootStatus.st_dev));
        EXPECT_EQ(entryDevice, static_cast<uint64_t>(rootStatus.st_dev));
    }
}

TEST(ScanFilesMounts, RealMountPointBelowTheRootIsNotDescended) {
    struct stat devStatus, shmStatus;
    if (::stat("/dev", &devStatus) != 0 || ::stat("/dev/shm", &shmStatus) != 0 ||
        devStatus.st_dev == shmStatus.st_dev) {
        GTEST_SKIP() << "/dev/shm is no mount point here";
    }
    Walked walk("/dev");
    walk.Run();
    for (const auto& event : walk.events.events) {
        EXPECT_EQ(event.find("/dev/shm/"), std::string::npos) << event;
    }
}

} // namespace
} // namespace mirelon
