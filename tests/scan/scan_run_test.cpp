#include "scan/scan_run.h"

#include "catalog/date_time.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "scan/drive_info.h"
#include "scan/file_times.h"
#include "scan/scan_files.h"
#include "session/scan_session.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/fake_mount_source.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

namespace mirelon {
namespace {

using test::FakeMountSource;
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

// A drive table in which D is the test tree (a fixed ext4 disk) and E a CD that must not be read.
std::shared_ptr<FakeMountSource> DrivesOver(const std::string& treeRoot,
                                            const std::string& cdRoot) {
    auto source = std::make_shared<FakeMountSource>();
    source->text = "30 1 259:3 / " + treeRoot + " rw,relatime - ext4 /dev/vdb1 rw\n" +
                   "31 1 11:0 / " + cdRoot + " ro,relatime - iso9660 /dev/sr0 ro\n";
    return source;
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
    std::string dataDir = dataTree.Root() + "/";
    TScanOptions options;
    TFixedExclusionProvider noExclusions{{}};
    ScriptedProgress progress;
    TScanFiles scanner;
    TcxDriveInfo drives{DrivesOver(tree.Root(), cdTree.Root())};
    std::unique_ptr<TSQLiteDatabase> catalog;

    ScanOutcome Scan(IExclusionProvider* exclusions = nullptr) {
        run.reset(); // the old run unbinds the scanner's handlers when it goes
        run = std::make_unique<TScanRun>(scanner, drives, options,
                                         exclusions ? *exclusions : noExclusions, progress);
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
    tree.NamedPipe("sub/pipe");
    tree.SymbolicLink("sub/link", tree.Path("notes.txt"));
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
    EXPECT_EQ(progress.folders.front(), tree.Root() + "/");
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
    dataTree.File("files.db", "old");
    dataTree.File("files.db-journal", std::string(4096, 'j'));
    std::string error;
    ASSERT_TRUE(DeleteCatalogFile(catalog, dataDir, error)) << error;
    EXPECT_NE(access((dataDir + "files.db").c_str(), F_OK), 0);
    EXPECT_NE(access((dataDir + "files.db-journal").c_str(), F_OK), 0);
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

TEST_F(ScanRunTest, RejectedRowsAndVanishedFilesAreSkippedAndTheScanGoesOn) {
    tree.File("one/Readme.txt", "1");
    tree.File("one/README.TXT", "2");
    tree.File("two/x", "x");
    tree.File("two/y", "y");
    tree.File("three/z", "z");
    tree.File("quote\"d \"name\".txt", "q");
    // Once the first file of "two" is in, both are deleted: the second vanishes under the scan.
    auto rowsInTwo = [&] {
        return catalog->OpenResult("SELECT COUNT(*) FROM tblFiles WHERE fldFullPath LIKE '%/two/%'")
            ->IntegerAt(0);
    };
    progress.onCount = [&](int64_t) {
        if (rowsInTwo() == 1) {
            unlink(tree.Path("two/x").c_str());
            unlink(tree.Path("two/y").c_str());
        }
    };
    ASSERT_EQ(Scan().error, "");
    auto rows = Rows();
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows.count(tree.Path("three/z")));
    EXPECT_TRUE(rows.count(tree.Path("quote\"d \"name\".txt")));
    EXPECT_EQ(rows.at(tree.Path("quote\"d \"name\".txt")).fileName, "quote\"d \"name\".txt");
    EXPECT_EQ(run->SkippedCount(), 2);
    EXPECT_EQ(run->SummaryText(), "2 files skipped");
    EXPECT_NE(run->SkippedHint().find("vanished"), std::string::npos);
    EXPECT_NE(run->SkippedHint().find("only in letter case"), std::string::npos);
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

TEST_F(ScanRunTest, AccessTimesAreWhatTheyWereBeforeTheScan) {
    const auto exe = testing::WritePeImage({});
    tree.File("a.exe", std::string(exe.begin(), exe.end()));
    tree.File("b.txt", std::string(100000, 'b'));
    const timespec old[2] = {{1577880000, 123456789}, {0, UTIME_OMIT}};
    for (const char* name : {"a.exe", "b.txt"}) {
        ASSERT_EQ(utimensat(AT_FDCWD, tree.Path(name).c_str(), old, 0), 0);
    }
    ASSERT_EQ(Scan().error, "");
    for (const char* name : {"a.exe", "b.txt"}) {
        struct stat st {};
        ASSERT_EQ(stat(tree.Path(name).c_str(), &st), 0);
        EXPECT_EQ(st.st_atim.tv_sec, old[0].tv_sec) << name;
        EXPECT_EQ(st.st_atim.tv_nsec, old[0].tv_nsec) << name;
    }
}

TEST_F(ScanRunTest, SparseFileOver4GiBGetsItsExactSize) {
    const std::string path = tree.File("big.img", "");
    ASSERT_EQ(truncate(path.c_str(), (4LL << 30) + 1), 0);
    options.SetHashMethodIndex(4); // CRC32B: the quickest over 4 GiB of holes
    ASSERT_EQ(Scan().error, "");
    const Row big = Rows().at(path);
    EXPECT_EQ(big.size, "4294967297");
    EXPECT_EQ(big.checkSum.size(), 8u);
}

} // namespace
} // namespace mirelon
