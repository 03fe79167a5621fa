// Linux only: compared with find and md5sum, with hard links, files of another user and disks
// mounted for the test.
// The built mirelon-cli keeping a catalog true with `scan --update`: after each change to the
// tree, the catalog must be what a fresh scan makes, row for row, and agree with find and md5sum.
#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/scan/facts_test_files.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <unistd.h>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;
using testing::StoredAccessTime;
using testing::StoredModifiedTime;
using testing::UnixTime;

struct Row {
    int64_t id = 0;
    std::string facts; // every column but fldID and the path
    bool operator==(const Row& other) const { return facts == other.facts; }
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.facts;
}

std::map<std::string, Row> Rows(const std::string& catalogFile) {
    TSQLiteDatabase catalog(catalogFile);
    const auto result = catalog.OpenResult("SELECT * FROM tblFiles");
    std::map<std::string, Row> rows;
    for (; !result->AtEnd(); result->MoveNext()) {
        Row row{result->IntegerAt(0), {}};
        for (int column = 2; column < result->ColumnCount(); ++column) {
            row.facts += result->TextAt(column) + "|";
        }
        rows[result->TextAt(1)] = row;
    }
    return rows;
}

// What find and md5sum say the catalog must hold: path, size and checksum of every file.
std::map<std::string, std::string> FoundFiles(const std::string& tree,
                                              const std::string& excluded = "/nothing") {
    std::map<std::string, std::string> files;
    const std::string listing =
        RunProgram({"find", tree, "-path", excluded, "-prune", "-o", "-type", "f", "-print0"}).out;
    for (size_t start = 0; start < listing.size();) {
        const size_t end = listing.find('\0', start);
        const std::string path = listing.substr(start, end - start);
        files[path] = std::to_string(fs::file_size(path)) + " " + Md5Of(path);
        start = end + 1;
    }
    return files;
}

std::map<std::string, std::string> CataloguedFiles(const std::string& catalogFile) {
    TSQLiteDatabase catalog(catalogFile);
    const auto result = catalog.OpenResult("SELECT fldFullPath, fldFileSize, fldCheckSum "
                                           "FROM tblFiles");
    std::map<std::string, std::string> files;
    for (; !result->AtEnd(); result->MoveNext()) {
        files[result->TextAt(0)] = result->TextAt(1) + " " + result->TextAt(2);
    }
    return files;
}

struct Counts {
    int64_t unchanged = -1, changed = -1, added = -1, removed = -1;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c) {
    return out << c.unchanged << " unchanged, " << c.changed << " changed, " << c.added << " new, "
               << c.removed << " removed";
}

Counts UpdateCounts(const std::string& summary) {
    std::smatch match;
    Counts counts;
    if (std::regex_search(summary, match,
                          std::regex("^Updated .*: ([0-9]+) unchanged, ([0-9]+) changed, "
                                     "([0-9]+) new, ([0-9]+) removed"))) {
        counts = {std::stoll(match[1]), std::stoll(match[2]), std::stoll(match[3]),
                  std::stoll(match[4])};
    }
    return counts;
}

// A file written within the last moments is hashed again by the next update, since a second
// write within the same tick of the file system's clock would not show; the trees made here
// are dated an hour back, as files on a disk usually are.
void DateBack(const std::string& tree) {
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (entry.is_regular_file()) {
            fs::last_write_time(entry.path(), hourAgo);
        }
    }
}

