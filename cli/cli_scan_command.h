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
    // Polled during the scan: the exit code a stop request asks for (130 for Ctrl-C, 129, 143),
    // 0 while none came.
    std::function<int()> stopRequested;
};

// `scan`: a whole scan of the roots (the fixed drives when none are given) into the catalog,
// then a summary on the output. Roots named twice or inside another root are walked once, with
// a note. Returns the exit code; roots that do not exist raise ECliUsage.
int RunScanCommand(const CliRequest& request, const CliScanSettings& settings, CliStreams& streams);

} // namespace mirelon
