// Scans with several jobs against scans with one: the same rows in the same fldID order, and an
// abort that keeps exactly the files the walk handed out.
#include "scan/scan_run.h"

#include "catalog/sqlite_table.h"
#include "scan/path_separator.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/scan/scan_run_fixture.h"
#include "tests/support/catalog_rows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace mirelon {
namespace {

using testing::ScanRunTest;
namespace fs = std::filesystem;

constexpr int kParallelJobs = 4;

using mirelon::testing::RowsInIdOrder;

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of(PathSeparator()) + 1);
}

class ScanRunJobsTest : public ScanRunTest {
protected:
    // Scans into a copy of the catalog as it is now (none: a fresh one) with `jobCount` jobs,
    // leaving the current catalog as it was; returns the copy's rows.
    std::vector<std::vector<std::string>> ScanCopy(int jobCount, const std::string& copyName) {
        catalog.reset();
        const std::string copy = dataTree.Folder(copyName) + PathSeparator();
        const std::string original = dataDir + "files.db";
        if (fs::exists(original)) {
            fs::copy_file(original, copy + "files.db");
        }
        const std::string kept = dataDir;
        dataDir = copy;
        jobs = jobCount;
        const ScanOutcome outcome = Scan();
        catalog.reset();
        dataDir = kept;
        EXPECT_EQ(outcome.error, "");
        EXPECT_EQ(run->Jobs(), jobCount);
        counts[jobCount] = run->Counts();
        summaries[jobCount] = run->SummaryText() + "|" + run->SkippedHint();
        return RowsInIdOrder(copy + "files.db");
    }

    void ExpectSameAsOneJob(const std::string& step) {
        const auto one = ScanCopy(1, step + "-1");
        const auto many = ScanCopy(kParallelJobs, step + "-n");
        ASSERT_FALSE(one.empty()) << step;
        EXPECT_EQ(one, many) << step;
        EXPECT_EQ(counts[1].unchanged, counts[kParallelJobs].unchanged) << step;
        EXPECT_EQ(counts[1].changed, counts[kParallelJobs].changed) << step;
        EXPECT_EQ(counts[1].added, counts[kParallelJobs].added) << step;
        EXPECT_EQ(counts[1].removed, counts[kParallelJobs].removed) << step;
        EXPECT_EQ(summaries[1], summaries[kParallelJobs]) << step;
        // The next step starts from what one job left. (Removed first: copying over a file
        // fails with mingw's library.)
        fs::remove(dataDir + "files.db");
        fs::copy_file(dataDir + "../" + step + "-1/files.db", dataDir + "files.db");
    }

    std::map<int, ScanCounts> counts;
    std::map<int, std::string> summaries;
};

TEST_F(ScanRunJobsTest, SeveralJobsGiveTheRowsOfOneInFreshContinuedAndUpdatedScans) {
    // Over 500 rows, so that batches are committed on the way; program images, empty and
    // larger files, deep folders, and names that differ in letter case only.
    testing::PeImageSpec pe;
    pe.imports = {"KERNEL32.dll"};
    pe.version.emplace();
    pe.version->strings = {{"CompanyName", u"Acme"}, {"FileVersion", u"3"}};
    const auto image = testing::WritePeImage(pe);
    for (int folder = 0; folder < 12; ++folder) {
        const std::string name = "d" + std::to_string(folder % 3) + "/f" + std::to_string(folder);
        for (int file = 0; file < 50; ++file) {
            tree.File(name + "/" + std::to_string(file) + ".txt",
                      std::string(static_cast<size_t>(file * file * 37), char('a' + file % 26)));
        }
        tree.File(name + "/tool.exe", std::string(image.begin(), image.end()));
        tree.File(name + "/empty", "");
    }
    tree.File("big/one.bin", std::string(3u << 20, 'b'));
    tree.File("deep/a/b/c/d/e/f/g/leaf", "leaf");
    // Refused by the path column as a duplicate of a path inserted earlier in the same scan.
    tree.File("D1/F1/1.TXT", "twin");
    dataDir = dataTree.Folder("main") + PathSeparator();
    ExpectSameAsOneJob("fresh");

    // Continued: new files among catalogued ones, and one whose path is catalogued in another
    // letter case (on a file system that tells them apart).
    for (int file = 0; file < 30; ++file) {
        tree.File("d1/f4/new" + std::to_string(file), "new" + std::to_string(file));
    }
    tree.File("d2/F5/late.exe", std::string(image.begin(), image.end()));
    tree.File("D0/f0/0.TXT", "twin");
    options.SetFreshScanIndex(kFreshScanContinue);
    ExpectSameAsOneJob("continued");

    // Updated: changed, gone and new files.
    for (int file = 0; file < 50; file += 7) {
        tree.File("d0/f3/" + std::to_string(file) + ".txt", "changed " + std::to_string(file));
    }
    fs::remove_all(tree.Path("d1/f7"));
    fs::remove(tree.Path("big/one.bin"));
    tree.File("d2/f8/added.exe", std::string(image.begin(), image.end()));
    options.SetFreshScanIndex(kFreshScanUpdate);
    ExpectSameAsOneJob("updated");
}

