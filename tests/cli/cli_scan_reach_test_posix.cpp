// The built mirelon-cli on files a scan used to lose without a word: names with colons and
// backslashes (which Windows forbids), folders that may not be read, paths longer than the system
// takes, and dates the catalog cannot hold. Each against find, md5sum and stat.
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> FoundFiles(const std::string& root) {
    const ProcessResult found = RunProgram({"find", root, "-type", "f"});
    const auto lines = Lines(found.out);
    return {lines.begin(), lines.end()};
}

// The lines of the summary's list under `title`, without their indent.
std::set<std::string> ListedUnder(const std::string& summary, const std::string& title) {
    std::set<std::string> listed;
    bool inside = false;
    for (const std::string& line : Lines(summary)) {
        if (line == title + ":") {
            inside = true;
        } else if (inside && line.rfind("  ", 0) == 0) {
            listed.insert(line.substr(2));
        } else {
            inside = false;
        }
    }
    return listed;
}

// Only '/' separates names here: a name holding ':' or '\', even at its end, is catalogued
// whole, its extension from the last dot of that whole name.
TEST(CliScanReach, NamesWithColonsAndBackslashesAreCataloguedWhole) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::map<std::string, std::string> extensions = {
        {"a:b.txt", ".txt"},         {"ends in a colon:", ""}, {"C:", ""},
        {"back\\slash.tgz", ".tgz"}, {"trailing\\", ""},       {"dot.in\\side", ".in\\side"}};
    for (const auto& [name, extension] : extensions) {
        folder.Write("tree/" + name, name);
    }

    const ProcessResult scan = RunCli({"scan", "--db", folder.Path(), tree});
    EXPECT_EQ(scan.exitCode, 0) << scan.out << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), 6) << scan.out;
    const std::string catalog = folder / "files.db";
    EXPECT_EQ(CatalogPaths(catalog), FoundFiles(tree));
    const ProcessResult names = RunProgram({"find", tree, "-type", "f", "-printf", "%p\\t%f\\n"});
    std::map<std::string, std::string> expectedNames;
    for (const std::string& line : Lines(names.out)) {
        expectedNames[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    }
    EXPECT_EQ(CatalogColumn(catalog, "fldFileName"), expectedNames);
    const auto stored = CatalogColumn(catalog, "fldFileExtension");
    for (const auto& [name, extension] : extensions) {
        EXPECT_EQ(stored.at(tree + "/" + name), extension) << name;
    }
}

// A folder that may be neither listed nor entered, only entered, or only listed (its files'
// facts and contents out of reach): each is named once in the skip list with the system's
// reason, counted, and the scan ends with 1; everything else is catalogued.
TEST(CliScanReach, FoldersThatCannotBeReadAreReportedOnceWithTheReason) {
    if (const std::string reason = UnprivilegedRunUnavailable(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/top", "1");
    folder.Write("tree/open/a", "2");
    folder.Write("tree/open/deeper/b", "3");
    const std::map<std::string, fs::perms> locked = {{"none", fs::perms::none},
                                                     {"enter", fs::perms::owner_exec},
                                                     {"list", fs::perms::owner_read}};
    for (const auto& [name, mode] : locked) {
        folder.Write("tree/" + name + "/hidden", "4");
        folder.Write("tree/" + name + "/inner/deeper", "5");
    }
    const std::set<std::string> readable = FoundFiles(tree);
    const std::string data = folder.MakeFolder("data");
    GiveToUnprivilegedUser(folder.Path());
    for (const auto& [name, mode] : locked) {
        fs::permissions(tree + "/" + name, mode);
    }

    const ProcessResult scan = RunCliUnprivileged({"scan", "--db", data, tree});
    for (const auto& [name, mode] : locked) {
        fs::permissions(tree + "/" + name, fs::perms::owner_all);
    }

    EXPECT_EQ(scan.exitCode, 1) << scan.err;
    EXPECT_NE(scan.out.find("\n3 folders skipped\n"), std::string::npos) << scan.out;
    EXPECT_EQ(ListedUnder(scan.out, "Skipped"),
              (std::set<std::string>{tree + "/enter/: Permission denied",
                                     tree + "/list/: Permission denied",
                                     tree + "/none/: Permission denied"}));
    std::set<std::string> expected;
    for (const std::string& path : readable) {
        if (path.find("/hidden") == std::string::npos &&
            path.find("/inner/") == std::string::npos) {
            expected.insert(path);
        }
    }
    EXPECT_EQ(expected.size(), 3u);
    EXPECT_EQ(CatalogPaths(data + "/files.db"), expected);
}

// A tree deeper than the 4096 bytes a path may have, made the way a user would (mkdir and cd,
// one level at a time): every file in it is catalogued with its checksum and size.
TEST(CliScanReach, FilesPastThePathLimitAreCataloguedWithTheirChecksums) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::string name(60, 'n');
    constexpr int kLevels = 80;
    const ProcessResult made = RunProgram(
        {"bash", "-c",
         "cd \"$1\" && for i in $(seq " + std::to_string(kLevels) +
             "); do mkdir -p \"$2\" && cd \"$2\" && printf 'level %s' \"$i\" > f || exit 1; done",
         "make-deep-tree", tree, name});
    ASSERT_EQ(made.exitCode, 0) << made.err;

    const ProcessResult scan = RunCli({"scan", "--db", folder.Path(), tree});
    EXPECT_EQ(scan.exitCode, 0) << scan.out << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), kLevels) << scan.out;

    // find goes down through folder handles, and md5sum is run inside each folder, so neither
    // needs the long path; both list the files in the same order.
    const auto paths = Lines(RunProgram({"find", tree, "-type", "f"}).out);
    const auto sums =
        Lines(RunProgram({"find", tree, "-type", "f", "-execdir", "md5sum", "{}", ";"}).out);
    const auto sizes = Lines(RunProgram({"find", tree, "-type", "f", "-printf", "%s\\n"}).out);
    ASSERT_EQ(paths.size(), static_cast<size_t>(kLevels));
    ASSERT_EQ(sums.size(), paths.size());
    ASSERT_EQ(sizes.size(), paths.size());
    std::map<std::string, std::string> expectedSums, expectedSizes;
    for (size_t i = 0; i < paths.size(); ++i) {
        expectedSums[paths[i]] = sums[i].substr(0, 32);
        expectedSizes[paths[i]] = sizes[i];
    }
    EXPECT_GT(std::max_element(paths.begin(), paths.end(),
                               [](const auto& a, const auto& b) { return a.size() < b.size(); })
                  ->size(),
              4096u);
    const std::string catalog = folder / "files.db";
    EXPECT_EQ(CatalogChecksums(catalog), expectedSums);
    EXPECT_EQ(CatalogColumn(catalog, "fldFileSize"), expectedSizes);
}

