// Linux only: names no other platform allows, files of another user, the sqlite3 shell.
// The command line with one job and with four, against each other and against md5sum.
#include "catalog/sqlite_table.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

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
    folder.Write("tree/locked/secret", "not for others");
    folder.Write("tree/locked/also", "nor this");
    folder.Write("tree/empty", "");
    const std::string one = folder.MakeFolder("one");
    const std::string four = folder.MakeFolder("four");

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
    fs::permissions(tree + "/locked/secret", fs::perms::owner_all);
    fs::permissions(tree + "/locked/also", fs::perms::owner_all);

    EXPECT_EQ(byOne.exitCode, unprivileged ? 1 : 0) << byOne.err;
    EXPECT_EQ(byFour.exitCode, byOne.exitCode) << byFour.err;
    EXPECT_EQ(Summary(byFour.out), Summary(byOne.out));
    const auto rows = RowsInIdOrder(one + "/files.db");
    ASSERT_EQ(rows.size(), 6u * 110 + 2 * hostile.size() + 6);
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

} // namespace
} // namespace mirelon::test
