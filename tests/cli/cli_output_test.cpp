#include "cli/cli_field_escaping.h"
#include "cli/cli_hash_command.h"
#include "cli/cli_runner.h"
#include "cli/cli_scan_progress.h"
#include "cli/cli_table_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace mirelon {
namespace {

TEST(CliFieldEscaping, TsvKeepsTabsAndLineEndsInsideAField) {
    EXPECT_EQ(TsvField("plain name.txt"), "plain name.txt");
    EXPECT_EQ(TsvField("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
    EXPECT_EQ(TsvField("\xff\xfe"), "\xff\xfe");
}

TEST(CliFieldEscaping, CsvQuotesOnlyWhatRfc4180Requires) {
    EXPECT_EQ(CsvField("plain, not"), "\"plain, not\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(CsvField(" spaced "), " spaced ");
    EXPECT_EQ(CsvField(""), "");
}

TEST(CliFieldEscaping, JsonEscapesControlsAndKeepsWellFormedUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\r\t"), "\"\\n\\r\\t\"");
    EXPECT_EQ(JsonString(std::string("\x00\x01\x1f\x7f", 4)), "\"\\u0000\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString("Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"),
              "\"Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80\"");
    EXPECT_EQ(JsonString("\xef\xbf\xbd"), "\"\xef\xbf\xbd\"");
}

TEST(CliFieldEscaping, JsonReplacesEachMaximalInvalidSubsequenceByOneReplacementCharacter) {
    const std::string r = "\xef\xbf\xbd";
    struct Case {
        std::string bytes;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"\x80", r},                         // lone continuation
        {"\xff\xfe", r + r},                 // never valid
        {"\xc0\xaf", r + r},                 // overlong lead
        {"\xe0\x80\xaf", r + r + r},         // overlong three-byte form
        {"\xed\xa0\x80", r + r + r},         // surrogate
        {"\xf4\x90\x80\x80", r + r + r + r}, // above U+10FFFF
        {"\xe2\x82", r},                     // truncated, one subpart
        {"\xe2\x82x", r + "x"},              // truncated before ASCII
        {"\xf0\x9f\x98", r},                 // truncated four-byte form
        {"a\xc3", "a" + r},                  // truncated at the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonString(c.bytes), "\"" + c.expected + "\"") << testing::PrintToString(c.bytes);
    }
}

std::string Written(OutputFormat format, const std::vector<std::vector<std::string>>& rows) {
    static constexpr std::array<OutputColumn, 2> kColumns{{{"name", false}, {"size", true}}};
    std::ostringstream out;
    const auto writer = MakeTableWriter(format, out);
    writer->Start(kColumns);
    for (const auto& row : rows) {
        writer->Row(row);
    }
    writer->Finish();
    return out.str();
}

TEST(CliTableWriter, EachFormatWithHeaderOrKeys) {
    const std::vector<std::vector<std::string>> rows{{"a,b", "12"}, {"c\td", "007"}, {"e", ""}};
    EXPECT_EQ(Written(OutputFormat::Tsv, rows), "name\tsize\na,b\t12\nc\\td\t007\ne\t\n");
    EXPECT_EQ(Written(OutputFormat::Csv, rows), "name,size\r\n\"a,b\",12\r\nc\td,007\r\ne,\r\n");
    // Numbers that JSON cannot read as numbers stay strings.
    EXPECT_EQ(Written(OutputFormat::Json, rows), "[\n"
                                                 "  {\"name\": \"a,b\", \"size\": 12},\n"
                                                 "  {\"name\": \"c\\td\", \"size\": \"007\"},\n"
                                                 "  {\"name\": \"e\", \"size\": \"\"}\n"
                                                 "]\n");
    EXPECT_EQ(Written(OutputFormat::Json, {}), "[]\n");
    EXPECT_EQ(Written(OutputFormat::Tsv, {}), "name\tsize\n");
}

TEST(CliHashLine, EscapesPathsAsMd5sumDoes) {
    EXPECT_EQ(ChecksumLine("abc", "/x/y z"), "abc  /x/y z");
    EXPECT_EQ(ChecksumLine("abc", "a\\b"), "\\abc  a\\\\b");
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
