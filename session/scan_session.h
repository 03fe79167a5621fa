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

// Deletes the old catalog, so that "Create Database" makes a new, empty one: only an empty
// file or a catalog, never another program's file. Closes `catalog` first, since an open file
// may not be deletable. False (with the reason, and `catalog` left open) when the file is not
// a catalog, cannot be read or cannot be deleted.
bool DeleteCatalogFile(std::unique_ptr<TSQLiteDatabase>& catalog, const std::string& dataDirectory,
                       std::string& error);

// Runs the job of a task name to its end and returns its failure text, empty when it
// succeeded. Each front end decides where jobs run: the window on its helper thread, the
// command line on the calling thread.
using TJobRunner = std::function<std::string(std::string_view taskName)>;

struct ScanOutcome {
    // Empty when the scan ended normally or by an abort; else what ended or prevented it.
    std::string error;
    // Whether the "Scan Harddisk" job ran: only then is there a summary of the rows kept.
    bool scanned = false;
};

// One scan, the same for every front end, in the order of "Scan Now": the roots given to the
// run (not the drives) must each be listable, or nothing happens; a fresh scan deletes the old
// catalog (and stops there, with the reason, when it is not a catalog or cannot be deleted);
// "Create Database" runs when no catalog is open; the "Scan Harddisk" job runs inside one
// transaction, which is committed however the job ends, unless SQLite has lost it (a full
// disk). `catalog` is the connection that the "Create Database" job fills.
ScanOutcome RunScanSession(TScanRun& run, const IScanOptions& options,
                           std::unique_ptr<TSQLiteDatabase>& catalog,
                           const std::string& dataDirectory, const TJobRunner& runJob);

// RunScanSession with both jobs run on the calling thread: for the command line and tests.
ScanOutcome RunScanNow(TScanRun& run, std::unique_ptr<TSQLiteDatabase>& catalog,
                       const std::string& dataDirectory, const IScanOptions& options);

} // namespace mirelon
