#pragma once

#include "cli/cli_streams.h"

#include <span>
#include <string>

namespace mirelon {

// The whole program after argument splitting: parses, runs one command, reports failures on
// the error stream in one line each, and returns the exit code.
int RunCli(std::span<const std::string> arguments, CliStreams& streams);

} // namespace mirelon
