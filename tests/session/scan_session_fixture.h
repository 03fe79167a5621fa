#pragma once

#include "catalog/catalog_schema.h"
#include "catalog/catalog_statements.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/exclusion_provider.h"
#include "scan/path_separator.h"
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
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mirelon::testing {

// The file's bytes, to tell whether it changed; a folder has none.
inline std::string FileBytes(const std::string& path) {
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

// The scan with the real jobs, as the command line runs it: of one tree, or "Scan Now" over the
// fixed drives of a drive table.
struct RealScan {
    explicit RealScan(const std::string& root) { run.SetRoots({root}); }
    explicit RealScan(DriveMaker driveTable) : drives(std::move(driveTable)) {}
    TScanOptions options;
    TScanFiles scanner;
    TcxDriveInfo drives;
    TEmptyExclusionProvider exclusions;
    TNullScanProgress progress;
    TScanRun run{scanner, drives, options, exclusions, progress};
};

} // namespace mirelon::testing
