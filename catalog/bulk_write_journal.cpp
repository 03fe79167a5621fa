#include "catalog/bulk_write_journal.h"

#include "base/ascii_case.h"
#include "catalog/sqlite_database.h"

namespace mirelon {

namespace {

// The journal mode SQLite reports after the statement, lower-cased.
std::string SetJournalMode(TSQLiteDatabase& catalog, const char* mode) {
    const auto result = catalog.OpenResult(std::string("PRAGMA journal_mode=") + mode + ";");
    return result->AtEnd() ? std::string() : ToLowerAscii(result->TextAt(0));
}

} // namespace

TBulkWriteJournal::TBulkWriteJournal(TSQLiteDatabase& catalog) : catalog_(catalog) {
    try {
        active_ = SetJournalMode(catalog_, "WAL") == "wal";
    } catch (...) {
        active_ = false;
    }
}

TBulkWriteJournal::~TBulkWriteJournal() {
    End();
}

void TBulkWriteJournal::End() noexcept {
    if (!active_) {
        return;
    }
    active_ = false;
    try {
        // Leaving the log's mode copies what it holds into the catalog and removes it.
        SetJournalMode(catalog_, "DELETE");
    } catch (...) {
    }
}

} // namespace mirelon
