// Writes the program images the facts tests build into a folder, as the fuzzers' first corpus.
#include "tests/scan/elf_image_writer.h"
#include "tests/scan/pe_image_writer.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace mirelon::testing;

namespace {

void Save(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

VersionResourceSpec SomeStrings() {
    VersionResourceSpec spec;
    spec.strings = {
        {"CompanyName", u"Firm \u00a9"}, {"FileDescription", u"Tool \U0001F600"},
        {"FileVersion", u"1.2.3.4"},     {"InternalName", u"tool"},
        {"OriginalFilename", u"t.exe"},  {"Comments", std::u16string{char16_t(0xD800)}}};
    return spec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    for (bool is64 : {false, true}) {
        const std::string form = is64 ? "pe32plus" : "pe32";
        PeImageSpec spec;
        spec.is64 = is64;
        spec.imageBase = is64 ? 0x140000000ull : 0x400000;
        spec.imports = {"KERNEL32.dll", "User32.DLL"};
        spec.delayImports = {"ComCtl32.Dll"};
        Save(folder, form + "-imports", WritePeImage(spec));
        spec.version = SomeStrings();
        Save(folder, form + "-imports-version", WritePeImage(spec));
        spec.imports.clear();
        spec.delayImports.clear();
        Save(folder, form + "-version", WritePeImage(spec));
    }
    PeImageSpec old;
    old.imports = {"a.dll"};
    old.delayImports = {"OLE32.dll", "shell32.dll"};
    old.oldStyleDelay = true;
    Save(folder, "pe32-old-delay", WritePeImage(old));

    VersionResourceSpec noTranslation = SomeStrings();
    noTranslation.translation.reset();
    Save(folder, "version-block", WriteVersionBlock(SomeStrings()));
    Save(folder, "version-block-no-translation", WriteVersionBlock(noTranslation));

    for (bool is64 : {false, true}) {
        for (bool bigEndian : {false, true}) {
            ElfImageSpec elf;
            elf.is64 = is64;
            elf.bigEndian = bigEndian;
            elf.needed = {"libc.so.6", "libQt6Core.so.6"};
            elf.soname = "libSelf.so.2";
            Save(folder, std::string("elf") + (is64 ? "64" : "32") + (bigEndian ? "-msb" : "-lsb"),
                 WriteElfImage(elf));
        }
    }
    return 0;
}
