#pragma once

#include <string>

namespace mirelon {

class TrsStorage;

// The INI text of the whole store: the root's keys under "[]" when it has any, then every
// section in table order, each as a header line, its key lines and an empty line. Sections
// without keys appear only with soSaveEmptySection. Lines end in CR LF.
std::string IniText(const TrsStorage& storage);

} // namespace mirelon
