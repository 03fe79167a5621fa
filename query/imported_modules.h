#pragma once

#include "catalog/sqlite_table.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace mirelon {

// Looked up by string_view, so that a name seen again costs no allocation.
struct ModuleNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};
using ModuleNameSet = std::unordered_set<std::string, ModuleNameHash, std::equal_to<>>;

// Adds the names of one import-modules text (",kernel32.dll,user32.dll"), as written there:
// program images' imports are stored lower-cased, ELF files' needed libraries as they are.
void AddImportedModules(std::string_view importModules, ModuleNameSet& names);

// Every module name that the first column of the result imports, in one pass over its rows.
ModuleNameSet CollectImportedModules(TSQLiteTable& importLists);

// The names lower-cased, for comparing with file names that ignore letter case.
ModuleNameSet LowerCased(const ModuleNameSet& names);

} // namespace mirelon
