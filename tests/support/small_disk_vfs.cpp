#include "tests/support/small_disk_vfs.h"

#include <sqlite3.h>

#include <atomic>
#include <stdexcept>

namespace mirelon::test {

namespace {

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs smallDiskVfs{};
std::atomic<uint64_t> capacityLeft{0};
std::atomic<uint64_t> written{0};

// The layer's file: the real file's state follows it in the same allocation.
struct SmallDiskFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<SmallDiskFile*>(file)->real;
}

int Close(sqlite3_file* file) {
    return Real(file)->pMethods->xClose(Real(file));
}
int Read(sqlite3_file* file, void* data, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), data, amount, offset);
}
int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    const auto bytes = static_cast<uint64_t>(amount);
    uint64_t left = capacityLeft.load();
    do {
        if (left < bytes) {
            return SQLITE_FULL;
        }
    } while (!capacityLeft.compare_exchange_weak(left, left - bytes));
    written += bytes;
    return Real(file)->pMethods->xWrite(Real(file), data, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
    return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xLock(Real(file), level);
}
int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* result) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), result);
}
int FileControl(sqlite3_file* file, int operation, void* argument) {
    return Real(file)->pMethods->xFileControl(Real(file), operation, argument);
}
int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

// Version 1 only: without shared memory and memory mapping SQLite reads and writes every page
// through Write, which is what is to be counted.
sqlite3_io_methods MakeMethods() {
    sqlite3_io_methods methods{};
    methods.iVersion = 1;
    methods.xClose = &Close;
    methods.xRead = &Read;
    methods.xWrite = &Write;
    methods.xTruncate = &Truncate;
    methods.xSync = &Sync;
    methods.xFileSize = &FileSize;
    methods.xLock = &Lock;
    methods.xUnlock = &Unlock;
    methods.xCheckReservedLock = &CheckReservedLock;
    methods.xFileControl = &FileControl;
    methods.xSectorSize = &SectorSize;
    methods.xDeviceCharacteristics = &DeviceCharacteristics;
    return methods;
}

const sqlite3_io_methods kMethods = MakeMethods();

int Open(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* layer = reinterpret_cast<SmallDiskFile*>(file);
    layer->real = reinterpret_cast<sqlite3_file*>(layer + 1);
    const int result = realVfs->xOpen(realVfs, name, layer->real, flags, outFlags);
    layer->base.pMethods = layer->real->pMethods != nullptr ? &kMethods : nullptr;
    return result;
}

} // namespace

TSmallDiskVfs::TSmallDiskVfs(uint64_t capacity) {
    if (realVfs != nullptr) {
        throw std::logic_error("one small disk at a time");
    }
    realVfs = sqlite3_vfs_find(nullptr);
    smallDiskVfs = *realVfs;
    smallDiskVfs.pNext = nullptr;
    smallDiskVfs.zName = "mirelon-small-disk";
    smallDiskVfs.szOsFile = static_cast<int>(sizeof(SmallDiskFile)) + realVfs->szOsFile;
    smallDiskVfs.xOpen = &Open;
    capacityLeft = capacity;
    written = 0;
    sqlite3_vfs_register(&smallDiskVfs, 1);
}

TSmallDiskVfs::~TSmallDiskVfs() {
    sqlite3_vfs_unregister(&smallDiskVfs);
    sqlite3_vfs_register(realVfs, 1);
    realVfs = nullptr;
}

uint64_t TSmallDiskVfs::Written() {
    return written.load();
}

} // namespace mirelon::test
