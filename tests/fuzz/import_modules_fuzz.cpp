#include "base/ascii_case.h"
#include "scan/import_modules.h"

#include <cstddef>
#include <cstdint>

// Any bytes at all: the reader must neither crash nor read outside them, and what it returns
// must still look like module names.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> names = mirelon::ParseImportModules({data, size});
    if (names.size() > 2 * 4096)
        __builtin_trap();
    for (const std::string& name : names) {
        if (name.size() > 256)
            __builtin_trap();
        for (char c : name) {
            if (c == '\0' || mirelon::ToLowerAscii(c) != c)
                __builtin_trap();
        }
    }
    return 0;
}
