#include "catalog/catalog_statements.h"

#include "base/ascii_case.h"

namespace mirelon {

namespace {

void AppendQuoted(std::string& sql, std::string_view value) {
    value = value.substr(0, value.find('\0'));
    sql += '"';
    for (size_t start = 0;;) {
        const size_t quote = value.find('"', start);
        if (quote == std::string_view::npos) {
            sql.append(value.substr(start));
            break;
        }
        sql.append(value.substr(start, quote + 1 - start)).append(1, '"');
        start = quote + 1;
    }
    sql += '"';
}

} // namespace

std::string QuoteValue(std::string_view value) {
    std::string quoted;
    quoted.reserve(value.size() + 2);
    AppendQuoted(quoted, value);
    return quoted;
}

constexpr std::string_view kInsertHead =
    "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,fldFileSize,"
    "fldCheckSum,fldDateCreated,"
    "fldDateModified,fldDateAccessed,fldImportModules,fldCompanyName,"
    "fldInternalName,fldFileVersion) VALUES (";

std::string BoundInsertStatement() {
    return std::string(kInsertHead) + "?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12);";
}

std::string BuildInsertStatement(const CatalogRow& row) {
    std::string sql;
    sql.reserve(400 + row.fullPath.size() * 2 + row.importModules.size());
    sql += kInsertHead;
    const std::string_view texts[] = {row.fullPath, row.fileName, row.fileExtension};
    for (const std::string_view text : texts) {
        AppendQuoted(sql, text);
        sql += ',';
    }
    AppendQuoted(sql, std::to_string(row.fileSize));
    sql += ',';
    AppendQuoted(sql, row.checkSum);
    for (const TDateTime date : {row.dateCreated, row.dateModified, row.dateAccessed}) {
        sql += ',';
        AppendQuoted(sql, DateText(date));
    }
    for (const std::string* text :
         {&row.importModules, &row.companyName, &row.internalName, &row.fileVersion}) {
        sql += ',';
        AppendQuoted(sql, *text);
    }
    sql += ");";
    return sql;
}

std::string BuildUpdateStatement(int64_t fileId, const CatalogRow& row) {
    std::string sql;
    sql.reserve(400 + row.fileName.size() + row.importModules.size());
    sql += "UPDATE tblFiles SET fldFileName=";
    AppendQuoted(sql, row.fileName);
    sql += ",fldFileExtension=";
    AppendQuoted(sql, row.fileExtension);
    sql += ",fldFileSize=";
    AppendQuoted(sql, std::to_string(row.fileSize));
    sql += ",fldCheckSum=";
    AppendQuoted(sql, row.checkSum);
    sql += ",fldDateCreated=";
    AppendQuoted(sql, DateText(row.dateCreated));
    sql += ",fldDateModified=";
    AppendQuoted(sql, DateText(row.dateModified));
    sql += ",fldDateAccessed=";
    AppendQuoted(sql, DateText(row.dateAccessed));
    sql += ",fldImportModules=";
    AppendQuoted(sql, row.importModules);
    sql += ",fldCompanyName=";
    AppendQuoted(sql, row.companyName);
    sql += ",fldInternalName=";
    AppendQuoted(sql, row.internalName);
    sql += ",fldFileVersion=";
    AppendQuoted(sql, row.fileVersion);
    sql += " WHERE fldID=" + std::to_string(fileId) + ";";
    return sql;
}

std::string BuildPathLookup(std::string_view fullPath) {
    return "SELECT fldFullPath FROM tblFiles WHERE [fldFullPath]=" + QuoteValue(fullPath);
}

std::string FileExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

std::string ImportModulesText(const std::vector<std::string>& modules) {
    std::string text;
    for (const std::string& module : modules) {
        text += ',';
        text += ToLowerAscii(module);
    }
    return text;
}

std::string NeededLibrariesText(const std::vector<std::string>& libraries) {
    std::string text;
    for (const std::string& library : libraries) {
        text += ',';
        text += library;
    }
    return text;
}

bool IsCommitBoundary(int64_t insertedCount) {
    return insertedCount > 0 && insertedCount % kCommitBatchRows == 0;
}

} // namespace mirelon
