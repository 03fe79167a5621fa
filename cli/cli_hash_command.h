#pragma once

#include "cli/cli_arguments.h"
#include "cli/cli_streams.h"

#include <string>

namespace mirelon {

// One checksum line as md5sum writes it: "TEXT  PATH", or "\TEXT  PATH" with backslash, line
// feed and carriage return in the path escaped, so that every line reads back unambiguously. On
// Windows the backslash separates names and is written as it is.
std::string ChecksumLine(const std::string& text, const std::string& path);

// `hash`: checksum lines for the files ("-", or no file at all, reads standard input). Files
// that cannot be hashed are reported on the error stream and make the exit code 1.
int RunHashCommand(const CliRequest& request, CliStreams& streams);

} // namespace mirelon
