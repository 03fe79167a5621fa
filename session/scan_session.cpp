#include "session/scan_session.h"

#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "scan/scan_options.h"
#include "scan/scan_run.h"
#include "session/task_dispatcher.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace mirelon {

std::vector<std::string> CatalogOwnFiles(const std::string& dataDirectory) {
    const std::string db = dataDirectory + kCatalogFileName;
    return {db, db + "-journal", db + "-wal", db + "-shm"};
}

bool DeleteCatalogFile(std::unique_ptr<TSQLiteDatabase>& catalog, const std::string& dataDirectory,
                       std::string& error) {
    catalog.reset();
    const std::vector<std::string> files = CatalogOwnFiles(dataDirectory);
    std::error_code code;
    std::filesystem::remove(files.front(), code);
    if (code) {
        error = code.message();
        return false;
    }
    // A journal left by a crash would otherwise be played back into the new, empty catalog.
    for (size_t i = 1; i < files.size(); ++i) {
        std::filesystem::remove(files[i], code);
    }
    return true;
}

ScanOutcome RunScanSession(TScanRun& run, const IScanOptions& options,
                           std::unique_ptr<TSQLiteDatabase>& catalog,
                           const std::string& dataDirectory, const TJobRunner& runJob) {
    ScanOutcome outcome;
    run.BeginScan();
    if (options.FreshScanIndex() == kFreshScanYes) {
        std::string error;
        if (!DeleteCatalogFile(catalog, dataDirectory, error)) {
            // Scanning on would add to the old rows, which a fresh scan promised to drop.
            outcome.error = "Cannot delete the old catalog: " + error;
            run.EndScan();
            return outcome;
        }
    }
    if (!catalog) {
        const std::string failure = runJob(kTaskCreateDatabase);
        if (!catalog) {
            outcome.error = failure.empty() ? "The catalog could not be opened." : failure;
            run.EndScan();
            return outcome;
        }
    }
    run.SetCatalog(catalog.get());
    run.SetIgnoredFiles(CatalogOwnFiles(dataDirectory));
    try {
        catalog->StartTransaction();
        outcome.error = runJob(kTaskScanHarddisk);
        // Every row inserted so far becomes permanent, however the job ended.
        catalog->CommitTransaction();
    } catch (const std::exception& e) {
        outcome.error = e.what();
    }
    run.SetCatalog(nullptr);
    run.EndScan();
    return outcome;
}

ScanOutcome RunScanNow(TScanRun& run, std::unique_ptr<TSQLiteDatabase>& catalog,
                       const std::string& dataDirectory, const IScanOptions& options) {
    const TJobRunner runHere = [&](std::string_view taskName) -> std::string {
        try {
            if (taskName == kTaskCreateDatabase) {
                catalog = CreateDatabase(dataDirectory);
            } else if (taskName == kTaskScanHarddisk) {
                run.ScanHarddisk();
            }
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    };
    return RunScanSession(run, options, catalog, dataDirectory, runHere);
}

} // namespace mirelon
