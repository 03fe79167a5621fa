#include "scan/elf_dynamic_info.h"

namespace mirelon {

// The ELF reader works through libelf, which has no Windows build here: on Windows an ELF file
// is catalogued like a file of no known format, without needed libraries or a soname.

ElfDynamicInfo ReadElfDynamicInfo(const TPeFileSource&) {
    return {};
}

ElfDynamicInfo ParseElfDynamicInfo(std::span<const uint8_t>) {
    return {};
}

} // namespace mirelon
