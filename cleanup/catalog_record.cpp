#include "cleanup/catalog_record.h"

#include "catalog/catalog_format.h"
#include "catalog/sqlite_exception.h"
#include "catalog/sqlite_statement.h"
#include "hash/hash_service.h"

namespace mirelon {

void AddRecordedStamp(TSQLiteDatabase& catalog, FileRecord& file) {
    if (!catalog.HasTable("tblFileStamps")) {
        return;
    }
    try {
        // The path column ignores letter case; the exact comparison follows the indexed one.
        const auto row = catalog.Prepare(
            "SELECT s.fldDevice, s.fldInode, s.fldSize, s.fldModifiedNs, s.fldChangedNs FROM "
            "tblFiles f JOIN tblFileStamps s ON s.fldID = f.fldID WHERE f.fldFullPath = ?1 AND "
            "f.fldFullPath = ?1 COLLATE BINARY");
        row->BindText(1, file.path);
        if (!row->NextRow()) {
            return;
        }
        for (int column = 0; column < 5; ++column) {
            if (!row->IsInteger(column)) {
                return;
            }
        }
        const FileStamp stamp{
            static_cast<uint64_t>(row->IntegerAt(0)), static_cast<uint64_t>(row->IntegerAt(1)),
            static_cast<uint64_t>(row->IntegerAt(2)), row->IntegerAt(3), row->IntegerAt(4)};
        // The scan leaves the status-change time out of a stamp it does not trust yet.
        if (stamp.changedNs != 0) {
            file.stamp = stamp;
        }
    } catch (const ESQLiteException&) {
        // A damaged stamp table vouches for nothing; the checksum decides.
    }
}

int32_t RecordedHashMethod(TSQLiteDatabase& catalog) {
    try {
        return HashMethodByName(ReadCatalogFormat(catalog).hashMethod);
    } catch (const ESQLiteException&) {
        return 0;
    }
}

} // namespace mirelon
