#include "catalog/catalog_schema.h"
#include "catalog/catalog_statements.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/exclusion_provider.h"
#include "scan/scan_files.h"
#include "scan/scan_options.h"
#include "scan/scan_progress.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"
#include "tests/support/fake_mount_source.h"
#include "tests/support/scan_test_tree.h"
#include "tests/support/small_disk_vfs.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace mirelon {
namespace {

// The file's bytes, to tell whether it changed; a folder has none.
std::string FileBytes(const std::string& path) {
    if (std::filesystem::is_directory(path)) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The session with jobs that stand in for the real ones and keep a record of what ran.
class ScanSessionTest : public ::testing::Test {
protected:
    ScanOutcome Scan() {
        return RunScanSession(run, options, catalog, data.Slashed(), [this](std::string_view task) {
            ran.emplace_back(task);
            const auto job = jobs.find(std::string(task));
            return job == jobs.end() ? std::string() : job->second();
        });
    }

    void Insert(TSQLiteDatabase& into, const std::string& path) {
        CatalogRow row;
        row.fullPath = path;
        row.fileName = FileNameOf(path);
        into.RunStatement(BuildInsertStatement(row));
    }

    int64_t StoredRows() {
        TSQLiteDatabase reader(data.File(kCatalogFileName));
        return reader.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0);
    }

    test::TTempFolder data;
    TScanOptions options;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run{scanner, drives, options, exclusions, progress};
    std::unique_ptr<TSQLiteDatabase> catalog;
    std::map<std::string, std::function<std::string()>> jobs{{"Create Database", [this] {
                                                                  catalog = CreateDatabase(
                                                                      data.Slashed());
                                                                  return std::string();
                                                              }}};
    std::vector<std::string> ran;
};

TEST_F(ScanSessionTest, FreshScanStartsFromAnEmptyCatalogAndKeepsWhatAFailedJobInserted) {
    catalog = CreateDatabase(data.Slashed());
    Insert(*catalog, "/old/row");
    bool inTransaction = false;
    jobs["Scan Harddisk"] = [this, &inTransaction] {
        inTransaction = catalog->InTransaction();
        Insert(*catalog, "/new/one");
        Insert(*catalog, "/new/two");
        return std::string("the disk went away");
    };

    const ScanOutcome outcome = Scan();
    EXPECT_EQ(outcome.error, "the disk went away");
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database", "Scan Harddisk"}));
    EXPECT_TRUE(inTransaction);
    ASSERT_NE(catalog, nullptr);
    EXPECT_FALSE(catalog->InTransaction());
    EXPECT_EQ(StoredRows(), 2);
    EXPECT_FALSE(run.ScanRunning());
}

TEST_F(ScanSessionTest, ContinueKeepsTheOpenCatalogAndRunsOnlyTheScan) {
    options.SetFreshScanIndex(kFreshScanContinue);
    catalog = CreateDatabase(data.Slashed());
    Insert(*catalog, "/old/row");
    TSQLiteDatabase* const before = catalog.get();
    jobs["Scan Harddisk"] = [this] {
        Insert(*catalog, "/new/one");
        return std::string();
    };

    EXPECT_EQ(Scan().error, "");
    EXPECT_EQ(ran, (std::vector<std::string>{"Scan Harddisk"}));
    EXPECT_EQ(catalog.get(), before);
    EXPECT_EQ(StoredRows(), 2);
}

// Whatever stands in the catalog's place and is not a catalog stops a fresh scan before any
// job, with the reason, and stays byte for byte as it was; the open catalog stays open.
TEST_F(ScanSessionTest, WhatIsNotACatalogStopsTheScanBeforeAnyJobAndStaysAsItWas) {
    const std::string file = data.File(kCatalogFileName);
    const std::string refusal = file + " is not a catalog; move it away or choose another folder";
    const std::vector<std::pair<std::string, std::function<void()>>> strangers{
        {"a text file", [&] { data.Write(kCatalogFileName, "my notes\n"); }},
        {"another program's database",
         [&] {
             TSQLiteDatabase other(file);
             other.RunStatement("CREATE TABLE contacts (name TEXT)");
             other.RunStatement("CREATE INDEX byName ON contacts (name)");
         }},
        {"a catalog that another program added a table to",
         [&] {
             auto old = CreateDatabase(data.Slashed());
             Insert(*old, "/old/row");
             old->RunStatement("CREATE TABLE notes (text TEXT)");
         }},
        {"a folder", [&] { data.Write(std::string(kCatalogFileName) + "/old", "old"); }},
    };
    for (const auto& [what, make] : strangers) {
        SCOPED_TRACE(what);
        std::filesystem::remove_all(file);
        make();
        const std::string before = FileBytes(file);
        catalog = std::make_unique<TSQLiteDatabase>(data.File("elsewhere.db"));
        TSQLiteDatabase* const open = catalog.get();
        ran.clear();

        const ScanOutcome outcome = Scan();
        EXPECT_EQ(outcome.error, refusal);
        EXPECT_FALSE(outcome.scanned);
        EXPECT_TRUE(ran.empty());
        EXPECT_EQ(catalog.get(), open);
        EXPECT_TRUE(FileBytes(file) == before) << "the file changed";
        if (std::filesystem::is_directory(file)) {
            EXPECT_EQ(FileBytes(file + "/old"), "old");
        }
        EXPECT_FALSE(std::filesystem::exists(file + "-journal"));
        EXPECT_FALSE(run.ScanRunning());
    }
}

// A damaged file may have been a catalog, but nothing shows it: the user is told, and decides.
TEST_F(ScanSessionTest, ADamagedCatalogIsNotDeletedByAFreshScan) {
    {
        auto old = CreateDatabase(data.Slashed());
        Insert(*old, "/old/row");
    }
    const std::string file = data.File(kCatalogFileName);
    {
        // The page that lists the tables, past the file's 100-byte header.
        std::fstream damage(file, std::ios::in | std::ios::out | std::ios::binary);
        damage.seekp(100);
        damage << std::string(200, '\xff');
    }
    const std::string before = FileBytes(file);

    const ScanOutcome outcome = Scan();
    EXPECT_EQ(outcome.error, file + " is damaged (database disk image is malformed); move it "
                                    "away or choose another folder");
    EXPECT_TRUE(ran.empty());
    EXPECT_TRUE(FileBytes(file) == before) << "the file changed";
}

// An empty file, as an interrupted first start leaves, makes way for a new catalog.
TEST_F(ScanSessionTest, AnEmptyFileInTheCatalogsPlaceMakesWayForANewCatalog) {
    data.Write(kCatalogFileName, "");
    jobs["Scan Harddisk"] = [this] {
        Insert(*catalog, "/new/one");
        return std::string();
    };

    EXPECT_EQ(Scan().error, "");
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database", "Scan Harddisk"}));
    EXPECT_EQ(StoredRows(), 1);
}

// A fresh scan of the roots it was given checks first that each can be listed and entered: one
// that cannot stops the scan before any job, and the old catalog stays as it was. The data
// folder is open to all, so that only this check keeps the catalog from being deleted.
TEST_F(ScanSessionTest, ARootThatCannotBeListedStopsAFreshScanBeforeTheOldCatalogIsTouched) {
    test::ScanTestTree tree;
    tree.File("open/a", "1");
    tree.File("locked/b", "2");
    {
        auto old = CreateDatabase(data.Slashed());
        Insert(*old, "/old/one");
        Insert(*old, "/old/two");
    }
    const std::string file = data.File(kCatalogFileName);
    std::filesystem::permissions(data.Path(), std::filesystem::perms::all);
    std::filesystem::permissions(file, std::filesystem::perms::all);
    const std::string before = FileBytes(file);
    const std::string locked = tree.Path("locked");
    run.SetRoots({tree.Path("open"), locked});

    // For whoever runs the check: neither listed nor entered, listed only, entered only.
    for (const unsigned mode : {0000u, 0444u, 0111u}) {
        SCOPED_TRACE(mode);
        tree.Permissions("locked", mode);
        const std::string problems = test::RunUnprivileged([&]() -> std::string {
            catalog = CreateDatabase(data.Slashed());
            TSQLiteDatabase* const open = catalog.get();
            const ScanOutcome outcome = Scan();
            std::string found;
            if (outcome.error != "cannot list " + locked + ": Permission denied") {
                found += "error: " + outcome.error + "\n";
            }
            if (outcome.scanned || !ran.empty()) {
                found += "a job ran\n";
            }
            if (catalog.get() != open) {
                found += "the open catalog was closed\n";
            }
            return found;
        });
        tree.Permissions("locked", 0755);
        if (problems == "unsupported") {
            GTEST_SKIP() << "cannot give up privileges here";
        }
        EXPECT_EQ(problems, "");
        EXPECT_TRUE(FileBytes(file) == before) << "the file changed";
    }
}

TEST_F(ScanSessionTest, CatalogThatCannotBeCreatedStopsTheScanWithTheJobsReason) {
    jobs["Create Database"] = [] { return std::string("unable to open database file"); };
    EXPECT_EQ(Scan().error, "unable to open database file");
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database"}));
    EXPECT_FALSE(run.ScanRunning());
}

// The scan of one tree with the real jobs, as the command line runs it.
struct RealScan {
    explicit RealScan(const std::string& root) { run.SetRoots({root}); }
    // "Scan Now" over the fixed drives of this mount table.
    explicit RealScan(std::shared_ptr<const IMountSource> mounts) : drives(std::move(mounts)) {}
    TScanOptions options;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run{scanner, drives, options, exclusions, progress};
};

TEST(ScanSessionOnAFullDisk, EndsAtOnceWithSQLitesWordsAndKeepsTheCommittedRows) {
    test::ScanTestTree tree;
    constexpr int kFiles = 1400;
    const std::string content(1000, 'c');
    for (int i = 0; i < kFiles; ++i) {
        tree.File("folder-" + std::to_string(i / 100) + "/a-file-with-a-long-name-" +
                      std::to_string(i),
                  content);
    }
    test::TTempFolder data;
    uint64_t wholeScan = 0;
    {
        RealScan scan(tree.Root());
        std::unique_ptr<TSQLiteDatabase> catalog;
        const test::TSmallDiskVfs roomy(UINT64_MAX);
        ASSERT_EQ(RunScanNow(scan.run, catalog, data.Slashed(), scan.options).error, "");
        ASSERT_EQ(scan.run.ScannedCount(), kFiles);
        catalog.reset();
        wholeScan = test::TSmallDiskVfs::Written();
    }

    RealScan scan(tree.Root());
    ScanOutcome outcome;
    {
        std::unique_ptr<TSQLiteDatabase> catalog;
        const test::TSmallDiskVfs halfFull(wholeScan / 2);
        outcome = RunScanNow(scan.run, catalog, data.Slashed(), scan.options);
    }
    const std::string catalogFile = data.File(kCatalogFileName);
    EXPECT_TRUE(outcome.scanned);
    EXPECT_EQ(outcome.error, "cannot write " + catalogFile + ": database or disk is full");
    // Only committed batches stay, and the count says so.
    const int64_t kept = scan.run.ScannedCount();
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, kFiles);
    EXPECT_EQ(kept % kCommitBatchRows, 0);
    EXPECT_GT(scan.run.LostCount(), 0);
    EXPECT_NE(scan.run.SummaryText().find(std::to_string(scan.run.LostCount()) +
                                          " catalogued files not kept"),
              std::string::npos)
        << scan.run.SummaryText();
    // No file was read after the one whose row did not fit.
    EXPECT_EQ(scan.run.BytesHashed(),
              static_cast<uint64_t>(kept + scan.run.LostCount()) * content.size());
    EXPECT_EQ(scan.run.SkippedCount(), 0);

