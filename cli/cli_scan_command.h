#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_streams.h"

#include <functional>
#include <string>

namespace mirelon {

struct CliScanSettings {
    std::string dataDirectory; // where files.db is, with a trailing separator
    bool showProgress = false;
    int columns = 80;
    std::function<bool()> interrupted; // polled during the scan; Ctrl-C by default
};

// `scan`: a whole scan of the roots (the fixed drives when none are given) into the catalog,
// then a summary on the output. Returns the exit code; bad roots raise ECliUsage.
int RunScanCommand(const CliRequest& request, const CliScanSettings& settings, CliStreams& streams);

} // namespace mirelon
