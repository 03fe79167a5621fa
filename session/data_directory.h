#pragma once

#include <string>

namespace mirelon {

// The directory part of an executable's full path, with its trailing separator.
std::string DataDirectoryOf(const std::string& executablePath);

// Full path of the running executable, whatever the working directory; empty if unknown.
std::string ExecutablePath();

// The data directory of this run: the executable's directory.
std::string ApplicationDataDirectory();

} // namespace mirelon
