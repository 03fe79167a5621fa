// Linux only: the built mirelon-cli compared with Linux tools, stopped by signals, and on names
// and files only Linux has.
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
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace mirelon::test {
namespace {

// Linux only: names Windows does not allow (bytes that are no UTF-8, tabs, double quotes, line
// feeds).
TEST(CliEndToEnd, NamesOnlyLinuxAllowsAreListedSoTheyReadBack) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    const std::vector<std::string> same{
        folder.Write("tree/a/plain.txt", "alpha"),
        folder.Write("tree/b/bad\xff\xfe.txt", "alpha"),
        folder.Write("tree/c/tab\there \"q\".dat", "alpha"),
        folder.Write("tree/c/new\nline,comma.dat", "alpha"),
    };
    folder.Write("tree/a/other", "beta");

    const ProcessResult scan = RunCli({"scan", "--quiet", "--db", folder.Path(), tree});
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(CatalogueCount(scan.out), 5) << scan.out;
    // TSV writes tab and line feed escaped, so each name reads back whole.
    const ProcessResult duplicates = RunCli({"duplicates", "--db", folder.Path()});
    ASSERT_EQ(duplicates.exitCode, 0) << duplicates.err;
    EXPECT_EQ(DuplicateGroups(duplicates.out),
              (std::set<std::set<std::string>>{{same.begin(), same.end()}}));

    // JSON stays valid for names that are not UTF-8 and for names with quotes and tabs.
    const ProcessResult json = RunCli({"duplicates", "--db", folder.Path(), "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("bad\xEF\xBF\xBD\xEF\xBF\xBD.txt\""), std::string::npos);
    EXPECT_EQ(json.out.find('\xff'), std::string::npos);
    EXPECT_NE(json.out.find("tab\\there \\\"q\\\".dat"), std::string::npos);

    // CSV quotes the name with a line feed and a comma, and ends rows with CR LF.
    const ProcessResult csv = RunCli({"duplicates", "--db", folder.Path(), "--format", "csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")).find('\n'), std::string::npos);
    EXPECT_NE(csv.out.find("\"" + tree + "/c/new\nline,comma.dat\","), std::string::npos);
}

// Linux only: compared with md5sum, sha1sum and sha256sum, on names with a backslash and a line
// feed.
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

// Linux only: compared with md5sum. Many small files run side by side in SIMD lanes, in runs
// of consecutive arguments cut by larger files, a missing file and standard input; lines stay in
// argument order on every lane path.
TEST(CliEndToEnd, HashOfManyFilesPrintsWhatMd5sumPrintsOnEveryLanePath) {
    TTempFolder folder;
    std::vector<std::string> paths;
    for (int i = 0; i < 150; ++i) {
        // Lengths around the block edges, then longer ones; every file's bytes its own.
        const std::size_t length =
            i < 80 ? static_cast<std::size_t>(i * 3 % 130) : static_cast<std::size_t>(i) * 997;
        std::string content(length, '\0');
        for (std::size_t b = 0; b < length; ++b) {
            content[b] = static_cast<char>((b * 131 + static_cast<std::size_t>(i) * 7) % 256);
        }
        paths.push_back(folder.Write("f" + std::to_string(i), content));
        if (i == 70) {
            paths.push_back(folder.Write("large", std::string((5 << 20) + 3, 'L')));
        }
    }
    std::vector<std::string> md5sum{"md5sum"};
    md5sum.insert(md5sum.end(), paths.begin(), paths.end());
    const ProcessResult expected = RunProgram(md5sum);
    ASSERT_EQ(expected.exitCode, 0) << expected.err;

    const std::string missing = folder / "missing";
    std::vector<std::string> withMissing = paths;
    withMissing.insert(withMissing.begin() + 100, missing);
    for (const char* lanes : {"scalar", "avx2", "avx512"}) {
        std::vector<std::string> command{CliProgram(), "hash"};
        command.insert(command.end(), withMissing.begin(), withMissing.end());
        const ProcessResult actual =
            RunProgramWithEnvironment(command, {std::string("MIRELON_HASH_SIMD=") + lanes});
        EXPECT_EQ(actual.exitCode, 1) << lanes;
        EXPECT_EQ(actual.out, expected.out) << lanes;
        EXPECT_NE(actual.err.find(missing), std::string::npos) << lanes;
    }
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

// Linux only: signals (SIGINT, SIGTERM, SIGHUP) on a tree of hard links; Ctrl-C, a closed
// terminal and a service stop end a scan alike.
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

// Linux only: the drive table made from this machine's mount table.
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

// Linux only: ELF programs and libraries, compared with readelf.
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
