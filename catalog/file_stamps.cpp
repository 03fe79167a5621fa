#include "catalog/file_stamps.h"

namespace mirelon {

namespace {

enum StampColumn { kDevice = 4, kInode, kSize, kModified, kChanged, kColumnsEnd };

} // namespace

TFileStampWriter::TFileStampWriter(TSQLiteDatabase& catalog)
    : insert_(catalog.Prepare("INSERT OR REPLACE INTO tblFileStamps (fldID, fldDevice, fldInode, "
                              "fldSize, fldModifiedNs, fldChangedNs) VALUES (?,?,?,?,?,?)")) {}

void TFileStampWriter::Write(int64_t fileId, const FileStamp& stamp) {
    // SQLite's integers are signed; device and inode numbers keep their bits. The parameters are
    // the statement's own, so binding cannot fail.
    insert_->BindInt64(1, fileId);
    insert_->BindInt64(2, static_cast<int64_t>(stamp.device));
    insert_->BindInt64(3, static_cast<int64_t>(stamp.inode));
    insert_->BindInt64(4, static_cast<int64_t>(stamp.size));
    insert_->BindInt64(5, stamp.modifiedNs);
    insert_->BindInt64(6, stamp.changedNs);
    insert_->Run();
}

TFileRowDeleter::TFileRowDeleter(TSQLiteDatabase& catalog)
    : delete_(catalog.Prepare("DELETE FROM tblFiles WHERE fldID = ?")) {}

void TFileRowDeleter::Delete(int64_t fileId) {
    delete_->BindInt64(1, fileId);
    delete_->Run();
}

void ReadCataloguedFiles(TSQLiteDatabase& catalog,
                         const std::function<void(CataloguedFile&)>& visit) {
    const auto rows = catalog.Prepare(
        "SELECT f.fldID, f.fldFullPath, f.fldFileSize, f.fldCheckSum <> '', s.fldDevice, "
        "s.fldInode, s.fldSize, s.fldModifiedNs, s.fldChangedNs FROM tblFiles f "
        "LEFT JOIN tblFileStamps s ON s.fldID = f.fldID");
    CataloguedFile file;
    while (rows->NextRow()) {
        file.id = rows->IntegerAt(0);
        file.path.assign(rows->TextAt(1));
        file.fileSize = static_cast<uint64_t>(rows->IntegerAt(2));
        file.hasChecksum = rows->IntegerAt(3) != 0;
        file.hasStamp = true;
        for (int column = kDevice; column < kColumnsEnd; ++column) {
            file.hasStamp = file.hasStamp && rows->IsInteger(column);
        }
        file.stamp = file.hasStamp
                         ? FileStamp{static_cast<uint64_t>(rows->IntegerAt(kDevice)),
                                     static_cast<uint64_t>(rows->IntegerAt(kInode)),
                                     static_cast<uint64_t>(rows->IntegerAt(kSize)),
                                     rows->IntegerAt(kModified), rows->IntegerAt(kChanged)}
                         : FileStamp{};
        visit(file);
    }
}

} // namespace mirelon
