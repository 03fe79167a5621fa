#include "settings/rs_escaped_text.h"
#include "settings/rs_exception.h"
#include "settings/rs_value_conversion.h"
#include "settings/rs_value_text.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(ValueText, NumbersFollowTheTenDigitRule) {
    EXPECT_EQ(ParseValueText("12"), TrsValue(int32_t{12}));
    EXPECT_EQ(ParseValueText("+12"), TrsValue(int32_t{12}));
    EXPECT_EQ(ParseValueText("1.5"), TrsValue(1.5));
    EXPECT_EQ(ParseValueText("-0.25"), TrsValue(-0.25));
    EXPECT_EQ(ParseValueText("2147483647"), TrsValue(int32_t{2147483647}));
    EXPECT_EQ(ParseValueText("2147483648"), TrsValue(int64_t{2147483648}));
    EXPECT_EQ(ParseValueText("-2147483648"), TrsValue(int32_t{INT32_MIN}));
    EXPECT_EQ(ParseValueText("-2147483649"), TrsValue(int64_t{-2147483649}));
    EXPECT_EQ(ParseValueText("0000000012"), TrsValue(int32_t{12}));
    EXPECT_EQ(ParseValueText("00000000000012"), TrsValue(int64_t{12}));
}

TEST(ValueText, TextsThatOnlyLookNumericStayStrings) {
    EXPECT_EQ(ParseValueText("1.2.3"), TrsValue(std::string("1.2.3")));
    EXPECT_EQ(ParseValueText("12 "), TrsValue(std::string("12 ")));
    EXPECT_EQ(ParseValueText("-"), TrsValue(std::string("-")));
    EXPECT_EQ(ParseValueText("1e5"), TrsValue(std::string("1e5")));
    // Beyond 64 bits the text is kept rather than overflowing.
    EXPECT_EQ(ParseValueText("99999999999999999999"),
              TrsValue(std::string("99999999999999999999")));
}

TEST(ValueText, QuotesBooleansAndPrefixes) {
    EXPECT_EQ(ParseValueText("\"12\""), TrsValue(std::string("12")));
    EXPECT_EQ(ParseValueText("\"\""), TrsValue(std::string()));
    EXPECT_EQ(ParseValueText("\""), TrsValue(std::string("\"")));
    EXPECT_EQ(ParseValueText(""), TrsValue(std::string()));
    for (const char* text : {"true", "TRUE", "True", "tRuE"})
        EXPECT_EQ(ParseValueText(text), TrsValue(true)) << text;
    EXPECT_EQ(ParseValueText("fAlSe"), TrsValue(false));
    EXPECT_EQ(ParseValueText("CURR:1.5"), TrsValue(TrsCurrency{15000}));
    EXPECT_EQ(ParseValueText("int64:5"), TrsValue(int64_t{5}));
    EXPECT_EQ(ParseValueText("Point:3,-4"), TrsValue(TrsPoint{3, -4}));
    EXPECT_EQ(ParseValueText("hex:0A,ff"), TrsValue(TrsBinary{{0x0A, 0xFF}}));
    EXPECT_EQ(ParseValueText("date:2024-02-29 13:45:10"),
              TrsValue(TrsDateTime{45351 + (13 * 3600 + 45 * 60 + 10) / 86400.0}));
    EXPECT_EQ(ParseValueText("point:3"), TrsValue(std::string("point:3")));
    EXPECT_EQ(ParseValueText("anything else"), TrsValue(std::string("anything else")));
}

