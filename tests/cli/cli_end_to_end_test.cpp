// Runs the built mirelon-cli on trees made here and reads what it printed and catalogued.
#include "base/utf8_path.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace mirelon::test {
namespace {

// Names in several scripts, a character outside the Basic Multilingual Plane (a surrogate pair in
// UTF-16), blanks and a comma, under a root whose own name is not ASCII, so the arguments are
// read as Unicode too.
TEST(CliEndToEnd, ScanThenDuplicatesListsExactlyTheGroupsOfEqualContent) {
    TTempFolder folder;
    const std::string treeName = "tr\xc3\xa9"
                                 "e \xe6\x97\xa5\xe6\x9c\xac";
    const std::string tree = folder.MakeFolder(treeName);
    const std::string big(100000, 'x');
    std::map<std::string, std::vector<std::string>> byContent;
    const std::vector<std::pair<std::string, std::string>> files{
        {"a/one.txt", "alpha"},
        {"b/one-copy.txt", "alpha"},
        {"c/deep/er/one.bin", "alpha"},
        {"b/caf\xc3\xa9 \xd0\xbc\xd0\xb8\xd1\x80.txt", "alpha"},
        {"a/two.dat", "beta beta"},
        {"c/\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab/emoji \xf0\x9f\x98\x80.dat",
         "beta beta"},
        {"c/comma,semicolon;.dat", "beta beta"},
        {"a/unique", "gamma"},
        {"b/unique", "delta"},
        {"a/empty", ""},
        {"c/empty", ""},
        {"a/big1", big},
        {"b/big2", big},
        {"c/big3", big + "y"},
    };
    for (const auto& [name, content] : files) {
        byContent[content].push_back(folder.Write(treeName + "/" + name, content));
    }
    std::set<std::set<std::string>> expected;
    for (const auto& [content, paths] : byContent) {
        if (paths.size() > 1) {
            expected.insert({paths.begin(), paths.end()});
        }
    }

    const ProcessResult scan = RunCli({"scan", "--quiet", "--db", folder.Path(), tree});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), static_cast<int64_t>(files.size())) << scan.out;
    EXPECT_NE(scan.out.find(" into " + folder / "files.db\n"), std::string::npos) << scan.out;

    const ProcessResult duplicates = RunCli({"duplicates", "--db", folder / "files.db"});
    ASSERT_EQ(duplicates.exitCode, 0) << duplicates.err;
    EXPECT_EQ(DuplicateGroups(duplicates.out), expected);

    // JSON and CSV carry the names as UTF-8; CSV quotes the name with a comma and ends rows
    // with CR LF.
    const ProcessResult json = RunCli({"duplicates", "--db", folder.Path(), "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_NE(json.out.find("emoji \xf0\x9f\x98\x80.dat\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"fldFileSize\": 100000,"), std::string::npos);
    const ProcessResult csv = RunCli({"duplicates", "--db", folder.Path(), "--format", "csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_NE(csv.out.find("\"" + folder / (treeName + "/c/comma,semicolon;.dat") + "\","),
              std::string::npos)
        << csv.out;
    std::size_t rows = 0;
    for (const auto& group : expected) {
        rows += group.size();
    }
    EXPECT_EQ(Lines(csv.out).size(), 1 + rows);
    EXPECT_EQ(csv.out.find("\r\n"), csv.out.find('\n') - 1);
}

