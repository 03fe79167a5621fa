// Linux only: the freedesktop.org trash, read back the way a file manager reads it.
#include "trash/trash.h"

#include "tests/support/child_process.h"
#include "tests/support/scan_test_tree.h"
#include "tests/support/test_trash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A tree of files to trash and a home trash inside it.
class TrashTest : public testing::Test {
protected:
    // Checks that the file left its place for exactly one entry with its content and a record
    // naming its path.
    void ExpectTrashed(const std::string& original, const std::string& content) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(original))) << original;
        const auto entry = trash.EntryFrom(original);
        ASSERT_TRUE(entry) << "no single record for " << testing::PrintToString(original);
        EXPECT_TRUE(
            std::regex_match(entry->deletionDate, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
            << entry->deletionDate;
        EXPECT_EQ(entry->content, content) << entry->name;
    }

    test::ScanTestTree tree;
    test::TTestTrash trash{tree.Folder("data")};
};

TEST_F(TrashTest, OddNamesGoToTheTrashAndTheirRecordsDecodeToTheOriginalPath) {
    const std::vector<std::string> names{"plain.txt",
                                         "line\nfeed.txt",
                                         "quote\"s 'and' spaces.doc",
                                         "\xff\xfe bytes.bin",
                                         "percent%41.txt",
                                         "-leading-dash",
                                         "tab\there",
                                         "caf\xc3\xa9.zip",
                                         "\r",
                                         "[Trash Info]",
                                         std::string(240, 'n') + ".txt"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string path = tree.File("files/" + names[i], "content " + std::to_string(i));
        const TrashOutcome outcome = MoveToTrash(path);
        EXPECT_TRUE(outcome.done) << testing::PrintToString(names[i]) << ": " << outcome.reason;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        ExpectTrashed(tree.Path("files/" + names[i]), "content " + std::to_string(i));
    }
    EXPECT_EQ(trash.FileNames().size(), names.size());
    EXPECT_EQ(trash.RecordNames().size(), names.size());
    EXPECT_EQ(trash.UnreadableRecords(), 0);
    // Only the user may look into the trash.
    EXPECT_EQ(fs::status(trash.Folder()).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(TrashTest, EqualNamesAndLeftoverEntriesGetNamesOfTheirOwn) {
    const std::string first = tree.File("a/same.txt", "first");
    const std::string second = tree.File("b/same.txt", "second");
    const std::string link = tree.Path("b/link.txt");
    fs::create_symlink(first, link);
    // An entry whose record is gone must not be overwritten.
    tree.File("data/Trash/files/same.2.txt", "leftover");
    fs::create_directories(trash.Folder() + "/info");

    EXPECT_TRUE(MoveToTrash(first).done);
    EXPECT_TRUE(MoveToTrash(second).done);
    EXPECT_TRUE(MoveToTrash(link).done);
    ExpectTrashed(first, "first");
    ExpectTrashed(second, "second");
    // The link itself went, not the file it pointed to.
    ExpectTrashed(link, first);
    EXPECT_EQ(ReadWhole(trash.Folder() + "/files/same.2.txt"), "leftover");
    EXPECT_EQ(trash.FileNames(),
              (std::vector<std::string>{"link.txt", "same.2.txt", "same.3.txt", "same.txt"}));
}

TEST_F(TrashTest, AFileThatCannotGoFailsWithItsReasonAndLeavesNoRecord) {
    const std::string folder = tree.Folder("folder");
    const std::string gone = tree.Path("gone.txt");
    const std::string moved = tree.File("moved.txt", "moved");

    const TrashOutcome vanished = MoveToTrash(gone);
    EXPECT_FALSE(vanished.done);
    EXPECT_EQ(vanished.reason, "No such file or directory");
    const TrashOutcome notAFile = MoveToTrash(folder);
    EXPECT_FALSE(notAFile.done);
    EXPECT_EQ(notAFile.reason, "is a folder, not a file");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(MoveToTrash("").done);
    EXPECT_TRUE(MoveToTrash(moved).done);
    ExpectTrashed(moved, "moved");
    EXPECT_EQ(trash.RecordNames().size(), 1u);
}

TEST_F(TrashTest, AFileInAReadOnlyFolderStaysWhereItIsWithoutARecord) {
    const std::string locked = tree.File("locked/stays.txt", "stays");
    const std::string free = tree.File("open/goes.txt", "goes");
    tree.Permissions("data", 0777);
    tree.Permissions("open", 0777);
    tree.Permissions("locked", 0555);
    const std::string problem = test::RunUnprivileged([&]() -> std::string {
        const TrashOutcome refused = MoveToTrash(locked);
        if (refused.done || refused.reason != "cannot move it out of its folder " +
                                                  tree.Path("locked") + ": Permission denied") {
            return "read-only folder: " + refused.reason;
        }
        const TrashOutcome taken = MoveToTrash(free);
        return taken.done ? "" : "open folder: " + taken.reason;
    });
    tree.Permissions("locked", 0755);
    if (problem == "unsupported") {
        GTEST_SKIP() << "cannot give up privileges here";
    }
    EXPECT_EQ(problem, "");
    EXPECT_EQ(ReadWhole(locked), "stays");
    ExpectTrashed(free, "goes");
    EXPECT_EQ(trash.RecordNames().size(), 1u);
}

// The trash folder a file on another file system goes to, read back from inside the child that
// mounted it: empty when the record is right.
std::string CheckVolumeEntry(const std::string& trashFolder, const std::string& entry,
                             const std::string& recordedPath) {
    const std::string record = ReadWhole(trashFolder + "/info/" + entry + ".trashinfo");
    if (!fs::exists(trashFolder + "/files/" + entry)) {
        return "no entry " + entry + " in " + trashFolder;
    }
    // Relative to the top of the file system, so the entry still means something when the disk
    // is mounted elsewhere.
    if (record.find("\nPath=" + recordedPath + "\n") == std::string::npos) {
        return "record: " + record;
    }
    return "";
}

TEST_F(TrashTest, AFileOnAnotherFileSystemGoesToTheTrashAtItsTop) {
    const std::string volume = tree.Folder("volume");
    const std::string problem = test::RunWithPrivateMounts([&]() -> std::string {
        test::MountSmallDisk(volume, 1 << 20);
        const std::string uid = std::to_string(::getuid());
        const std::string first = tree.File("volume/sub/first file.txt", "1");
        const TrashOutcome moved = MoveToTrash(first);
        if (!moved.done) {
            return "first: " + moved.reason;
        }
        // A .Trash the administrator made without the sticky bit is not to be trusted.
        fs::create_directory(volume + "/.Trash");
        std::string check =
            CheckVolumeEntry(volume + "/.Trash-" + uid, "first file.txt", "sub/first%20file.txt");
        if (!check.empty()) {
            return check;
        }
        const std::string second = tree.File("volume/second.txt", "2");
        if (!MoveToTrash(second).done) {
            return "second";
        }
        check = CheckVolumeEntry(volume + "/.Trash-" + uid, "second.txt", "second.txt");
        if (!check.empty()) {
            return check;
        }
        // With the sticky bit it is the shared trash, with a folder per user.
        fs::permissions(volume + "/.Trash", fs::perms::all | fs::perms::sticky_bit);
        const std::string third = tree.File("volume/third.txt", "3");
        if (!MoveToTrash(third).done) {
            return "third";
        }
        return CheckVolumeEntry(volume + "/.Trash/" + uid, "third.txt", "third.txt");
    });
    if (problem.starts_with("unsupported")) {
        GTEST_SKIP() << problem;
    }
    EXPECT_EQ(problem, "");
    // Nothing went to the home trash.
    EXPECT_FALSE(fs::exists(trash.Folder()));
}

TEST_F(TrashTest, AFileSystemWithoutAUsableTrashKeepsTheFileAndSaysWhy) {
    const std::string volume = tree.Folder("volume");
    tree.Permissions("data", 0777);
    const std::string problem = test::RunWithPrivateMounts([&]() -> std::string {
        test::MountSmallDisk(volume, 1 << 20);
        const std::string file = tree.File("volume/open/stays.txt", "stays");
        fs::permissions(volume + "/open", fs::perms::all);
        // Only root may write at the top, so an ordinary user can make no trash there.
        fs::permissions(volume, fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
        const std::string refused = test::RunUnprivileged([&]() -> std::string {
            const TrashOutcome outcome = MoveToTrash(file);
            if (outcome.done) {
                return "moved";
            }
            return outcome.reason.starts_with("no usable trash folder on its file system") &&
                           outcome.reason.find("Permission denied") != std::string::npos
                       ? ""
                       : outcome.reason;
        });
        if (!refused.empty()) {
            return refused == "unsupported" ? "unsupported: cannot give up privileges" : refused;
        }
        return fs::exists(file) ? "" : "the file went";
    });
    if (problem.starts_with("unsupported")) {
        GTEST_SKIP() << problem;
    }
    EXPECT_EQ(problem, "");
}

TEST_F(TrashTest, DeletePermanentlyRemovesTheFileAndNothingGoesToTheTrash) {
    const std::string path = tree.File("x.txt", "x");
    EXPECT_TRUE(DeletePermanently(path).done);
    EXPECT_FALSE(fs::exists(path));
    const TrashOutcome again = DeletePermanently(path);
    EXPECT_FALSE(again.done);
    EXPECT_EQ(again.reason, "No such file or directory");
    EXPECT_FALSE(DeletePermanently(tree.Folder("f")).done);
    EXPECT_TRUE(fs::is_directory(tree.Path("f")));
    EXPECT_FALSE(fs::exists(trash.Folder()));
}

} // namespace
} // namespace mirelon
