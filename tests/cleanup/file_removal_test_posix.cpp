// Linux only: removals checked against the freedesktop.org trash they leave behind.
#include "catalog/catalog_format.h"
#include "cleanup/file_removal.h"
#include "cleanup/keep_rules.h"
#include "hash/hash_service.h"
#include "query/duplicate_filters.h"
#include "query/query_jobs.h"
#include "query/result_loading.h"
#include "scan/file_times.h"
#include "tests/query/recording_grid_sink.h"
#include "tests/query/test_catalog.h"
#include "tests/support/scan_test_tree.h"
#include "tests/support/test_trash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace mirelon {
namespace {

namespace fs = std::filesystem;

const int32_t kMd5 = HashMethodByName("MD5");

// Files on disk, their rows in a catalog, and a trash of the test's own.
class FileRemovalTest : public testing::Test {
protected:
    // Writes the file and catalogues it with its size and checksum by `method`.
    std::string Catalogue(const std::string& relative, const std::string& content,
                          int32_t method = kMd5) {
        const std::string path = tree.File(relative, content);
        std::string checkSum;
        EXPECT_EQ(HashFile(method, path, checkSum), kHashOk);
        catalog.Insert(
            {.fullPath = path, .checkSum = checkSum, .fileSize = std::to_string(content.size())});
        return path;
    }

    std::set<std::string> CatalogPaths() {
        std::set<std::string> paths;
        const auto result = catalog.Database().OpenResult("SELECT fldFullPath FROM tblFiles");
        for (; !result->AtEnd(); result->MoveNext()) {
            paths.insert(result->TextAt(0));
        }
        return paths;
    }

    FileRecord RowOf(const std::string& path) {
        const auto result = catalog.Database().OpenResult(
            "SELECT * FROM tblFiles WHERE fldFullPath = '" + path + "'");
        EXPECT_EQ(result->RowCount(), 1);
        return FileRecordOf(LoadResultRow(*result));
    }

    static void Overwrite(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }

    test::ScanTestTree tree;
    test::TTestTrash trash{tree.Folder("data")};
    TTestCatalog catalog;
};

// The whole road: a duplicate search, "keep the oldest" in each group, and the selected files
// removed; files that changed or vanished since the scan stay (with their rows), and every
// group keeps a copy on disk.
TEST_F(FileRemovalTest, SelectedCopiesGoToTheTrashAndOnlyTheirRowsLeaveTheCatalog) {
    std::map<std::string, std::vector<std::string>> groups; // content -> paths
    for (const std::string content : {"alpha", "beta!", "gamma"}) {
        for (const std::string folder : {"a", "b", "c", "d"}) {
            if (content == "beta!" && folder > "b") {
                continue;
            }
            groups[content].push_back(Catalogue(folder + "/" + content + ".txt", content));
        }
    }
    Catalogue("single.txt", "single");
    const std::string changed = groups["gamma"][2];
    Overwrite(changed, "GAMMA"); // same size, other bytes
    const std::string vanished = groups["beta!"][1];
    fs::remove(vanished);
    const std::string grown = groups["alpha"][3];
    Overwrite(grown, "alpha and more");

    TRecordingGridSink found;
    FindDuplicateFiles(catalog.Database(), found);
    std::vector<DuplicateCandidate> candidates;
    for (const ResultRow& row : found.rows) {
        candidates.push_back(
            {row[kFullPathColumn], row[kDateModifiedColumn],
             DuplicateGroupKey(row[kCheckSumColumn], row[kFileNameColumn], false)});
    }
    const DuplicateSelection selection = SelectDuplicates(candidates, KeepRule::Oldest);
    std::vector<FileRecord> chosen;
    for (std::size_t i = 0; i < found.rows.size(); ++i) {
        if (selection.selected[i]) {
            chosen.push_back(FileRecordOf(found.rows[i]));
        }
    }
    ASSERT_EQ(chosen.size(), 7u); // all but a/ of each group, which sorts first

    std::vector<std::string> heard;
    const auto outcomes =
        RemoveCataloguedFiles(catalog.Database(), chosen, {.likelyHashMethod = kMd5},
                              [&](std::size_t index, const RemovalOutcome&) {
                                  heard.push_back(chosen[index].path);
                                  return true;
                              });
    ASSERT_EQ(outcomes.size(), chosen.size());
    EXPECT_EQ(heard.size(), chosen.size());

    std::set<std::string> removed;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::string& path = chosen[i].path;
        const RemovalOutcome& outcome = outcomes[i];
        if (path == changed) {
            EXPECT_EQ(outcome.reason, "changed since the scan (its checksum differs)");
        } else if (path == vanished) {
            EXPECT_EQ(outcome.reason, "No such file or directory");
        } else if (path == grown) {
            EXPECT_EQ(outcome.reason, "changed since the scan (14 bytes, catalogued 5)");
        } else {
            EXPECT_TRUE(outcome.removed && outcome.rowRemoved) << path << ": " << outcome.reason;
            removed.insert(path);
            const auto entry = trash.EntryFrom(path);
            ASSERT_TRUE(entry) << path;
            EXPECT_EQ(entry->content, fs::path(path).stem().string());
            continue;
        }
        EXPECT_FALSE(outcome.removed || outcome.rowRemoved) << path;
    }
    EXPECT_EQ(removed.size(), 4u);
    EXPECT_EQ(trash.RecordNames().size(), 4u);