TEST(CliEndToEnd, HashGoesOnAfterAFileThatCannotBeReadAndExitsWithOne) {
    TTempFolder folder;
    const std::string present = folder.Write("present", "abc");
    const ProcessResult result =
        RunCli({"hash", folder / "missing", present, folder.MakeFolder("a-folder")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "900150983cd24fb0d6963f7d28e17f72  " + present + "\n");
    const auto errors = Lines(result.err);
    ASSERT_EQ(errors.size(), 2u) << result.err;
    EXPECT_NE(errors[0].find(folder / "missing"), std::string::npos);
    EXPECT_NE(errors[1].find(folder / "a-folder"), std::string::npos);
}

// Every column but fldID, by path.
std::map<std::string, std::string> RowsByPath(const std::string& catalogFile) {
    TSQLiteDatabase catalog(catalogFile);
    const auto result = catalog.OpenResult("SELECT * FROM tblFiles");
    std::map<std::string, std::string> rows;
    for (; !result->AtEnd(); result->MoveNext()) {
        std::string facts;
        for (int column = 2; column < result->ColumnCount(); ++column) {
            facts += result->TextAt(column) + "|";
        }
        rows[result->TextAt(1)] = facts;
    }
    return rows;
}

// After edits (one that keeps the size), a deletion and additions, an update leaves the rows a
// fresh scan of the tree makes.
TEST(CliEndToEnd, AnUpdateLeavesTheRowsOfAFreshScan) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/kept", "kept");
    folder.Write("tree/grown", "1");
    folder.Write("tree/sub/same size", "abcd");
    folder.Write("tree/sub/gone", "gone");
    const std::string updated = folder.MakeFolder("updated");
    ASSERT_EQ(RunCli({"scan", "--quiet", "--db", updated, tree}).exitCode, 0);

    folder.Write("tree/grown", "1234567");
    folder.Write("tree/sub/same size", "wxyz");
    std::filesystem::remove(folder / "tree/sub/gone");
    folder.Write("tree/new/\xc3\xa9t\xc3\xa9", "new");
    const ProcessResult update = RunCli({"scan", "--update", "--quiet", "--db", updated, tree});
    ASSERT_EQ(update.exitCode, 0) << update.err;
    EXPECT_NE(update.out.find("1 removed"), std::string::npos) << update.out;

    const std::string fresh = folder.MakeFolder("fresh");
    ASSERT_EQ(RunCli({"scan", "--quiet", "--db", fresh, tree}).exitCode, 0);
    const auto rows = RowsByPath(folder / "updated/files.db");
    EXPECT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows, RowsByPath(folder / "fresh/files.db"));
}

// Hard links to one file are one file: listed once, under the path that sorts first, and links
// alone make no group; --hard-links lists every link. Windows finds them by the volume serial
// number and file index as Linux does by device and inode.
TEST(CliEndToEnd, DuplicatesListAFileOfManyLinksOnce) {
    TTempFolder folder;
    const auto link = [&](const std::string& target, const std::string& name) {
        std::filesystem::create_hard_link(PathFromUtf8(target), PathFromUtf8(folder / name));
    };
    const std::string tree = folder.MakeFolder("tree");
    link(folder.Write("tree/b-original", "copied and linked"), "tree/c-link");
    folder.Write("tree/a-copy", "copied and linked");
    link(folder.Write("tree/only-linked", "linked only"), "tree/only-linked-too");
    ASSERT_EQ(RunCli({"scan", "--quiet", "--db", folder.Path(), tree}).exitCode, 0);

    const auto listed = [&](const std::vector<std::string>& options) {
        std::vector<std::string> arguments{"duplicates", "--db", folder.Path()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const ProcessResult result = RunCli(arguments);
        std::set<std::string> paths;
        const auto lines = Lines(result.out);
        for (size_t i = 1; i < lines.size(); ++i) {
            paths.insert(TsvFields(lines[i]).front());
        }
        return paths;
    };
    EXPECT_EQ(listed({}),
              (std::set<std::string>{folder / "tree/a-copy", folder / "tree/b-original"}));
    EXPECT_EQ(listed({"--hard-links"}),
              (std::set<std::string>{folder / "tree/a-copy", folder / "tree/b-original",
                                     folder / "tree/c-link", folder / "tree/only-linked",
                                     folder / "tree/only-linked-too"}));
}

TEST(CliEndToEnd, ContinueAddsOnlyNewFilesAndAFreshScanStartsOver) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    folder.Write("tree/sub/b", "2");
    folder.Write("tree/sub/c", "3");
    const std::string catalog = folder / "files.db";

    ASSERT_EQ(RunCli({"scan", "--db", catalog, tree}).exitCode, 0);
    std::map<std::string, int64_t> idsBefore;
    {
        TSQLiteDatabase database(catalog);
        const auto rows = database.OpenResult("SELECT fldID, fldFullPath FROM tblFiles");
        for (; !rows->AtEnd(); rows->MoveNext()) {
            idsBefore[rows->TextAt(1)] = rows->IntegerAt(0);
        }
    }
    ASSERT_EQ(idsBefore.size(), 3u);

    folder.Write("tree/d", "4");
    folder.Write("tree/new/e", "5");
    const ProcessResult added = RunCli({"scan", "--continue", "--db", catalog, tree});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(CatalogueCount(added.out), 2) << added.out;
    EXPECT_EQ(RowCount(catalog), 5);
    {
        TSQLiteDatabase database(catalog);
        for (const auto& [path, id] : idsBefore) {
            const auto row = database.OpenResult(
                "SELECT fldID FROM tblFiles WHERE fldFullPath = '" + path + "'");
            ASSERT_EQ(row->RowCount(), 1) << path;
            EXPECT_EQ(row->IntegerAt(0), id) << path;
        }
    }

    EXPECT_EQ(CatalogueCount(RunCli({"scan", "--continue", "--db", catalog, tree}).out), 0);
    EXPECT_EQ(RowCount(catalog), 5);

    folder.Write("tree/f", "6");
    std::filesystem::remove(folder / "tree/a");
    const ProcessResult fresh = RunCli({"scan", "--db", catalog, tree});
    EXPECT_EQ(CatalogueCount(fresh.out), 5) << fresh.out;
    EXPECT_EQ(RowCount(catalog), 5);
}

