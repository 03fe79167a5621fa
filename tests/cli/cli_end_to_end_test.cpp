// Runs the built mirelon-cli on trees made here and reads what it printed and catalogued.
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace mirelon::test {
namespace {

using Groups = std::set<std::set<std::string>>;

TEST(CliEndToEnd, ScanThenDuplicatesListsExactlyTheGroupsOfEqualContent) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::string big(100000, 'x');
    std::map<std::string, std::vector<std::string>> byContent;
    const std::vector<std::pair<std::string, std::string>> files{
        {"a/one.txt", "alpha"},
        {"b/one-copy.txt", "alpha"},
        {"c/deep/er/one.bin", "alpha"},
        {"b/bad\xff\xfe.txt", "alpha"},
        {"a/two.dat", "beta beta"},
        {"c/tab\there \"q\".dat", "beta beta"},
        {"c/new\nline,comma.dat", "beta beta"},
        {"a/unique", "gamma"},
        {"b/unique", "delta"},
        {"a/empty", ""},
        {"c/empty", ""},
        {"a/big1", big},
        {"b/big2", big},
        {"c/big3", big + "y"},
    };
    for (const auto& [name, content] : files) {
        byContent[content].push_back(folder.Write("tree/" + name, content));
    }
    Groups expected;
    for (const auto& [content, paths] : byContent) {
        if (paths.size() > 1) {
            expected.insert({paths.begin(), paths.end()});
        }
    }

    const ProcessResult scan = RunCli({"scan", "--quiet", "--db", folder.Path(), tree});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), static_cast<int64_t>(files.size())) << scan.out;

    const ProcessResult duplicates = RunCli({"duplicates", "--db", folder / "files.db"});
    ASSERT_EQ(duplicates.exitCode, 0) << duplicates.err;
    const auto lines = Lines(duplicates.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(TsvFields(lines[0]).front(), "fldFullPath");
    EXPECT_EQ(TsvFields(lines[0]).size(), 12u);
    std::map<std::string, std::set<std::string>> byChecksum;
    std::string previousChecksum;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = TsvFields(lines[i]);
        ASSERT_EQ(fields.size(), 12u) << lines[i];
        // Each group's rows are adjacent: sorted by checksum.
        EXPECT_LE(previousChecksum, fields[4]);
        previousChecksum = fields[4];
        byChecksum[fields[4]].insert(fields[0]);
    }
    Groups listed;
    for (const auto& [checksum, paths] : byChecksum) {
        listed.insert(paths);
    }
    EXPECT_EQ(listed, expected);

    // JSON stays valid for names that are not UTF-8 and for names with quotes and tabs.
    const ProcessResult json = RunCli({"duplicates", "--db", folder.Path(), "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_NE(json.out.find("bad\xEF\xBF\xBD\xEF\xBF\xBD.txt\""), std::string::npos);
    EXPECT_EQ(json.out.find('\xff'), std::string::npos);
    EXPECT_NE(json.out.find("tab\\there \\\"q\\\".dat"), std::string::npos);
    EXPECT_NE(json.out.find("\"fldFileSize\": 100000,"), std::string::npos);

    // CSV quotes the name with a line feed and a comma, and ends rows with CR LF.
    const ProcessResult csv = RunCli({"duplicates", "--db", folder.Path(), "--format", "csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")).find('\n'), std::string::npos);
    EXPECT_NE(csv.out.find("\"" + tree + "/c/new\nline,comma.dat\","), std::string::npos);
}

