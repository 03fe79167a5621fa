#include "catalog/catalog_row_inserter.h"

#include "catalog/sqlite_database.h"
#include "catalog/sqlite_error.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace mirelon {

namespace {

constexpr int kSizeParameter = 4;

// The statement text stops at a NUL byte, so the value it stores does too.
std::string_view UpToNul(std::string_view value) {
    return value.substr(0, value.find('\0'));
}

} // namespace

TCatalogRowInserter::TCatalogRowInserter(TSQLiteDatabase& catalog)
    : statement_(catalog.Prepare(BoundInsertStatement())) {}

TCatalogRowInserter::~TCatalogRowInserter() = default;

void TCatalogRowInserter::Insert(const CatalogRow& row) {
    // Bound without a copy: these texts live until the step has run.
    const std::array<std::string, 3> dates = {DateText(row.dateCreated), DateText(row.dateModified),
                                              DateText(row.dateAccessed)};
    const std::array<std::string_view, 12> texts = {
        row.fullPath,      row.fileName,    row.fileExtension, {},
        row.checkSum,      dates[0],        dates[1],          dates[2],
        row.importModules, row.companyName, row.internalName,  row.fileVersion};
    // The text form stores the size's digits, which the column's integer affinity makes an
    // integer, or a real above the signed 64-bit range; binding the integer stores the same.
    const bool sizeFits =
        row.fileSize <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    const std::string sizeDigits = sizeFits ? std::string() : std::to_string(row.fileSize);

    // Reset also after a failed step, so that the next row starts clean; the failure's text is
    // taken before it.
    struct ResetAfterStep {
        TSQLiteStatement& statement;
        ~ResetAfterStep() { statement.Reset(); }
    } reset{*statement_};

    int result = SQLITE_OK;
    for (int index = 1; index <= 12 && result == SQLITE_OK; ++index) {
        if (index == kSizeParameter) {
            result = sizeFits ? statement_->BindInt64(index, static_cast<int64_t>(row.fileSize))
                              : statement_->BindText(index, sizeDigits);
        } else {
            result = statement_->BindText(index, UpToNul(texts[static_cast<size_t>(index - 1)]));
        }
    }
    if (result == SQLITE_OK)
        result = statement_->Step();
    if (result != SQLITE_DONE)
        ReportSQLiteError(statement_->Connection(), "Error executing SQL statement",
                          BuildInsertStatement(row));
}

} // namespace mirelon
