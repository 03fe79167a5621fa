#include "catalog/catalog_statements.h"

namespace mirelon {

std::string QuoteValue(std::string_view value) {
    value = value.substr(0, value.find('\0'));
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    for (const char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string BuildInsertStatement(const CatalogRow& row) {
    std::string sql = "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,fldFileSize,"
                      "fldCheckSum,fldDateCreated,"
                      "fldDateModified,fldDateAccessed,fldImportModules,fldCompanyName,"
                      "fldInternalName,fldFileVersion) VALUES (";
    const std::string values[] = {row.fullPath,
                                  row.fileName,
                                  row.fileExtension,
                                  std::to_string(row.fileSize),
                                  row.checkSum,
                                  DateText(row.dateCreated),
                                  DateText(row.dateModified),
                                  DateText(row.dateAccessed),
                                  row.importModules,
                                  row.companyName,
                                  row.internalName,
                                  row.fileVersion};
    bool first = true;
    for (const std::string& value : values) {
        if (!first)
            sql += ',';
        first = false;
        sql += QuoteValue(value);
    }
    sql += ");";
    return sql;
}

std::string BuildPathLookup(std::string_view fullPath) {
    return "SELECT fldID FROM tblFiles WHERE [fldFullPath]=" + QuoteValue(fullPath);
}

std::string FileNameOf(std::string_view fullPath) {
    const size_t separator = fullPath.find_last_of("/\\:");
    return std::string(separator == std::string_view::npos ? fullPath
                                                           : fullPath.substr(separator + 1));
}

std::string FileExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

std::string ImportModulesText(const std::vector<std::string>& modules) {
    std::string text;
    for (const std::string& module : modules) {
        text += ',';
        for (const char c : module)
            text += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

bool IsCommitBoundary(int64_t insertedCount) {
    return insertedCount > 0 && insertedCount % kCommitBatchRows == 0;
}

} // namespace mirelon
