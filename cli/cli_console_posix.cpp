#include "cli/cli_console.h"

namespace mirelon {

TCliConsole::TCliConsole(int argc, char** argv)
    : arguments_(argv + (argc > 0 ? 1 : 0), argv + argc) {}

TCliConsole::~TCliConsole() = default;

} // namespace mirelon
