#include "scan/scan_run.h"

#include "catalog/catalog_schema.h"
#include "catalog/date_time.h"
#include "scan/file_times.h"
#include "tests/scan/facts_test_files.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/scan/scan_run_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirelon {
namespace {

using testing::Row;
using testing::ScanRunTest;

TEST_F(ScanRunTest, FreshScanStoresOneRowPerRegularFileWithItsFacts) {
    tree.File("notes.txt", "hello");
    tree.File("sub/empty", "");
    tree.File("sub/.profile", "x");
    testing::PeImageSpec pe;
    pe.imports = {"KERNEL32.dll", "User32.DLL"};
    pe.delayImports = {"Delayed.dll"};
    pe.version = testing::VersionResourceSpec{{{"CompanyName", u"Acme"}, {"FileVersion", u"1.2"}}};
    const auto image = testing::WritePeImage(pe);
    tree.File("bin/tool.exe", std::string(image.begin(), image.end()));
    cdTree.File("on-cd.txt", "not to be read");

    ASSERT_EQ(Scan().error, "");
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(run->ScannedCount(), 4);
    EXPECT_EQ(progress.lastCount, 4);

    const Row& notes = rows.at(tree.Path("notes.txt"));
    EXPECT_EQ(notes.fileName, "notes.txt");
    EXPECT_EQ(notes.extension, ".txt");
    EXPECT_EQ(notes.size, "5");
    EXPECT_EQ(notes.checkSum, "5d41402abc4b2a76b9719d911017c592");
    EXPECT_EQ(notes.imports, "");
    EXPECT_EQ(notes.company, "");
    FileFacts facts;
    ASSERT_TRUE(ReadFileFacts(tree.Path("notes.txt"), facts));
    EXPECT_EQ(notes.modified, DateText(facts.modified));
    EXPECT_EQ(notes.accessed, DateText(facts.accessed));
    EXPECT_EQ(notes.created, DateText(facts.created));

    EXPECT_EQ(rows.at(tree.Path("sub/empty")).extension, "");
    EXPECT_EQ(rows.at(tree.Path("sub/empty")).checkSum, "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(rows.at(tree.Path("sub/.profile")).extension, ".profile");

    const Row& tool = rows.at(tree.Path("bin/tool.exe"));
    EXPECT_EQ(tool.imports, ",kernel32.dll,user32.dll,delayed.dll");
    EXPECT_EQ(tool.company, "Acme");
    EXPECT_EQ(tool.version, "1.2");
    EXPECT_EQ(tool.internal, "");

    // D was walked from its root; the CD was not touched.
    ASSERT_FALSE(progress.folders.empty());
    EXPECT_EQ(progress.folders.front(), tree.Path(""));
    for (const auto& folder : progress.folders) {
        EXPECT_EQ(folder.rfind(cdTree.Root(), 0), std::string::npos) << folder;
    }
}

TEST_F(ScanRunTest, ContinueModeSkipsCataloguedPathsAndAddsNewOnes) {
    tree.File("a.txt", "a");
    tree.File("b.txt", "b");
    ASSERT_EQ(Scan().error, "");
    ASSERT_EQ(Rows().size(), 2u);

    options.SetFreshScanIndex(kFreshScanContinue);
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(run->ScannedCount(), 0);
    EXPECT_EQ(Rows().size(), 2u);

    tree.File("c.txt", "c");
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(run->ScannedCount(), 1);
    EXPECT_EQ(Rows().size(), 3u);

    options.SetFreshScanIndex(kFreshScanYes);
    tree.File("d.txt", "d");
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(run->ScannedCount(), 4);
    EXPECT_EQ(Rows().size(), 4u);
}

// A journal a crash left behind must go with the old catalog, or it would be played back into
// the new, empty one.
TEST_F(ScanRunTest, DeletingTheCatalogTakesItsJournalAlong) {
    CreateDatabase(dataDir).reset();
    dataTree.File("files.db-journal", std::string(4096, 'j'));
    std::string error;
    ASSERT_TRUE(DeleteCatalogFile(catalog, dataDir, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dataDir + "files.db"));
    EXPECT_FALSE(std::filesystem::exists(dataDir + "files.db-journal"));
}

TEST_F(ScanRunTest, ExclusionsPagingFilesAndTheCatalogItselfGetNoRows) {
    tree.File("keep.txt", "k");
    tree.File("Temp/inner/x.txt", "x");
    tree.File("pagefile.sys", "p");
    tree.File("deep/HIBERFIL.SYS", "h");
    tree.File("deep/SwapFile.Sys", "s");
    // The catalog lives inside the walked tree.
    dataDir = tree.Path("data/");
    tree.Folder("data");

    TFixedExclusionProvider exclusions({tree.Path("TEMP")});
    ASSERT_EQ(Scan(&exclusions).error, "");
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u) << rows.begin()->first;
    EXPECT_TRUE(rows.count(tree.Path("keep.txt")));
    EXPECT_EQ(run->SkippedCount(), 0);
}

TEST_F(ScanRunTest, VanishedFilesAreSkippedAndTheScanGoesOn) {
    tree.File("two/x", "x");
    tree.File("two/y", "y");
    tree.File("three/z", "z");
    // Once the first file of "two" is in, both are deleted: the second vanishes under the scan.
    auto rowsInTwo = [&] {
        return catalog->OpenResult("SELECT COUNT(*) FROM tblFiles WHERE fldFullPath LIKE '%two%'")
            ->IntegerAt(0);
    };
    progress.onCount = [&](int64_t) {
        if (rowsInTwo() == 1) {
            std::filesystem::remove(tree.Path("two/x"));
            std::filesystem::remove(tree.Path("two/y"));
        }
    };
    ASSERT_EQ(Scan().error, "");
    auto rows = Rows();
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows.count(tree.Path("three/z")));
    EXPECT_EQ(run->SkippedCount(), 1);
    EXPECT_EQ(run->SummaryText(), "1 file skipped");
    EXPECT_NE(run->SkippedHint().find("vanished"), std::string::npos);
}

