#pragma once

#include <string>
#include <string_view>

namespace mirelon {

// The separator the walk puts between a folder and its entries: '/' on Linux, '\' on Windows.
char PathSeparator();

// Whether `c` separates names in a path: only '/' on Linux; '\' and '/' on Windows.
bool IsPathSeparator(char c);

// The file name of a full path, whole: what follows the last character that separates names
// (on Linux only '/'; on Windows '\', '/' and the colon of a drive such as "C:").
std::string FileNameOf(std::string_view fullPath);

} // namespace mirelon
