#include "catalog/sqlite_exception.h"
#include "query/imported_modules.h"
#include "query/query_jobs.h"
#include "query/result_loading.h"
#include "tests/query/recording_grid_sink.h"
#include "tests/query/test_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace mirelon {
namespace {

using Texts = std::vector<std::string>;

Texts Sorted(Texts texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

ResultRow FilledRow() {
    ResultRow row;
    row[0] = "stale";
    return row;
}

TEST(FindDuplicateFilesTest, ReturnsSharedCheckSumsButNotUnreadableFiles) {
    TTestCatalog catalog;
    catalog.Insert({"/a/one.txt", "aaaa"});
    catalog.Insert({"/b/one.txt", "aaaa"});
    catalog.Insert({"/c/single.txt", "bbbb"});
    catalog.Insert({"/d/locked1.sys", ""});
    catalog.Insert({"/d/locked2.sys", ""});
    catalog.Insert({"/d/locked3.sys", ""});
    TRecordingGridSink grid;
    grid.rows.push_back(FilledRow());

    EXPECT_EQ(FindDuplicateFiles(catalog.Database(), grid), 2u);
    EXPECT_EQ(Sorted(grid.Column(0)), (Texts{"/a/one.txt", "/b/one.txt"}));
    EXPECT_EQ(grid.clears, 1);
}

TEST(FindDuplicateFilesTest, NoDuplicatesEmptiesTheGrid) {
    TTestCatalog catalog;
    catalog.Insert({"/a/one.txt", "aaaa"});
    catalog.Insert({"/a/two.txt", ""});
    catalog.Insert({"/a/three.txt", ""});
    TRecordingGridSink grid;
    grid.rows.push_back(FilledRow());

    EXPECT_EQ(FindDuplicateFiles(catalog.Database(), grid), 0u);
    EXPECT_TRUE(grid.rows.empty());
}

TEST(FindDuplicateFilesTest, FailingQueryLeavesTheGridAlone) {
    TTestCatalog catalog;
    catalog.Database().RunStatement("DROP TABLE tblFiles;");
    TRecordingGridSink grid;
    grid.rows.push_back(FilledRow());

    EXPECT_THROW(FindDuplicateFiles(catalog.Database(), grid), ESQLiteException);
    EXPECT_EQ(grid.clears, 0);
    EXPECT_EQ(grid.rows.size(), 1u);
}

TEST(FindOldFilesTest, BothBoundsAreInclusive) {
    TTestCatalog catalog;
    for (const char* accessed : {"2006-03-14 23:59:59", "2006-03-15", "2010-05-05 12:00:00",
                                 "2015-03-15 10:30:00", "2015-03-15 10:30:01", "2016-03-01"}) {
        catalog.Insert({std::string("/f/") + accessed, "c", accessed});
    }
    TRecordingGridSink grid;
    const TDateTime now = EncodeDateTime({2016, 3, 15, 10, 30, 0, 0});

    EXPECT_EQ(FindOldFiles(catalog.Database(), grid, 12, now), 3u);
    EXPECT_EQ(Sorted(grid.Column(kDateAccessedColumn)),
              (Texts{"2006-03-15", "2010-05-05 12:00:00", "2015-03-15 10:30:00"}));
}

TEST(FindOldFilesTest, ExactlyOneMatchingRowIsLoaded) {
    TTestCatalog catalog;
    catalog.Insert({"/old.txt", "c", "2012-01-01"});
    catalog.Insert({"/new.txt", "c", "2016-03-10"});
    TRecordingGridSink grid;
    grid.rows.push_back(FilledRow());

    EXPECT_EQ(FindOldFiles(catalog.Database(), grid, 1, EncodeDate(2016, 3, 15)), 1u);
    ASSERT_EQ(grid.rows.size(), 1u);
    EXPECT_EQ(grid.rows[0][0], "/old.txt");
}

TEST(FindUnusedDllsTest, ImportsMatchWithoutRegardToCase) {
    TTestCatalog catalog;
    catalog.Insert({"/w/a.dll", "1"});
    catalog.Insert({"/w/b.dll", "2"});
    catalog.Insert({"/w/x.exe", "3", "2015-01-01", ",kernel32.dll,A.DLL"});
    catalog.Insert({"/w/readme.txt", "4"});
    TRecordingGridSink grid;

    EXPECT_EQ(FindUnusedDlls(catalog.Database(), grid), 1u);
    EXPECT_EQ(grid.Column(kFileNameColumn), (Texts{"b.dll"}));
}

TEST(FindUnusedDllsTest, ExtensionInAnyCaseAndEveryImporterCounts) {
    TTestCatalog catalog;
    catalog.Insert({"/w/Upper.DLL", "1"});
    catalog.Insert({"/w/used.Dll", "2"});
    catalog.Insert({"/w/other.dll", "3", "2015-01-01", ",upper.dll"});
    catalog.Insert({"/w/tool.exe", "4", "2015-01-01", ",kernel32.dll,used.dll"});
    catalog.Insert({"/w/dll", "5"});
    TRecordingGridSink grid;
    grid.rows.push_back(FilledRow());

    EXPECT_EQ(FindUnusedDlls(catalog.Database(), grid), 1u);
    EXPECT_EQ(grid.Column(kFileNameColumn), (Texts{"other.dll"}));
}

// ELF rows as a scan writes them: needed libraries with their letter case, the soname as
// internal name, no company name or file version.
TTestCatalog::Row ElfRow(const std::string& path, const std::string& needed,
                         const std::string& soname = "") {
    TTestCatalog::Row row{path, "c", "2015-01-01", needed};
    row.companyName = "";
    row.internalName = soname;
    row.fileVersion = "";
    return row;
}

TEST(FindUnusedDllsTest, SharedLibrariesWhoseSonameNothingNeedsOneStepLetterCaseKept) {
    TTestCatalog catalog;
    catalog.Insert(ElfRow("/usr/bin/tool", ",libUsed.so.1,libc.so.6"));
    catalog.Insert(ElfRow("/usr/lib/libUsed.so.1.2", ",libc.so.6", "libUsed.so.1"));
    catalog.Insert(ElfRow("/usr/lib/libc.so.6", "", "libc.so.6"));
    // Needed only by a library nobody needs: still used, the search is one step deep.
    catalog.Insert(ElfRow("/usr/lib/libOrphan.so.3", ",libDeep.so.1,libc.so.6", "libOrphan.so.3"));
    catalog.Insert(ElfRow("/usr/lib/libDeep.so.1", ",libc.so.6", "libDeep.so.1"));
    // Needed in another letter case: the loader would not take it.
    catalog.Insert(ElfRow("/usr/lib/libCase.so.1", ",libc.so.6", "libCase.so.1"));
    catalog.Insert(ElfRow("/usr/bin/other", ",libcase.so.1,libc.so.6"));
    // A Windows import of the same name does not count either: it is stored lower-cased.
    catalog.Insert({"/w/x.exe", "1", "2015-01-01", ",libcase.so.1"});
    // Program images with a version resource are no shared libraries, whatever their name.
    catalog.Insert({"/w/setup.exe", "2", "2015-01-01", ",kernel32.dll"});
    catalog.Insert({"/w/unused.dll", "3"});
    TRecordingGridSink grid;

    EXPECT_EQ(FindUnusedDlls(catalog.Database(), grid), 3u);
    EXPECT_EQ(Sorted(grid.Column(0)),
              (Texts{"/usr/lib/libCase.so.1", "/usr/lib/libOrphan.so.3", "/w/unused.dll"}));
}

TEST(FindUnusedDllsTest, AnElfDllIsListedOnceWhenEitherOfItsNamesIsUnused) {
    TTestCatalog catalog;
    catalog.Insert(ElfRow("/lib/both.dll", "", "libBoth.so"));
    catalog.Insert(ElfRow("/lib/byname.dll", "", "libByName.so"));
    catalog.Insert(ElfRow("/lib/bysoname.dll", "", "libBySoname.so"));
    catalog.Insert(ElfRow("/lib/neither.dll", "", "libNeither.so"));
    catalog.Insert(ElfRow("/bin/user", ",libBoth.so,BOTH.DLL,BYNAME.DLL,libBySoname.so"));
    TRecordingGridSink grid;

    EXPECT_EQ(FindUnusedDlls(catalog.Database(), grid), 3u);
    EXPECT_EQ(Sorted(grid.Column(0)),
              (Texts{"/lib/byname.dll", "/lib/bysoname.dll", "/lib/neither.dll"}));
}

TEST(ImportedModulesTest, SplitsListsKeepingNamesAsWritten) {
    ModuleNameSet names;
    AddImportedModules(",KERNEL32.dll,,user32.dll", names);
    AddImportedModules("", names);
    AddImportedModules("gdi32.dll,user32.dll", names);
    EXPECT_EQ(names, (ModuleNameSet{"KERNEL32.dll", "user32.dll", "gdi32.dll"}));
    EXPECT_EQ(LowerCased(names), (ModuleNameSet{"kernel32.dll", "user32.dll", "gdi32.dll"}));
}

TEST(ResultLoadingTest, CellsFollowGridColumnOrder) {
    TTestCatalog catalog;
    catalog.Insert({"/w/x.exe", "abc", "2015-03-15 10:30:00", ",k.dll", "5000000000"});
    const auto result = catalog.Database().OpenResult("SELECT * FROM tblFiles");
    const ResultRow row = LoadResultRow(*result);
    EXPECT_EQ(row, (ResultRow{"/w/x.exe", "x.exe", ".exe", "5000000000", "abc", "2001-02-03",
                              "2004-05-06 07:08:09", "2015-03-15 10:30:00", ",k.dll", "Company",
                              "Internal", "1.2.3"}));
}

TEST(ResultLoadingTest, LargeResultsAreHandedOverInBatches) {
    TTestCatalog catalog;
    catalog.Database().StartTransaction();
    const std::size_t count = 2 * kRowsPerHandOver + 7;
    for (std::size_t i = 0; i < count; ++i) {
        catalog.Insert({"/many/" + std::to_string(i), "same"});
    }
    catalog.Database().CommitTransaction();
    TRecordingGridSink grid;

    EXPECT_EQ(FindDuplicateFiles(catalog.Database(), grid), count);
    EXPECT_EQ(grid.handOvers, (std::vector<std::size_t>{kRowsPerHandOver, kRowsPerHandOver, 7}));
    EXPECT_EQ(grid.rows.back()[kCheckSumColumn], "same");
}

} // namespace
} // namespace mirelon
