#pragma once

#include "catalog/sqlite_database.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mirelon {

// What tells, without reading a file, that it is still the file a row describes: the same file
// (device and inode), of the same size, not written to (modification time) and not otherwise
// changed (status-change time, which also moves when a file is renamed onto or its times are
// set back). Times in nanoseconds since 1970-01-01 UTC.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// Writes stamps into tblFileStamps, replacing the row's earlier one. Holds a prepared
// statement, so it must go before the catalog does.
class TFileStampWriter {
public:
    explicit TFileStampWriter(TSQLiteDatabase& catalog);
    void Write(int64_t fileId, const FileStamp& stamp);

private:
    std::unique_ptr<TSQLiteStatement> insert_;
};

// Deletes tblFiles rows by fldID; their stamps go with them (trgFileStampsDelete).
class TFileRowDeleter {
public:
    explicit TFileRowDeleter(TSQLiteDatabase& catalog);
    void Delete(int64_t fileId);

private:
    std::unique_ptr<TSQLiteStatement> delete_;
};

// One catalogued file as an update needs it.
struct CataloguedFile {
    int64_t id = 0;
    std::string path;
    uint64_t fileSize = 0; // fldFileSize
    bool hasChecksum = false;
    bool hasStamp = false; // false also for a stamp whose values are not whole numbers
    FileStamp stamp;
};

// Calls `visit` for every row of tblFiles with its stamp, read one row at a time.
void ReadCataloguedFiles(TSQLiteDatabase& catalog,
                         const std::function<void(CataloguedFile&)>& visit);

} // namespace mirelon
