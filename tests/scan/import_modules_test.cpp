#include "scan/import_modules.h"
#include "tests/scan/facts_test_files.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/named_pipe.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

using namespace mirelon;
using namespace mirelon::testing;

namespace {

using Names = std::vector<std::string>;

PeImageSpec TwoImportsOneDelayed(bool is64) {
    PeImageSpec spec;
    spec.is64 = is64;
    spec.imageBase = is64 ? 0x140000000ull : 0x400000;
    spec.imports = {"KERNEL32.dll", "User32.DLL"};
    spec.delayImports = {"ComCtl32.Dll"};
    return spec;
}

const Names kTwoImportsOneDelayed{"kernel32.dll", "user32.dll", "comctl32.dll"};

// An import table of `count` descriptors naming the same module, filling a section enlarged to
// hold them; the last one ends the chain only when `terminated`. The delay-load table, which
// it overwrites, is dropped.
void MakeLongChain(std::vector<uint8_t>& image, const PeImageLayout& layout, size_t count,
                   bool terminated) {
    const char name[] = "loop.dll";
    std::copy(name, name + sizeof name, image.begin() + 0x200); // in the headers: RVA 0x200
    const uint32_t delayDirectory = layout.ntHeaders + 24 + 96 + 13 * 8; // PE32
    PutU32(image, delayDirectory, 0);
    PutU32(image, delayDirectory + 4, 0);
    const uint32_t size = static_cast<uint32_t>(count * 20);
    image.resize(layout.importTable + size);
    PutU32(image, layout.sectionTable + 8, size);
    PutU32(image, layout.sectionTable + 16, size);
    for (size_t i = 0; i < count; ++i)
        PutU32(image, layout.importTable + i * 20 + 12, 0x200);
    if (terminated)
        PutU32(image, layout.importTable + (count - 1) * 20 + 12, 0);
}

} // namespace

TEST(ImportModules, ListsImportsThenDelayImportsLowerCased) {
    for (bool is64 : {false, true}) {
        EXPECT_EQ(ParseImportModules(WritePeImage(TwoImportsOneDelayed(is64))),
                  kTwoImportsOneDelayed)
            << (is64 ? "PE32+" : "PE32");
    }
}

TEST(ImportModules, OldStyleDelayDescriptorsHoldAbsoluteAddresses) {
    PeImageSpec spec = TwoImportsOneDelayed(false);
    spec.oldStyleDelay = true;
    spec.delayImports = {"OLE32.dll", "Shell32.dll"};
    EXPECT_EQ(ParseImportModules(WritePeImage(spec)),
              (Names{"kernel32.dll", "user32.dll", "ole32.dll", "shell32.dll"}));
}

TEST(ImportModules, KeepsDuplicatesAndNonAsciiBytes) {
    PeImageSpec spec;
    spec.imports = {"A.DLL", "b.dll", "a.dll"};
    spec.delayImports = {"A.DLL", "\xC3\x84Z.DLL"};
    EXPECT_EQ(ParseImportModules(WritePeImage(spec)),
              (Names{"a.dll", "b.dll", "a.dll", "a.dll", "\xC3\x84z.dll"}));
}

TEST(ImportModules, ImageWithoutImportTablesHasNone) {
    PeImageSpec spec;
    spec.version = VersionResourceSpec{};
    EXPECT_TRUE(ParseImportModules(WritePeImage(spec)).empty());

    spec.delayImports = {"late.dll"};
    EXPECT_EQ(ParseImportModules(WritePeImage(spec)), Names{"late.dll"});
}

TEST(ImportModules, EveryTruncationGivesTheWholeListOrNone) {
    for (bool is64 : {false, true}) {
        PeImageSpec spec = TwoImportsOneDelayed(is64);
        spec.version = VersionResourceSpec{};
        spec.version->strings = {{"CompanyName", u"Firm"}};
        const std::vector<uint8_t> image = WritePeImage(spec);
        size_t complete = 0;
        for (size_t length = 0; length < image.size(); ++length) {
            const Names names = ParseImportModules(std::span(image.data(), length));
            if (!names.empty()) {
                EXPECT_EQ(names, kTwoImportsOneDelayed) << "length " << length;
                ++complete;
            }
        }
        // Cut inside the resource section, the import tables are still whole.
        EXPECT_GT(complete, 0u);
    }
}

