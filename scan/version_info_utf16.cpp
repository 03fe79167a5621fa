#include "scan/version_info_utf16.h"

#include "base/byte_order.h"
#include "base/utf16_text.h"

namespace mirelon {

std::string Utf8FromUtf16Le(std::span<const uint8_t> bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(Load16LE(bytes.data() + 2 * i));
    }
    return Utf8FromUtf16(units);
}

} // namespace mirelon