TEST(CliEndToEnd, HashPrintsWhatTheCoreutilsSumsPrint) {
    TTempFolder folder;
    std::string mixed;
    for (int i = 0; i < 200000; ++i) {
        mixed += static_cast<char>((i * 7919) % 251);
    }
    const std::vector<std::string> paths{
        folder.Write("empty", ""),
        folder.Write("abc", "abc"),
        folder.Write("one block", std::string(4096, 'b')),
        folder.Write("block and a byte", std::string(4097, 'c')),
        folder.Write("mixed.bin", mixed),
        folder.Write("back\\slash", "escaped"),
        folder.Write("line\nfeed", "escaped too"),
    };
    for (const auto& [method, tool] : std::vector<std::pair<std::string, std::string>>{
             {"MD5", "md5sum"}, {"SHA1", "sha1sum"}, {"SHA256", "sha256sum"}}) {
        std::vector<std::string> toolCommand{tool};
        toolCommand.insert(toolCommand.end(), paths.begin(), paths.end());
        const ProcessResult expected = RunProgram(toolCommand);
        ASSERT_EQ(expected.exitCode, 0) << expected.err;

        std::vector<std::string> arguments{"hash", "--method", method};
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        const ProcessResult actual = RunCli(arguments);
        EXPECT_EQ(actual.exitCode, 0) << actual.err;
        EXPECT_EQ(actual.out, expected.out) << method;
    }

    const std::string input = folder.Write("input", "from standard input\n");
    const ProcessResult piped = RunCli({"hash"}, input);
    EXPECT_EQ(piped.out, RunProgram({"md5sum", input}).out.substr(0, 32) + "  -\n");
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
        const std::string before = isFile ? Md5Of(catalog) : "";

        const ProcessResult scan = RunCli({"scan", "--db", folder.Path(), tree});
        EXPECT_EQ(scan.exitCode, 1) << what;
        EXPECT_EQ(scan.out, "") << what;
        EXPECT_EQ(scan.err, refusal) << what;
        EXPECT_EQ(isFile ? Md5Of(catalog) : "", before) << what;
        EXPECT_EQ(std::filesystem::exists(folder / "files.db/old"), !isFile) << what;
        EXPECT_FALSE(std::filesystem::exists(catalog + "-journal")) << what;
    }

    // A continued scan and the queries do not write into a stranger either, and say what it is
    // in words, not by the statement that failed.
    std::filesystem::remove_all(catalog);
    folder.Write("files.db", "my notes\n");
    const std::string notes = Md5Of(catalog);
    const std::string notADatabase = catalog + " is not a catalog (file is not a database)\n";
    const ProcessResult continued = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(continued.exitCode, 1);
    EXPECT_EQ(continued.out, "");
    EXPECT_EQ(continued.err, "mirelon-cli: scan: " + notADatabase);
    const ProcessResult query = RunCli({"duplicates", "--db", folder.Path()});
    EXPECT_EQ(query.exitCode, 1);
    EXPECT_EQ(query.err, "mirelon-cli: duplicates: " + notADatabase);
    EXPECT_EQ(Md5Of(catalog), notes);

    std::filesystem::remove(catalog);
    {
        TSQLiteDatabase other(catalog);
        other.RunStatement("CREATE TABLE contacts (name TEXT)");
    }
    const std::string contacts = Md5Of(catalog);
    const ProcessResult intoContacts = RunCli({"scan", "--continue", "--db", folder.Path(), tree});
    EXPECT_EQ(intoContacts.exitCode, 1);
    EXPECT_EQ(intoContacts.err, refusal);
    EXPECT_EQ(Md5Of(catalog), contacts);

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

