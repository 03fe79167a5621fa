#pragma once

#include <stdexcept>

namespace mirelon {

// The one failure type of the catalog access layer; its text names the failed statement.
class ESQLiteException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace mirelon
