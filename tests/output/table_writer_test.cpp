#include "output/field_escaping.h"
#include "output/table_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace mirelon {
namespace {

TEST(FieldEscaping, TsvKeepsTabsAndLineEndsInsideAField) {
    EXPECT_EQ(TsvField("plain name.txt"), "plain name.txt");
    EXPECT_EQ(TsvField("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
    EXPECT_EQ(TsvField("\xff\xfe"), "\xff\xfe");
}

TEST(FieldEscaping, CsvQuotesOnlyWhatRfc4180Requires) {
    EXPECT_EQ(CsvField("plain, not"), "\"plain, not\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(CsvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(CsvField(" spaced "), " spaced ");
    EXPECT_EQ(CsvField(""), "");
}

TEST(FieldEscaping, JsonEscapesControlsAndKeepsWellFormedUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\r\t"), "\"\\n\\r\\t\"");
    EXPECT_EQ(JsonString(std::string("\x00\x01\x1f\x7f", 4)), "\"\\u0000\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString("Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80"),
              "\"Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x98\x80\"");
    EXPECT_EQ(JsonString("\xef\xbf\xbd"), "\"\xef\xbf\xbd\"");
}

TEST(FieldEscaping, JsonReplacesEachMaximalInvalidSubsequenceByOneReplacementCharacter) {
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

TEST(TableWriter, EachFormatWithHeaderOrKeys) {
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

} // namespace
} // namespace mirelon
