#pragma once

#include "catalog/sqlite_database.h"
#include "scan/exclusion_provider.h"
#include "scan/scan_options.h"

#include <atomic>
#include <memory>
#include <string>

namespace mirelon {

// Application-wide state of the main unit, alive for the whole run. Jobs read and write it on
// the helper thread while the window thread waits for them.
struct TShellState {
    // Directory of the executable with a trailing separator; fixed before any window exists.
    std::string DataDirectory;
    // Selects the job of the next helper-thread run; keeps its last value.
    std::string TaskName;
    // Absent until "Create Database" has run, and again after it failed or the window closed.
    std::unique_ptr<TSQLiteDatabase> CatalogDatabase;
    // Why CatalogDatabase is absent after a failed "Create Database".
    std::string CatalogFailure;
    // The scan options as the scan options panel last set them; the scan job reads them at the
    // moment of use.
    TScanOptions ScanOptions;
    // The folders the scan leaves out, asked for at the start of every scan; the scan exclusion
    // panel replaces this provider when it is created.
    std::shared_ptr<IExclusionProvider> ScanExclusions =
        std::make_shared<TEmptyExclusionProvider>();
};

} // namespace mirelon