    TSQLiteDatabase reader(catalogFile);
    EXPECT_EQ(reader.OpenResult("PRAGMA integrity_check")->TextAt(0), "ok");
    EXPECT_EQ(reader.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0), kept);
}

// "Scan Now" does not refuse: a drive whose root cannot be listed adds no rows, and the others
// are scanned into a new catalog.
TEST(ScanSessionOverTheDrives, ADriveThatCannotBeListedDoesNotStopAFreshScan) {
    test::ScanTestTree disks;
    disks.File("locked/a", "1");
    disks.File("open/b", "2");
    disks.Permissions("locked", 0000);
    auto mounts = std::make_shared<test::FakeMountSource>();
    mounts->text = "30 1 259:3 / " + disks.Path("locked") + " rw,relatime - ext4 /dev/vdb1 rw\n" +
                   "31 1 259:4 / " + disks.Path("open") + " rw,relatime - ext4 /dev/vdc1 rw\n";
    test::TTempFolder data;
    {
        auto old = CreateDatabase(data.Slashed());
        old->RunStatement("INSERT INTO tblFiles (fldFullPath, fldFileName, fldFileSize, "
                          "fldDateCreated, fldDateModified, fldDateAccessed) VALUES "
                          "('/old/row', 'row', 0, '', '', '')");
    }
    std::filesystem::permissions(data.Path(), std::filesystem::perms::all);

    const std::string problems = test::RunUnprivileged([&]() -> std::string {
        RealScan scan(mounts);
        std::unique_ptr<TSQLiteDatabase> catalog;
        const ScanOutcome outcome = RunScanNow(scan.run, catalog, data.Slashed(), scan.options);
        std::string found;
        if (!outcome.error.empty() || !outcome.scanned) {
            found += "error: " + outcome.error + "\n";
        }
        if (scan.run.ScannedCount() != 1) {
            found += "catalogued: " + std::to_string(scan.run.ScannedCount()) + "\n";
        }
        return found;
    });
    disks.Permissions("locked", 0755);
    if (problems == "unsupported") {
        GTEST_SKIP() << "cannot give up privileges here";
    }
    EXPECT_EQ(problems, "");
    TSQLiteDatabase reader(data.File(kCatalogFileName));
    const auto rows = reader.OpenResult("SELECT fldFullPath FROM tblFiles");
    ASSERT_EQ(rows->RowCount(), 1);
    EXPECT_EQ(rows->TextAt(0), disks.Path("open/b"));
}

} // namespace
} // namespace mirelon
