#pragma once

#include "catalog/sqlite_exception.h"

#include <string>

namespace mirelon {

// The text of the ESQLiteException that action raises, or a marker when it raises none.
template <class Action> std::string FailureText(Action&& action) {
    try {
        action();
    } catch (const ESQLiteException& failure) {
        return failure.what();
    }
    return "<no failure>";
}

} // namespace mirelon
