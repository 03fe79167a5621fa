// Catalog insert rate: the scan's way (INSERT text per row through RunStatement) against a peer
// that binds the same rows to one prepared statement, both in 500-row transactions on a fresh
// file catalog; and the catalog's own bound inserter on the same rows.
#include "catalog/catalog_row_inserter.h"
#include "catalog/catalog_schema.h"
#include "catalog/catalog_statements.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace mirelon;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 200'000;
constexpr double kGoalRowsPerSecond = 50'000;

// Rows as a folder walk yields them: a folder's files together, folders and the files in each
// in directory order (hashed, so effectively shuffled); times and sizes scattered.
std::vector<CatalogRow> MakeRows() {
    constexpr int kFilesPerFolder = 40;
    std::mt19937_64 random(42);
    std::vector<int> folders(kRows / kFilesPerFolder);
    for (size_t f = 0; f < folders.size(); ++f)
        folders[f] = static_cast<int>(f);
    std::shuffle(folders.begin(), folders.end(), random);

    const char* roots[] = {"/usr/lib/x86_64-linux-gnu/", "/home/user/Documents/Projects/",
                           "/var/cache/apt/archives/", "/opt/tools/share/doc/"};
    const char* extensions[] = {".so", ".txt", ".deb", ".html", "", ".dll"};
    const TDateTime base = EncodeDate(2020, 1, 1);
    std::vector<CatalogRow> rows;
    rows.reserve(kRows);
    for (const int folder : folders) {
        std::vector<int> files(kFilesPerFolder);
        for (int f = 0; f < kFilesPerFolder; ++f)
            files[static_cast<size_t>(f)] = f;
        std::shuffle(files.begin(), files.end(), random);
        const std::string folderPath =
            roots[folder % 4] + ("package-" + std::to_string(folder)) + "/";
        for (const int file : files) {
            CatalogRow& row = rows.emplace_back();
            row.fileName = "file_" + std::to_string(file) + extensions[random() % 6];
            row.fullPath = folderPath + row.fileName;
            row.fileExtension = FileExtensionOf(row.fileName);
            row.fileSize = random() % 100'000'000;
            char checksum[33];
            std::snprintf(checksum, sizeof checksum, "%016llx%016llx",
                          static_cast<unsigned long long>(random()),
                          static_cast<unsigned long long>(random()));
            row.checkSum = checksum;
            row.dateCreated = base + static_cast<double>(random() % 1'000'000) / 1000.0;
            row.dateModified = row.dateCreated + 1.25;
            row.dateAccessed = row.dateModified + 0.5;
            if (row.fileExtension == ".dll" || row.fileExtension == ".so")
                row.importModules = ImportModulesText({"kernel32.dll", "user32.dll", "msvcrt.dll"});
            const bool versioned = file % 3 == 0;
            row.companyName = versioned ? "Example Corporation" : "";
            row.internalName = versioned ? row.fileName : "";
            row.fileVersion = versioned ? "10.0.19041.1" : "";
        }
    }
    return rows;
}

// Wall time decides the target; processor time is printed too, since other jobs share the box.
struct Timing {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

class TStopwatch {
public:
    Timing Elapsed() const {
        return {std::chrono::duration<double>(Clock::now() - wallStart_).count(),
                static_cast<double>(std::clock() - cpuStart_) / CLOCKS_PER_SEC};
    }

private:
    Clock::time_point wallStart_ = Clock::now();
    std::clock_t cpuStart_ = std::clock();
};

Timing InsertThroughStatementText(const std::string& directory,
                                  const std::vector<CatalogRow>& rows) {
    const auto db = CreateDatabase(directory);
    const TStopwatch stopwatch;
    db->StartTransaction();
    int64_t inserted = 0;
    for (const CatalogRow& row : rows) {
        db->RunStatement(BuildInsertStatement(row));
        if (IsCommitBoundary(++inserted)) {
            db->CommitTransaction();
            db->StartTransaction();
        }
    }
    db->CommitTransaction();
    return stopwatch.Elapsed();
}

Timing InsertThroughRowInserter(const std::string& directory, const std::vector<CatalogRow>& rows) {
    const auto db = CreateDatabase(directory);
    const TStopwatch stopwatch;
    TCatalogRowInserter inserter(*db);
    db->StartTransaction();
    int64_t inserted = 0;
    for (const CatalogRow& row : rows) {
        inserter.Insert(row);
        if (IsCommitBoundary(++inserted)) {
            db->CommitTransaction();
            db->StartTransaction();
        }
    }
    db->CommitTransaction();
    return stopwatch.Elapsed();
}

void Check(int result, sqlite3* db, const char* what) {
    if (result != SQLITE_OK && result != SQLITE_DONE)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

Timing InsertThroughBoundStatement(const std::string& directory,
                                   const std::vector<CatalogRow>& rows) {
    CreateDatabase(directory).reset();
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2((directory + kCatalogFileName).c_str(), &db,
                          SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr),
          db, "open");
    Check(sqlite3_exec(db, "PRAGMA SYNCHRONOUS=NORMAL; PRAGMA temp_store = MEMORY;", nullptr,
                       nullptr, nullptr),
          db, "pragma");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,"
                             "fldFileSize,fldCheckSum,fldDateCreated,fldDateModified,"
                             "fldDateAccessed,fldImportModules,fldCompanyName,fldInternalName,"
                             "fldFileVersion) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                             -1, &insert, nullptr),
          db, "prepare");

