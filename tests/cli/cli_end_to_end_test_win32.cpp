// The built mirelon-cli.exe on what only Windows has: the system's drive table, the checksums
// of every method against the engine (whose known vectors the hash tests check on both sides),
// and where a program installed inside "Program Files" keeps its catalog.
#include "base/wide_path.h"
#include "hash/hash_service.h"
#include "tests/cli/cli_test_output.h"
#include "tests/cli/cli_test_process.h"
#include "tests/hash/hash_test_support.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace mirelon::test {
namespace {

TEST(CliEndToEndWindows, DrivesListsCAsFixed) {
    const ProcessResult result = RunCli({"drives"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "letter\ttype\troot\tlabel\tfile_system\ttotal_bytes\tfree_bytes");
    bool systemDriveSeen = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto fields = TsvFields(lines[i]);
        ASSERT_EQ(fields.size(), 7u) << lines[i];
        EXPECT_EQ(fields[2], fields[0] + ":\\") << lines[i];
        if (fields[0] == "C") {
            systemDriveSeen = true;
            EXPECT_EQ(fields[1], "Fixed");
            EXPECT_GT(std::stoll(fields[5]), 0);
        }
    }
    EXPECT_TRUE(systemDriveSeen) << result.out;
}

// Every method on files of several lengths, and the known vectors of "abc" for a few.
TEST(CliEndToEndWindows, HashAndScanGiveTheEnginesChecksumsForEveryMethod) {
    TTempFolder folder;
    const std::map<std::string, std::string> contents{
        {"tree/empty", ""},
        {"tree/abc", "abc"},
        {"tree/block and a byte", std::string(4097, 'c')},
        {"tree/mixed.bin", RandomBytes(200000, 7)},
    };
    std::vector<std::string> paths;
    for (const auto& [name, content] : contents) {
        paths.push_back(folder.Write(name, content));
    }
    const std::vector<int32_t> methods = RegisteredMethods();
    EXPECT_EQ(methods.size(), 21u);
    for (const int32_t method : methods) {
        const std::string name = HashMethodName(method);
        std::vector<std::string> arguments{"hash", "--method", name};
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        const ProcessResult hashed = RunCli(arguments);
        EXPECT_EQ(hashed.exitCode, 0) << name << hashed.err;
        std::string expected;
        std::map<std::string, std::string> byPath;
        for (const auto& [relative, content] : contents) {
            const std::string text = HashText(method, content);
            expected += text + "  " + folder / relative + "\n";
            byPath[folder / relative] = text;
        }
        EXPECT_EQ(hashed.out, expected) << name;

        const ProcessResult scan =
            RunCli({"scan", "--quiet", "--method", name, "--db", folder.Path(), folder / "tree"});
        ASSERT_EQ(scan.exitCode, 0) << name << scan.err;
        EXPECT_EQ(CatalogChecksums(folder / "files.db"), byPath) << name;
    }
    const std::string abc = folder / "tree/abc";
    for (const auto& [name, known] : std::map<std::string, std::string>{
             {"MD5", "900150983cd24fb0d6963f7d28e17f72"},
             {"SHA1", "a9993e364706816aba3e25717850c26c9cd0d89d"},
             {"SHA256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
             {"CRC32B", "c2412435"}}) {
        EXPECT_EQ(RunCli({"hash", "--method", name, abc}).out, known + "  " + abc + "\n");
    }
}

// Installed inside "Program Files", the program keeps its catalog in the user's local
// application data folder (made when missing), never next to itself; copied anywhere else, next
// to itself.
TEST(CliEndToEndWindows, AProgramInsideProgramFilesKeepsItsCatalogInLocalAppData) {
    TTempFolder folder;
    const std::string tree = folder.MakeFolder("tree");
    folder.Write("tree/a", "1");
    const auto install = [&](const std::string& where) {
        const std::string program = folder.MakeFolder(where) + "\\mirelon-cli.exe";
        std::filesystem::copy_file(WidePath(CliProgram()), WidePath(program));
        return program;
    };
    const char* systemRoot = std::getenv("SystemRoot");
    const std::string system = "SystemRoot=" + std::string(systemRoot ? systemRoot : "C:\\windows");
    const auto scanWith = [&](const std::string& program, const std::string& localAppData) {
        return RunProgramWithEnvironment({program, "scan", tree},
                                         {system, "LOCALAPPDATA=" + localAppData});
    };

    const std::string installed = install("Program Files/Mirelon");
    const ProcessResult scan = scanWith(installed, folder / "local");
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    const std::string catalog = folder / "local/Mirelon/files.db";
    EXPECT_NE(scan.out.find(" into " + catalog + "\n"), std::string::npos) << scan.out;
    EXPECT_EQ(RowCount(catalog), 1);
    EXPECT_FALSE(std::filesystem::exists(WidePath(folder / "Program Files/Mirelon/files.db")));

    const std::string portable = install("Tools/Mirelon");
    EXPECT_EQ(scanWith(portable, folder / "unused").exitCode, 0);
    EXPECT_EQ(RowCount(folder / "Tools/Mirelon/files.db"), 1);
    EXPECT_FALSE(std::filesystem::exists(WidePath(folder / "unused")));
}

} // namespace
} // namespace mirelon::test
