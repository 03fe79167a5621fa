#include "scan/disk_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <locale>

namespace mirelon {
namespace {

class Punctuation : public std::numpunct<char> {
public:
    Punctuation(char thousands, char decimal, std::string grouping)
        : thousands_(thousands), decimal_(decimal), grouping_(std::move(grouping)) {}

protected:
    char do_thousands_sep() const override { return thousands_; }
    char do_decimal_point() const override { return decimal_; }
    std::string do_grouping() const override { return grouping_; }

private:
    char thousands_, decimal_;
    std::string grouping_;
};

std::locale WithPunctuation(char thousands, char decimal, const std::string& grouping) {
    return std::locale(std::locale::classic(), new Punctuation(thousands, decimal, grouping));
}

TEST(DiskSizeText, UnitsChangeAtEachPowerOf1024) {
    const std::locale& plain = std::locale::classic();
    EXPECT_EQ(DiskSizeText(0, plain), "0 bytes");
    EXPECT_EQ(DiskSizeText(1023, plain), "1023 bytes");
    EXPECT_EQ(DiskSizeText(1024, plain), "1 Kb");
    EXPECT_EQ(DiskSizeText(1048575, plain), "1024 Kb");
    EXPECT_EQ(DiskSizeText(1048576, plain), "1 Mb");
    EXPECT_EQ(DiskSizeText(1073741823, plain), "1024 Mb");
    EXPECT_EQ(DiskSizeText(1073741824, plain), "1.00 Gb");
    EXPECT_EQ(DiskSizeText(1610612736, plain), "1.50 Gb");
    EXPECT_EQ(DiskSizeText(-5, plain), "-5 bytes");
}

TEST(DiskSizeText, RoundsHalvesAwayFromZero) {
    const std::locale& plain = std::locale::classic();
    EXPECT_EQ(DiskSizeText(1536, plain), "2 Kb");
    EXPECT_EQ(DiskSizeText(2560, plain), "3 Kb");
    EXPECT_EQ(DiskSizeText(1073741824 + 5368710, plain), "1.01 Gb"); // just over 1.005 Gb
}

TEST(DiskSizeText, GroupsDigitsAsTheLocaleDoes) {
    const auto english = WithPunctuation(',', '.', "\3");
    EXPECT_EQ(DiskSizeText(int64_t{5} << 40, english), "5,120.00 Gb");
    EXPECT_EQ(DiskSizeText(1048575, english), "1,024 Kb");
    EXPECT_EQ(DiskSizeText(999 * 1024, english), "999 Kb");
    EXPECT_EQ(DiskSizeText(INT64_MAX, english), "8,589,934,592.00 Gb");
    const auto german = WithPunctuation('.', ',', "\3");
    EXPECT_EQ(DiskSizeText(1610612736, german), "1,50 Gb");
    EXPECT_EQ(DiskSizeText(int64_t{5} << 40, german), "5.120,00 Gb");
    const auto indian = WithPunctuation(',', '.', "\3\2");
    EXPECT_EQ(DiskSizeText(int64_t{12345678} << 30, indian), "1,23,45,678.00 Gb");
    const auto limited = WithPunctuation(' ', '.', std::string("\3") + char(CHAR_MAX));
    EXPECT_EQ(DiskSizeText(int64_t{12345678} << 30, limited), "12345 678.00 Gb");
    // Bytes are written plainly, as the integer format does.
    EXPECT_EQ(DiskSizeText(1000, english), "1000 bytes");
}

TEST(DiskValues, BooleanTextsAndTypeTexts) {
    EXPECT_EQ(TDiskBoolean(true).YesNo(), "Yes");
    EXPECT_EQ(TDiskBoolean(false).YesNo(), "No");
    EXPECT_EQ(TDiskBoolean(true).OnOff(), "On");
    EXPECT_EQ(TDiskBoolean(false).OnOff(), "Off");
    const char* texts[] = {"Unknown", "No Drive", "Removable", "Fixed", "Remote", "CdRom", "Ram"};
    for (int number = 0; number < 7; ++number) {
        EXPECT_EQ(TDriveType(number).Text(), texts[number]);
    }
    EXPECT_EQ(TDriveType(7).Text(), "");
}

TEST(DiskValues, FeaturesFollowTheirFlagBits) {
    const TDriveFeatures features(0x1 | 0x80000);
    EXPECT_TRUE(features.CaseSensitiveSearch()->Value());
    EXPECT_TRUE(features.ReadOnlyVolume()->Value());
    for (const auto& other :
         {features.NamedStreams(), features.ObjectIds(), features.ReparsePoints(),
          features.SparseFiles(), features.VolumeQuotas(), features.CasePreservedNames(),
          features.FileCompression(), features.Encryption(), features.PersistentAcls(),
          features.UnicodeOnDisk(), features.VolumeIsCompressed()}) {
        EXPECT_FALSE(other->Value());
    }
    const TDriveFeatures all(0xFFFFFFFF);
    EXPECT_TRUE(all.NamedStreams()->Value());
    EXPECT_TRUE(all.VolumeIsCompressed()->Value());
    EXPECT_TRUE(all.UnicodeOnDisk()->Value());
}

} // namespace
} // namespace mirelon