TEST_F(ScanRunTest, BatchesCommitEvery500RowsAndAnAbortKeepsEveryRow) {
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 50; ++file) {
            tree.File("f" + std::to_string(folder) + "/" + std::to_string(file), "");
        }
    }
    int64_t seenAt501 = -1;
    progress.onCount = [&](int64_t count) {
        if (count == 501) {
            seenAt501 = CountRows(dataDir + "files.db");
        }
        if (count == 750) {
            run->RequestAbort();
        }
    };
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(seenAt501, 500);
    EXPECT_EQ(CountRows(dataDir + "files.db"), 750);
    EXPECT_EQ(run->SummaryText(), "Scan aborted");
}

// An update stopped midway keeps what it rewrote and removes nothing, since it cannot know what
// it has not walked yet; the next update finishes the job.
TEST_F(ScanRunTest, AnAbortedUpdateRemovesNoRowAndTheNextOneFinishesTheJob) {
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 50; ++file) {
            tree.File("f" + std::to_string(folder) + "/" + std::to_string(file), "x");
        }
    }
    ASSERT_EQ(Scan().error, "");
    std::filesystem::remove_all(tree.Path("f0"));
    for (int file = 0; file < 50; ++file) {
        tree.File("f1/" + std::to_string(file), "y");
    }

    options.SetFreshScanIndex(kFreshScanUpdate);
    progress.onCount = [&](int64_t done) {
        if (done == 100) {
            run->RequestAbort();
        }
    };
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(CountRows(dataDir + "files.db"), 1000);
    EXPECT_EQ(run->Counts().removed, 0);
    EXPECT_EQ(run->SummaryText(), "Scan aborted");
    EXPECT_EQ(run->FilesDone(), 100);

    progress.onCount = nullptr;
    ASSERT_EQ(Scan().error, "");
    EXPECT_EQ(run->Counts().removed, 50);
    EXPECT_EQ(run->Counts().unchanged + run->Counts().changed, 950);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 950u);
    const std::string rewrittenFolder = tree.Path("f1/");
    for (const auto& [path, row] : rows) {
        const bool rewritten = path.rfind(rewrittenFolder, 0) == 0;
        EXPECT_EQ(row.checkSum, rewritten ? "415290769594460e2e485922904f345d"  // md5 of "y"
                                          : "9dd4e461268c8034f5c8564e155c67a6") // md5 of "x"
            << path;
    }
}

TEST_F(ScanRunTest, AccessTimesAreWhatTheyWereBeforeTheScan) {
    const auto exe = testing::WritePeImage({});
    tree.File("a.exe", std::string(exe.begin(), exe.end()));
    tree.File("b.txt", std::string(100000, 'b'));
    // 100 ns steps: the finest both Linux and Windows file times keep.
    const testing::UnixTime old{1577880000, 123456700};
    for (const char* name : {"a.exe", "b.txt"}) {
        testing::SetStoredTimes(tree.Path(name), old, testing::StoredModifiedTime(tree.Path(name)));
    }
    ASSERT_EQ(Scan().error, "");
    // To the millisecond, the precision of a catalog time; where reading moved the access time
    // on, the restore writes it back rounded to that.
    for (const char* name : {"a.exe", "b.txt"}) {
        const testing::UnixTime now = testing::StoredAccessTime(tree.Path(name));
        EXPECT_EQ(now.seconds, old.seconds) << name;
        EXPECT_EQ(now.nanoseconds / 1'000'000, old.nanoseconds / 1'000'000) << name;
    }
}

TEST_F(ScanRunTest, SparseFileOver4GiBGetsItsExactSize) {
    const std::string path = tree.File("big.img", "");
    std::filesystem::resize_file(path, (4ULL << 30) + 1);
    options.SetHashMethodIndex(4); // CRC32B: the quickest over 4 GiB of holes
    ASSERT_EQ(Scan().error, "");
    const Row big = Rows().at(path);
    EXPECT_EQ(big.size, "4294967297");
    EXPECT_EQ(big.checkSum.size(), 8u);
}

} // namespace
} // namespace mirelon
