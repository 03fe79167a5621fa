#pragma once

#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/scan_files.h"
#include "scan/scan_run.h"
#include "session/scan_session.h"
#include "tests/support/fake_drives.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirelon::testing {

using test::FakeDrives;
using test::ScanTestTree;

// Records status changes and lets a test act at a given moment of the job.
class ScriptedProgress : public IScanProgress {
public:
    std::function<void(int64_t)> onCount;
    std::function<void(const std::string&)> onFolder;
    int64_t lastCount = -1;
    std::vector<std::string> folders;

    void ScannedCount(int64_t count) override {
        lastCount = count;
        if (onCount) {
            onCount(count);
        }
    }
    void ScanningFolder(const std::string& folder) override {
        folders.push_back(folder);
        if (onFolder) {
            onFolder(folder);
        }
    }
};

// A drive table in which D is the test tree (a fixed disk) and E a CD that must not be read.
inline DriveMaker DrivesOver(const ScanTestTree& tree, const ScanTestTree& cd) {
    return FakeDrives({{3, kDriveFixed, tree.Path("")}, {4, kDriveCdRom, cd.Path("")}});
}

struct Row {
    std::string fullPath, fileName, extension, size, checkSum, created, modified, accessed, imports,
        company, internal, version;
};

class ScanRunTest : public ::testing::Test {
protected:
    ScanTestTree tree;
    ScanTestTree dataTree;
    ScanTestTree cdTree;
    std::string dataDir = dataTree.Path("");
    TScanOptions options;
    TFixedExclusionProvider noExclusions{{}};
    ScriptedProgress progress;
    TScanFiles scanner;
    TcxDriveInfo drives{DrivesOver(tree, cdTree)};
    std::unique_ptr<TSQLiteDatabase> catalog;
    // One by default, so that a test sees the walk and the writing in step on any machine.
    std::optional<int> jobs = 1;

    ScanOutcome Scan(IExclusionProvider* exclusions = nullptr) {
        run.reset(); // the old run unbinds the scanner's handlers when it goes
        run = std::make_unique<TScanRun>(scanner, drives, options,
                                         exclusions ? *exclusions : noExclusions, progress);
        run->SetJobs(jobs);
        return RunScanNow(*run, catalog, dataDir, options);
    }

    std::map<std::string, Row> Rows() {
        TSQLiteDatabase reader(dataDir + "files.db");
        auto table = reader.OpenResult("SELECT * FROM tblFiles");
        std::map<std::string, Row> rows;
        while (!table->AtEnd()) {
            Row r{table->TextOf("fldFullPath"),      table->TextOf("fldFileName"),
                  table->TextOf("fldFileExtension"), table->TextOf("fldFileSize"),
                  table->TextOf("fldCheckSum"),      table->TextOf("fldDateCreated"),
                  table->TextOf("fldDateModified"),  table->TextOf("fldDateAccessed"),
                  table->TextOf("fldImportModules"), table->TextOf("fldCompanyName"),
                  table->TextOf("fldInternalName"),  table->TextOf("fldFileVersion")};
            rows[r.fullPath] = r;
            table->MoveNext();
        }
        return rows;
    }

    static int64_t CountRows(const std::string& dbFile) {
        TSQLiteDatabase reader(dbFile);
        return reader.OpenResult("SELECT COUNT(*) AS N FROM tblFiles")->IntegerAt(0);
    }

    std::unique_ptr<TScanRun> run;
};

} // namespace mirelon::testing
