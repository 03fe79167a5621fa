#pragma once

#include "base/file_location.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mirelon {

class TCustomScanFiles;
class TThreadEx;

// Setting vAbort to true stops the whole walk.
using TGetFileEvent =
    std::function<void(TCustomScanFiles& sender, const std::string& fileName, bool& vAbort)>;
using TNotifyEvent = std::function<void(TCustomScanFiles& sender)>;
using TFolderEvent = std::function<void(TCustomScanFiles& sender, const std::string& folderPath)>;
// A folder that could not be listed or entered, with the system's reason ("Permission denied").
using TScanDirFailedEvent = std::function<void(
    TCustomScanFiles& sender, const std::string& folderName, const std::string& reason)>;

// Walks one folder tree depth-first and reports every regular file through OnFoundFile, after
// OnBeforeScanDir for each folder (its path ends with a separator). Symbolic links are neither
// reported nor followed; folders on another file system than Path are not descended. A folder
// that cannot be listed or entered, Path included, is reported through OnScanDirFailed after
// its OnBeforeScanDir.
class TCustomScanFiles {
public:
    TCustomScanFiles();
    // Stops a threaded walk still under way and waits for it. A derived class that overrides
    // the Do operations and uses threaded mode must stop the walk in its own destructor.
    virtual ~TCustomScanFiles();
    TCustomScanFiles(const TCustomScanFiles&) = delete;
    TCustomScanFiles& operator=(const TCustomScanFiles&) = delete;

    // Throws std::runtime_error("Scan File Running!") while a walk is in progress. With
    // UseThread the walk and all its events run on the scanner's own worker thread and Execute
    // returns at once; a run of that worker still under way is stopped and waited for first.
    void Execute();
    bool Running() const { return running_; }

    bool SubFolder() const { return subFolder_; }
    void SetSubFolder(bool value) { subFolder_ = value; }
    const std::string& Path() const { return path_; }
    void SetPath(const std::string& value) { path_ = value; }
    // Full paths, compared whole and ignoring ASCII letter case; callers replace the contents.
    std::vector<std::string>& ExcludedFolders() { return excludedFolders_; }
    const std::string& Extensions() const { return extensions_; }
    void SetExtensions(const std::string& value);
    bool UseThread() const { return useThread_; }
    void SetUseThread(bool value) { useThread_ = value; }

    void SetOnBeforeScanDir(TGetFileEvent handler) { onBeforeScanDir_ = std::move(handler); }
    void SetOnFoundFile(TGetFileEvent handler) { onFoundFile_ = std::move(handler); }
    void SetOnEndScan(TNotifyEvent handler) { onEndScan_ = std::move(handler); }
    // A folder (ending with a separator) whose files the walk did not all see, though some may be
    // there: it could not be listed, or not to its end, or it lies on another file system.
    void SetOnFolderLeftOut(TFolderEvent handler) { onFolderLeftOut_ = std::move(handler); }
    void SetOnScanDirFailed(TScanDirFailedEvent handler) { onScanDirFailed_ = std::move(handler); }
    // Decides whether a folder lies on the walk's file system; by default equal device ids.
    void
    SetSameFileSystemCheck(std::function<bool(uint64_t rootDevice, uint64_t entryDevice)> check) {
        sameFileSystem_ = std::move(check);
    }

    // Inside OnFoundFile: where the file just reported lies, in the folder the walk holds open,
    // so that its readers reach it however long its path; the location keeps that folder open
    // while it is kept. Any other path is located by itself.
    FileLocation FoundFileLocation(const std::string& fileName) const;

protected:
    virtual void DoScan();
    virtual void DoEndScan();
    virtual void DoFoundFile(const std::string& fileName, bool& vAbort);
    virtual void DoBeforeScanDir(const std::string& fileName, bool& vAbort);
    virtual void DoFolderLeftOut(const std::string& folderPath);
    virtual void DoScanDirFailed(const std::string& folderName, const std::string& reason);

private:
    class Walk;

    bool IsExcluded(const std::string& fullPath) const;

    std::atomic<bool> running_{false};
    bool subFolder_ = true;
    std::string path_;
    std::vector<std::string> excludedFolders_;
    std::string extensions_ = "*;";
    bool useThread_ = false;
    TGetFileEvent onBeforeScanDir_;
    TGetFileEvent onFoundFile_;
    TNotifyEvent onEndScan_;
    TFolderEvent onFolderLeftOut_;
    TScanDirFailedEvent onScanDirFailed_;
    std::function<bool(uint64_t, uint64_t)> sameFileSystem_;
    std::unique_ptr<TThreadEx> worker_; // made on the first threaded Execute
    const Walk* walk_ = nullptr;        // the walk under way on the thread that runs it
};

// The component as placed on a window: all behaviour is in TCustomScanFiles.
class TScanFiles : public TCustomScanFiles {};

} // namespace mirelon
