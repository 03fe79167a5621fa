#pragma once

#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <memory>
#include <string>

namespace mirelon {

// A new catalog in a fresh temp folder, removed afterwards.
class TTestCatalog {
public:
    struct Row {
        std::string fullPath{};
        std::string checkSum{};
        std::string dateAccessed = "2015-01-01";
        std::string importModules{};
        std::string fileSize = "1";
        // A program image with a version resource unless told otherwise.
        std::string companyName = "Company";
        std::string internalName = "Internal";
        std::string fileVersion = "1.2.3";
        std::string dateModified = "2004-05-06 07:08:09";
    };

    TTestCatalog() : database_(CreateDatabase(folder_.Slashed())) {}
    TTestCatalog(const TTestCatalog&) = delete;
    TTestCatalog& operator=(const TTestCatalog&) = delete;

    TSQLiteDatabase& Database() { return *database_; }
    std::filesystem::path Folder() const { return folder_.Path(); }

    // File name and extension are taken from the path the way the scanner splits them.
    void Insert(const Row& row) {
        const std::string name = row.fullPath.substr(row.fullPath.find_last_of('/') + 1);
        const std::size_t dot = name.find_last_of('.');
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
        database_->RunStatement(
            "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,fldFileSize,"
            "fldCheckSum,fldDateCreated,fldDateModified,fldDateAccessed,fldImportModules,"
            "fldCompanyName,fldInternalName,fldFileVersion) VALUES (" +
            Quote(row.fullPath) + "," + Quote(name) + "," + Quote(extension) + "," + row.fileSize +
            "," + Quote(row.checkSum) + ",'2001-02-03'," + Quote(row.dateModified) + "," +
            Quote(row.dateAccessed) + "," + Quote(row.importModules) + "," +
            Quote(row.companyName) + "," + Quote(row.internalName) + "," + Quote(row.fileVersion) +
            ");");
    }

private:
    static std::string Quote(const std::string& text) {
        std::string quoted = "'";
        for (char c : text) {
            quoted += c;
            if (c == '\'') {
                quoted += '\'';
            }
        }
        return quoted + "'";
    }

    // Declared first, so the catalog is closed before its folder goes.
    test::TTempFolder folder_;
    std::unique_ptr<TSQLiteDatabase> database_;
};

} // namespace mirelon