TEST(ValueText, WritingRules) {
    EXPECT_EQ(FormatValueText(std::string("abc")), "\"abc\"");
    EXPECT_EQ(FormatValueText(std::string()), "");
    EXPECT_EQ(FormatValueText(TrsValue()), "");
    EXPECT_EQ(FormatValueText(std::string("\"quoted\"")), "\"quoted\"");
    EXPECT_EQ(FormatValueText(std::string("a\r\nb$")), "text:\"a$0D$0Ab$$\"");
    EXPECT_EQ(FormatValueText(int32_t{-7}), "-7");
    EXPECT_EQ(FormatValueText(int64_t{-7}), "-7");
    EXPECT_EQ(FormatValueText(int64_t{1} << 40), "int64:1099511627776");
    EXPECT_EQ(FormatValueText(1.5), "1.5");
    EXPECT_EQ(FormatValueText(3.0), "3.0");
    EXPECT_EQ(FormatValueText(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatValueText(TrsCurrency{-12345}), "curr:-1.2345");
    EXPECT_EQ(FormatValueText(TrsCurrency{20000}), "curr:2");
    EXPECT_EQ(FormatValueText(true), "True");
    EXPECT_EQ(FormatValueText(TrsPoint{1, -2}), "point:1,-2");
    EXPECT_EQ(FormatValueText(TrsDateTime{45351.5}), "date:2024-02-29 12:00:00");
}

TEST(ValueText, LongBinaryValuesContinueOnFollowingLines) {
    TrsBinary binary;
    binary.bytes.assign(kBinaryBytesPerLine + 1, 0xAB);
    const std::string text = FormatValueText(binary);
    EXPECT_NE(text.find(",\\\r\n  AB"), std::string::npos);
    EXPECT_EQ(text.find("\r\n"), text.rfind("\r\n"));
}

TEST(ValueText, EveryWrittenTypeReadsBack) {
    const TrsValue values[] = {std::string("plain"),
                               std::string("line\r\nbreak"),
                               std::string("$tab\t$"),
                               int32_t{INT32_MIN},
                               int64_t{INT64_MIN},
                               -2.75,
                               TrsCurrency{INT64_MAX},
                               TrsDateTime{45351.25},
                               false,
                               TrsPoint{INT32_MAX, INT32_MIN},
                               TrsBinary{{1, 2, 3}}};
    for (const TrsValue& value : values)
        EXPECT_EQ(ParseValueText(FormatValueText(value)), value) << FormatValueText(value);
}

TEST(EscapedText, ReadsBothDigitCasesAndKeepsStrayDollars) {
    EXPECT_EQ(UnescapeText("\"a$0d$0Ab\""), "a\r\nb");
    EXPECT_EQ(UnescapeText("\"$$$\""), "$$");
    EXPECT_EQ(UnescapeText("\"$G1$4\""), "$G1$4");
    EXPECT_EQ(UnescapeText("\"no closing quote"), "no closing quote");
    EXPECT_EQ(UnescapeText("\"inner \" quote\""), "inner \" quote");
}

TEST(ValueConversion, IntegerReads) {
    EXPECT_EQ(ValueAsInteger(TrsValue(), "\\s\\k"), 0);
    EXPECT_EQ(ValueAsInteger(int64_t{0x100000005}, "\\s\\k"), 5);
    EXPECT_EQ(ValueAsInteger(std::string("-42"), "\\s\\k"), -42);
    EXPECT_EQ(ValueAsInteger(2.5, "\\s\\k"), 2);
    EXPECT_EQ(ValueAsInteger(3.5, "\\s\\k"), 4);
    EXPECT_EQ(ValueAsInteger(TrsCurrency{25000}, "\\s\\k"), 2);
    EXPECT_EQ(ValueAsInteger(TrsCurrency{-35000}, "\\s\\k"), -4);
    EXPECT_EQ(ValueAsInteger(true, "\\s\\k"), 1);
    EXPECT_EQ(ValueAsInteger(TrsBinary{{1, 1, 0, 0}}, "\\s\\k"), 257);
}

TEST(ValueConversion, ErrorsNameTheKeyAndType) {
    try {
        ValueAsInteger(TrsPoint{1, 2}, "\\frmMain.PropSaver\\seMonths.Value");
        FAIL();
    } catch (const TrsException& error) {
        EXPECT_STREQ(error.what(), "TrsStorage get key value error: Can't read value of key "
                                   "\"\\frmMain.PropSaver\\seMonths.Value\" as integer type.");
    }
    EXPECT_THROW(ValueAsInteger(1e12, "\\k"), TrsException);
    EXPECT_THROW(ValueAsFloat(true, "\\k"), TrsException);
    EXPECT_THROW(ValueAsInt64(TrsBinary{{1}}, "\\k"), TrsException);
    try {
        ValueAsInteger(std::string("12x"), "\\k");
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'12x' is not a valid integer value");
    }
    EXPECT_THROW(ValueAsInteger(std::string("2147483648"), "\\k"), EConvertError);
}

TEST(ValueConversion, StringFloatAndInt64Reads) {
    EXPECT_EQ(ValueAsString(TrsPoint{3, 4}), "(3,4)");
    EXPECT_EQ(ValueAsString(TrsBinary{{0xDE, 0xAD}}), "DEAD");
    EXPECT_EQ(ValueAsString(false), "False");
    EXPECT_EQ(ValueAsString(2.0), "2");
    EXPECT_EQ(ValueAsString(TrsCurrency{15000}), "1.5");
    EXPECT_DOUBLE_EQ(ValueAsFloat(std::string("2.25"), "\\k"), 2.25);
    EXPECT_DOUBLE_EQ(ValueAsFloat(TrsCurrency{5}, "\\k"), 0.0005);
    EXPECT_EQ(ValueAsInt64(std::string("-9000000000"), "\\k"), -9000000000);
    EXPECT_EQ(ValueAsInt64(TrsCurrency{-25000}, "\\k"), -2);
    EXPECT_THROW(ValueAsFloat(std::string("1,5"), "\\k"), EConvertError);
}

} // namespace
} // namespace mirelon
