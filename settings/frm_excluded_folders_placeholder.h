#pragma once

#include "dropdown_form.h"

#include <memory>

namespace mirelon {

// Stands in for an excluded-folder panel until the folder tree exists: a drop-down panel of
// the designed size, under the panel's form name, that says so and closes on "Ok".
std::unique_ptr<TfmDropDown> MakeExcludedFoldersPlaceholder(const QString& formName);

} // namespace mirelon
