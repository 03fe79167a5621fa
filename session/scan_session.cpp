#include "session/scan_session.h"

#include "base/utf8_path.h"
#include "catalog/bulk_write_journal.h"
#include "catalog/catalog_failure.h"
#include "catalog/catalog_file.h"
#include "catalog/catalog_format.h"
#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "catalog/sqlite_error.h"
#include "catalog/sqlite_exception.h"
#include "hash/hash_service.h"
#include "scan/folder_access.h"
#include "scan/scan_options.h"
#include "scan/scan_run.h"
#include "session/task_dispatcher.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

namespace mirelon {

namespace {

// A root that cannot be listed would contribute nothing; for it a fresh scan would have thrown
// the old catalog away. The drives are not checked: "Scan Now" scans the others.
std::string UnlistableRoot(const TScanRun& run) {
    for (const std::string& root : run.Roots()) {
        const std::string reason = FolderAccessFailure(root);
        if (!reason.empty()) {
            return "cannot list " + root + ": " + reason;
        }
    }
    return {};
}

std::string MethodName(int32_t method) {
    const char* name = HashMethodName(method);
    return name != nullptr ? name : "";
}

// Why the scan must not write into this catalog at all; empty when it may. Checksums of two
// methods in one catalog would make false duplicates (CRC32 and ADLER32 have the same length),
// so a continued scan keeps the catalog's method; an update may change it, since it hashes
// every file again then.
std::string CatalogRefusal(TSQLiteDatabase& catalog, const TScanRun& run) {
    const CatalogFormat format = ReadCatalogFormat(catalog);
    if (format.version > kCatalogFormatVersion) {
        return catalog.FileName() + " was written by a newer version of Mirelon; this one " +
               "cannot keep it up to date";
    }
    const std::string method = MethodName(run.HashMethod());
    if (run.Mode() == kFreshScanContinue && !format.hashMethod.empty() &&
        format.hashMethod != method) {
        return "the catalog holds " + format.hashMethod + " checksums: continue with " +
               format.hashMethod + ", or choose an update or a fresh scan to use " + method;
    }
    return {};
}

// The stamp and info tables as this program makes them, and the scan's method recorded. An
// update with another method forgets every stamp first: each file is then hashed again, also
// by the next update should this one be stopped.
void PrepareCatalog(TSQLiteDatabase& catalog, const TScanRun& run) {
    const CatalogFormat format = ReadCatalogFormat(catalog);
    PrepareCatalogFormat(catalog);
    const std::string method = MethodName(run.HashMethod());
    if (run.Mode() == kFreshScanUpdate && format.hashMethod != method) {
        ForgetFileStamps(catalog);
    }
    RecordCatalogFormat(catalog, method);
}

// Every row inserted so far becomes permanent, however the job ended; unless SQLite has already
// rolled the transaction back (a full disk, an I/O error) or the commit fails, and then the
// rows since the last batch commit are gone. `error` keeps the first failure.
void EndScanTransaction(TSQLiteDatabase& catalog, TScanRun& run, std::string& error) {
    if (catalog.TransactionActive()) {
        try {
            catalog.CommitTransaction();
            run.RowsCommitted();
            return;
        } catch (const std::exception& e) {
            if (error.empty()) {
                error = DescribeFailure(e);
            }
        }
    }
    catalog.RollbackTransaction();
    run.RowsRolledBack();
}

} // namespace

std::vector<std::string> CatalogOwnFiles(const std::string& dataDirectory) {
    const std::string db = dataDirectory + kCatalogFileName;
    return {db, db + "-journal", db + "-wal", db + "-shm"};
}

bool DeleteCatalogFile(std::unique_ptr<TSQLiteDatabase>& catalog, const std::string& dataDirectory,
                       std::string& error) {
    const std::vector<std::string> files = CatalogOwnFiles(dataDirectory);
    try {
        if (InspectCatalogFile(files.front()) == CatalogFileKind::Other) {
            error = NotACatalogText(files.front());
            return false;
        }
    } catch (const ESQLiteException& e) {
        error = DescribeFailure(e);
        // It may have been a catalog, but nothing says so: the user decides what becomes of it.
        if (IsDamagedDatabase(e)) {
            error += "; move it away or choose another folder";
        }
        return false;
    } catch (const std::exception& e) {
        error = DescribeFailure(e);
        return false;
    }
    catalog.reset();
    std::error_code code;
    std::filesystem::remove(PathFromUtf8(files.front()), code);
    if (code) {
        error = "cannot delete the old catalog " + files.front() + ": " + code.message();
        return false;
    }
    // A journal left by a crash would otherwise be played back into the new, empty catalog.
    for (size_t i = 1; i < files.size(); ++i) {
        std::filesystem::remove(PathFromUtf8(files[i]), code);
    }
    return true;
}

ScanOutcome RunScanSession(TScanRun& run, const IScanOptions& options,
                           std::unique_ptr<TSQLiteDatabase>& catalog,
                           const std::string& dataDirectory, const TJobRunner& runJob) {
    ScanOutcome outcome;
    run.BeginScan();
    struct EndScan {
        TScanRun& run;
        ~EndScan() {
            run.SetCatalog(nullptr);
            run.EndScan();
        }
    } endScan{run};

    outcome.error = UnlistableRoot(run);
    if (!outcome.error.empty()) {
        return outcome;
    }
    // Scanning on after a failed deletion would add to the old rows, which a fresh scan
    // promised to drop.
    if (options.FreshScanIndex() == kFreshScanYes &&
        !DeleteCatalogFile(catalog, dataDirectory, outcome.error)) {
        return outcome;
    }
    if (!catalog) {
        const std::string failure = runJob(kTaskCreateDatabase);
        if (!catalog) {
            outcome.error = failure.empty() ? "The catalog could not be opened." : failure;
            return outcome;
        }
    }
    run.SetCatalog(catalog.get());
    run.SetIgnoredFiles(CatalogOwnFiles(dataDirectory));
    // Made once the scan may write: even a journal that comes and goes changes the file.
    std::optional<TBulkWriteJournal> journal;
    try {
        outcome.error = CatalogRefusal(*catalog, run);
        if (!outcome.error.empty()) {
            return outcome;
        }
        journal.emplace(*catalog);
        catalog->StartTransaction();
        PrepareCatalog(*catalog, run);
    } catch (const std::exception& e) {
        catalog->RollbackTransaction();
        outcome.error = DescribeFailure(e);
        return outcome;
    }
    outcome.scanned = true;
    outcome.error = runJob(kTaskScanHarddisk);
    EndScanTransaction(*catalog, run, outcome.error);
    journal->End();
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
            return DescribeFailure(e);
        }
        return {};
    };
    return RunScanSession(run, options, catalog, dataDirectory, runHere);
}

} // namespace mirelon
