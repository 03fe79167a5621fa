#include "scan/version_info.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void Check(const mirelon::VersionStrings& read) {
    for (const std::string& text : read.strings) {
        if (!read.available && text != mirelon::kVersionValueNotAvailable)
            __builtin_trap();
        if (text.find('\0') != std::string::npos)
            __builtin_trap();
    }
}

} // namespace

// The same bytes as a whole image and as a bare version resource, so that mutations reach the
// version tree without first having to keep the resource tables intact.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(mirelon::ParseVersionInfo({data, size}));
    Check(mirelon::ParseVersionResource({data, size}));
    return 0;
}
