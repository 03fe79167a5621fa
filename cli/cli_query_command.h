#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_streams.h"
#include "query/duplicate_filters.h"

#include <string>

namespace mirelon {

// The duplicate-files filters the command line asks for: none unless given; excluded folders
// made canonical, as the catalog holds paths.
DuplicateFilters CliDuplicateFilters(const CliRequest& request);

// `duplicates`, `old` and `unused-dlls`: the catalog's rows as the results window would list
// them, one line (or JSON object) per row, keyed by the catalog column names. Duplicates come
// sorted by checksum, so each group's rows are adjacent. A missing catalog is an error, not an
// empty result: it is not created here.
int RunQueryCommand(const CliRequest& request, const std::string& dataDirectory,
                    CliStreams& streams);

} // namespace mirelon