ProcessResult Update(const std::vector<std::string>& arguments) {
    std::vector<std::string> all{"scan", "--update", "--quiet"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return RunCli(all);
}

TEST(CliUpdate, AfterEditsRenamesDeletionsLinksAndAnExclusionTheCatalogIsAFreshScans) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    for (const std::string name : {"keep/a", "keep/b", "keep/deep/c", "linked"}) {
        folder.Write("tree/" + name, "unchanged " + name);
    }
    folder.Write("tree/same-size", "aaaa");
    folder.Write("tree/truncated", "a longer text that loses its end");
    folder.Write("tree/replaced", "old old");
    folder.Write("tree/deleted", "gone soon");
    folder.Write("tree/gone/x", "in a folder deleted");
    folder.Write("tree/excluded/y", "in a folder excluded later");
    DateBack(tree);
    const std::string data = folder.MakeFolder("data");
    const ProcessResult fresh = RunCli({"scan", "--quiet", "--db", data, tree});
    ASSERT_EQ(fresh.exitCode, 0) << fresh.err;
    const auto before = Rows(data + "/files.db");

    // Nothing changed: nothing is read.
    ProcessResult update = Update({"--db", data, tree});
    ASSERT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(UpdateCounts(update.out), (Counts{10, 0, 0, 0})) << update.out;
    EXPECT_NE(update.out.find("(0.0 MB hashed)"), std::string::npos) << update.out;
    EXPECT_EQ(Rows(data + "/files.db"), before);

    // Same size and the very same modification time, to the nanosecond.
    const UnixTime sameSizeTime = StoredModifiedTime(tree + "/same-size");
    folder.Write("tree/same-size", "bbbb");
    testing::SetStoredTimes(tree + "/same-size", StoredAccessTime(tree + "/same-size"),
                            sameSizeTime);
    fs::resize_file(tree + "/truncated", 8);
    // Replaced through a rename by a file of the same size and modification time.
    const UnixTime replacedTime = StoredModifiedTime(tree + "/replaced");
    folder.Write("replacement", "new new");
    testing::SetStoredTimes(folder / "replacement", replacedTime, replacedTime);
    fs::rename(folder / "replacement", tree + "/replaced");
    fs::remove(tree + "/deleted");
    fs::remove_all(tree + "/gone");
    folder.Write("tree/added", "new file");
    folder.Write("tree/new/deeper/added", "new folder");
    fs::create_hard_link(tree + "/linked", tree + "/keep/link-to-linked");

    const std::string excluded = tree + "/excluded";
    update = Update({"--db", data, "--exclude", excluded, tree});
    ASSERT_EQ(update.exitCode, 0) << update.err;
    // A new link changes the status of the file it links to.
    EXPECT_EQ(UpdateCounts(update.out), (Counts{3, 4, 3, 3})) << update.out;
    const auto after = Rows(data + "/files.db");
    for (const std::string name : {"same-size", "truncated", "replaced", "keep/a"}) {
        EXPECT_EQ(after.at(tree + "/" + name).id, before.at(tree + "/" + name).id) << name;
    }
    const std::string freshData = folder.MakeFolder("fresh");
    ASSERT_EQ(RunCli({"scan", "--quiet", "--db", freshData, "--exclude", excluded, tree}).exitCode,
              0);
    EXPECT_EQ(after, Rows(freshData + "/files.db"));
    // Last, since md5sum does not put access times back.
    EXPECT_EQ(CataloguedFiles(data + "/files.db"), FoundFiles(tree, excluded));
}

