#pragma once

#include "cli/cli_arguments.h"

#include <string>

namespace mirelon {

// The data directory (absolute, with a trailing separator) whose "files.db" a command uses.
// `catalogPath` is --db as given: empty for `defaultDataDirectory`, an existing folder, or a
// file named "files.db" in an existing folder. The engine keeps the catalog's file name fixed,
// so any other name raises ECliUsage, as does a folder that does not exist.
std::string CatalogDataDirectory(CliCommand command, const std::string& catalogPath,
                                 const std::string& defaultDataDirectory);

// The folder's absolute path with symbolic links resolved as far as it exists, lexically normal,
// without a trailing separator ("/" stays "/"). The walk reports paths under a root as it was
// given, so canonical roots keep one file from being catalogued under two names, and let the
// scan recognise the catalog's own files.
std::string CanonicalFolderPath(const std::string& path);

} // namespace mirelon
