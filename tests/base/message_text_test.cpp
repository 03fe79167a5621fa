#include "base/message_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace mirelon {
namespace {

const std::string kEllipsis = "\xE2\x80\xA6";

std::string Repeated(std::string_view piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(MessageTextTest, ValuesOverEightyCharactersAreCutWithoutSplittingOne) {
    EXPECT_EQ(ShortenedForMessage(""), "");
    EXPECT_EQ(ShortenedForMessage(Repeated("a", 80)), Repeated("a", 80));
    EXPECT_EQ(ShortenedForMessage(Repeated("a", 81)), Repeated("a", 80) + kEllipsis);
    // A settings value of 20 MB gives a message line, not a page.
    EXPECT_EQ(ShortenedForMessage(std::string(20'000'000, 'x')), Repeated("x", 80) + kEllipsis);

    // Two-, three- and four-byte characters count once each.
    for (const std::string_view character : {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
        EXPECT_EQ(ShortenedForMessage(Repeated(character, 80)), Repeated(character, 80));
        EXPECT_EQ(ShortenedForMessage(Repeated(character, 200)),
                  Repeated(character, 80) + kEllipsis);
    }
    // Bytes that belong to no character count one each, so they cannot stretch the cut.
    EXPECT_EQ(ShortenedForMessage("a" + std::string(1000, '\x80')),
              "a" + std::string(79, '\x80') + kEllipsis);
    EXPECT_EQ(ShortenedForMessage(Repeated("\xE2\x82", 100)), Repeated("\xE2\x82", 80) + kEllipsis);
    EXPECT_EQ(ShortenedForMessage(std::string(100, '\xFF')), std::string(80, '\xFF') + kEllipsis);
}

TEST(MessageTextTest, AnyBytesGiveAPrefixOfBoundedLength) {
    std::mt19937 random(17);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 600, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        const std::string shortened = ShortenedForMessage(bytes);
        if (shortened == bytes) {
            EXPECT_LE(bytes.size(), 80u * 4u);
            continue;
        }
        ASSERT_TRUE(shortened.ends_with(kEllipsis));
        const std::string kept = shortened.substr(0, shortened.size() - kEllipsis.size());
        EXPECT_TRUE(bytes.starts_with(kept));
        EXPECT_GE(kept.size(), 80u);
        EXPECT_LE(kept.size(), 80u * 4u);
    }
}

} // namespace
} // namespace mirelon
