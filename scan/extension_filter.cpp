#include "scan/extension_filter.h"

#include "base/ascii_case.h"

#include <algorithm>

namespace mirelon {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

} // namespace

std::string NormalizedExtensions(const std::string& text) {
    if (AllBlank(text)) {
        return "*;";
    }
    if (text.back() != ';') {
        return text + ';';
    }
    return text;
}

bool FilterTakesAllFiles(std::string_view filter) {
    return filter.find("*;") != std::string_view::npos;
}

bool MatchesExtensionFilter(std::string_view name, std::string_view filter) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    std::string wanted(name.substr(dot + 1));
    if (AllBlank(wanted)) {
        return false;
    }
    wanted = ToLowerAscii(wanted) + ';';
    return filter.find(wanted) != std::string_view::npos;
}

} // namespace mirelon