// The walk runs ahead of the writer; whenever the abort comes, the walk stops at its next folder
// and every file handed out by then is catalogued: whole folders, in the walk's order.
TEST_F(ScanRunJobsTest, AnAbortKeepsEveryFileHandedOutAndNothingMore) {
    // More files than the walk may run ahead of the writer (the queue and the reorder buffer),
    // so that an abort from the writer's thread still finds folders to leave out.
    constexpr int kFolders = 80;
    constexpr int kFilesPerFolder = 60;
    for (int folder = 0; folder < kFolders; ++folder) {
        for (int file = 0; file < kFilesPerFolder; ++file) {
            tree.File("f" + std::to_string(folder) + "/" + std::to_string(file),
                      std::to_string(folder * 1000 + file));
        }
    }
    jobs = kParallelJobs;
    // The folders whose files reached the catalog, in the order of their rows; each must be
    // whole, and they must be the first folders the walk listed.
    const auto expectWholeFoldersInWalkOrder = [&](size_t atLeastFiles) {
        const auto rows = RowsInIdOrder(dataDir + "files.db");
        EXPECT_GE(rows.size(), atLeastFiles);
        EXPECT_LT(rows.size(), size_t{kFolders * kFilesPerFolder});
        EXPECT_EQ(rows.size() % kFilesPerFolder, 0u);
        std::vector<std::string> rowFolders;
        for (const auto& row : rows) {
            if (rowFolders.empty() || rowFolders.back() != FolderOf(row[1])) {
                rowFolders.push_back(FolderOf(row[1]));
            }
        }
        // The root comes first in the walk, and holds no file; the last folder event is the one
        // at which the walk stopped.
        ASSERT_GE(progress.folders.size(), rowFolders.size() + 2);
        const std::vector<std::string> listed(progress.folders.begin() + 1,
                                              progress.folders.end() - 1);
        EXPECT_EQ(rowFolders, listed);
        EXPECT_EQ(run->ScannedCount(), static_cast<int64_t>(rows.size()));
        EXPECT_EQ(run->SummaryText(), "Scan aborted");
    };

    // From the walk's thread, as the fifth folder is about to be listed: that folder is still
    // walked, the sixth is not.
    progress.onFolder = [&](const std::string&) {
        if (progress.folders.size() == 5) {
            run->RequestAbort();
        }
    };
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(progress.folders.size(), 6u);
    expectWholeFoldersInWalkOrder(4 * kFilesPerFolder);

    // From the writer's thread, as the Abort button or Ctrl-C would come at any moment.
    progress = {};
    progress.onCount = [&](int64_t count) {
        if (count == 3 * kFilesPerFolder + 7) {
            run->RequestAbort();
        }
    };
    catalog.reset();
    ASSERT_EQ(Scan().error, "");
    expectWholeFoldersInWalkOrder(4 * kFilesPerFolder);
}

} // namespace
} // namespace mirelon
