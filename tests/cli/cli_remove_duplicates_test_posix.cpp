// Runs the built mirelon-cli's duplicates filters and remove-duplicates on trees made here, and
// checks what is left on disk by grouping it again with md5sum, and what went into the desktop
// trash.
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_trash.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

// A tree of files with known contents and modification days, its catalog, and a trash.
class RemoveDuplicatesTest : public testing::Test {
protected:
    // Writes the file, modified `daysAgo` days ago.
    std::string Write(const std::string& relative, const std::string& content, int daysAgo) {
        const std::string path = folder.Write("tree/" + relative, content);
        fs::last_write_time(path,
                            fs::file_time_type::clock::now() - std::chrono::hours(24 * daysAgo));
        written.insert(path);
        return path;
    }

    void Scan() {
        const ProcessResult scan =
            RunCli({"scan", "--quiet", "--db", folder.Path(), folder / "tree"});
        ASSERT_EQ(scan.exitCode, 0) << scan.err;
    }

    ProcessResult Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "remove-duplicates");
        arguments.insert(arguments.end(), {"--db", folder.Path()});
        return RunCli(arguments);
    }

    // The files still on disk, grouped by their md5sum.
    std::map<std::string, std::set<std::string>> OnDiskByMd5() {
        std::map<std::string, std::set<std::string>> groups;
        for (const std::string& path : written) {
            if (fs::exists(fs::symlink_status(path))) {
                groups[Md5Of(path)].insert(path);
            }
        }
        return groups;
    }

    // ACTION -> paths, from the command's lines; `reasons` gets each path's third field.
    static std::map<std::string, std::set<std::string>>
    Actions(const std::string& out, std::map<std::string, std::string>* reasons = nullptr) {
        std::map<std::string, std::set<std::string>> actions;
        for (const std::string& line : Lines(out)) {
            const auto fields = TsvFields(line);
            EXPECT_GE(fields.size(), 2u) << line;
            actions[fields[0]].insert(fields[1]);
            if (reasons != nullptr && fields.size() > 2) {
                (*reasons)[fields[1]] = fields[2];
            }
        }
        return actions;
    }

    TTempFolder folder;
    TTestTrash trash{folder.MakeFolder("data")};
    std::set<std::string> written;
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
    const auto before = OnDiskByMd5();
    ASSERT_EQ(before.size(), groups.size());

    const ProcessResult dryRun = Run({"--keep", "oldest", "--dry-run"});
    ASSERT_EQ(dryRun.exitCode, 0) << dryRun.err;
    EXPECT_EQ(OnDiskByMd5(), before);
    EXPECT_FALSE(fs::exists(trash.Folder()));
    EXPECT_NE(dryRun.err.find("nothing was changed"), std::string::npos) << dryRun.err;

    const ProcessResult real = Run({"--keep", "oldest"});
    ASSERT_EQ(real.exitCode, 0) << real.err;
    // The dry run said exactly what the real run did.
    EXPECT_EQ(real.out, dryRun.out);
    EXPECT_NE(real.err.find("Kept 4 files; 6 files moved to the trash"), std::string::npos)
        << real.err;

    // md5sum over what is left: one file per content, the oldest; the rest went to the trash
    // with records that name where they were.
    const auto after = OnDiskByMd5();
    std::set<std::string> left;
    for (const auto& [md5, paths] : after) {
        EXPECT_EQ(paths.size(), 1u) << md5;
        left.insert(paths.begin(), paths.end());
    }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(left, oldest);
    const auto actions = Actions(real.out);
    std::set<std::string> keptCopies = oldest;
    keptCopies.erase(folder / "tree/a/unique");
    EXPECT_EQ(actions.at("kept"), keptCopies);
    std::set<std::string> trashed;
    for (const auto& [md5, paths] : before) {
        for (const std::string& path : paths) {
            if (!left.contains(path)) {
                trashed.insert(path);
                const auto entry = trash.EntryFrom(path);
                ASSERT_TRUE(entry) << path;
                EXPECT_EQ(Md5Of(trash.Folder() + "/files/" + entry->name), md5);
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

TEST_F(RemoveDuplicatesTest, InsideAFolderAndFiltersChooseWhatGoesAndPermanentlyLeavesNoTrash) {
    const std::string keepDoc = Write("keep/report.doc", "report", 1);
    const std::string otherDoc = Write("old/REPORT.DOC", "report", 5);
    const std::string renamedDoc = Write("old/renamed.doc", "report", 5);
    const std::string txtA = Write("old/notes.txt", "notes", 5);
    const std::string txtB = Write("older/notes.txt", "notes", 6);
    const std::string skipped = Write("skip/report.doc", "report", 1);
    Scan();

    // Same name and .doc only, the skip folder left out: one group of two, kept inside keep/;
    // the notes have no copy inside keep/ but are not .doc files, so they are not listed.
    const ProcessResult listed = RunCli({"duplicates", "--db", folder.Path(), "--same-name",
                                         "--extensions", "DOC", "--exclude", folder / "tree/skip"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    std::set<std::string> listedPaths;
    for (const std::string& line : Lines(listed.out)) {
        listedPaths.insert(TsvFields(line)[0]);
    }
    EXPECT_EQ(listedPaths, (std::set<std::string>{"fldFullPath", keepDoc, otherDoc}));

    const ProcessResult run = Run({"--in", folder / "tree/keep", "--same-name", "--extensions",
                                   ".doc txt", "--exclude", folder / "tree/skip", "--permanently"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto actions = Actions(run.out);
    EXPECT_EQ(actions.at("kept"), std::set<std::string>{keepDoc});
    EXPECT_EQ(actions.at("deleted"), std::set<std::string>{otherDoc});
    EXPECT_EQ(actions.at("untouched"), (std::set<std::string>{txtA, txtB}));
    EXPECT_NE(run.err.find("1 group left untouched"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(otherDoc));
    EXPECT_TRUE(fs::exists(renamedDoc) && fs::exists(skipped) && fs::exists(txtA));
    EXPECT_FALSE(fs::exists(trash.Folder()));
}

TEST_F(RemoveDuplicatesTest, BadChoicesOfWhatToKeepAreUsageErrors) {
    Write("a", "1", 1);
    Scan();
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"--keep", "largest"},
                                                      {"--keep", "oldest", "--in", "/"},
                                                      {"--in", ""}}) {
        const ProcessResult run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    }
}

} // namespace
} // namespace mirelon::test
