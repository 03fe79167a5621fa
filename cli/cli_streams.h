#pragma once

#include <istream>
#include <ostream>

namespace mirelon {

// Where a command reads and writes: the standard streams, or strings in tests.
struct CliStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

} // namespace mirelon
