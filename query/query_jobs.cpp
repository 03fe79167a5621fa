#include "query/query_jobs.h"

#include "base/ascii_case.h"
#include "query/imported_modules.h"
#include "query/query_texts.h"
#include "query/result_loading.h"

#include <string>

namespace mirelon {

namespace {

std::size_t ReplaceGridRows(TSQLiteTable& result, TResultGridSink& grid,
                            const std::function<bool(const ResultRow&)>& keep = {}) {
    grid.ClearRows();
    return LoadResultRows(result, grid, keep);
}

} // namespace

std::size_t FindDuplicateFiles(TSQLiteDatabase& catalog, TResultGridSink& grid) {
    const auto result = catalog.OpenResult(std::string(kDuplicatesQuery));
    return ReplaceGridRows(*result, grid);
}

std::size_t FindOldFiles(TSQLiteDatabase& catalog, TResultGridSink& grid, int months,
                         TDateTime now) {
    const auto result = catalog.OpenResult(OldFilesQuery(MakeOldFilesBounds(now, months)));
    return ReplaceGridRows(*result, grid);
}

std::size_t FindUnusedDlls(TSQLiteDatabase& catalog, TResultGridSink& grid) {
    ModuleNameSet imported;
    {
        const auto importLists = catalog.OpenResult(std::string(kImportListsQuery));
        imported = CollectImportedModules(*importLists);
    }
    const auto dlls = catalog.OpenResult(std::string(kDllFilesQuery));
    return ReplaceGridRows(*dlls, grid, [&imported](const ResultRow& row) {
        return ToLowerAscii(row[kFileExtensionColumn]) == ".dll" &&
               !imported.contains(ToLowerAscii(row[kFileNameColumn]));
    });
}

} // namespace mirelon
