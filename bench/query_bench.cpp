// Times the duplicate search on a catalog of a million rows, a fifth of them in duplicate groups
// and a few of those hard links: the query (each file once, however many links it has), loading its rows into the grid model from a worker thread, sorting by "File Size"
// and by "Check Sum", and banding. A plain std::sort of the checksum texts is the peer. Then the
// unused-libraries search over the same catalog, whose rows include Windows images and ELF
// programs and shared libraries.
#include "catalog/catalog_schema.h"
#include "catalog/sqlite_database.h"
#include "query/query_jobs.h"
#include "query/query_texts.h"
#include "query/result_loading.h"
#include "results/result_grid_model.h"
#include "results/window_thread_grid_sink.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

using namespace mirelon;

namespace {

constexpr int kRows = 1'000'000;
constexpr int kDuplicateRows = kRows / 5;

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

std::string Hex(std::mt19937_64& random, int digits) {
    static const char* const kDigits = "0123456789abcdef";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (char& c : text) {
        c = kDigits[random() & 15];
    }
    return text;
}

std::string DateOf(std::mt19937_64& random) {
    char text[32];
    const unsigned value = static_cast<unsigned>(random());
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 2000 + value % 16,
                  1 + (value >> 4) % 12, 1 + (value >> 8) % 28, (value >> 13) % 24,
                  (value >> 18) % 60, (value >> 24) % 60);
    return text;
}

void Check(int code, sqlite3* db, const char* what) {
    if (code != SQLITE_OK && code != SQLITE_DONE) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    }
}

