#pragma once

#include <string_view>

namespace mirelon {

class TrsStorage;

// Adds the sections and keys of an INI text to the store. Text before the first line that
// begins with "[" is ignored; a key repeated within a section keeps its last value. Any byte
// sequence is accepted: what does not fit the form is skipped. The root is current afterwards.
void ReadIniText(std::string_view text, TrsStorage& storage);

} // namespace mirelon
