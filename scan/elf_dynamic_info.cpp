#include "scan/elf_dynamic_info.h"

#include "scan/pe_image_source.h"

#include <cstring>

namespace mirelon {

bool HasElfMagic(const TPeByteSource& source) {
    static constexpr char kMagic[] = {'\x7F', 'E', 'L', 'F'};
    char magic[sizeof kMagic];
    return source.Read(0, magic, sizeof magic) && std::memcmp(magic, kMagic, sizeof magic) == 0;
}

} // namespace mirelon