// Fills the catalog through one prepared statement in one transaction: the bench is about
// reading, so the rows go in as fast as SQLite allows.
void FillCatalog(const std::string& fileName) {
    sqlite3* db = nullptr;
    Check(sqlite3_open(fileName.c_str(), &db), db, "open");
    Check(sqlite3_exec(db,
                       "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF; "
                       "PRAGMA cache_size=-262144; BEGIN;",
                       nullptr, nullptr, nullptr),
          db, "begin");
    // Every row has a stamp, as after any scan; one in fifty duplicates is a hard link of the
    // row before it.
    sqlite3_stmt* stamp = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO tblFileStamps(fldID,fldDevice,fldInode,fldSize,"
                             "fldModifiedNs,fldChangedNs) VALUES (?,2049,?,?,0,0)",
                             -1, &stamp, nullptr),
          db, "prepare");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "INSERT INTO tblFiles(fldFullPath,fldFileName,fldFileExtension,"
                             "fldFileSize,fldCheckSum,fldDateCreated,fldDateModified,"
                             "fldDateAccessed,fldImportModules,fldCompanyName,fldInternalName,"
                             "fldFileVersion) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)",
                             -1, &insert, nullptr),
          db, "prepare");
    // "" and ".1" stand for ELF programs and shared libraries ("libN.so.1").
    static const char* const kExtensions[] = {".txt", ".jpg", ".dll", ".exe",
                                              ".mp3", ".doc", "",     ".1"};
    std::vector<std::string> libraries;
    std::mt19937_64 random(42);
    std::string groupCheckSum;
    int groupLeft = 0;
    for (int i = 0; i < kRows; ++i) {
        const char* extension = kExtensions[random() % 8];
        const bool elfProgram = *extension == '\0';
        const bool elfLibrary = std::string_view(extension) == ".1";
        const std::string name = elfLibrary ? "lib" + std::to_string(i) + ".so.1"
                                            : "file" + std::to_string(i) + extension;
        const std::string path =
            "/home/user/data/folder" + std::to_string(i % 997) + "/sub/" + name;
        std::string checkSum;
        if (i < kDuplicateRows) {
            // Groups of two to five copies.
            if (groupLeft == 0) {
                groupCheckSum = Hex(random, 32);
                groupLeft = std::min<int>(2 + static_cast<int>(random() % 4), kDuplicateRows - i);
                if (groupLeft == 1) {
                    groupLeft = 2; // the last group borrows one row so no checksum stays single
                }
            }
            checkSum = groupCheckSum;
            --groupLeft;
        } else if (i % 100 != 0) {
            checkSum = Hex(random, 32);
        } // every hundredth other file could not be read: empty checksum
        const bool image =
            std::string_view(extension) == ".dll" || std::string_view(extension) == ".exe";
        std::string imports = image ? ",kernel32.dll,user32.dll,advapi32.dll" : "";
        if (elfLibrary) {
            imports = ",libc.so.6,libm.so.6";
            libraries.push_back(name);
        } else if (elfProgram) {
            // Two of the libraries so far, picked without disturbing the random sequence.
            imports = ",libc.so.6,libstdc++.so.6";
            for (const uint64_t pick : {uint64_t(i) * 2654435761u, uint64_t(i) * 40503u + 7}) {
                if (!libraries.empty()) {
                    imports += "," + libraries[pick % libraries.size()];
                }
            }
        }
        const std::string dates[3] = {DateOf(random), DateOf(random), DateOf(random)};
        const std::string size = std::to_string(random() % 50'000'000);
        const auto text = [&](int index, const std::string& value) {
            sqlite3_bind_text(insert, index, value.c_str(), static_cast<int>(value.size()),
                              SQLITE_TRANSIENT);
        };
        text(1, path);
        text(2, name);
        text(3, extension);
        sqlite3_bind_int64(insert, 4, std::stoll(size));
        text(5, checkSum);
        text(6, dates[0]);
        text(7, dates[1]);
        text(8, dates[2]);
        text(9, imports);
        text(10, image ? "Example Software Ltd." : "");
        text(11, image || elfLibrary ? name : "");
        text(12, image ? "1.0.0.1234" : "");
        Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
        sqlite3_bind_int64(stamp, 1, sqlite3_last_insert_rowid(db));
        sqlite3_bind_int64(stamp, 2, i < kDuplicateRows && i % 50 == 1 ? i - 1 : i);
        sqlite3_bind_int64(stamp, 3, std::stoll(size));
        Check(sqlite3_step(stamp), db, "stamp");
        sqlite3_reset(stamp);
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(stamp);
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

// Runs the loading on a worker thread while this thread handles the hand-overs, the way the
// helper thread and the window thread share the work.
std::size_t LoadOnWorker(TSQLiteTable& result, TResultGridModel& model) {
    TWindowThreadGridSink sink(&model);
    std::atomic<bool> done{false};
    std::size_t loaded = 0;
    std::thread worker([&] {
        sink.ClearRows();
        loaded = LoadResultRows(result, sink);
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    worker.join();
    return loaded;
}

// Counts the rows a query job hands over, so that only the job itself is timed.
class TCountingSink final : public TResultGridSink {
public:
    std::size_t rows = 0;
    void ClearRows() override { rows = 0; }
    void AppendRows(std::vector<ResultRow>& batch) override {
        rows += batch.size();
        batch.clear();
    }
};

void Target(const char* name, double value, double goal, const char* unitFormat) {
    std::printf("target %s: ", name);
    std::printf(unitFormat, value);
    std::printf(" (goal <= ");
    std::printf(unitFormat, goal);
    std::printf(") %s\n", value <= goal ? "met" : "missed");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // An optional folder argument keeps the catalog there for later runs.
    const bool keepCatalog = argc > 1;
    const auto folder = keepCatalog ? std::filesystem::path(argv[1])
                                    : std::filesystem::temp_directory_path() /
                                          ("mirelon-query-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string dataDirectory = folder.string() + "/";

    auto start = std::chrono::steady_clock::now();
    if (!std::filesystem::exists(dataDirectory + kCatalogFileName)) {
        CreateDatabase(dataDirectory).reset();
        FillCatalog(dataDirectory + kCatalogFileName);
        std::printf("catalog of %d rows built in %.2f s\n", kRows, Seconds(start));
    }

    double dupQuery = 0;
    double gridLoad = 0;
    double sortSize = 0;
    double sortCheckSum = 0;
    double band = 0;
    double peerSort = 0;
    double peakRss = 0;
    {
        auto catalog = std::make_unique<TSQLiteDatabase>(dataDirectory + kCatalogFileName);
        TResultGridModel model;

        start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds();
        auto result = catalog->OpenResult(std::string(kDuplicatesOncePerFileQuery));
        dupQuery = Seconds(start);
        // The machine may be shared; CPU time tells what the query itself costs.
        std::printf("dup_query: %d rows in %.3f s (%.3f s CPU)\n", result->RowCount(), dupQuery,
                    CpuSeconds() - cpuStart);

        start = std::chrono::steady_clock::now();
        const std::size_t loaded = LoadOnWorker(*result, model);
        gridLoad = Seconds(start);
        result.reset();
        std::printf("grid_load: %zu rows in %.3f s, store %.1f MB\n", loaded, gridLoad,
                    static_cast<double>(model.Store().ReservedBytes()) / (1 << 20));

        start = std::chrono::steady_clock::now();
        model.sort(kFileSizeColumn, Qt::AscendingOrder);
        sortSize = Seconds(start);

        std::vector<std::string> peer;
        peer.reserve(loaded);
        for (int row = 0; row < model.rowCount(); ++row) {
            peer.emplace_back(model.Store().Text(static_cast<std::size_t>(row), kCheckSumColumn));
        }
        start = std::chrono::steady_clock::now();
        model.sort(kCheckSumColumn, Qt::AscendingOrder);
        sortCheckSum = Seconds(start);

        start = std::chrono::steady_clock::now();
        std::sort(peer.begin(), peer.end());
        peerSort = Seconds(start);

        start = std::chrono::steady_clock::now();
        model.ShadeDuplicateGroups();
        band = Seconds(start);
        peakRss = PeakRssMb();

        std::printf("sort_size: %.3f s\n", sortSize);
        std::printf("sort_checksum: %.3f s, peer std::sort of the same %zu strings: %.3f s, "
                    "ratio %.2f\n",
                    sortCheckSum, peer.size(), peerSort, sortCheckSum / peerSort);
        std::printf("band: %.4f s\n", band);
        std::printf("peak RSS after the duplicate search: %.0f MB\n", peakRss);
    }
    double unusedDlls = 0;
    {
        auto catalog = std::make_unique<TSQLiteDatabase>(dataDirectory + kCatalogFileName);
        TCountingSink sink;
        start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds();
        const std::size_t found = FindUnusedDlls(*catalog, sink);
        unusedDlls = Seconds(start);
        std::printf("unused_dlls: %zu rows in %.3f s (%.3f s CPU), peak RSS %.0f MB\n", found,
                    unusedDlls, CpuSeconds() - cpuStart, PeakRssMb());
    }
    {
        // Information: the whole catalog in the grid, as an old-files search over every row.
        auto catalog = std::make_unique<TSQLiteDatabase>(dataDirectory + kCatalogFileName);
        TResultGridModel model;
        start = std::chrono::steady_clock::now();
        auto result = catalog->OpenResult("SELECT * FROM tblFiles");
        const double query = Seconds(start);
        start = std::chrono::steady_clock::now();
        const std::size_t loaded = LoadOnWorker(*result, model);
        const double load = Seconds(start);
        result.reset();
        start = std::chrono::steady_clock::now();
        model.sort(0, Qt::AscendingOrder);
        const double sortPath = Seconds(start);
        std::printf("all rows: query %.2f s, %zu rows loaded in %.2f s (store %.1f MB), "
                    "sort by Full Path %.2f s, peak RSS %.0f MB\n",
                    query, loaded, load,
                    static_cast<double>(model.Store().ReservedBytes()) / (1 << 20), sortPath,
                    PeakRssMb());
    }
    if (!keepCatalog) {
        std::filesystem::remove_all(folder);
    }

    Target("dup_query_s", dupQuery, 3, "%.2f");
    Target("grid_load_s", gridLoad, 2, "%.2f");
    Target("sort_size_s", sortSize, 1.5, "%.2f");
    Target("sort_checksum_s", sortCheckSum, 1.5, "%.2f");
    Target("band_s", band, 0.5, "%.3f");
    Target("unused_dlls_s", unusedDlls, 3, "%.2f");
    Target("peak_rss_mb", peakRss, 1536, "%.0f");
    return 0;
}
