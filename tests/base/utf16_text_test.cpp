#include "base/utf16_text.h"

#include <gtest/gtest.h>

namespace mirelon {
namespace {

TEST(Utf16Text, EveryCodePointRangeSurvivesTheRoundTrip) {
    // One-, two-, three- and four-byte forms, the last ones as surrogate pairs in UTF-16.
    const std::string text = "a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xEF\xBF\xBF"
                             "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF caf\xC3\xA9";
    const std::u16string units = Utf16FromUtf8(text);
    EXPECT_EQ(units, u"a\u007F\u0080\u07FF\u0800\uFFFD\uFFFF\U00010000\U0010FFFF caf\u00E9");
    EXPECT_EQ(Utf8FromUtf16(units), text);
}

TEST(Utf16Text, UnpairedSurrogatesBecomeReplacementCharacters) {
    // A name a Windows file system can hold but no UTF-8 text can: each lone half is U+FFFD.
    const std::u16string name = {u'a', 0xD800, u'b', 0xDC00, 0xDBFF, 0xD800, 0xDC00, 0xDFFF};
    EXPECT_EQ(Utf8FromUtf16(name), "a\xEF\xBF\xBD"
                                   "b\xEF\xBF\xBD\xEF\xBF\xBD\xF0\x90\x80\x80\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD83D))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(u""), "");
}

TEST(Utf16Text, BytesThatAreNoUtf8BecomeOneReplacementEach) {
    const struct {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"\xFF", u"\uFFFD"},
        {"caf\xE9!", u"caf\uFFFD!"},                       // Latin-1, not UTF-8
        {"\x80\xBF", u"\uFFFD\uFFFD"},                     // stray continuation bytes
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},           // overlong '/' in three bytes
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"ab\xE2\x82", u"ab\uFFFD\uFFFD"},                 // cut off at the end
        {"\xE2\x82x", u"\uFFFD\uFFFDx"},
    };
    for (const auto& item : cases) {
        EXPECT_EQ(Utf16FromUtf8(item.bytes), item.units) << item.bytes;
    }
}

} // namespace
} // namespace mirelon
