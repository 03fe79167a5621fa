// Linux only: the built mirelon-cli on what goes wrong for a new user on Linux: folders that may
// not be read, full disks, links and mounts among the roots, letter-case twins, and where an
// installed program keeps its catalog.
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

// Linux only: folders that may not be read, seen by a process that gave up root.
// A fresh scan checks what it needs before it deletes anything: a root it cannot list, or an old
// catalog it may not delete, stops it with the reason, and the old catalog stays as it was.
TEST(CliScanFaults, AFreshScanKeepsTheOldCatalogUntilItKnowsItCanMakeANewOne) {
    if (const std::string reason = UnprivilegedRunUnavailable(); !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    folder.Write("tree/sub/b", "2");
    const std::string locked = folder.MakeFolder("locked");
    folder.Write("locked/c", "3");
    const std::string data = folder.MakeFolder("data");
    const std::string catalog = data + "/files.db";
    GiveToUnprivilegedUser(folder.Path());

    const ProcessResult first = RunCliUnprivileged({"scan", "--db", data, tree});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    ASSERT_EQ(RowCount(catalog), 2);
    const std::string before = FileContents(catalog);

    // Neither listed nor entered (---), listed only (r--), entered only (--x).
    for (const fs::perms mode : {fs::perms::none, fs::perms::owner_read, fs::perms::owner_exec}) {
        fs::permissions(locked, mode);
        const ProcessResult scan = RunCliUnprivileged({"scan", "--db", data, tree, locked});
        EXPECT_EQ(scan.exitCode, 1);
        EXPECT_EQ(scan.out, "");
        EXPECT_EQ(scan.err, "mirelon-cli: scan: cannot list " + locked + ": Permission denied\n");
        EXPECT_EQ(FileContents(catalog), before);
    }
    fs::permissions(locked, fs::perms::owner_all);

    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);
    const ProcessResult stuck = RunCliUnprivileged({"scan", "--db", data, tree});
    fs::permissions(data, fs::perms::owner_all);
    EXPECT_EQ(stuck.exitCode, 1);
    EXPECT_EQ(stuck.out, "");
    EXPECT_EQ(stuck.err, "mirelon-cli: scan: cannot delete the old catalog " + catalog +
                             ": Permission denied\n");
    EXPECT_EQ(FileContents(catalog), before);

    // A root that is not there at all is a mistake in the command line.
    const ProcessResult missing = RunCliUnprivileged({"scan", "--db", data, folder / "gone"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(FileContents(catalog), before);
}

// Linux only: a small disk mounted for the test (tmpfs in a mount namespace of its own).
// The disk fills up while the catalog grows: the scan stops there with SQLite's own words and
// tells how many rows it kept, and those are exactly the rows in the catalog.
TEST(CliScanFaults, AFullDiskEndsTheScanAtOnceAndKeepsTheCommittedRows) {
    TTempFolder folder;
    constexpr int kFiles = 2000;
    const std::string source = folder.Write("source", "same content");
    const std::string tree = folder.MakeFolder("tree");
    for (int i = 0; i < kFiles; ++i) {
        const std::string sub = folder.MakeFolder("tree/folder-" + std::to_string(i / 100));
        fs::create_hard_link(source, sub + "/a-file-name-long-enough-to-fill-a-disk-soon-" +
                                         std::to_string(i));
    }
    const std::string data = folder.MakeFolder("data");
    const std::string catalog = data + "/files.db";

    const std::string result = RunWithPrivateMounts([&] {
        MountSmallDisk(data, 512 * 1024);
        const ProcessResult scan = RunCli({"scan", "--db", data, tree});
        TProblems problems;
        problems.Expect(scan.exitCode == 1, "exit code " + std::to_string(scan.exitCode));
        problems.Expect(scan.err == "mirelon-cli: scan: cannot write " + catalog +
                                        ": database or disk is full\n",
                        "error: " + scan.err);
        const int64_t kept = CatalogueCount(scan.out);
        problems.Expect(kept > 0 && kept < kFiles && kept % 500 == 0, "summary: " + scan.out);
        problems.Expect(scan.out.find(" not kept\n") != std::string::npos,
                        "summary without the rows lost: " + scan.out);
        TSQLiteDatabase reader(catalog);
        problems.Expect(reader.OpenResult("PRAGMA integrity_check")->TextAt(0) == "ok",
                        "damaged catalog");
        problems.Expect(reader.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0) == kept,
                        "catalog rows differ from the summary");
        return problems.Text();
    });
    if (IsUnsupported(result)) {
        GTEST_SKIP() << "no small disk to fill: " << result;
    }
    EXPECT_EQ(result, "");
}

// Linux only: a root reached through a symbolic link, and a disk mounted inside a root.
TEST(CliScanFaults, ALinkToARootIsWalkedOnceAndADiskMountedInsideARootIsKept) {
    TTempFolder folder;
    const std::string t = folder.MakeFolder("t");
    folder.Write("t/a", "1");
    folder.Write("t/sub/b", "2");
    folder.Write("t/sub/deeper/c", "3");
    fs::create_directory_symlink(t, folder / "link");
    const std::string data = folder.MakeFolder("data");

    const ProcessResult scan = RunCli({"scan", "--db", data, t, folder / "link"});
    EXPECT_EQ(scan.exitCode, 0) << scan.out << scan.err;
    EXPECT_EQ(scan.err,
              "mirelon-cli: scan: " + t + " is named more than once; it is scanned once\n");
    std::set<std::string> found;
    for (const std::string& line : Lines(RunProgram({"find", t, "-type", "f"}).out)) {
        found.insert(line);
    }
    EXPECT_EQ(CatalogPaths(data + "/files.db"), found);

    // The walk of a root stays on its file system, so a root on a disk mounted inside it is
    // kept.
    const std::string mounted = folder.MakeFolder("t/mnt");
    const std::string result = RunWithPrivateMounts([&] {
        MountSmallDisk(mounted, 1024 * 1024);
        std::ofstream(mounted + "/e") << "5";
        const ProcessResult nested = RunCli({"scan", "--db", data, t, mounted});
        TProblems problems;
        problems.Expect(nested.exitCode == 0, "exit code " + std::to_string(nested.exitCode));
        problems.Expect(nested.err.empty(), "notes: " + nested.err);
        problems.Expect(
            CatalogPaths(data + "/files.db") ==
                std::set<std::string>{t + "/a", t + "/sub/b", t + "/sub/deeper/c", mounted + "/e"},
            "catalogued: " + nested.out);
        return problems.Text();
    });
    if (IsUnsupported(result)) {
        GTEST_SKIP() << "no disk to mount inside a root: " << result;
    }
    EXPECT_EQ(result, "");
}

// Linux only: names that differ only in letter case, which Windows' file systems refuse.
// The catalog's paths ignore letter case and this file system does not: of two names that differ
// only so, one is catalogued and the other reported, by a continued scan as by a fresh one.
TEST(CliScanFaults, AContinuedScanReportsLetterCaseTwinsAsAFreshScanDoes) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/Readme.txt", "1");
    folder.Write("tree/README.txt", "2");
    folder.Write("tree/x", "3");
    const std::string catalog = folder / "files.db";
    const auto twins = [](const std::string& summary) {
        std::set<std::string> paths;
        const std::string reason = ": a catalogued path differs from it only in letter case";
        for (const std::string& line : Lines(summary)) {
            if (line.size() > reason.size() && line.ends_with(reason)) {
                paths.insert(line.substr(2, line.size() - reason.size() - 2));
            }
        }
        return paths;
    };

    const ProcessResult fresh = RunCli({"scan", "--db", folder.Path(), tree});
    EXPECT_EQ(fresh.exitCode, 1);
    EXPECT_EQ(CatalogueCount(fresh.out), 2) << fresh.out;
    const std::set<std::string> reported = twins(fresh.out);
    ASSERT_EQ(reported.size(), 1u) << fresh.out;
    EXPECT_EQ(CatalogPaths(catalog).count(*reported.begin()), 0u);

    const ProcessResult continued = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(continued.exitCode, 1);
    EXPECT_EQ(CatalogueCount(continued.out), 0) << continued.out;
    EXPECT_NE(continued.out.find("1 file skipped"), std::string::npos) << continued.out;
    EXPECT_EQ(twins(continued.out), reported);

    folder.Write("tree/X", "4");
    const ProcessResult added = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    std::set<std::string> expected = reported;
    expected.insert(tree + "/X");
    EXPECT_EQ(added.exitCode, 1);
    EXPECT_EQ(twins(added.out), expected) << added.out;
    EXPECT_EQ(RowCount(catalog), 2);
}