    const TStopwatch stopwatch;
    auto bindText = [&](int index, const std::string& text) {
        sqlite3_bind_text(insert, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    };
    Check(sqlite3_exec(db, "BEGIN TRANSACTION;", nullptr, nullptr, nullptr), db, "begin");
    int64_t inserted = 0;
    for (const CatalogRow& row : rows) {
        // Same text forms as the statement builder, so both sides store identical rows.
        bindText(1, row.fullPath);
        bindText(2, row.fileName);
        bindText(3, row.fileExtension);
        bindText(4, std::to_string(row.fileSize));
        bindText(5, row.checkSum);
        bindText(6, DateText(row.dateCreated));
        bindText(7, DateText(row.dateModified));
        bindText(8, DateText(row.dateAccessed));
        bindText(9, row.importModules);
        bindText(10, row.companyName);
        bindText(11, row.internalName);
        bindText(12, row.fileVersion);
        Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
        if (IsCommitBoundary(++inserted)) {
            Check(sqlite3_exec(db, "COMMIT; BEGIN TRANSACTION;", nullptr, nullptr, nullptr), db,
                  "commit");
        }
    }
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
    const Timing timing = stopwatch.Elapsed();
    sqlite3_finalize(insert);
    sqlite3_close_v2(db);
    return timing;
}

} // namespace

int main() {
    const auto root = std::filesystem::temp_directory_path() /
                      ("mirelon-catalog-bench-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(root / "text");
    std::filesystem::create_directories(root / "bound");
    std::filesystem::create_directories(root / "inserter");
    int status = EXIT_SUCCESS;
    try {
        const std::vector<CatalogRow> rows = MakeRows();
        const Timing text = InsertThroughStatementText((root / "text").string() + "/", rows);
        const Timing bound = InsertThroughBoundStatement((root / "bound").string() + "/", rows);
        const Timing inserter = InsertThroughRowInserter((root / "inserter").string() + "/", rows);
        const double textRate = kRows / text.wallSeconds;
        const double boundRate = kRows / bound.wallSeconds;
        std::printf("insert statement text:    %d rows in %.3f s (cpu %.3f s) = %.0f rows/s\n",
                    kRows, text.wallSeconds, text.cpuSeconds, textRate);
        std::printf("bound prepared statement: %d rows in %.3f s (cpu %.3f s) = %.0f rows/s\n",
                    kRows, bound.wallSeconds, bound.cpuSeconds, boundRate);
        std::printf("catalog row inserter:     %d rows in %.3f s (cpu %.3f s) = %.0f rows/s\n",
                    kRows, inserter.wallSeconds, inserter.cpuSeconds, kRows / inserter.wallSeconds);
        std::printf("ratio text/bound: %.2f (information)\n", textRate / boundRate);
        std::printf("ratio inserter/text: %.2f (information)\n",
                    kRows / inserter.wallSeconds / textRate);
        std::printf("target catalog_insert_rows_per_s: %.0f (goal >= %.0f) %s\n", textRate,
                    kGoalRowsPerSecond, textRate >= kGoalRowsPerSecond ? "met" : "missed");
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "catalog_bench: %s\n", failure.what());
        status = EXIT_FAILURE;
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return status;
}
