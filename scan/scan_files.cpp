#include "scan/scan_files.h"

#include "base/ascii_case.h"
#include "scan/directory_listing.h"
#include "scan/extension_filter.h"
#include "scan/folder_walk.h"

#include "thread/thread_ex.h"

#include <algorithm>
#include <stdexcept>

namespace mirelon {

namespace {

// The worker whose run is walking on this thread; its Stop ends the walk like an abort.
thread_local const TThreadEx* tWalkingWorker = nullptr;

bool StopRequested() {
    return tWalkingWorker != nullptr && tWalkingWorker->Terminated();
}

} // namespace

// Per-walk state: the filter copy and the one abort flag that every event of the walk shares.
class TCustomScanFiles::Walk : public IFolderWalkEvents {
public:
    Walk(TCustomScanFiles& owner, std::string filter)
        : owner_(owner), filter_(std::move(filter)), allFiles_(FilterTakesAllFiles(filter_)) {}

    void Run(const std::string& path) {
        FolderWalkOptions options;
        options.subFolders = owner_.subFolder_;
        options.sameFileSystem = owner_.sameFileSystem_;
        WalkFolderTree(path, options, *this, abort_);
    }

    bool IsExcluded(const std::string& fullPath) const override {
        return owner_.IsExcluded(fullPath);
    }

    void BeforeFolder(const std::string& folderPath, bool& abort) override {
        if (StopRequested()) {
            abort = true;
            return;
        }
        owner_.DoBeforeScanDir(folderPath, abort);
    }

    void FolderFailed(const std::string& folderPath, const std::string& reason) override {
        owner_.DoScanDirFailed(folderPath, reason);
    }

    void FoundEntry(const std::string& fullPath, std::string_view name,
                    const DirectoryListing& folder, bool& abort) override {
        if (StopRequested()) {
            abort = true;
            return;
        }
        if (allFiles_ || MatchesExtensionFilter(name, filter_)) {
            found_ = {&fullPath, name, &folder};
            struct Forget {
                Found& found;
                ~Forget() { found = {}; }
            } forget{found_};
            owner_.DoFoundFile(fullPath, abort);
        }
    }

    void FolderLeftOut(const std::string& folderPath) override {
        owner_.DoFolderLeftOut(folderPath);
    }

    // The file being reported, if `fileName` names it.
    FileLocation LocationOf(const std::string& fileName) const {
        if (found_.path == nullptr || *found_.path != fileName) {
            return FileLocation(fileName);
        }
        return found_.folder->EntryLocation(fileName, found_.name);
    }

private:
    struct Found {
        const std::string* path = nullptr;
        std::string_view name;
        const DirectoryListing* folder = nullptr;
    };

    TCustomScanFiles& owner_;
    const std::string filter_;
    const bool allFiles_;
    bool abort_ = false;
    Found found_;
};

TCustomScanFiles::TCustomScanFiles() = default;

TCustomScanFiles::~TCustomScanFiles() {
    if (worker_) {
        worker_->Stop(true);
        worker_.reset();
    }
}

void TCustomScanFiles::Execute() {
    if (running_) {
        throw std::runtime_error("Scan File Running!");
    }
    if (!useThread_) {
        DoScan();
        return;
    }
    if (!worker_) {
        worker_ = std::make_unique<TThreadEx>();
    } else if (worker_->IsRunning()) {
        worker_->Stop(true);
    }
    worker_->OnExecute = [this](TThreadEx& sender) {
        tWalkingWorker = &sender;
        struct Reset {
            ~Reset() { tWalkingWorker = nullptr; }
        } reset;
        DoScan();
    };
    if (!worker_->Run()) {
        // The previous run had left its handler but not yet ended.
        worker_->Stop(true);
        worker_->Run();
    }
}

void TCustomScanFiles::SetExtensions(const std::string& value) {
    if (value != extensions_) {
        extensions_ = NormalizedExtensions(value);
    }
}

void TCustomScanFiles::DoScan() {
    running_ = true;
    // Cleared however the walk ends; a handler's exception skips OnEndScan but not this.
    struct RunningReset {
        std::atomic<bool>& flag;
        ~RunningReset() { flag = false; }
    } reset{running_};

    Walk walk(*this, extensions_);
    walk_ = &walk;
    struct WalkReset {
        const Walk*& walk;
        ~WalkReset() { walk = nullptr; }
    } walkReset{walk_};
    if (!IsExcluded(path_)) {
        walk.Run(path_); // a path that is not there, or no folder, is not walked at all
    }
    DoEndScan();
}

void TCustomScanFiles::DoEndScan() {
    if (onEndScan_) {
        onEndScan_(*this);
    }
}

void TCustomScanFiles::DoFoundFile(const std::string& fileName, bool& vAbort) {
    if (onFoundFile_) {
        onFoundFile_(*this, fileName, vAbort);
    }
}

void TCustomScanFiles::DoBeforeScanDir(const std::string& fileName, bool& vAbort) {
    if (onBeforeScanDir_) {
        onBeforeScanDir_(*this, fileName, vAbort);
    }
}

void TCustomScanFiles::DoFolderLeftOut(const std::string& folderPath) {
    if (onFolderLeftOut_) {
        onFolderLeftOut_(*this, folderPath);
    }
}

void TCustomScanFiles::DoScanDirFailed(const std::string& folderName, const std::string& reason) {
    if (onScanDirFailed_) {
        onScanDirFailed_(*this, folderName, reason);
    }
}

FileLocation TCustomScanFiles::FoundFileLocation(const std::string& fileName) const {
    return walk_ != nullptr ? walk_->LocationOf(fileName) : FileLocation(fileName);
}

bool TCustomScanFiles::IsExcluded(const std::string& fullPath) const {
    return std::any_of(
        excludedFolders_.begin(), excludedFolders_.end(),
        [&](const std::string& excluded) { return EqualIgnoringAsciiCase(excluded, fullPath); });
}

} // namespace mirelon
