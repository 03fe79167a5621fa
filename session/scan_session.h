#pragma once

#include <memory>
#include <string>
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

struct ScanOutcome {
    // Empty when the job ended normally or by an abort; else the error that ended it.
    std::string error;
};

// A whole scan on the calling thread, in the order the "Scan Now" button follows: fresh or
// continued catalog, one transaction around the job, committed however the job ends. For the
// command line and tests; the window runs the same steps with the job on its helper thread.
ScanOutcome RunScanNow(TScanRun& run, std::unique_ptr<TSQLiteDatabase>& catalog,
                       const std::string& dataDirectory, const IScanOptions& options);

} // namespace mirelon
