#include "query/imported_modules.h"

#include "base/ascii_case.h"

namespace mirelon {

void AddImportedModules(std::string_view importModules, ModuleNameSet& names) {
    while (!importModules.empty()) {
        const std::size_t comma = importModules.find(',');
        const std::string_view name = importModules.substr(0, comma);
        if (!name.empty() && !names.contains(name)) {
            names.emplace(name);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        importModules.remove_prefix(comma + 1);
    }
}

ModuleNameSet CollectImportedModules(TSQLiteTable& importLists) {
    ModuleNameSet names;
    for (; !importLists.AtEnd(); importLists.MoveNext()) {
        AddImportedModules(importLists.TextAt(0), names);
    }
    return names;
}

ModuleNameSet LowerCased(const ModuleNameSet& names) {
    ModuleNameSet lower;
    lower.reserve(names.size());
    for (const std::string& name : names) {
        lower.insert(ToLowerAscii(name));
    }
    return lower;
}

} // namespace mirelon
