#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirelon {

class IScanOptions;
class TScanRun;
class TSQLiteDatabase;

// The catalog's own files: cataloguing them would describe a file being written.
std::vector<std::string> CatalogOwnFiles(const std::string& dataDirectory);

// Closes the catalog and deletes its file, so that "Create Database" makes a new, empty one.
// False (with the reason) when the file exists and cannot be deleted.
bool DeleteCatalogFile(std::unique_ptr<TSQLiteDatabase>& catalog, const std::string& dataDirectory,
                       std::string& error);

// Runs the job of a task name to its end and returns its failure text, empty when it
// succeeded. Each front end decides where jobs run: the window on its helper thread, the
// command line on the calling thread.
using TJobRunner = std::function<std::string(std::string_view taskName)>;

struct ScanOutcome {
    // Empty when the scan ended normally or by an abort; else what ended or prevented it.
    std::string error;
};

// One scan, the same for every front end, in the order of "Scan Now": a fresh scan closes and
// deletes the old catalog (and stops there, with the reason, when it cannot be deleted);
// "Create Database" runs when no catalog is open; the "Scan Harddisk" job runs inside one
// transaction, which is committed however the job ends. `catalog` is the connection that the
// "Create Database" job fills.
ScanOutcome RunScanSession(TScanRun& run, const IScanOptions& options,
                           std::unique_ptr<TSQLiteDatabase>& catalog,
                           const std::string& dataDirectory, const TJobRunner& runJob);

// RunScanSession with both jobs run on the calling thread: for the command line and tests.
ScanOutcome RunScanNow(TScanRun& run, std::unique_ptr<TSQLiteDatabase>& catalog,
                       const std::string& dataDirectory, const IScanOptions& options);

} // namespace mirelon