// Waits until the scan has committed its first batch of rows. The catalog file grows only at
// a commit; its size is watched rather than queried, because a reader's lock taken just as the
// scan commits would make that commit fail.
bool WaitForFirstCommit(TRunningCli& cli, const std::string& catalogFile) {
    constexpr std::uintmax_t kGrownPastSchema = 64 * 1024;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline && cli.Running()) {
        std::error_code error;
        const auto size = std::filesystem::file_size(catalogFile, error);
        if (!error && size >= kGrownPastSchema) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

// Ctrl-C, a closed terminal and a service stop all end a scan the same way.
TEST(CliEndToEnd, EachStopSignalDuringAScanKeepsEveryRowAndAValidCatalog) {
    TTempFolder folder;
    constexpr int kFolders = 200;
    constexpr int kFilesPerFolder = 100;
    // Hard links: each one a file to the scan, far cheaper to make than 20,000 new files.
    const std::string source = folder.Write("source", "same content");
    for (int f = 0; f < kFolders; ++f) {
        const std::string sub = folder.MakeFolder("tree/" + std::to_string(f));
        for (int i = 0; i < kFilesPerFolder; ++i) {
            std::filesystem::create_hard_link(source, sub + "/" + std::to_string(i));
        }
    }
    const std::string catalog = folder / "files.db";

    for (const auto& [signal, exitCode] :
         std::vector<std::pair<int, int>>{{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
        std::filesystem::remove(catalog);
        TRunningCli cli({"scan", "--db", folder.Path(), folder / "tree"});
        ASSERT_TRUE(WaitForFirstCommit(cli, catalog)) << "the scan ended before its first commit";
        cli.Signal(signal);
        const ProcessResult result = cli.Wait();

        EXPECT_EQ(result.exitCode, exitCode) << result.out << result.err;
        const int64_t reported = CatalogueCount(result.out);
        EXPECT_GE(reported, 500) << result.out;
        EXPECT_LT(reported, kFolders * kFilesPerFolder) << "the scan was not stopped";
        EXPECT_NE(result.out.find("Scan aborted"), std::string::npos) << result.out;
        // No transaction was left open for the next opener to roll back.
        EXPECT_FALSE(std::filesystem::exists(catalog + "-journal")) << result.out << result.err;

        TSQLiteDatabase database(catalog);
        EXPECT_EQ(database.OpenResult("PRAGMA integrity_check")->TextAt(0), "ok");
        EXPECT_EQ(database.OpenResult("SELECT COUNT(*) FROM tblFiles")->IntegerAt(0), reported);
    }
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

// Whether "/" is a mount of its own here; inside a chroot it is not, and has no drive letter.
bool RootIsMounted() {
    std::ifstream mountinfo("/proc/self/mountinfo");
    std::string line;
    while (std::getline(mountinfo, line)) {
        std::istringstream fields(line);
        std::string id, parent, device, root, mountPoint;
        if (fields >> id >> parent >> device >> root >> mountPoint && mountPoint == "/") {
            return true;
        }
    }
    return false;
}

TEST(CliEndToEnd, DrivesListsTheRootAsC) {
    if (!RootIsMounted()) {
        GTEST_SKIP() << "the root is not a mount here (a chroot)";
    }
    const ProcessResult result = RunCli({"drives"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "letter\ttype\troot\tlabel\tfile_system\ttotal_bytes\tfree_bytes");
    bool rootSeen = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = TsvFields(lines[i]);
        ASSERT_EQ(fields.size(), 7u) << lines[i];
        rootSeen = rootSeen || (fields[0] == "C" && fields[2] == "/");
    }
    EXPECT_TRUE(rootSeen) << result.out;
}

// What readelf says a file needs and calls itself; nothing for a file that is not ELF.
struct ReadelfDynamic {
    std::vector<std::string> needed;
    std::string soname;
};

// ",a,b", the form of the catalog's import lists.
std::string ListText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += "," + name;
    }
    return text;
}

ReadelfDynamic RunReadelf(const std::string& path) {
    static const std::regex kNeeded(R"(\(NEEDED\) +Shared library: \[(.*)\]$)");
    static const std::regex kSoname(R"(\(SONAME\) +Library soname: \[(.*)\]$)");
    ReadelfDynamic facts;
    for (const std::string& line : Lines(RunProgram({"readelf", "-dW", path}).out)) {
        std::smatch match;
        if (std::regex_search(line, match, kNeeded)) {
            facts.needed.push_back(match[1]);
        } else if (std::regex_search(line, match, kSoname)) {
            facts.soname = match[1];
        }
    }
    return facts;
}

TEST(CliEndToEnd, ElfRowsAgreeWithReadelfAndUnusedLibrariesAreTheSetDifference) {
    if (RunProgram({"readelf", "--version"}).exitCode != 0) {
        GTEST_SKIP() << "readelf (binutils) is not installed, so there is nothing to compare with";
    }
    // A handful of this machine's programs and libraries, copied under their link names.
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    std::vector<std::string> copied;
    const auto copy = [&](const std::string& from) {
        std::error_code error;
        const std::string to = tree + "/" + std::filesystem::path(from).filename().string();
        if (std::filesystem::copy_file(from, to, error)) {
            copied.push_back(to);
        }
    };
    for (const char* program : {"ls", "cat", "readelf"}) {
        copy(std::string("/usr/bin/") + program);
    }
    for (const char* library :
         {"libc.so.6", "libm.so.6", "libz.so.1", "libelf.so.1", "libsqlite3.so.0", "libstdc++.so.6",
          "libgcc_s.so.1", "libselinux.so.1", "libpcre2-8.so.0"}) {
        for (const char* from :
             {"/usr/lib/x86_64-linux-gnu", "/lib/x86_64-linux-gnu", "/usr/lib64", "/usr/lib"}) {
            if (std::filesystem::exists(std::string(from) + "/" + library)) {
                copy(std::string(from) + "/" + library);
                break;
            }
        }
    }
    copied.push_back(folder.Write("tree/notes.txt", std::string("\x7f") + "ELF, in words only"));

    std::map<std::string, ReadelfDynamic> expected;
    std::set<std::string> needed;
    for (const std::string& path : copied) {
        expected[path] = RunReadelf(path);
        needed.insert(expected[path].needed.begin(), expected[path].needed.end());
    }
    std::set<std::string> unused;
    for (const auto& [path, facts] : expected) {
        if (!facts.soname.empty() && !needed.contains(facts.soname)) {
            unused.insert(path);
        }
    }
    // The comparison means something only with libraries on both sides of it.
    ASSERT_FALSE(unused.empty());
    ASSERT_TRUE(std::any_of(expected.begin(), expected.end(), [&](const auto& entry) {
        return !entry.second.soname.empty() && !unused.contains(entry.first);
    }));

    const ProcessResult scan = RunCli({"scan", "--quiet", "--db", folder.Path(), tree});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    TSQLiteDatabase catalog(folder / "files.db");
    const auto rows =
        catalog.OpenResult("SELECT fldFullPath, fldImportModules, fldInternalName FROM tblFiles");
    ASSERT_EQ(rows->RowCount(), static_cast<int>(copied.size()));
    for (; !rows->AtEnd(); rows->MoveNext()) {
        const std::string path = rows->TextAt(0);
        ASSERT_TRUE(expected.contains(path)) << path;
        EXPECT_EQ(rows->TextAt(1), ListText(expected[path].needed)) << path;
        EXPECT_EQ(rows->TextAt(2), expected[path].soname) << path;
    }

    const ProcessResult listed = RunCli({"unused-dlls", "--db", folder.Path()});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    const auto lines = Lines(listed.out);
    std::set<std::string> listedPaths;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        listedPaths.insert(TsvFields(lines[i]).front());
    }
    EXPECT_EQ(listedPaths, unused);
}

} // namespace
} // namespace mirelon::test
