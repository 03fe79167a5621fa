// Any bytes at all, read both from memory and from a file the way a scan reads them: neither may
// crash or read outside the bytes, both must agree, and what they return must look like names.
#include "scan/elf_dynamic_info.h"
#include "scan/pe_image_file.h"
#include "tests/support/temp_folder.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool LooksLikeName(const std::string& name) {
    return name.size() <= 4096 && name.find('\0') == std::string::npos;
}

// One folder per fuzzing process, removed with its input file when the process ends.
const mirelon::test::TTempFolder inputFolder;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const mirelon::ElfDynamicInfo fromMemory = mirelon::ParseElfDynamicInfo({data, size});
    Check(fromMemory.needed.size() <= mirelon::kMaxNeededLibraries);
    Check(LooksLikeName(fromMemory.soname));
    for (const std::string& name : fromMemory.needed) {
        Check(LooksLikeName(name));
    }

    const mirelon::TPeFileSource file(
        inputFolder.Write("input", std::string_view(reinterpret_cast<const char*>(data), size)));
    Check(file.IsOpen());
    const mirelon::ElfDynamicInfo fromFile = mirelon::ReadElfDynamicInfo(file);
    Check(fromFile.needed == fromMemory.needed && fromFile.soname == fromMemory.soname);
    return 0;
}
