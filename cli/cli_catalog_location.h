#pragma once

#include "catalog/sqlite_database.h"
#include "cli/cli_arguments.h"

#include <memory>
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

// The catalog of a command that reads or changes one: a missing catalog is an error (raised as
// std::runtime_error), not an empty result, and is not created here.
std::unique_ptr<TSQLiteDatabase> OpenExistingCatalog(const std::string& dataDirectory);

} // namespace mirelon
