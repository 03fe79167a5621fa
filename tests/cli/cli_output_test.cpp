#include "cli/cli_hash_command.h"
#include "cli/cli_runner.h"
#include "cli/cli_scan_progress.h"
#include "scan/path_separator.h"

#include <gtest/gtest.h>

#include <sstream>

namespace mirelon {
namespace {

TEST(CliHashLine, EscapesPathsAsMd5sumDoes) {
    EXPECT_EQ(ChecksumLine("abc", "/x/y z"), "abc  /x/y z");
    // Where the backslash separates names (Windows) it is no character of a name to escape.
    EXPECT_EQ(ChecksumLine("abc", "a\\b"), IsPathSeparator('\\') ? "abc  a\\b" : "\\abc  a\\\\b");
    EXPECT_EQ(ChecksumLine("abc", "a\nb\rc"), "\\abc  a\\nb\\rc");
}

TEST(CliScanProgress, LineFitsTheTerminalAndKeepsTheFolderEnd) {
    const std::string line = ScanProgressLine(1500, 3 * 1024 * 1024, 2.0, "/home/u/docs/", 80);
    EXPECT_EQ(line, "1500 files  3.0 MB  750 files/s  /home/u/docs/");
    EXPECT_EQ(ScanProgressLine(1500, 0, 2.0, "/d/", 80, "1400 unchanged, 50 changed"),
              "1500 files (1400 unchanged, 50 changed)  0.0 MB  750 files/s  /d/");

    const std::string folder = "/very/long/" + std::string(100, 'x') + "/end/";
    const std::string cut = ScanProgressLine(1, 0, 0.0, folder, 60);
    EXPECT_EQ(cut.size(), 59u);
    EXPECT_NE(cut.find("...x"), std::string::npos);
    EXPECT_EQ(cut.substr(cut.size() - 5), "/end/");

    // Cut on a character boundary, and no control character reaches the terminal.
    const std::string wide = ScanProgressLine(1, 0, 0.0, "/\xc3\xa4\xc3\xa4\xc3\xa4\n/", 35);
    EXPECT_EQ(wide.find('\n'), std::string::npos);
    EXPECT_NE(static_cast<unsigned char>(wide[wide.find("...") + 3]) & 0xC0, 0x80);
    EXPECT_LE(ScanProgressLine(123456789, 0, 1.0, "/", 10).size(), 9u);
}

TEST(CliScanProgress, InvisibleProgressWritesNothing) {
    std::ostringstream err;
    TCliScanProgress progress(err, false, 80, [] { return false; });
    progress.ScanningFolder("/a/");
    progress.ScannedCount(1);
    progress.Clear();
    EXPECT_TRUE(err.str().empty());
}

TEST(CliRunner, OutputThatCannotBeWrittenIsAFailure) {
    std::istringstream in("abc");
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    CliStreams streams{in, out, err};
    const std::vector<std::string> arguments{"hash", "-"};
    EXPECT_EQ(RunCli(arguments, streams), 1);
    EXPECT_EQ(err.str(), "mirelon-cli: hash: cannot write the output\n");
}

} // namespace
} // namespace mirelon
