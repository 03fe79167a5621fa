#include "trash/trash.h"

#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
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

// Percent-decoding written apart from the encoder, as a reader of the trash would.
std::optional<std::string> PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            return std::nullopt;
        }
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
    }
    return out;
}

struct TrashRecord {
    std::string path;
    std::string deletionDate;
};

// The record as the layout defines it: a group line, then Key=Value lines.
std::optional<TrashRecord> ReadRecord(const std::string& file) {
    std::istringstream lines(ReadWhole(file));
    std::string line;
    if (!std::getline(lines, line) || line != "[Trash Info]") {
        return std::nullopt;
    }
    TrashRecord record;
    while (std::getline(lines, line)) {
        if (line.starts_with("Path=")) {
            const auto decoded = PercentDecoded(line.substr(5));
            if (!decoded) {
                return std::nullopt;
            }
            record.path = *decoded;
        } else if (line.starts_with("DeletionDate=")) {
            record.deletionDate = line.substr(13);
        }
    }
    return record;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A tree of files to trash and a home trash the test owns: XDG_DATA_HOME points into the tree.
class TrashTest : public testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            savedDataHome_ = old;
        }
        dataHome = tree.Folder("data");
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        trash = dataHome + "/Trash";
    }

    void TearDown() override {
        if (savedDataHome_) {
            ::setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }

    // Checks that the file's one entry holds its content and a record naming its path.
    void ExpectTrashed(const std::string& original, const std::string& content) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(original))) << original;
        bool found = false;
        for (const std::string& record : Names(trash + "/info")) {
            const auto read = ReadRecord(trash + "/info/" + record);
            ASSERT_TRUE(read) << record;
            if (read->path != original) {
                continue;
            }
            EXPECT_FALSE(found) << "two records for " << original;
            found = true;
            EXPECT_TRUE(std::regex_match(read->deletionDate,
                                         std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")))
                << read->deletionDate;
            const std::string entry = record.substr(0, record.size() - 10);
            EXPECT_TRUE(record.ends_with(".trashinfo"));
            EXPECT_EQ(ReadWhole(trash + "/files/" + entry), content) << entry;
        }
        EXPECT_TRUE(found) << "no record for " << original;
    }

    test::ScanTestTree tree;
    std::string dataHome;
    std::string trash;

private:
    std::optional<std::string> savedDataHome_;
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
    EXPECT_EQ(Names(trash + "/files").size(), names.size());
    EXPECT_EQ(Names(trash + "/info").size(), names.size());
    // Only the user may look into the trash.
    EXPECT_EQ(fs::status(trash).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(TrashTest, EqualNamesAndLeftoverEntriesGetNamesOfTheirOwn) {
    const std::string first = tree.File("a/same.txt", "first");
    const std::string second = tree.File("b/same.txt", "second");
    const std::string link = tree.Path("b/link.txt");
    fs::create_symlink(first, link);
    // An entry whose record is gone must not be overwritten.
    tree.File("data/Trash/files/same.2.txt", "leftover");
    fs::create_directories(trash + "/info");

    EXPECT_TRUE(MoveToTrash(first).done);
    EXPECT_TRUE(MoveToTrash(second).done);
    EXPECT_TRUE(MoveToTrash(link).done);
    ExpectTrashed(first, "first");
    ExpectTrashed(second, "second");
    EXPECT_EQ(ReadWhole(trash + "/files/same.2.txt"), "leftover");
    EXPECT_EQ(Names(trash + "/files"),
              (std::vector<std::string>{"link.txt", "same.2.txt", "same.3.txt", "same.txt"}));
    // The link itself went, not the file it pointed to.
    EXPECT_TRUE(fs::is_symlink(trash + "/files/link.txt"));
}

TEST_F(TrashTest, AFileThatCannotGoFailsWithItsReasonAndLeavesNoRecord) {
    const std::string kept = tree.File("keep/k.txt", "kept");
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
    EXPECT_EQ(Names(trash + "/info").size(), 1u);
    EXPECT_TRUE(fs::exists(kept));
}

TEST_F(TrashTest, AFileInAReadOnlyFolderStaysWhereItIsWithoutARecord) {
    const std::string locked = tree.File("locked/stays.txt", "stays");
    const std::string free = tree.File("open/goes.txt", "goes");
    tree.Permissions("", 0755);
    tree.Permissions("data", 0777);
    tree.Permissions("open", 0777);
    tree.Permissions("locked", 0555);
    const std::string problem = test::RunUnprivileged([&]() -> std::string {
        const TrashOutcome refused = MoveToTrash(locked);
        if (refused.done || refused.reason.find("Permission denied") == std::string::npos) {
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
    EXPECT_EQ(Names(trash + "/info").size(), 1u);
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
    EXPECT_FALSE(fs::exists(trash));
}

} // namespace
} // namespace mirelon
