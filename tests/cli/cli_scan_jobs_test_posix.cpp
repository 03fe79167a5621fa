// Linux only: names no other platform allows, files of another user, the sqlite3 shell.
// The command line with one job and with four, against each other and against md5sum.
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace mirelon::test {
namespace {

namespace fs = std::filesystem;

using mirelon::testing::RowsInIdOrder;

// md5sum's checksum of every file under the tree, by full path; -z keeps names as they are.
std::map<std::string, std::string> Md5sumOfTree(const std::string& tree) {
    const ProcessResult result =
        RunProgram({"sh", "-c", "find \"$0\" -type f -print0 | xargs -0 md5sum -z", tree});
    std::map<std::string, std::string> sums;
    size_t start = 0;
    for (size_t end; (end = result.out.find('\0', start)) != std::string::npos; start = end + 1) {
        const std::string line = result.out.substr(start, end - start);
        sums[line.substr(34)] = line.substr(0, 32);
    }
    return sums;
}

// The summary without what differs from run to run: the time and the catalog's folder.
std::string Summary(const std::string& out) {
    return std::regex_replace(out, std::regex(" in [0-9.]+ s into .*/files.db"), "");
}

TEST(CliScanJobs, FourJobsCatalogueHostileTreesAsOneDoesAndAsMd5sumReads) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    // Enough rows for batches to be committed on the way.
    for (int sub = 0; sub < 6; ++sub) {
        for (int file = 0; file < 110; ++file) {
            folder.Write("tree/many" + std::to_string(sub) + "/" + std::to_string(file),
                         std::string(static_cast<size_t>(file * 97), char('a' + sub)));
        }
    }
    const std::vector<std::string> hostile = {
        "quote\"d 'single'",
        "new\nline",
        "tab\there",
        "cr\rreturn",
        "bad\xff\xfe utf-8",
        "-leading-dash",
        "back\\slash",
        "semi;colon,comma",
        "\xc3\xa4\xc3\xb6 \xe2\x82\xac",
        "trailing space ",
        "%s%n%x",
        std::string(255, 'L'),
    };
    for (const std::string& name : hostile) {
        folder.Write("tree/hostile/" + name, "content of " + name);
        folder.Write("tree/hostile/" + name.substr(0, 200) + ".d/inner", name);
    }
    testing::PeImageSpec pe;
    pe.imports = {"KERNEL32.dll", "ADVAPI32.dll"};
    pe.version.emplace();
    pe.version->strings = {
        {"CompanyName", u"Quote \" Co"}, {"InternalName", u"in'ternal"}, {"FileVersion", u"1.0"}};
    folder.Write("tree/programs/tool.exe", testing::WritePeImage(pe));
    fs::copy_file("/bin/ls", tree + "/programs/ls");
    fs::copy_file("/bin/sh", tree + "/programs/sh");
    // Lengths around MD5's block edges, files that start like program images but are none, and
    // one too large to share the lanes, among them.
    for (int i = 0; i < 140; ++i) {
        const size_t length =
            i < 80 ? static_cast<size_t>(i * 3 % 130) : static_cast<size_t>(i) * 997;
        std::string content(length, '\0');
        for (size_t b = 0; b < length; ++b) {
            content[b] = static_cast<char>((b * 131 + static_cast<size_t>(i) * 7) % 256);
        }
        folder.Write("tree/sizes/" + std::to_string(i), content);
        if (i == 90) {
            folder.Write("tree/sizes/large", std::string((5 << 20) + 3, 'L'));
        }
    }
    for (const std::string stub : {"M", "MZ", "MZ!",
                                   "\x7F"
                                   "EL",
                                   "\x7F"
                                   "ELF",
                                   "\x7F"
                                   "ELF!"}) {
        folder.Write("tree/stubs/" + std::to_string(stub.size()) + stub.substr(1), stub);
    }
    folder.Write("tree/locked/secret", "not for others");
    folder.Write("tree/locked/also", "nor this");
    folder.Write("tree/empty", "");
    const std::string one = folder.MakeFolder("one");
    const std::string four = folder.MakeFolder("four");
    for (const char* lanes : {"scalar", "avx2", "avx512"}) {
        folder.MakeFolder(std::string("four-") + lanes);
    }

    // As a user who may not read the locked files, where one can be had.
    const bool unprivileged = UnprivilegedRunUnavailable().empty();
    if (unprivileged) {
        GiveToUnprivilegedUser(folder.Path());
    }
    fs::permissions(tree + "/locked/secret", fs::perms::none);
    fs::permissions(tree + "/locked/also", fs::perms::owner_write);
    const auto scan = [&](const std::string& jobs, const std::string& data) {
        const std::vector<std::string> arguments = {"scan", "--quiet", "--jobs", jobs,
                                                    "--db", data,      tree};
        return unprivileged ? RunCliUnprivileged(arguments) : RunCli(arguments);
    };
    const ProcessResult byOne = scan("1", one);
    const ProcessResult byFour = scan("4", four);
    const auto rows = RowsInIdOrder(one + "/files.db");
    ASSERT_EQ(rows.size(), 6u * 110 + 2 * hostile.size() + 6 + 141 + 6);
    // Several jobs hash small files side by side in SIMD lanes: each path the processor has.
    for (const char* lanes : {"scalar", "avx2", "avx512"}) {
        SCOPED_TRACE(lanes);
        ::setenv("MIRELON_HASH_SIMD", lanes, 1);
        const ProcessResult byLanes = scan("4", four + "-" + lanes);
        ::unsetenv("MIRELON_HASH_SIMD");
        EXPECT_EQ(byLanes.exitCode, byOne.exitCode) << byLanes.err;
        EXPECT_EQ(Summary(byLanes.out), Summary(byOne.out));
        EXPECT_EQ(RowsInIdOrder(four + "-" + lanes + "/files.db"), rows);
    }
    fs::permissions(tree + "/locked/secret", fs::perms::owner_all);
    fs::permissions(tree + "/locked/also", fs::perms::owner_all);

    EXPECT_EQ(byOne.exitCode, unprivileged ? 1 : 0) << byOne.err;
    EXPECT_EQ(byFour.exitCode, byOne.exitCode) << byFour.err;
    EXPECT_EQ(Summary(byFour.out), Summary(byOne.out));
    EXPECT_EQ(RowsInIdOrder(four + "/files.db"), rows);

    // Each catalog is one file again, which the sqlite3 shell reads without writing.
    for (const std::string& data : {one, four}) {
        EXPECT_FALSE(fs::exists(data + "/files.db-wal"));
        EXPECT_FALSE(fs::exists(data + "/files.db-shm"));
        const ProcessResult shell =
            RunProgram({"sqlite3", "-readonly", data + "/files.db", "PRAGMA journal_mode;"});
        EXPECT_EQ(shell.out, "delete\n") << shell.err;
    }

    // Last, since md5sum does not put access times back.
    const auto sums = Md5sumOfTree(tree);
    ASSERT_EQ(sums.size(), rows.size());
    for (const auto& row : rows) {
        const std::string& path = row[1];
        const bool locked = path.find("/locked/") != std::string::npos;
        EXPECT_EQ(row[5], unprivileged && locked ? "" : sums.at(path)) << path;
        if (path.ends_with("/tool.exe")) {
            EXPECT_EQ(row[9], ",kernel32.dll,advapi32.dll");
            EXPECT_EQ(row[10], "Quote \" Co");
            EXPECT_EQ(row[11], "in'ternal");
        }
        if (path.ends_with("/programs/ls")) {
            EXPECT_NE(row[9].find(",libc.so.6"), std::string::npos) << row[9];
        }
    }
}

// Files the scanning user may read but does not own, older than their last change: reading moves
// their access times, which only the owner may put back. The rows keep the access times from
// before the scan, and the stamps hold the files as they are after it, so that an update finds
// every file unchanged.
TEST(CliScanJobs, AnotherUsersFilesReadOnceAreUnchangedForAnUpdate) {
    if (const std::string why = UnprivilegedRunUnavailable(); !why.empty()) {
        GTEST_SKIP() << why;
    }
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    for (int i = 0; i < 300; ++i) {
        folder.Write("tree/f" + std::to_string(i / 50) + "/" + std::to_string(i),
                     std::string(static_cast<size_t>(i) * 211, char('a' + i % 26)));
    }
    testing::PeImageSpec pe;
    pe.imports = {"KERNEL32.dll"};
    folder.Write("tree/f0/tool.exe", testing::WritePeImage(pe));
    fs::copy_file("/bin/ls", tree + "/f1/ls");
    std::map<std::string, struct timespec> accessed;
    for (const auto& entry : fs::recursive_directory_iterator(tree)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        // Read last at noon on 2001-01-01 (UTC), written in 2010: a read now would move the access
        // time.
        const struct timespec times[2] = {{978350400, 123456789}, {1262304000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, entry.path().c_str(), times, 0), 0);
        accessed[entry.path().string()] = times[0];
    }
    const std::string data = folder.MakeFolder("data");
    GiveToUnprivilegedUser(data);

    const ProcessResult scanned =
        RunCliUnprivileged({"scan", "--quiet", "--jobs", "4", "--db", data, tree});
    ASSERT_EQ(scanned.exitCode, 0) << scanned.err;
    // Moved by the reads indeed, or this test would not be one of another user's files.
    const std::string read = tree + "/f0/7";
    struct stat status {};
    ASSERT_EQ(::stat(read.c_str(), &status), 0);
    EXPECT_NE(status.st_atim.tv_sec, accessed.at(read).tv_sec);
    const auto rows = RowsInIdOrder(data + "/files.db");
    ASSERT_EQ(rows.size(), accessed.size());
    for (const auto& row : rows) {
        EXPECT_TRUE(row[8].starts_with("2001-01-01")) << row[1] << ": " << row[8];
        if (row[1].ends_with("/tool.exe")) {
            EXPECT_EQ(row[9], ",kernel32.dll");
        }
    }

    const ProcessResult updated =
        RunCliUnprivileged({"scan", "--update", "--quiet", "--jobs", "4", "--db", data, tree});
    ASSERT_EQ(updated.exitCode, 0) << updated.err;
    EXPECT_NE(updated.out.find(std::to_string(accessed.size()) + " unchanged"), std::string::npos)
        << updated.out;
    EXPECT_EQ(RowsInIdOrder(data + "/files.db"), rows);
}

} // namespace
} // namespace mirelon::test
