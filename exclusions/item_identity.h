#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirelon {

// An item of the folder tree is known by its full path as bytes, closed by two zero bytes, the
// way a shell identifier list is closed; the top item (the computer) by the two zero bytes alone.
// Paths are absolute and carry no trailing separator, except a root ("/", "C:\").
inline constexpr std::string_view kRootIdentity{"\0\0", 2};

std::string IdentityOfPath(std::string_view path);

// The path an identity names; none for the top item and for bytes that are not an absolute path
// closed by two zero bytes.
std::optional<std::string> PathOfIdentity(std::string_view identity);

// The path of entry `name` inside folder `folder`.
std::string ChildPath(std::string_view folder, std::string_view name);

// A folder's path as its item is known: without a trailing separator, unless it is a root.
std::string ItemPathOfFolder(std::string_view folder);

// The path with a trailing separator, the form in which the scan walks a drive root.
std::string PathWithSeparator(std::string_view path);

// Whether the item an identity names is still on disk (a folder, a file, anything).
bool IdentityExists(std::string_view identity);

// Sibling order, the same in the tree and in the store: ASCII letter case ignored first, then
// the bytes, so the order is total.
bool ItemOrderLess(std::string_view a, std::string_view b);

} // namespace mirelon