    // Rows leave the catalog only for the files this run took off the disk.
    std::set<std::string> expectedRows;
    for (const auto& [content, paths] : groups) {
        for (const std::string& path : paths) {
            if (!removed.contains(path)) {
                expectedRows.insert(path);
            }
        }
        // Every group keeps a copy with its content on disk.
        EXPECT_TRUE(std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
            std::ifstream in(path);
            std::string text;
            in >> text;
            return fs::exists(path) && text == content;
        })) << content;
    }
    expectedRows.insert(tree.Path("single.txt"));
    EXPECT_EQ(CatalogPaths(), expectedRows);
}

TEST_F(FileRemovalTest, DryRunChecksEachFileAndChangesNothing) {
    const std::string same = Catalogue("same.txt", "same");
    const std::string changed = Catalogue("changed.txt", "abcd");
    Overwrite(changed, "dcba");
    const std::vector<FileRecord> files{RowOf(same), RowOf(changed)};
    const auto outcomes = RemoveCataloguedFiles(catalog.Database(), files,
                                                {.likelyHashMethod = kMd5, .dryRun = true});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].removed);
    EXPECT_FALSE(outcomes[0].rowRemoved);
    EXPECT_FALSE(outcomes[1].removed);
    EXPECT_EQ(outcomes[1].reason, "changed since the scan (its checksum differs)");
    EXPECT_TRUE(fs::exists(same));
    EXPECT_EQ(CatalogPaths().size(), 2u);
    EXPECT_FALSE(fs::exists(trash.Folder()));
}

TEST_F(FileRemovalTest, DeletedForGoodLeavesNothingInTheTrashAndAStopEndsTheRun) {
    const std::string first = Catalogue("1.txt", "one");
    const std::string second = Catalogue("2.txt", "two");
    const std::vector<FileRecord> files{RowOf(first), RowOf(second)};
    const auto outcomes =
        RemoveCataloguedFiles(catalog.Database(), files,
                              {.kind = RemovalKind::DeletePermanently, .likelyHashMethod = kMd5},
                              [](std::size_t, const RemovalOutcome&) { return false; });
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].removed && outcomes[0].rowRemoved);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::exists(second));
    EXPECT_EQ(CatalogPaths(), std::set<std::string>{second});
    EXPECT_FALSE(fs::exists(trash.Folder()));
}

// The stamps and the method a catalog records decide the check before anything is hashed.
TEST_F(FileRemovalTest, RecordedStampsAndMethodDecideTheCheck) {
    PrepareCatalogFormat(catalog.Database());
    const std::string trusted = Catalogue("trusted.txt", "trusted");
    const std::string recent = Catalogue("recent.txt", "recent");
    const std::string other = Catalogue("crc.txt", "by crc32", HashMethodByName("CRC32"));
    const auto stampRow = [&](const std::string& path, int64_t changedNs) {
        FileStamp stamp;
        ASSERT_TRUE(ReadFileStamp(path, stamp));
        catalog.Database().RunStatement(
            "INSERT INTO tblFileStamps (fldID, fldDevice, fldInode, fldSize, fldModifiedNs, "
            "fldChangedNs) SELECT fldID, " +
            std::to_string(static_cast<int64_t>(stamp.device)) + ", " +
            std::to_string(static_cast<int64_t>(stamp.inode)) + ", " + std::to_string(stamp.size) +
            ", " + std::to_string(stamp.modifiedNs) + ", " +
            std::to_string(changedNs < 0 ? stamp.changedNs : changedNs) +
            " FROM tblFiles WHERE fldFullPath = '" + path + "'");
    };
    stampRow(trusted, -1);
    stampRow(recent, 0); // the scan read it just after it was written

    // A trusted stamp vouches for the file without reading it: a wrong checksum goes unseen.
    FileRecord file = RowOf(trusted);
    file.checkSum = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(CheckCataloguedFile(catalog.Database(), file, {.likelyHashMethod = kMd5}), "");
    // One the scan did not trust leaves it to the checksum.
    file = RowOf(recent);
    file.checkSum = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(CheckCataloguedFile(catalog.Database(), file, {.likelyHashMethod = kMd5}),
              "changed since the scan (its checksum differs)");
    EXPECT_EQ(CheckCataloguedFile(catalog.Database(), RowOf(recent), {.likelyHashMethod = kMd5}),
              "");

    // Without a recorded method a CRC32 checksum is found among the methods of its length; a
    // catalog that records ADLER32 made every checksum with it.
    EXPECT_EQ(CheckCataloguedFile(catalog.Database(), RowOf(other), {.likelyHashMethod = kMd5}),
              "");
    RecordCatalogFormat(catalog.Database(), "ADLER32");
    EXPECT_EQ(CheckCataloguedFile(catalog.Database(), RowOf(other), {.likelyHashMethod = kMd5}),
              "changed since the scan (its checksum differs)");

    // Removing a row takes its stamp along.
    const RemovalOutcome outcome =
        RemoveCataloguedFile(catalog.Database(), RowOf(trusted), {.likelyHashMethod = kMd5});
    EXPECT_TRUE(outcome.removed && outcome.rowRemoved) << outcome.reason;
    EXPECT_EQ(catalog.Database().OpenResult("SELECT COUNT(*) FROM tblFileStamps")->IntegerAt(0), 1);
}

} // namespace
} // namespace mirelon