// What stands where the catalog goes is deleted by a fresh scan only when it is an empty file
// or a catalog; anything else stops the scan and stays as it was.
TEST(CliEndToEnd, AFreshScanDeletesOnlyAnEmptyFileOrACatalog) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    folder.Write("tree/sub/b", "2");
    const std::string catalog = folder / "files.db";
    const std::string refusal = "mirelon-cli: scan: " + catalog +
                                " is not a catalog; move it away or choose another folder\n";

    const std::vector<std::pair<std::string, std::function<void()>>> strangers{
        {"a text file", [&] { folder.Write("files.db", "my notes\n"); }},
        {"another program's database",
         [&] {
             TSQLiteDatabase other(catalog);
             other.RunStatement("CREATE TABLE contacts (name TEXT)");
             other.RunStatement("INSERT INTO contacts VALUES ('Ann')");
         }},
        {"a catalog that another program added a table to",
         [&] {
             ASSERT_EQ(RunCli({"scan", "--db", folder.Path(), tree}).exitCode, 0);
             TSQLiteDatabase(catalog).RunStatement("CREATE TABLE notes (text TEXT)");
         }},
        {"a folder", [&] { folder.Write("files.db/old", "old"); }},
    };
    for (const auto& [what, make] : strangers) {
        std::filesystem::remove_all(catalog);
        make();
        const bool isFile = std::filesystem::is_regular_file(catalog);
        const std::string before = isFile ? FileContents(catalog) : "";

        const ProcessResult scan = RunCli({"scan", "--db", folder.Path(), tree});
        EXPECT_EQ(scan.exitCode, 1) << what;
        EXPECT_EQ(scan.out, "") << what;
        EXPECT_EQ(scan.err, refusal) << what;
        EXPECT_EQ(isFile ? FileContents(catalog) : "", before) << what;
        EXPECT_EQ(std::filesystem::exists(folder / "files.db/old"), !isFile) << what;
        EXPECT_FALSE(std::filesystem::exists(catalog + "-journal")) << what;
    }

    // A continued scan and the queries do not write into a stranger either, and say what it is
    // in words, not by the statement that failed.
    std::filesystem::remove_all(catalog);
    folder.Write("files.db", "my notes\n");
    const std::string notes = FileContents(catalog);
    const std::string notADatabase = catalog + " is not a catalog (file is not a database)\n";
    const ProcessResult continued = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(continued.exitCode, 1);
    EXPECT_EQ(continued.out, "");
    EXPECT_EQ(continued.err, "mirelon-cli: scan: " + notADatabase);
    const ProcessResult query = RunCli({"duplicates", "--db", folder.Path()});
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_EQ(query.err, "mirelon-cli: duplicates: " + notADatabase);
    EXPECT_EQ(FileContents(catalog), notes);

    std::filesystem::remove(catalog);
    {
        TSQLiteDatabase other(catalog);
        other.RunStatement("CREATE TABLE contacts (name TEXT)");
    }
    const std::string contacts = FileContents(catalog);
    const ProcessResult intoContacts = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(intoContacts.exitCode, 1);
    EXPECT_EQ(intoContacts.err, refusal);
    EXPECT_EQ(FileContents(catalog), contacts);

    // An empty file, as an interrupted first start leaves, makes way for a new catalog.
    std::filesystem::remove(catalog);
    folder.Write("files.db", "");
    const ProcessResult fresh = RunCli({"scan", "--db", folder.Path(), tree});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_EQ(CatalogueCount(fresh.out), 2) << fresh.out;
    EXPECT_EQ(RowCount(catalog), 2);
}