// Linux only: compared with sha1sum, sha256sum and sha512sum.
// A scan stores any checksum that `hash` prints: each against the coreutils tool for it.
TEST(CliScanFaults, ScanStoresEveryChecksumThatHashPrints) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::vector<std::string> files{folder.Write("tree/empty", ""),
                                         folder.Write("tree/abc", "abc"),
                                         folder.Write("tree/big", std::string(300000, 'q'))};
    for (const auto& [method, tool] : std::vector<std::pair<std::string, std::string>>{
             {"SHA1", "sha1sum"}, {"SHA256", "sha256sum"}, {"SHA512", "sha512sum"}}) {
        const ProcessResult scan =
            RunCli({"scan", "--method", method, "--db", folder.Path(), tree});
        ASSERT_EQ(scan.exitCode, 0) << method << scan.err;
        std::vector<std::string> command{tool};
        command.insert(command.end(), files.begin(), files.end());
        std::map<std::string, std::string> expected;
        for (const std::string& line : Lines(RunProgram(command).out)) {
            const std::size_t gap = line.find("  ");
            expected[line.substr(gap + 2)] = line.substr(0, gap);
        }
        EXPECT_EQ(CatalogChecksums(folder / "files.db"), expected) << method;
    }
}

// Linux only: the XDG base directories.
// Installed in a bin folder, the program keeps its catalog in the user's data folder (made
// when missing), never next to itself; run from anywhere else, next to itself as before.
TEST(CliScanFaults, AnInstalledProgramKeepsItsCatalogInTheUsersDataFolder) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    const auto install = [&](const std::string& where) {
        const std::string program = folder.MakeFolder(where) + "/mirelon-cli";
        fs::copy_file(MIRELON_CLI, program);
        return program;
    };
    const std::string installed = install("usr/bin");
    const std::string home = "HOME=" + folder / "home";
    const auto scanWith = [&](const std::string& program, std::vector<std::string> environment) {
        environment.push_back("PATH=/usr/bin:/bin");
        return RunProgramWithEnvironment({program, "scan", tree}, environment);
    };

    const ProcessResult xdg = scanWith(installed, {"XDG_DATA_HOME=" + folder / "xdg", home});
    EXPECT_EQ(xdg.exitCode, 0) << xdg.err;
    const std::string xdgCatalog = folder / "xdg/mirelon/files.db";
    EXPECT_NE(xdg.out.find(" into " + xdgCatalog + "\n"), std::string::npos) << xdg.out;
    EXPECT_EQ(RowCount(xdgCatalog), 1);

    // A relative XDG_DATA_HOME is no place: the default under the home folder is used.
    const ProcessResult relative = scanWith(installed, {"XDG_DATA_HOME=relative/xdg", home});
    EXPECT_EQ(relative.exitCode, 0) << relative.err;
    EXPECT_EQ(RowCount(folder / "home/.local/share/mirelon/files.db"), 1);

    const std::string built = install("build");
    EXPECT_EQ(scanWith(built, {"XDG_DATA_HOME=" + folder / "unused", home}).exitCode, 0);
    EXPECT_EQ(RowCount(folder / "build/files.db"), 1);

    // With --db naming the catalog, no data folder is looked for or made.
    const std::string other = folder.MakeFolder("other");
    const ProcessResult named = RunProgramWithEnvironment({installed, "scan", "--db", other, tree},
                                                          {home + "-unused", "PATH=/usr/bin:/bin"});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(RowCount(other + "/files.db"), 1);
    EXPECT_FALSE(fs::exists(folder / "home-unused"));

    EXPECT_FALSE(fs::exists(folder / "usr/bin/files.db"));
    EXPECT_FALSE(fs::exists(folder / "unused"));
}

} // namespace
} // namespace mirelon::test
