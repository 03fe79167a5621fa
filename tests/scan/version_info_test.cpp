#include "scan/version_info.h"
#include "tests/scan/facts_test_files.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace mirelon;
using namespace mirelon::testing;

namespace {

using Strings = std::array<std::string, 10>;

const Strings kNotAvailable = [] {
    Strings strings;
    strings.fill("Value Not Available");
    return strings;
}();

VersionResourceSpec AllTenStrings() {
    VersionResourceSpec spec;
    spec.strings = {{"CompanyName", u"Firm Ltd"},      {"FileDescription", u"Tool"},
                    {"FileVersion", u"1.2.3.4"},       {"InternalName", u"tool"},
                    {"LegalCopyright", u"(c) 2021"},   {"LegalTrademarks", u"TM"},
                    {"OriginalFilename", u"tool.exe"}, {"ProductName", u"Toolbox"},
                    {"ProductVersion", u"1.2"},        {"Comments", u"none"}};
    return spec;
}

const Strings kAllTenStrings{"Firm Ltd", "Tool",     "1.2.3.4", "tool", "(c) 2021",
                             "TM",       "tool.exe", "Toolbox", "1.2",  "none"};

std::vector<uint8_t> ImageWith(const VersionResourceSpec& version, bool is64 = false,
                               PeImageLayout* layout = nullptr) {
    PeImageSpec spec;
    spec.is64 = is64;
    spec.imports = {"kernel32.dll"};
    spec.version = version;
    return WritePeImage(spec, layout);
}

// Offset of the node whose UTF-16 key is `key`.
size_t NodeOffset(const std::vector<uint8_t>& image, const std::string& key) {
    std::vector<uint8_t> pattern;
    for (char c : key) {
        pattern.push_back(static_cast<uint8_t>(c));
        pattern.push_back(0);
    }
    const auto at = std::search(image.begin(), image.end(), pattern.begin(), pattern.end());
    if (at == image.end())
        throw std::logic_error("no node " + key);
    return static_cast<size_t>(at - image.begin()) - 6;
}

} // namespace

TEST(VersionStrings, ReadsAllTenInKeyOrder) {
    for (bool is64 : {false, true}) {
        const VersionStrings read = ParseVersionInfo(ImageWith(AllTenStrings(), is64));
        EXPECT_TRUE(read.available);
        EXPECT_EQ(read.strings, kAllTenStrings) << (is64 ? "PE32+" : "PE32");
    }
}

TEST(VersionStrings, KeysTheTableLacksAreEmpty) {
    VersionResourceSpec spec;
    spec.strings = {{"FileVersion", u"5.0"}, {"CompanyName", u"Firm"}};
    const VersionStrings read = ParseVersionInfo(ImageWith(spec));
    EXPECT_TRUE(read.available);
    EXPECT_EQ(read.strings, (Strings{"Firm", "", "5.0", "", "", "", "", "", "", ""}));
}

TEST(VersionStrings, TheFirstTranslationNamesTheTable) {
    VersionResourceSpec spec = AllTenStrings();
    spec.translation = std::make_pair(0x0407, 0x04E4);
    spec.tableKey = "040904B0";
    VersionStrings read = ParseVersionInfo(ImageWith(spec));
    EXPECT_TRUE(read.available);
    EXPECT_EQ(read.strings, Strings{});

    spec.tableKey = "040704e4"; // keys match whatever the letter case
    EXPECT_EQ(ParseVersionInfo(ImageWith(spec)).strings, kAllTenStrings);

    spec.translation.reset();
    read = ParseVersionInfo(ImageWith(spec));
    EXPECT_TRUE(read.available);
    EXPECT_EQ(read.strings, Strings{});
}

TEST(VersionStrings, ConvertsUtf16ToUtf8) {
    VersionResourceSpec spec;
    spec.strings = {{"CompanyName", u"M\u00fcller & S\u00f6hne \u00a9"},
                    {"FileDescription", u"\u20ac \U0001F600"},
                    {"FileVersion", std::u16string{u'a', char16_t(0xD800), u'b'}},
                    {"InternalName", std::u16string{char16_t(0xDC00), char16_t(0xD83D)}}};
    const VersionStrings read = ParseVersionInfo(ImageWith(spec));
    EXPECT_EQ(read.strings[0], "M\xC3\xBCller & S\xC3\xB6hne \xC2\xA9");
    EXPECT_EQ(read.strings[1], "\xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(read.strings[2], "a\xEF\xBF\xBD"
                               "b");
    EXPECT_EQ(read.strings[3], "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(VersionStrings, AnythingWithoutAVersionResourceHasNone) {
    PeImageSpec spec;
    spec.imports = {"kernel32.dll"};
    for (const std::vector<uint8_t>& bytes :
         {WritePeImage(spec), std::vector<uint8_t>{}, std::vector<uint8_t>{'M', 'Z', 0, 0}}) {
        const VersionStrings read = ParseVersionInfo(bytes);
        EXPECT_FALSE(read.available);
        EXPECT_EQ(read.strings, kNotAvailable);
    }
}

TEST(VersionStrings, DamagedResourceTablesReadAsNoResource) {
    PeImageLayout layout;
    const std::vector<uint8_t> good = ImageWith(AllTenStrings(), false, &layout);
    const uint32_t root = layout.resourceRoot;
    auto damaged = [&](auto change) {
        std::vector<uint8_t> image = good;
        change(image);
        return ParseVersionInfo(image);
    };
    // A name level that points back at the root, and one that points at itself.
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 20, 0x80000000u); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 44, 0x80000018u); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU16(image, root + 14, 0xFFFF); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU16(image, root + 38, 0); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 16, 6); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 68, 0x7FFFFF00u); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 72, 0xFFFFFF00u); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU32(image, root + 76, 0); }).available);
    EXPECT_FALSE(damaged([&](auto& image) { PutU16(image, layout.versionBlock, 0); }).available);
    EXPECT_FALSE(damaged([&](auto& image) {
                     PutU16(image, layout.versionBlock, layout.versionSize + 4);
                 }).available);
    // A data size beyond the section is cut to what the section holds.
    EXPECT_EQ(damaged([&](auto& image) { PutU32(image, root + 76, 0x7FFFFFFFu); }).strings,
              kAllTenStrings);
}