// Dates before 1601 or after 9999 (tmpfs keeps them): the file is catalogued with each such
// date at the nearer end of what the catalog holds, the summary counts and names it, and its
// own access time, not a clamped one, is what it keeps.
TEST(CliScanReach, DatesOutsideTheCatalogsRangeAreClampedAndCounted) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::string data = folder.MakeFolder("data");
    const std::string result = RunWithPrivateMounts([&] {
        MountSmallDisk(tree, 1024 * 1024);
        const std::string old = tree + "/old.txt", future = tree + "/future.txt",
                          today = tree + "/today.txt";
        for (const std::string& file : {old, future, today}) {
            RunProgram({"sh", "-c", "printf text > \"$1\"", "write", file});
        }
        RunProgram({"touch", "-m", "-d", "1500-06-01 12:00:00", old});
        RunProgram({"touch", "-a", "-d", "1400-01-01 08:00:00", old});
        RunProgram({"touch", "-d", "@400000000000", future}); // in the year 14645
        const auto stamps = [&] { return RunProgram({"stat", "-c", "%X %Y", old, future}).out; };
        const std::string before = stamps();
        TProblems problems;
        if (before.rfind("-179", 0) != 0) {
            return "unsupported: the small disk does not keep a time before 1601: " + before;
        }
        const ProcessResult scan = RunCli({"scan", "--db", data, tree});
        problems.Expect(scan.exitCode == 0,
                        "exit code " + std::to_string(scan.exitCode) + scan.err);
        problems.Expect(CatalogueCount(scan.out) == 3, "summary: " + scan.out);
        problems.Expect(scan.out.find("\n2 files with a date out of range\n") != std::string::npos,
                        "no count: " + scan.out);
        const std::string reason =
            ": a date outside 1601-01-01 to 9999-12-31 is stored as the nearer of the two";
        problems.Expect(ListedUnder(scan.out, "Dates out of range") ==
                            std::set<std::string>{old + reason, future + reason},
                        "list: " + scan.out);
        const auto modified = CatalogColumn(data + "/files.db", "fldDateModified");
        const auto accessed = CatalogColumn(data + "/files.db", "fldDateAccessed");
        problems.Expect(modified.at(old) == "1601-01-01", "old modified " + modified.at(old));
        problems.Expect(accessed.at(old) == "1601-01-01", "old accessed " + accessed.at(old));
        problems.Expect(modified.at(future) == "9999-12-31 23:59:59",
                        "future modified " + modified.at(future));
        problems.Expect(modified.at(today).rfind("1601", 0) != 0, "today " + modified.at(today));
        problems.Expect(stamps() == before, "times kept: " + before + " now: " + stamps());
        return problems.Text();
    });
    if (IsUnsupported(result)) {
        GTEST_SKIP() << result;
    }
    EXPECT_EQ(result, "");
}

} // namespace
} // namespace mirelon::test
