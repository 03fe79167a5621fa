#include "query/query_jobs.h"

#include "base/ascii_case.h"
#include "catalog/sqlite_exception.h"
#include "query/duplicate_search.h"
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

// The rows of the duplicate search, in group order when asked. A catalog made before the stamps
// has no links to tell, nor has one whose stamp table is damaged (the next scan makes it again):
// every row is then a file of its own.
std::unique_ptr<TSQLiteTable> OpenDuplicates(TSQLiteDatabase& catalog, bool everyLink,
                                             bool inGroupOrder) {
    const auto text = [inGroupOrder](std::string_view query) {
        return inGroupOrder ? InGroupOrder(query) : std::string(query);
    };
    if (!everyLink && catalog.HasTable("tblFileStamps")) {
        try {
            return catalog.OpenResult(text(kDuplicatesOncePerFileQuery));
        } catch (const ESQLiteException&) {
        }
    }
    return catalog.OpenResult(text(kDuplicatesQuery));
}

} // namespace

std::size_t FindDuplicateFiles(TSQLiteDatabase& catalog, TResultGridSink& grid, bool everyLink) {
    const auto result = OpenDuplicates(catalog, everyLink, false);
    return ReplaceGridRows(*result, grid);
}

std::size_t FindDuplicateFiles(TSQLiteDatabase& catalog, TResultGridSink& grid,
                               const DuplicateFilters& filters, bool everyLink) {
    if (!filters.Any()) {
        return FindDuplicateFiles(catalog, grid, everyLink);
    }
    const auto result = OpenDuplicates(catalog, everyLink, true);
    grid.ClearRows();
    return LoadDuplicateGroups(*result, grid, filters);
}

std::size_t FindOldFiles(TSQLiteDatabase& catalog, TResultGridSink& grid, int months,
                         TDateTime now) {
    const auto result = catalog.OpenResult(OldFilesQuery(MakeOldFilesBounds(now, months)));
    return ReplaceGridRows(*result, grid);
}

std::size_t FindUnusedDlls(TSQLiteDatabase& catalog, TResultGridSink& grid) {
    ModuleNameSet needed;
    {
        const auto importLists = catalog.OpenResult(std::string(kImportListsQuery));
        needed = CollectImportedModules(*importLists);
    }
    // Windows matches module names without regard to letter case, the ELF loader exactly.
    const ModuleNameSet neededLowerCase = LowerCased(needed);
    const auto candidates = catalog.OpenResult(std::string(kUnusedDllCandidatesQuery));
    return ReplaceGridRows(*candidates, grid, [&](const ResultRow& row) {
        if (ToLowerAscii(row[kFileExtensionColumn]) == ".dll" &&
            !neededLowerCase.contains(ToLowerAscii(row[kFileNameColumn]))) {
            return true;
        }
        const std::string& ownName = row[kInternalNameColumn];
        const bool sharedLibrary =
            !ownName.empty() && row[kCompanyNameColumn].empty() && row[kFileVersionColumn].empty();
        return sharedLibrary && !needed.contains(ownName);
    });
}

} // namespace mirelon
