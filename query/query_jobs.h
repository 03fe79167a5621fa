#pragma once

#include "catalog/date_time.h"
#include "catalog/sqlite_database.h"
#include "query/duplicate_filters.h"
#include "query/result_grid_sink.h"

#include <cstddef>

namespace mirelon {

// The helper-thread jobs behind the three "Show Results" buttons. Each runs its query first; a
// failing query raises ESQLiteException and leaves the grid as it was. Otherwise the grid is
// emptied and refilled with the matching rows, none included, and their number is returned.

// Rows whose non-empty checksum is shared with another row. Hard links to one file count as one
// file, shown under the path that sorts first, unless everyLink asks for each of them.
std::size_t FindDuplicateFiles(TSQLiteDatabase& catalog, TResultGridSink& grid,
                               bool everyLink = false);

// The same search with the duplicate-files options applied (see LoadDuplicateGroups): each
// group's rows come together, in path order.
std::size_t FindDuplicateFiles(TSQLiteDatabase& catalog, TResultGridSink& grid,
                               const DuplicateFilters& filters, bool everyLink = false);

// Rows last accessed between midnight ten years before `now` and `now` less `months` months.
std::size_t FindOldFiles(TSQLiteDatabase& catalog, TResultGridSink& grid, int months,
                         TDateTime now);

// Rows with the extension ".dll" in any letter case whose file name no catalogued file imports,
// letter case ignored, and rows of ELF shared libraries whose own name no catalogued file's
// needed list holds, letter case kept. One step: a library needed only by unused libraries
// counts as used.
std::size_t FindUnusedDlls(TSQLiteDatabase& catalog, TResultGridSink& grid);

} // namespace mirelon
