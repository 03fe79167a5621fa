#pragma once

namespace mirelon {

// Whether standard error goes to a terminal, where a progress line can be redrawn in place.
bool StandardErrorIsTerminal();

// The width of the terminal on standard error; 80 when it cannot be learnt.
int StandardErrorColumns();

} // namespace mirelon
