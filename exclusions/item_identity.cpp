#include "exclusions/item_identity.h"

#include "base/ascii_case.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mirelon {

namespace {

unsigned char FoldedAscii(char c) {
    return static_cast<unsigned char>(ToLowerAscii(c));
}

} // namespace

std::string IdentityOfPath(std::string_view path) {
    std::string identity(path);
    identity.append(kRootIdentity);
    return identity;
}

std::optional<std::string> PathOfIdentity(std::string_view identity) {
    if (identity.size() <= kRootIdentity.size() || !identity.ends_with(kRootIdentity)) {
        return std::nullopt;
    }
    const std::string_view path = identity.substr(0, identity.size() - kRootIdentity.size());
    if (path.front() != '/' || path.find('\0') != std::string_view::npos ||
        (path.size() > 1 && path.back() == '/')) {
        return std::nullopt;
    }
    return std::string(path);
}

std::string ChildPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path.append(name);
    return path;
}

bool IdentityExists(std::string_view identity) {
    const auto path = PathOfIdentity(identity);
    if (!path) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(*path), error);
}

bool ItemOrderLess(std::string_view a, std::string_view b) {
    const auto folded = std::lexicographical_compare_three_way(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return FoldedAscii(x) <=> FoldedAscii(y); });
    if (folded != 0) {
        return folded < 0;
    }
    return a < b;
}

} // namespace mirelon
