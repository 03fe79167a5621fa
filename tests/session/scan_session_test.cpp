#include "tests/session/scan_session_fixture.h"

#include "tests/support/scan_test_tree.h"
#include "tests/support/small_disk_vfs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mirelon {
namespace {

using testing::FileBytes;
using testing::RealScan;
using testing::ScanSessionTest;

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

TEST_F(ScanSessionTest, CatalogThatCannotBeCreatedStopsTheScanWithTheJobsReason) {
    jobs["Create Database"] = [] { return std::string("unable to open database file"); };
    EXPECT_EQ(Scan().error, "unable to open database file");
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database"}));
    EXPECT_FALSE(run.ScanRunning());
}

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

} // namespace
} // namespace mirelon
