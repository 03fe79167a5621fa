#pragma once

#include "cli/cli_arguments.h"

#include <string>

namespace mirelon {

// The --help text of a command, or the overview for None.
std::string CliHelpText(CliCommand command);

} // namespace mirelon