TEST(CliEndToEnd, ExcludedFoldersAndTheCatalogItselfAreNotCatalogued) {
    TTempFolder folder;
    folder.Write("keep/a", "1");
    folder.Write("skip/b", "2");
    folder.Write("skip2/c", "3");
    const ProcessResult scan = RunCli({"scan", "--db", folder.Path(), "--exclude", folder / "skip/",
                                       "--exclude=" + folder / "skip2", folder.Path()});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), 1) << scan.out;
}

TEST(CliEndToEnd, BadArgumentsExitWithTwoAndOneLineNamingTheArgument) {
    TTempFolder folder;
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no command"},
        {{"frobnicate"}, "'frobnicate'"},
        {{"scan", "--bogus"}, "'--bogus'"},
        {{"scan", "--method", "SHA3", folder.Path()}, "'SHA3'"},
        {{"scan", "--update", "--continue", folder.Path()}, "--continue and --update"},
        {{"scan", "--db", folder / "other.db", folder.Path()}, "other.db"},
        {{"scan", "--db", folder / "no/such/folder", folder.Path()},
         "--db: no such folder '" + folder / "no/such/folder'"},
        {{"old", "--db", folder / "missing"}, "--db: no such folder '" + folder / "missing'"},
        {{"scan", "--db", folder.Path(), folder / "no-such-root"}, "no-such-root"},
        {{"old", "--months", "0"}, "'0'"},
        {{"duplicates", "--format", "xml"}, "'xml'"},
    };
    for (const auto& [arguments, named] : cases) {
        const ProcessResult result = RunCli(arguments);
        const std::string shown = arguments.empty() ? "(none)" : arguments.front();
        EXPECT_EQ(result.exitCode, 2) << shown;
        EXPECT_TRUE(result.out.empty()) << shown;
        ASSERT_FALSE(result.err.empty()) << shown;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_NE(result.err.find(named), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "files.db"));
}

TEST(CliEndToEnd, EveryCommandHasHelp) {
    for (const std::string command :
         {"scan", "duplicates", "remove-duplicates", "old", "unused-dlls", "drives", "hash"}) {
        const ProcessResult result = RunCli({command, "--help"});
        EXPECT_EQ(result.exitCode, 0) << command;
        EXPECT_EQ(result.out.rfind("Usage: mirelon-cli " + command, 0), 0u) << result.out;
    }
    const ProcessResult overview = RunCli({"--help"});
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_NE(overview.out.find("unused-dlls"), std::string::npos);
}

TEST(CliEndToEnd, QueriesWithoutACatalogFailWithoutMakingOne) {
    TTempFolder folder;
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"old"}, {"remove-duplicates", "--keep", "oldest"}}) {
        std::vector<std::string> arguments = command;
        arguments.insert(arguments.end(), {"--db", folder.Path()});
        const ProcessResult result = RunCli(arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(folder / "files.db"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "files.db"));
    }
}

} // namespace
} // namespace mirelon::test
