#include "base/utf8_path.h"
#include "cli/cli_arguments.h"
#include "cli/cli_catalog_location.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirelon {
namespace {

CliRequest Parse(std::vector<std::string> arguments) {
    return ParseCliArguments(arguments);
}

std::string UsageError(std::vector<std::string> arguments) {
    try {
        ParseCliArguments(arguments);
    } catch (const ECliUsage& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(CliArguments, ScanOptionsInAnyOrderAroundTheRoots) {
    const CliRequest request =
        Parse({"scan", "/a", "--method", "crc32b", "-q", "--exclude=/x", "--continue", "--exclude",
               "/y", "--db", "/tmp", "--", "--not-an-option"});
    EXPECT_EQ(request.command, CliCommand::Scan);
    EXPECT_EQ(request.method, 261);
    EXPECT_TRUE(request.quiet);
    EXPECT_TRUE(request.continueScan);
    EXPECT_EQ(request.excludedFolders, (std::vector<std::string>{"/x", "/y"}));
    EXPECT_EQ(request.catalogPath, "/tmp");
    EXPECT_EQ(request.paths, (std::vector<std::string>{"/a", "--not-an-option"}));
}

TEST(CliArguments, ScanAndHashTakeTheSameMethods) {
    EXPECT_EQ(Parse({"scan", "--method", "HAVAL256"}).method, 268);
    EXPECT_EQ(Parse({"scan", "--method", "MD2"}).method, 257);
    EXPECT_EQ(Parse({"scan", "--method", "sha256"}).method, 270);
    EXPECT_NE(UsageError({"scan", "--method", "SHA3"}).find("'SHA3'"), std::string::npos);
    EXPECT_EQ(Parse({"hash", "--method", "SHA256"}).method, 270);
    EXPECT_EQ(Parse({"hash", "--method=RIPEMD160", "f"}).method, 277);
    EXPECT_EQ(Parse({"hash", "-", "f"}).paths, (std::vector<std::string>{"-", "f"}));
}

TEST(CliArguments, MonthsJobsAndFormats) {
    EXPECT_EQ(Parse({"scan", "/a"}).jobs, std::nullopt);
    EXPECT_EQ(Parse({"scan", "-j", "1", "/a"}).jobs, 1);
    EXPECT_EQ(Parse({"scan", "--jobs=64"}).jobs, 64);
    for (const char* bad : {"0", "65", "-2", "", "two", "4 "}) {
        EXPECT_EQ(UsageError({"scan", "--jobs", bad}),
                  std::string("--jobs: expected a whole number from 1 to 64, got '") + bad + "'");
    }
    EXPECT_EQ(Parse({"old", "--months", "1"}).months, 1);
    EXPECT_EQ(Parse({"old", "--months=60"}).months, 60);
    EXPECT_EQ(Parse({"duplicates", "--format", "json"}).format, OutputFormat::Json);
    EXPECT_EQ(Parse({"drives", "--format=csv"}).format, OutputFormat::Csv);
    for (const char* bad : {"61", "-1", "", " 5", "5 ", "1e1", "99999999999"}) {
        EXPECT_NE(UsageError({"old", "--months", bad}).find("--months"), std::string::npos) << bad;
    }
}

TEST(CliArguments, DuplicateFiltersAndWhatRemoveDuplicatesKeeps) {
    const CliRequest filtered =
        Parse({"duplicates", "--same-name", "--extensions", "DOC, .zip txt", "--exclude", "/x"});
    EXPECT_TRUE(filtered.sameName);
    EXPECT_EQ(filtered.extensions, (std::vector<std::string>{".doc", ".zip", ".txt"}));
    EXPECT_EQ(filtered.excludedFolders, std::vector<std::string>{"/x"});
    EXPECT_FALSE(Parse({"duplicates"}).sameName);

    const CliRequest remove =
        Parse({"remove-duplicates", "--keep=shortest-path", "--dry-run", "--permanently"});
    EXPECT_EQ(remove.keep, KeepRule::ShortestPath);
    EXPECT_TRUE(remove.dryRun && remove.permanently);
    EXPECT_EQ(Parse({"remove-duplicates", "--in", "/keep"}).keepInside, "/keep");
    EXPECT_TRUE(Parse({"remove-duplicates", "--help"}).help);
    EXPECT_NE(UsageError({"remove-duplicates"}).find("--keep"), std::string::npos);
    EXPECT_NE(UsageError({"remove-duplicates", "--keep", "oldest", "--in", "/k"}).find("give one"),
              std::string::npos);
    EXPECT_NE(UsageError({"remove-duplicates", "--keep", "biggest"}).find("'biggest'"),
              std::string::npos);
    EXPECT_NE(UsageError({"duplicates", "--keep", "oldest"}).find("'--keep'"), std::string::npos);
}

TEST(CliArguments, HelpAndVersion) {
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_EQ(Parse({"help", "old"}).command, CliCommand::OldFiles);
    const CliRequest help = Parse({"hash", "-h"});
    EXPECT_TRUE(help.help);
    EXPECT_EQ(help.command, CliCommand::Hash);
    EXPECT_TRUE(Parse({"--version"}).version);
}

TEST(CliArguments, UsageErrorsNameTheArgumentAndTheCommand) {
    EXPECT_EQ(UsageError({}), "no command given");
    EXPECT_EQ(UsageError({"scna"}), "unknown command 'scna'");
    EXPECT_EQ(UsageError({"--verbose"}), "unknown option '--verbose'");
    EXPECT_EQ(UsageError({"scan", "--format", "csv"}), "unknown option '--format'");
    EXPECT_EQ(UsageError({"drives", "--db=x"}), "unknown option '--db'");
    EXPECT_EQ(UsageError({"scan", "-x"}), "unknown option '-x'");
    EXPECT_EQ(UsageError({"scan", "--method"}), "'--method' needs a value");
    EXPECT_EQ(UsageError({"scan", "--continue=1"}), "'--continue' takes no value");
    EXPECT_EQ(UsageError({"unused-dlls", "x"}), "unexpected argument 'x'");
    EXPECT_EQ(UsageError({"hash", "--method", "md6"}), "--method: unknown hash method 'md6'");
    EXPECT_EQ(UsageError({"help", "nothing"}), "unknown command 'nothing'");
    try {
        Parse({"old", "--months", "x"});
        FAIL();
    } catch (const ECliUsage& error) {
        EXPECT_EQ(error.Command(), CliCommand::OldFiles);
    }
}

TEST(CliCatalogLocation, AFolderOrAFileNamedFilesDbInAnExistingFolder) {
    test::TTempFolder folder;
    const std::string expected = folder.Slashed();
    EXPECT_EQ(CatalogDataDirectory(CliCommand::Scan, "", "/default/"), "/default/");
    EXPECT_EQ(CatalogDataDirectory(CliCommand::Scan, folder.Path(), ""), expected);
    EXPECT_EQ(CatalogDataDirectory(CliCommand::Scan, folder.Path() + "//", ""), expected);
    EXPECT_EQ(CatalogDataDirectory(CliCommand::Scan, folder / "files.db", ""), expected);
    EXPECT_EQ(CatalogDataDirectory(CliCommand::Scan, folder / "./x/../files.db", ""), expected);
    EXPECT_THROW(CatalogDataDirectory(CliCommand::Scan, folder / "catalog.db", ""), ECliUsage);
    EXPECT_THROW(CatalogDataDirectory(CliCommand::Scan, folder / "none/files.db", ""), ECliUsage);
    EXPECT_THROW(CatalogDataDirectory(CliCommand::Scan, folder / "none/", ""), ECliUsage);
}

TEST(CliCatalogLocation, FoldersBecomeCanonicalWithoutTrailingSeparator) {
    // The root of this system's temporary folder: "/" on Linux, "C:\" on Windows.
    const std::string root = Utf8FromPath(std::filesystem::temp_directory_path().root_path());
    EXPECT_EQ(CanonicalFolderPath(root), root);
    test::TTempFolder folder;
    EXPECT_EQ(CanonicalFolderPath(folder / "a/b/"), folder / "a/b");
    EXPECT_EQ(CanonicalFolderPath(folder / "a/./c/../b"), folder / "a/b");
    EXPECT_EQ(CanonicalFolderPath(folder.Path() + "//a//b//"), folder / "a/b");
    EXPECT_TRUE(PathFromUtf8(CanonicalFolderPath("rel")).is_absolute());
}

} // namespace
} // namespace mirelon
