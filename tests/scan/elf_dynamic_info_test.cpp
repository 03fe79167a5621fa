#include "scan/elf_dynamic_info.h"
#include "scan/pe_image_file.h"
#include "tests/scan/elf_image_writer.h"
#include "tests/scan/pe_image_writer.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

using namespace mirelon;
using namespace mirelon::testing;

namespace {

using Names = std::vector<std::string>;

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ElfDynamicInfo ReadFile(const std::string& path) {
    return ReadElfDynamicInfo(TPeFileSource(path));
}

bool IsEmpty(const ElfDynamicInfo& info) {
    return info.needed.empty() && info.soname.empty();
}

// A shared library with a mixed-case soname, a program that needs it and one that does not,
// built once with the C compiler the project is built with.
class CompiledElfFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new test::TTempFolder;
        const std::string cc = MIRELON_TEST_CC;
        const auto in = [](const std::string& name) { return "'" + folder->File(name) + "'"; };
        folder->Write("lib.c", "#include <string.h>\nsize_t Measure(const char* s) { return "
                               "strlen(s); }\n");
        folder->Write("needs.c", "#include <stddef.h>\nsize_t Measure(const char*);\n"
                                 "int main(int c, char** v) { return (int)Measure(v[c - 1]); }\n");
        folder->Write("alone.c", "int main(void) { return 0; }\n");
        buildLog = folder->File("build.log");
        const std::string log = " >>'" + buildLog + "' 2>&1";
        built = std::system((cc + " -shared -fPIC -Wl,-soname,libMirelonTest.so.1 -o " +
                             in("libMirelonTest.so.1.0") + " " + in("lib.c") + log)
                                .c_str()) == 0 &&
                std::system((cc + " -o " + in("needs") + " " + in("needs.c") + " " +
                             in("libMirelonTest.so.1.0") + log)
                                .c_str()) == 0 &&
                std::system((cc + " -o " + in("alone") + " " + in("alone.c") + log).c_str()) == 0;
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(built) << "the compiler failed; see " << buildLog; }
    static std::string Path(const std::string& name) { return folder->File(name); }

    static inline test::TTempFolder* folder = nullptr;
    static inline std::string buildLog;
    static inline bool built = false;
};

TEST_F(CompiledElfFiles, TheLibraryNamesItselfAndEachProgramWhatItNeeds) {
    const ElfDynamicInfo library = ReadFile(Path("libMirelonTest.so.1.0"));
    EXPECT_EQ(library.soname, "libMirelonTest.so.1");
    EXPECT_FALSE(library.needed.empty()); // the C library

    const ElfDynamicInfo needs = ReadFile(Path("needs"));
    EXPECT_EQ(needs.soname, "");
    ASSERT_FALSE(needs.needed.empty());
    EXPECT_EQ(needs.needed.front(), "libMirelonTest.so.1");
    EXPECT_EQ(needs.needed.size(), library.needed.size() + 1);

    const ElfDynamicInfo alone = ReadFile(Path("alone"));
    EXPECT_EQ(alone.soname, "");
    EXPECT_EQ(alone.needed, Names(needs.needed.begin() + 1, needs.needed.end()));

    for (const char* name : {"libMirelonTest.so.1.0", "needs", "alone"}) {
        const ElfDynamicInfo fromMemory = ParseElfDynamicInfo(Bytes(Path(name)));
        const ElfDynamicInfo fromFile = ReadFile(Path(name));
        EXPECT_EQ(fromMemory.needed, fromFile.needed) << name;
        EXPECT_EQ(fromMemory.soname, fromFile.soname) << name;
    }
}

TEST_F(CompiledElfFiles, ASeparateDebugFileNamesNothing) {
    const std::string debug = Path("libMirelonTest.debug");
    if (std::system(("objcopy --only-keep-debug '" + Path("libMirelonTest.so.1.0") + "' '" + debug +
                     "' 2>/dev/null")
                        .c_str()) != 0) {
        GTEST_SKIP() << "objcopy (binutils) is not installed";
    }
    // Its section headers are the library's, but the dynamic section holds no bytes.
    EXPECT_TRUE(IsEmpty(ReadFile(debug)));
}

// The section headers come last, so no copy cut short keeps anything readable.
TEST_F(CompiledElfFiles, EveryCopyCutShortGivesNothing) {
    for (const char* name : {"libMirelonTest.so.1.0", "needs", "alone"}) {
        const std::vector<uint8_t> whole = Bytes(Path(name));
        ASSERT_FALSE(IsEmpty(ParseElfDynamicInfo(whole)));
        std::vector<std::size_t> cuts = {0, 1, 4, 5, 16, 52, 63, 64, whole.size() - 1};
        for (std::size_t part = 1; part < 64; ++part) {
            cuts.push_back(whole.size() * part / 64);
        }
        for (const std::size_t cut : cuts) {
            const std::span<const uint8_t> prefix(whole.data(), cut);
            EXPECT_TRUE(IsEmpty(ParseElfDynamicInfo(prefix))) << name << " cut at " << cut;
        }
        const std::string onDisk = folder->Write(
            std::string(name) + ".cut", std::vector<uint8_t>(whole.begin(), whole.end() - 100));
        EXPECT_TRUE(IsEmpty(ReadFile(onDisk))) << name;
    }
}

struct Form {
    bool is64;
    bool bigEndian;
};
constexpr Form kForms[] = {{true, false}, {true, true}, {false, false}, {false, true}};

