// The built mirelon-cli on what goes wrong for a new user: damaged catalogs and roots named
// twice.
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace mirelon::test {
namespace {

// A catalog that cannot take a row ends the scan at the first file: every later file would fail
// the same way, after being read for nothing.
TEST(CliScanFaults, ACatalogWithoutAColumnEndsTheScanAtTheFirstRow) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::string megabyte(1024 * 1024, 'm');
    for (const char* name : {"a", "b", "c"}) {
        folder.Write(std::string("tree/") + name, megabyte + name);
    }
    const std::string catalog = folder / "files.db";
    TSQLiteDatabase(catalog).RunStatement(
        "CREATE TABLE tblFiles (fldID INTEGER PRIMARY KEY, fldFullPath TEXT COLLATE NOCASE "
        "UNIQUE NOT NULL, fldFileName, fldFileExtension, fldFileSize, fldCheckSum, "
        "fldDateCreated, fldDateModified, fldDateAccessed, fldImportModules, fldCompanyName, "
        "fldInternalName)");

    const ProcessResult scan = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(scan.exitCode, 1);
    EXPECT_EQ(scan.err, "mirelon-cli: scan: " + catalog +
                            " is not a catalog (table tblFiles has no column named "
                            "fldFileVersion)\n");
    EXPECT_EQ(CatalogueCount(scan.out), 0) << scan.out;
    EXPECT_NE(scan.out.find("(1.0 MB hashed)"), std::string::npos) << scan.out;
    EXPECT_EQ(scan.out.find("skipped"), std::string::npos) << scan.out;
}

// Each file once, whatever roots name it: a root named again, by another spelling, or a root
// inside another is walked once with a note.
TEST(CliScanFaults, RootsNamedTwiceOrInsideAnotherAreWalkedOnce) {
    TTempFolder folder;
    const std::string t = folder.MakeFolder("t");
    const std::string other = folder.MakeFolder("other");
    const std::set<std::string> files{folder.Write("t/a", "1"), folder.Write("t/sub/b", "2"),
                                      folder.Write("t/sub/deeper/c", "3"),
                                      folder.Write("other/d", "4")};
    const std::string data = folder.MakeFolder("data");

    const ProcessResult scan = RunCli({"scan", "--db", data, t, folder / "t/sub", t + "/./",
                                       t + "/sub/..", other, folder / "t/sub/deeper"});
    EXPECT_EQ(scan.exitCode, 0) << scan.out << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), 4) << scan.out;
    const std::string note = "mirelon-cli: scan: ";
    EXPECT_EQ(scan.err, note + folder / "t/sub" + " is inside " + t + " and is scanned with it\n" +
                            note + t + " is named more than once; it is scanned once\n" + note + t +
                            " is named more than once; it is scanned once\n" + note +
                            folder / "t/sub/deeper" + " is inside " + t +
                            " and is scanned with it\n");
    EXPECT_EQ(CatalogPaths(folder / "data/files.db"), files);
}

} // namespace
} // namespace mirelon::test
