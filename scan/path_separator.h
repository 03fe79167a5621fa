#pragma once

namespace mirelon {

// The separator the walk puts between a folder and its entries: '/' on Linux, '\' on Windows.
char PathSeparator();

// Whether `c` separates names in a path: only '/' on Linux; '\' and '/' on Windows.
bool IsPathSeparator(char c);

} // namespace mirelon
