#include "exclusions/item_identity.h"

#include "base/ascii_case.h"
#include "base/utf8_path.h"
#include "scan/path_separator.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace mirelon {

namespace {

unsigned char FoldedAscii(char c) {
    return static_cast<unsigned char>(ToLowerAscii(c));
}

bool IsRoot(const std::filesystem::path& path) {
    return !path.empty() && path == path.root_path();
}

// Absolute by the platform's rules ("/srv" on Linux, "C:\srv" on Windows), and without a
// trailing separator unless a root.
bool IsItemPath(std::string_view text) {
    const std::filesystem::path path = PathFromUtf8(text);
    return path.is_absolute() && (path.has_filename() || IsRoot(path));
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
    if (path.find('\0') != std::string_view::npos || !IsItemPath(path)) {
        return std::nullopt;
    }
    return std::string(path);
}

std::string ChildPath(std::string_view folder, std::string_view name) {
    std::string path = PathWithSeparator(folder);
    path.append(name);
    return path;
}

std::string ItemPathOfFolder(std::string_view folder) {
    std::string path(folder);
    while (path.size() > 1 && IsPathSeparator(path.back()) && !IsRoot(PathFromUtf8(path))) {
        path.pop_back();
    }
    return path;
}

std::string PathWithSeparator(std::string_view path) {
    std::string withSeparator(path);
    if (withSeparator.empty() || !IsPathSeparator(withSeparator.back())) {
        withSeparator += PathSeparator();
    }
    return withSeparator;
}

bool IdentityExists(std::string_view identity) {
    const auto path = PathOfIdentity(identity);
    if (!path) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(PathFromUtf8(*path), error);
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
