#include "catalog/catalog_format.h"

#include "base/ascii_case.h"
#include "catalog/catalog_schema.h"
#include "catalog/catalog_statements.h"

#include <charconv>

namespace mirelon {

namespace {

constexpr const char* kVersionName = "format version";
constexpr const char* kHashMethodName = "hash method";

// SQLite keeps a definition as it was written, without its closing semicolon.
std::string StoredForm(std::string definition) {
    while (!definition.empty() && (definition.back() == ';' || definition.back() == ' ')) {
        definition.pop_back();
    }
    return definition;
}

struct StoredObject {
    bool present = false;
    std::string type; // "table", "index", "trigger", "view"
    std::string sql;
};

StoredObject FindObject(TSQLiteDatabase& catalog, std::string_view name) {
    const auto result =
        catalog.OpenResult("SELECT type, sql FROM sqlite_master WHERE lower(name) = " +
                           QuoteValue(ToLowerAscii(name)));
    StoredObject object;
    if (result->RowCount() > 0) {
        object.present = true;
        object.type = result->TextAt(0);
        object.sql = result->TextAt(1);
    }
    return object;
}

// Whether the object is there exactly as `definition` makes it.
bool IsAsDefined(const StoredObject& object, std::string (*definition)()) {
    return object.present && object.sql == StoredForm(definition());
}

// Drops whatever bears the name (a table, a view, an index, a trigger) and makes it anew.
void MakeAgain(TSQLiteDatabase& catalog, std::string_view name, const StoredObject& object,
               std::string (*definition)()) {
    if (object.present) {
        const std::string type = ToLowerAscii(object.type);
        if (type == "table" || type == "view" || type == "index" || type == "trigger") {
            catalog.RunStatement("DROP " + type + " [" + std::string(name) + "];");
        }
    }
    catalog.RunStatement(definition());
}

bool CatalogInfoUsable(TSQLiteDatabase& catalog) {
    return IsAsDefined(FindObject(catalog, "tblCatalogInfo"), &CatalogInfoTableSql);
}

void WriteInfo(TSQLiteDatabase& catalog, std::string_view name, std::string_view value) {
    catalog.RunStatement("INSERT OR REPLACE INTO tblCatalogInfo (fldName, fldValue) VALUES (" +
                         QuoteValue(name) + "," + QuoteValue(value) + ");");
}

} // namespace

CatalogFormat ReadCatalogFormat(TSQLiteDatabase& catalog) {
    CatalogFormat format;
    if (!CatalogInfoUsable(catalog)) {
        return format;
    }
    const auto rows = catalog.OpenResult("SELECT fldName, fldValue FROM tblCatalogInfo");
    for (; !rows->AtEnd(); rows->MoveNext()) {
        const std::string name = rows->TextAt(0);
        const std::string value = rows->TextAt(1);
        if (name == kVersionName) {
            int version = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), version);
            format.version =
                error == std::errc() && end == value.data() + value.size() && version > 0 ? version
                                                                                          : 0;
        } else if (name == kHashMethodName) {
            format.hashMethod = value;
        }
    }
    return format;
}

bool PrepareCatalogFormat(TSQLiteDatabase& catalog) {
    bool stampsLost = false;
    const StoredObject stamps = FindObject(catalog, "tblFileStamps");
    if (!IsAsDefined(stamps, &FileStampsTableSql)) {
        // Its index and trigger go with a dropped table; made again below.
        MakeAgain(catalog, "tblFileStamps", stamps, &FileStampsTableSql);
        stampsLost = stamps.present;
    }
    const StoredObject index = FindObject(catalog, "idxFileStampsInode");
    if (!IsAsDefined(index, &FileStampsInodeIndexSql)) {
        MakeAgain(catalog, "idxFileStampsInode", index, &FileStampsInodeIndexSql);
    }
    const StoredObject trigger = FindObject(catalog, "trgFileStampsDelete");
    if (!IsAsDefined(trigger, &FileStampsDeleteTriggerSql)) {
        MakeAgain(catalog, "trgFileStampsDelete", trigger, &FileStampsDeleteTriggerSql);
        // Rows deleted without the trigger left their stamps behind, for a later row of the
        // same fldID to inherit.
        catalog.RunStatement(
            "DELETE FROM tblFileStamps WHERE fldID NOT IN (SELECT fldID FROM tblFiles);");
    }
    const StoredObject info = FindObject(catalog, "tblCatalogInfo");
    if (!IsAsDefined(info, &CatalogInfoTableSql)) {
        MakeAgain(catalog, "tblCatalogInfo", info, &CatalogInfoTableSql);
        // The stamps vouch for checksums of a method nobody knows any more.
        if (!stampsLost) {
            ForgetFileStamps(catalog);
            stampsLost = true;
        }
    }
    return stampsLost;
}

void RecordCatalogFormat(TSQLiteDatabase& catalog, std::string_view hashMethod) {
    WriteInfo(catalog, kVersionName, std::to_string(kCatalogFormatVersion));
    WriteInfo(catalog, kHashMethodName, hashMethod);
}

void ForgetFileStamps(TSQLiteDatabase& catalog) {
    catalog.RunStatement("DELETE FROM tblFileStamps;");
}

} // namespace mirelon