TEST(VersionStrings, DamagedNodesCostOnlyTheStringsBehindThem) {
    const std::vector<uint8_t> good = ImageWith(AllTenStrings());
    auto damaged = [&](const std::string& key, auto change) {
        std::vector<uint8_t> image = good;
        change(image, NodeOffset(image, key));
        return ParseVersionInfo(image);
    };
    const Strings firstTwo{"Firm Ltd", "Tool", "", "", "", "", "", "", "", ""};
    EXPECT_EQ(damaged("FileVersion", [](auto& image, size_t at) { PutU16(image, at, 0); }).strings,
              firstTwo);
    EXPECT_EQ(
        damaged("FileVersion", [](auto& image, size_t at) { PutU16(image, at, 0xFFF0); }).strings,
        firstTwo);
    // A node whose key runs to its end without terminator.
    EXPECT_EQ(damaged("FileVersion", [](auto& image, size_t at) { PutU16(image, at, 12); }).strings,
              firstTwo);
    // Value lengths beyond the node are cut at its end.
    const VersionStrings longValue =
        damaged("Comments", [](auto& image, size_t at) { PutU16(image, at + 2, 0xFFFF); });
    EXPECT_EQ(longValue.strings, kAllTenStrings);
}

TEST(VersionStrings, EveryTruncationGivesAllStringsOrNoResource) {
    for (bool is64 : {false, true}) {
        const std::vector<uint8_t> image = ImageWith(AllTenStrings(), is64);
        size_t complete = 0;
        for (size_t length = 0; length < image.size(); ++length) {
            const VersionStrings read = ParseVersionInfo(std::span(image.data(), length));
            if (read.available) {
                EXPECT_EQ(read.strings, kAllTenStrings) << "length " << length;
                ++complete;
            } else {
                EXPECT_EQ(read.strings, kNotAvailable) << "length " << length;
            }
        }
        // The resource section ends in zero padding that a cut may remove.
        EXPECT_GT(complete, 0u);
    }
}

TEST(VersionInfoReader, ReadsAgainOnlyForANewPath) {
    test::TTempFolder dir;
    const std::string first = dir.Write("first.exe", ImageWith(AllTenStrings()));
    TVersionInfo info;
    EXPECT_EQ(info.FilePath(), "");
    EXPECT_FALSE(info.Available());

    info.SetFilePath(first);
    EXPECT_EQ(info.FilePath(), first);
    EXPECT_TRUE(info.Available());
    EXPECT_EQ(info.String(0), "Firm Ltd");
    EXPECT_EQ(info.String(9), "none");

    dir.Write("first.exe", std::string("now plain text"));
    info.SetFilePath(first);
    EXPECT_EQ(info.String(0), "Firm Ltd");

    info.SetFilePath(dir.Write("notes.txt", std::string("plain text")));
    EXPECT_FALSE(info.Available());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(info.String(i), "Value Not Available");

    info.SetFilePath(first);
    EXPECT_FALSE(info.Available());

    EXPECT_THROW(info.String(10), std::out_of_range);
    EXPECT_THROW(info.String(-1), std::out_of_range);
}

TEST(VersionInfoReader, ReadsAResourceLargerThanAPage) {
    VersionResourceSpec spec = AllTenStrings();
    spec.strings.back().second = std::u16string(5000, u'x');
    test::TTempFolder dir;
    TVersionInfo info;
    info.SetFilePath(dir.Write("big.exe", ImageWith(spec)));
    EXPECT_EQ(info.String(0), "Firm Ltd");
    EXPECT_EQ(info.String(9), std::string(5000, 'x'));
}

TEST(VersionInfoReader, UnreadablePathsHaveNoResource) {
    test::TTempFolder dir;
    const std::string pipe = test::MakeNamedPipe(dir.File("pipe"));
    for (const std::string& path : {dir.File("missing.exe"), dir.File(""), pipe}) {
        const VersionStrings read = ReadVersionInfo(path);
        EXPECT_FALSE(read.available);
        EXPECT_EQ(read.strings, kNotAvailable);
    }
}
