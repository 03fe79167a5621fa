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
#include "tests/support/scan_test_tree.h"
#include "tests/support/small_disk_vfs.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace mirelon {
namespace {

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

TEST_F(ScanSessionTest, WhatIsNotACatalogStopsTheScanBeforeAnyJobAndStaysAsItWas) {
    catalog = std::make_unique<TSQLiteDatabase>(data.File("elsewhere.db"));
    TSQLiteDatabase* const before = catalog.get();
    std::filesystem::create_directories(data.File(kCatalogFileName));
    std::ofstream(data.File(std::string(kCatalogFileName) + "/old")) << "old";

    const ScanOutcome outcome = Scan();
    EXPECT_EQ(outcome.error, data.File(kCatalogFileName) +
                                 " is not a catalog; move it away or choose another folder");
    EXPECT_FALSE(outcome.scanned);
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(catalog.get(), before); // still the open one
    EXPECT_TRUE(std::filesystem::exists(data.File(std::string(kCatalogFileName) + "/old")));
    EXPECT_FALSE(run.ScanRunning());
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

} // namespace
} // namespace mirelon