// Rows of a root not named this time, and of a disk not mounted any more, stay as they were;
// so do rows under a folder that cannot be listed.
TEST(CliUpdate, WhatTheWalkCouldNotSeeKeepsItsRows) {
    TTempFolder folder;
    const std::string named = folder.MakeFolder("named");
    const std::string other = folder.MakeFolder("other");
    folder.Write("named/a", "1");
    folder.Write("named/locked/b", "2");
    folder.Write("other/c", "3");
    DateBack(folder.Path());
    const std::string data = folder.MakeFolder("data");
    GiveToUnprivilegedUser(folder.Path());
    const std::string refusal = UnprivilegedRunUnavailable();
    if (!refusal.empty()) {
        GTEST_SKIP() << refusal;
    }
    ASSERT_EQ(RunCliUnprivileged({"scan", "--quiet", "--db", data, named, other}).exitCode, 0);
    const auto before = Rows(data + "/files.db");
    ASSERT_EQ(before.size(), 3u);

    fs::remove(other + "/c");
    fs::permissions(named + "/locked", fs::perms::none);
    const ProcessResult update = RunCliUnprivileged({"scan", "--update", "--db", data, named});
    fs::permissions(named + "/locked", fs::perms::owner_all);
    // The folder that could not be read is named and counted, as in a fresh scan.
    EXPECT_EQ(update.exitCode, 1) << update.err;
    EXPECT_NE(update.out.find("\n1 folder skipped\n"), std::string::npos) << update.out;
    EXPECT_EQ(UpdateCounts(update.out), (Counts{1, 0, 0, 0})) << update.out;
    EXPECT_EQ(Rows(data + "/files.db"), before);

    // A disk catalogued under a folder and since unmounted: the empty folder left behind is on
    // the file system walked now, the rows are not.
    const std::string mountPoint = folder.MakeFolder("named/disk");
    const std::string result = RunWithPrivateMounts([&] {
        MountSmallDisk(mountPoint, 1024 * 1024);
        std::ofstream(mountPoint + "/on-disk") << "4";
        DateBack(mountPoint);
        std::string problems;
        if (RunCli({"scan", "--update", "--db", data, named, mountPoint}).exitCode != 0) {
            problems += "the update with the disk failed\n";
        }
        const auto withDisk = Rows(data + "/files.db");
        RunProgram({"umount", mountPoint});
        const ProcessResult without = RunCli({"scan", "--update", "--db", data, named});
        if (UpdateCounts(without.out) != Counts{2, 0, 0, 0}) {
            problems += "counts without the disk: " + without.out;
        }
        if (Rows(data + "/files.db") != withDisk || !withDisk.contains(mountPoint + "/on-disk")) {
            problems += "the disk's row went with it\n";
        }
        return problems;
    });
    if (result.rfind("unsupported", 0) == 0) {
        GTEST_SKIP() << "no disk to mount: " << result;
    }
    EXPECT_EQ(result, "");
}

// A catalog made before the stamps, or whose stamp table is damaged or another program's, is
// updated all the same: its rows count as changed once, none is lost.
TEST(CliUpdate, ACatalogWithoutUsableStampsIsUpdatedAndItsTablesMadeAgain) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> damages{
        {"made before the stamps",
         {"DROP TRIGGER trgFileStampsDelete", "DROP TABLE tblFileStamps",
          "DROP TABLE tblCatalogInfo"}},
        {"a stamp table of other columns",
         {"DROP TABLE tblFileStamps", "CREATE TABLE tblFileStamps (fldID TEXT, junk)",
          "INSERT INTO tblFileStamps VALUES ('x', 'y')"}},
        {"stamps of garbage", {"UPDATE tblFileStamps SET fldDevice = 'garbage', fldSize = 1.5"}},
        {"an info table of other columns",
         {"DROP TABLE tblCatalogInfo", "CREATE VIEW tblCatalogInfo AS SELECT 1 AS x"}},
    };
    for (const auto& [what, statements] : damages) {
        TTempFolder folder;
        const std::string tree = folder.MakeFolder("tree");
        folder.Write("tree/a", "1");
        folder.Write("tree/b", "2");
        folder.Write("tree/c", "3");
        DateBack(tree);
        const std::string catalog = folder / "files.db";
        ASSERT_EQ(RunCli({"scan", "--db", folder.Path(), tree}).exitCode, 0);
        {
            TSQLiteDatabase database(catalog);
            for (const std::string& statement : statements) {
                database.RunStatement(statement);
            }
        }
        fs::remove(tree + "/b");
        folder.Write("tree/c", "changed");
        folder.Write("tree/d", "4");
        DateBack(tree);

        ProcessResult update = Update({"--db", folder.Path(), tree});
        EXPECT_EQ(update.exitCode, 0) << what << update.err;
        EXPECT_EQ(UpdateCounts(update.out), (Counts{0, 2, 1, 1})) << what << update.out;
        EXPECT_EQ(CataloguedFiles(catalog), FoundFiles(tree)) << what;
        update = Update({"--db", folder.Path(), tree});
        EXPECT_EQ(UpdateCounts(update.out), (Counts{3, 0, 0, 0})) << what << update.out;
        TSQLiteDatabase database(catalog);
        std::string table = TableDefinitionSql();
        table.pop_back();
        EXPECT_EQ(
            database.OpenResult("SELECT sql FROM sqlite_master WHERE name = 'tblFiles'")->TextAt(0),
            table)
            << what;
    }
}