std::string FormName(const Form& form) {
    return std::string(form.is64 ? "64-bit " : "32-bit ") +
           (form.bigEndian ? "big-endian" : "little-endian");
}

ElfImageSpec Spec(const Form& form) {
    ElfImageSpec spec;
    spec.is64 = form.is64;
    spec.bigEndian = form.bigEndian;
    spec.needed = {"libc.so.6", "libQt6Core.so.6", "libc.so.6", "../odd/PATH.so"};
    spec.soname = "libSelf.so.2";
    return spec;
}

TEST(ElfDynamicInfo, EveryClassAndByteOrderReadsTheSameNamesAsStored) {
    for (const Form& form : kForms) {
        const ElfDynamicInfo info = ParseElfDynamicInfo(WriteElfImage(Spec(form)));
        EXPECT_EQ(info.needed, Spec(form).needed) << FormName(form);
        EXPECT_EQ(info.soname, "libSelf.so.2") << FormName(form);
    }
}

TEST(ElfDynamicInfo, DamagedTablesAndNamesGiveNothing) {
    using Damage = std::function<void(ElfFieldWriter&, const ElfImageLayout&, std::size_t)>;
    const struct {
        const char* what;
        Damage damage;
    } damages[] = {
        {"section headers past the end",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t size) {
             out.PutWord(at.sectionHeaderOffsetField, size - 8);
         }},
        {"section headers far past the end",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.PutWord(at.sectionHeaderOffsetField, 0xFFFFFF00u);
         }},
        {"dynamic section past the end",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t size) {
             out.PutWord(out.SectionOffsetField(at.dynamicHeader), size - 4);
         }},
        {"dynamic section linked to no section",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.Put(out.SectionLinkField(at.dynamicHeader), 0, 4);
         }},
        {"dynamic section linked to itself, not to strings",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.Put(out.SectionLinkField(at.dynamicHeader), 2, 4);
         }},
        {"dynamic section linked past the section table",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.Put(out.SectionLinkField(at.dynamicHeader), 99, 4);
         }},
        {"last name without its terminating zero",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.PutWord(out.SectionSizeField(at.stringsHeader), at.stringsSize - 1);
         }},
        {"string table running past the end",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t size) {
             out.PutWord(out.SectionSizeField(at.stringsHeader), size - at.strings + 1);
         }},
        {"string table far larger than the file",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.PutWord(out.SectionSizeField(at.stringsHeader), 0x7FFFFFF0u);
         }},
        {"needed name past the string table",
         [](ElfFieldWriter& out, const ElfImageLayout& at, std::size_t) {
             out.PutWord(at.dynamic + out.Word(), 0x10000);
         }},
    };
    for (const Form& form : kForms) {
        for (const auto& damaged : damages) {
            ElfImageLayout layout;
            std::vector<uint8_t> image = WriteElfImage(Spec(form), &layout);
            const std::size_t size = image.size();
            ElfFieldWriter out(image, form.is64, form.bigEndian);
            damaged.damage(out, layout, size);
            ASSERT_EQ(image.size(), size) << damaged.what;
            EXPECT_TRUE(IsEmpty(ParseElfDynamicInfo(image)))
                << FormName(form) << ": " << damaged.what;
        }
    }
}

TEST(ElfDynamicInfo, ProgramHeadersPastTheEndAreNotNeeded) {
    ElfImageLayout layout;
    std::vector<uint8_t> image = WriteElfImage(Spec(kForms[0]), &layout);
    ElfFieldWriter(image, true, false).PutWord(layout.programHeaderOffsetField, image.size() + 64);
    EXPECT_EQ(ParseElfDynamicInfo(image).needed, Spec(kForms[0]).needed);
}

TEST(ElfDynamicInfo, AHundredThousandNeededEntriesAreCappedAndTheSonameStillFound) {
    ElfImageSpec spec;
    for (int i = 0; i < 100000; ++i) {
        spec.needed.push_back("lib" + std::to_string(i) + ".so");
    }
    spec.soname = "libHuge.so";
    test::TTempFolder folder;
    const std::string path = folder.Write("huge.so", WriteElfImage(spec));
    const ElfDynamicInfo info = ReadFile(path);
    ASSERT_EQ(info.needed.size(), kMaxNeededLibraries);
    EXPECT_TRUE(std::equal(info.needed.begin(), info.needed.end(), spec.needed.begin()));
    EXPECT_EQ(info.soname, "libHuge.so");
}

TEST(ElfDynamicInfo, OtherFilesAreNotTakenForElf) {
    test::TTempFolder folder;
    PeImageSpec pe;
    pe.imports = {"KERNEL32.dll"};
    const std::string paths[] = {folder.Write("empty", std::string()),
                                 folder.Write("short", std::string("\x7f"
                                                                   "EL")),
                                 folder.Write("text.txt", std::string("\x7f"
                                                                      "ELF is a format")),
                                 folder.Write("tool.exe", WritePeImage(pe))};
    for (const std::string& path : paths) {
        const TPeFileSource source(path);
        EXPECT_EQ(HasElfMagic(source), path.ends_with("text.txt")) << path;
        EXPECT_TRUE(IsEmpty(ReadElfDynamicInfo(source))) << path;
    }
    EXPECT_TRUE(IsEmpty(ReadFile(folder.File("missing"))));
}

} // namespace