TEST(ImportModules, DamagedHeadersGiveAnEmptyList) {
    PeImageLayout layout;
    const std::vector<uint8_t> good = WritePeImage(TwoImportsOneDelayed(false), &layout);
    const uint32_t optional = layout.ntHeaders + 24;
    auto damaged = [&](auto change) {
        std::vector<uint8_t> image = good;
        change(image);
        return ParseImportModules(image);
    };
    EXPECT_TRUE(damaged([](auto& image) { image[1] = 'X'; }).empty());
    EXPECT_TRUE(damaged([](auto& image) { PutU32(image, 0x3C, 0xFFFFFFF0u); }).empty());
    EXPECT_TRUE(damaged([&](auto& image) { image[layout.ntHeaders + 2] = 'X'; }).empty());
    EXPECT_TRUE(damaged([&](auto& image) { PutU16(image, optional, 0x107); }).empty());
    EXPECT_TRUE(damaged([&](auto& image) { PutU16(image, layout.ntHeaders + 6, 0xFFFF); }).empty());
    EXPECT_TRUE(damaged([&](auto& image) { PutU16(image, layout.ntHeaders + 20, 0x40); }).empty());
    // Section data said to lie beyond the end of the file.
    EXPECT_TRUE(
        damaged([&](auto& image) { PutU32(image, layout.sectionTable + 20, 0x100000); }).empty());
    // Only the export directory entry: no import tables at all, which is not damage.
    EXPECT_TRUE(damaged([&](auto& image) { PutU32(image, optional + 92, 1); }).empty());
    // An absurd directory count is limited to the sixteen entries that exist.
    EXPECT_EQ(damaged([&](auto& image) { PutU32(image, optional + 92, 0xFFFFFFFFu); }),
              kTwoImportsOneDelayed);
}

TEST(ImportModules, DamagedDescriptorsGiveAnEmptyList) {
    PeImageLayout layout;
    const std::vector<uint8_t> good = WritePeImage(TwoImportsOneDelayed(false), &layout);
    auto damaged = [&](auto change) {
        std::vector<uint8_t> image = good;
        change(image);
        return ParseImportModules(image);
    };
    EXPECT_TRUE(
        damaged([&](auto& image) { PutU32(image, layout.importTable + 12, 0x7FFFFFF0u); }).empty());
    EXPECT_TRUE(
        damaged([&](auto& image) { PutU32(image, layout.delayTable + 4, 0xFFFFFFFFu); }).empty());
    // A chain that runs to the end of its section, and one too long for any real image.
    EXPECT_TRUE(damaged([&](auto& image) { MakeLongChain(image, layout, 200, false); }).empty());
    EXPECT_EQ(damaged([&](auto& image) { MakeLongChain(image, layout, 4001, true); }).size(),
              4000u);
    EXPECT_TRUE(damaged([&](auto& image) { MakeLongChain(image, layout, 5001, true); }).empty());
    // Module names are capped at 256 bytes before their terminator.
    auto nameOfLength = [&](size_t length) {
        return damaged([&](auto& image) {
            std::fill_n(image.begin() + 0x200, length, 'N');
            image[0x200 + length] = 0;
            PutU32(image, layout.importTable + 12, 0x200);
        });
    };
    EXPECT_EQ(nameOfLength(256).front(), std::string(256, 'n'));
    EXPECT_TRUE(nameOfLength(257).empty());
}

TEST(ImportModules, ReadsProgramImagesFromDisk) {
    test::TTempFolder dir;
    EXPECT_EQ(ReadImportModules(dir.Write("app.exe", WritePeImage(TwoImportsOneDelayed(true)))),
              kTwoImportsOneDelayed);
}

TEST(ImportModules, ReadsTablesThatSpanManyPagesOfTheFile) {
    PeImageSpec spec;
    for (int i = 0; i < 600; ++i)
        spec.imports.push_back("Module" + std::to_string(i) + ".DLL");
    spec.delayImports = {"Late.dll"};
    const std::vector<uint8_t> image = WritePeImage(spec);
    ASSERT_GT(image.size(), 5 * 4096u);
    const Names names = ParseImportModules(image);
    ASSERT_EQ(names.size(), 601u);
    EXPECT_EQ(names[599], "module599.dll");
    test::TTempFolder dir;
    EXPECT_EQ(ReadImportModules(dir.Write("many.dll", image)), names);
}

TEST(ImportModules, AnythingButAProgramImageHasNone) {
    test::TTempFolder dir;
    EXPECT_TRUE(ReadImportModules(dir.Write("notes.txt", std::string("MZ but only text"))).empty());
    EXPECT_TRUE(ReadImportModules(dir.Write("empty.dll", std::string())).empty());
    EXPECT_TRUE(ReadImportModules(dir.File("missing.dll")).empty());
    EXPECT_TRUE(ReadImportModules(dir.File("")).empty());
    EXPECT_TRUE(ParseImportModules({}).empty());
    // A pipe must neither block the reader nor be read.
    EXPECT_TRUE(ReadImportModules(test::MakeNamedPipe(dir.File("pipe"))).empty());
}
