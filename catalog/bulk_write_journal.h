#pragma once

namespace mirelon {

class TSQLiteDatabase;

// For the length of a scan, the catalog keeps its commits in a write-ahead log beside it
// (files.db-wal), which a commit appends to without waiting for the disk; the log goes into
// the catalog file now and then and at the end. A commit of the usual journal waits for the
// disk twice, which a scan's many commits would spend competing with its reads. A crash loses
// at most the last commits, never the catalog. Afterwards the catalog is one file again, as
// every reader of it expects.
class TBulkWriteJournal {
public:
    // Outside a transaction. Where the log cannot be kept (a file system without shared
    // memory, another connection reading), the usual journal stays; nothing fails.
    explicit TBulkWriteJournal(TSQLiteDatabase& catalog);
    // Calls End.
    ~TBulkWriteJournal();
    TBulkWriteJournal(const TBulkWriteJournal&) = delete;
    TBulkWriteJournal& operator=(const TBulkWriteJournal&) = delete;

    // Outside a transaction: moves the log into the catalog and back to the usual journal;
    // never throws. Where that fails (a full disk, another connection reading), the catalog
    // stays whole, its log with it, and SQLite replays it at the next open.
    void End() noexcept;
    bool Active() const { return active_; }

private:
    TSQLiteDatabase& catalog_;
    bool active_ = false;
};

} // namespace mirelon
