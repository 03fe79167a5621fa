#pragma once

#include <cstdint>
#include <string>

namespace mirelon {

// Asks the system to start reading the first `bytes` of a file (all of it for 0) in the
// background, so that a read soon after finds it in memory and a cold disk has more than one
// request in flight. Only a hint: it reads nothing itself, changes no file time, and does
// nothing where the file cannot be opened or the system offers no such hint. True when there
// was nothing to ask for: the start of the file is in memory already (then nothing is asked),
// or the system offers no hint.
bool HintReadAhead(const std::string& path, uint64_t bytes);

} // namespace mirelon
