#include "scan/extension_filter.h"

#include <algorithm>

namespace mirelon {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool AllBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsBlank);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
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
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), AsciiLower);
    wanted += ';';
    return filter.find(wanted) != std::string_view::npos;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

} // namespace mirelon
