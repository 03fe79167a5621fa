#pragma once

#include <stdexcept>
#include <string>

namespace mirelon {

// A key that cannot be read as the type asked for.
class TrsException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that does not parse as the number asked for.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The settings file could not be written; the store keeps its contents.
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace mirelon
