#include "session/scan_session.h"

#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "scan/scan_options.h"
#include "scan/scan_run.h"

#include <cstdio>
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

ScanOutcome RunScanNow(TScanRun& run, std::unique_ptr<TSQLiteDatabase>& catalog,
                       const std::string& dataDirectory, const IScanOptions& options) {
    ScanOutcome outcome;
    run.BeginScan();
    try {
        if (options.FreshScanIndex() == kFreshScanYes) {
            std::string error;
            if (!DeleteCatalogFile(catalog, dataDirectory, error)) {
                outcome.error = "Cannot delete the old catalog: " + error;
            }
            catalog = CreateDatabase(dataDirectory);
        }
        if (!catalog) {
            catalog = CreateDatabase(dataDirectory);
        }
    } catch (const std::exception& e) {
        outcome.error = e.what();
        run.EndScan();
        return outcome;
    }
    run.SetCatalog(catalog.get());
    run.SetIgnoredFiles(CatalogOwnFiles(dataDirectory));
    catalog->StartTransaction();
    try {
        run.ScanHarddisk();
    } catch (const std::exception& e) {
        outcome.error = e.what();
    }
    catalog->CommitTransaction();
    run.EndScan();
    return outcome;
}

} // namespace mirelon
