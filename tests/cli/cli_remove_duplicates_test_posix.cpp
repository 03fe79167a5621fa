// Linux only: the built mirelon-cli's remove-duplicates moving files to the desktop trash, read
// back as a file manager would, with names Windows forbids and files changed behind the scan's
// back.
#include "tests/cli/cli_remove_duplicates_fixture.h"
#include "tests/support/test_trash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

// The fixture's tree with a desktop trash of the test's own.
class RemoveDuplicatesTest : public TRemoveDuplicatesFixture {
protected:
    TTestTrash trash{folder.MakeFolder("data")};
};

TEST_F(RemoveDuplicatesTest, DryRunThenTheRealRunLeaveTheOldestCopyOfEachGroup) {
    // Each group's oldest copy is the one to stay.
    const std::map<std::string, std::vector<std::pair<std::string, int>>> groups{
        {"alpha", {{"a/one.txt", 3}, {"b/one-copy.txt", 9}, {"c/deep/er/one.bin", 1}}},
        {"beta beta",
         {{"a/two.dat", 5}, {"c/tab\there \"q\".dat", 2}, {"c/new\nline,comma.dat", 4}}},
        {"gamma", {{"b/bad\xff\xfe.txt", 7}, {"-leading-dash", 6}}},
        {"", {{"a/empty", 1}, {"c/empty", 2}}},
        {"unique", {{"a/unique", 1}}},
    };
    std::set<std::string> oldest;
    for (const auto& [content, files] : groups) {
        std::pair<int, std::string> best{-1, ""};
        for (const auto& [name, daysAgo] : files) {
            const std::string path = Write(name, content, daysAgo);
            best = std::max(best, std::make_pair(daysAgo, path));
        }
        oldest.insert(best.second);
    }
    Scan();
    const auto before = OnDiskByContent();
    ASSERT_EQ(before.size(), groups.size());

    const ProcessResult dryRun = Run({"--keep", "oldest", "--dry-run"});
    ASSERT_EQ(dryRun.exitCode, 0) << dryRun.err;
    EXPECT_EQ(OnDiskByContent(), before);
    EXPECT_FALSE(fs::exists(trash.Folder()));
    EXPECT_NE(dryRun.err.find("nothing was changed"), std::string::npos) << dryRun.err;

    const ProcessResult real = Run({"--keep", "oldest"});
    ASSERT_EQ(real.exitCode, 0) << real.err;
    // The dry run said exactly what the real run did.
    EXPECT_EQ(real.out, dryRun.out);
    EXPECT_NE(real.err.find("Kept 4 files; 6 files moved to the trash"), std::string::npos)
        << real.err;

    // What is left: one file per content, the oldest; the rest went to the trash with records
    // that name where they were.
    const auto after = OnDiskByContent();
    std::set<std::string> left;
    for (const auto& [content, paths] : after) {
        EXPECT_EQ(paths.size(), 1u) << content;
        left.insert(paths.begin(), paths.end());
    }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(left, oldest);
    const auto actions = Actions(real.out);
    std::set<std::string> keptCopies = oldest;
    keptCopies.erase(folder / "tree/a/unique");
    EXPECT_EQ(actions.at("kept"), keptCopies);
    std::set<std::string> trashed;
    for (const auto& [content, paths] : before) {
        for (const std::string& path : paths) {
            if (!left.contains(path)) {
                trashed.insert(path);
                const auto entry = trash.EntryFrom(path);
                ASSERT_TRUE(entry) << path;
                EXPECT_EQ(FileContents(trash.Folder() + "/files/" + entry->name), content);
            }
        }
    }
    EXPECT_EQ(actions.at("trashed"), trashed);
    // A file without a copy is not listed at all.
    for (const auto& [action, paths] : actions) {
        EXPECT_FALSE(paths.contains(folder / "tree/a/unique")) << action;
    }

    // The catalog lost the rows of the files that went, and nothing else.
    EXPECT_EQ(RowCount(folder / "files.db"), static_cast<int64_t>(written.size() - trashed.size()));
    const ProcessResult duplicates = RunCli({"duplicates", "--db", folder.Path()});
    EXPECT_EQ(Lines(duplicates.out).size(), 1u) << duplicates.out;
}

TEST_F(RemoveDuplicatesTest, ChangedFilesStayAndAGroupWhoseKeptCopyChangedIsLeftAlone) {
    const std::string keptA = Write("a/x.txt", "xxxx", 9);
    const std::string changed = Write("b/x.txt", "xxxx", 1);
    const std::string goes = Write("c/x.txt", "xxxx", 1);
    const std::string keptChanged = Write("a/y.txt", "yyyy", 9);
    const std::string otherY = Write("b/y.txt", "yyyy", 1);
    Scan();
    // Same size, other bytes, and the modification time put back: the stamp's status-change
    // time still tells.
    const auto modified = fs::last_write_time(changed);
    folder.Write("tree/b/x.txt", "XXXX");
    fs::last_write_time(changed, modified);
    folder.Write("tree/a/y.txt", "YYYY");

    const ProcessResult run = Run({"--keep", "oldest"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    std::map<std::string, std::string> reasons;
    const auto actions = Actions(run.out, &reasons);
    EXPECT_EQ(actions.at("failed"), std::set<std::string>{changed});
    EXPECT_EQ(reasons.at(changed), "changed since the scan");
    EXPECT_EQ(actions.at("trashed"), std::set<std::string>{goes});
    EXPECT_EQ(actions.at("untouched"), (std::set<std::string>{keptChanged, otherY}));
    EXPECT_NE(reasons.at(otherY).find(keptChanged), std::string::npos) << reasons.at(otherY);
    EXPECT_TRUE(fs::exists(changed) && fs::exists(otherY) && fs::exists(keptA));
    EXPECT_FALSE(fs::exists(goes));
    EXPECT_EQ(RowCount(folder / "files.db"), 4);
}

} // namespace
} // namespace mirelon::test
