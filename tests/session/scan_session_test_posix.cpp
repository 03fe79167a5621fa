// Linux only: folders that may not be read, seen by a process that gave up root.
#include "tests/session/scan_session_fixture.h"

#include "tests/support/fake_drives.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace mirelon {
namespace {

using testing::FileBytes;
using testing::RealScan;
using testing::ScanSessionTest;

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

// "Scan Now" does not refuse: a drive whose root cannot be listed adds no rows and is named in
// the skip list with the reason, and the others are scanned into a new catalog.
TEST(ScanSessionOverTheDrives, ADriveThatCannotBeListedDoesNotStopAFreshScan) {
    test::ScanTestTree disks;
    disks.File("locked/a", "1");
    disks.File("open/b", "2");
    disks.Permissions("locked", 0000);
    const DriveMaker driveTable = test::FakeDrives(
        {{3, kDriveFixed, disks.Path("locked/")}, {4, kDriveFixed, disks.Path("open/")}});
    test::TTempFolder data;
    {
        auto old = CreateDatabase(data.Slashed());
        old->RunStatement("INSERT INTO tblFiles (fldFullPath, fldFileName, fldFileSize, "
                          "fldDateCreated, fldDateModified, fldDateAccessed) VALUES "
                          "('/old/row', 'row', 0, '', '', '')");
    }
    std::filesystem::permissions(data.Path(), std::filesystem::perms::all);

    const std::string problems = test::RunUnprivileged([&]() -> std::string {
        RealScan scan(driveTable);
        std::unique_ptr<TSQLiteDatabase> catalog;
        const ScanOutcome outcome = RunScanNow(scan.run, catalog, data.Slashed(), scan.options);
        std::string found;
        if (!outcome.error.empty() || !outcome.scanned) {
            found += "error: " + outcome.error + "\n";
        }
        if (scan.run.ScannedCount() != 1) {
            found += "catalogued: " + std::to_string(scan.run.ScannedCount()) + "\n";
        }
        if (scan.run.SkippedFolderCount() != 1 ||
            scan.run.SkippedHint() != disks.Path("locked/") + ": Permission denied" ||
            scan.run.SummaryText() != "1 folder skipped") {
            found += "reported: " + scan.run.SummaryText() + "; " + scan.run.SkippedHint() + "\n";
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
