#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_streams.h"

#include <functional>
#include <string>

namespace mirelon {

// `remove-duplicates`: in each group that `duplicates` lists with the same filters, keeps the
// files the rule chooses and moves the others to the trash (or deletes them), one line per file
// on standard output, group by group, and a summary on standard error. Before the others go, a
// kept file must still be as catalogued; a group whose kept files are not is left untouched.
// `stopRequested` is asked before each file: a nonzero exit code stops the run there and is
// returned.
int RunRemoveDuplicatesCommand(const CliRequest& request, const std::string& dataDirectory,
                               CliStreams& streams, const std::function<int()>& stopRequested);

} // namespace mirelon
