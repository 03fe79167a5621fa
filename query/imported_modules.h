#pragma once

#include "catalog/sqlite_table.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace mirelon {

using ModuleNameSet = std::unordered_set<std::string>;

// Adds the lower-cased names of one import-modules text (",kernel32.dll,user32.dll").
void AddImportedModules(std::string_view importModules, ModuleNameSet& names);

// Every module name that the first column of the result imports, in one pass over its rows.
ModuleNameSet CollectImportedModules(TSQLiteTable& importLists);

} // namespace mirelon
