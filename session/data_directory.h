#pragma once

#include "base/executable_path.h"

#include <string>

namespace mirelon {

// The directory part of an executable's full path, with its trailing separator.
std::string DataDirectoryOf(const std::string& executablePath);

// Whether programs in this directory are installed ones, which is no place for a user's data:
// on Linux a "bin" directory (/usr/bin, /usr/local/bin, ~/.local/bin); on Windows a directory
// inside a "Program Files" or "Program Files (x86)" folder.
bool IsInstalledProgramDirectory(const std::string& executableDirectory);

// An installed program's data directory for the user on Linux, with its trailing separator:
// $XDG_DATA_HOME/mirelon/ when that is an absolute path, else ~/.local/share/mirelon/; empty
// when neither is known.
std::string UserDataDirectory(const std::string& xdgDataHome, const std::string& home);

// The same on Windows: %LOCALAPPDATA%\Mirelon\ when that is an absolute path, else
// AppData\Local\Mirelon\ in the user's profile folder; empty when neither is known.
std::string LocalAppDataDirectory(const std::string& localAppData, const std::string& home);

// The user's home directory: $HOME, else the account's own; on Windows the profile folder.
// Empty when unknown.
std::string HomeDirectory();

// This user's data directory for installed programs by the platform's rule above, made from
// the environment. Raises std::runtime_error when the system does not tell.
std::string InstalledDataDirectory();

// The data directory of this run, which holds the catalog, the settings file and both
// exclusion files: the executables' directory, so that programs run from the build tree (or
// unpacked anywhere on Windows) keep their data there, or the user's data directory for
// installed programs, made when missing. Raises std::runtime_error when an installed program
// cannot tell where the user's data goes.
std::string ApplicationDataDirectory();

} // namespace mirelon
