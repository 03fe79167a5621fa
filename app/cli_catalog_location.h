#pragma once

#include "app/cli_arguments.h"

#include <string>

namespace mirelon {

// The data directory (absolute, with a trailing separator) whose "files.db" a command uses.
// `catalogPath` is --db as given: empty for `defaultDataDirectory`, an existing folder, or a
// file named "files.db" in an existing folder. The engine keeps the catalog's file name fixed,
// so any other name raises ECliUsage, as does a folder that does not exist.
std::string CatalogDataDirectory(CliCommand command, const std::string& catalogPath,
                                 const std::string& defaultDataDirectory);

// An absolute, lexically normal path without a trailing separator ("/" stays "/").
std::string AbsoluteFolderPath(const std::string& path);

} // namespace mirelon
