#include "base/ascii_case.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace mirelon {
namespace {

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz";

// Every byte that is not an ASCII letter, UTF-8 lead and continuation bytes included.
std::string EveryOtherByte() {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        if (kUpper.find(c) == std::string::npos && kLower.find(c) == std::string::npos) {
            bytes += c;
        }
    }
    return bytes;
}

TEST(AsciiCase, OnlyTheAsciiLettersChangeWhateverTheLocale) {
    // A locale whose own rules differ (Turkish dotted I), where one is installed.
    for (const char* locale : {"C", "tr_TR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, locale) == nullptr) {
            continue;
        }
        EXPECT_EQ(ToLowerAscii(kUpper), kLower) << locale;
        EXPECT_EQ(ToUpperAscii(kLower), kUpper) << locale;
        const std::string others = EveryOtherByte();
        ASSERT_EQ(others.size(), 256u - 52u);
        EXPECT_EQ(ToLowerAscii(others), others) << locale;
        EXPECT_EQ(ToUpperAscii(others), others) << locale;
        EXPECT_EQ(ToLowerAscii("KERNEL32.DLL \xc3\x84\xc4\xb0"), "kernel32.dll \xc3\x84\xc4\xb0");
    }
    std::setlocale(LC_ALL, "C");
}

TEST(AsciiCase, EqualityIgnoresOnlyAsciiLetterCase) {
    EXPECT_TRUE(EqualIgnoringAsciiCase("PageFile.SYS", "pagefile.sys"));
    EXPECT_TRUE(EqualIgnoringAsciiCase("", ""));
    EXPECT_FALSE(EqualIgnoringAsciiCase("pagefile.sys", "pagefile.sy"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("[", "{")); // 32 apart like a letter pair, but no letters
    EXPECT_FALSE(EqualIgnoringAsciiCase("\xc3\x84", "\xc3\xa4")); // Ä and ä in UTF-8
    EXPECT_FALSE(EqualIgnoringAsciiCase(std::string("a\0b", 3), std::string("a\0c", 3)));
}

} // namespace
} // namespace mirelon
