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

TEST_F(ScanSessionTest, OldCatalogThatCannotBeDeletedStopsTheScanBeforeAnyJob) {
    catalog = std::make_unique<TSQLiteDatabase>(data.File("elsewhere.db"));
    // A folder in the catalog's place cannot be deleted while it holds a file.
    std::filesystem::create_directories(data.File(kCatalogFileName));
    std::ofstream(data.File(std::string(kCatalogFileName) + "/old")) << "old";

    const ScanOutcome outcome = Scan();
    EXPECT_EQ(outcome.error.rfind("Cannot delete the old catalog: ", 0), 0u) << outcome.error;
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(catalog, nullptr); // closed, as a fresh scan does first
    EXPECT_TRUE(std::filesystem::exists(data.File(std::string(kCatalogFileName) + "/old")));
    EXPECT_FALSE(run.ScanRunning());
}

TEST_F(ScanSessionTest, CatalogThatCannotBeCreatedStopsTheScanWithTheJobsReason) {
    jobs["Create Database"] = [] { return std::string("unable to open database file"); };
    EXPECT_EQ(Scan().error, "unable to open database file");
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database"}));
    EXPECT_FALSE(run.ScanRunning());
}

} // namespace
} // namespace mirelon