// One method per catalog: an update with another one hashes every file again, a continued scan
// with another one is refused before it writes anything.
TEST(CliUpdate, ACatalogKeepsOneHashMethod) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    folder.Write("tree/b", "1");
    DateBack(tree);
    const std::string catalog = folder / "files.db";
    ASSERT_EQ(RunCli({"scan", "--method", "CRC32", "--db", folder.Path(), tree}).exitCode, 0);

    const std::string before = Md5Of(catalog);
    const ProcessResult continued =
        RunCli({"scan", "--continue", "--method", "ADLER32", "--db", folder.Path(), tree});
    EXPECT_EQ(continued.exitCode, 1);
    EXPECT_EQ(continued.out, "");
    EXPECT_EQ(continued.err, "mirelon-cli: scan: the catalog holds CRC32 checksums: continue "
                             "with CRC32, or choose an update or a fresh scan to use ADLER32\n");
    EXPECT_EQ(Md5Of(catalog), before);

    const ProcessResult update = Update({"--method", "SHA1", "--db", folder.Path(), tree});
    EXPECT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(UpdateCounts(update.out), (Counts{0, 2, 0, 0})) << update.out;
    for (const auto& [path, sizeAndChecksum] : CataloguedFiles(catalog)) {
        EXPECT_EQ(sizeAndChecksum, "1 " + RunProgram({"sha1sum", path}).out.substr(0, 40));
    }
    EXPECT_EQ(
        RunCli({"scan", "--continue", "--method", "SHA1", "--db", folder.Path(), tree}).exitCode,
        0);
}

// Putting back the access time of a file read moves its status-change time; the stamp holds
// the moved one, so the next update finds the file unchanged. Root reads and puts back the
// times of another user's files; that user's own scan of root's files cannot put them back.
TEST(CliUpdate, FilesOfAnotherUserAreUnchangedAtTheNextUpdate) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can make files of another user";
    }
    const std::string refusal = UnprivilegedRunUnavailable();
    if (!refusal.empty()) {
        GTEST_SKIP() << refusal;
    }
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "content");
    folder.Write("tree/b", "more content");
    DateBack(tree);
    const UnixTime longAgo{946684800, 0}; // 2000-01-01: reading the file moves it forward
    for (const bool asRoot : {false, true}) {
        for (const std::string name : {"/a", "/b"}) {
            testing::SetStoredTimes(tree + name, longAgo, StoredModifiedTime(tree + name));
        }
        const std::string data = folder.MakeFolder(asRoot ? "root" : "nobody");
        // First the other user's scan of root's files, then root's scan of that user's files.
        GiveToUnprivilegedUser(asRoot ? tree : data);
        const auto run = [&](const std::vector<std::string>& arguments) {
            return asRoot ? RunCli(arguments) : RunCliUnprivileged(arguments);
        };
        ASSERT_EQ(run({"scan", "--quiet", "--db", data, tree}).exitCode, 0) << asRoot;
        const ProcessResult update = run({"scan", "--update", "--quiet", "--db", data, tree});
        EXPECT_EQ(UpdateCounts(update.out), (Counts{2, 0, 0, 0})) << asRoot << update.out;
        if (asRoot) {
            EXPECT_EQ(StoredAccessTime(tree + "/a"), longAgo);
        }
    }
}

} // namespace
} // namespace mirelon::test
