#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mirelon {

// Gives read-ahead hints on threads of its own. A hint opens the file, and on a cold disk that
// open waits for the file's directory entry to be read: hints given one after another on the
// walk's thread would keep one read in flight, where a solid-state disk wants several.
// While the files hinted are found in memory already (a warm tree), only one in kWarmSample
// is hinted, so that hints cost next to nothing there; the first one found on disk brings
// back a hint for every file.
class TReadAheadPool {
public:
    // `threads` threads hint at the first `bytes` of each file; at most `maxPending` hints wait.
    TReadAheadPool(int threads, size_t maxPending, uint64_t bytes);
    // Drops the hints not given yet and waits for the threads.
    ~TReadAheadPool();
    TReadAheadPool(const TReadAheadPool&) = delete;
    TReadAheadPool& operator=(const TReadAheadPool&) = delete;

    // Never waits: a hint that finds no room is dropped, as is a late hint.
    void Hint(const std::string& path);

    // Hints wait until this many have come, or a thread is done with those before.
    static constexpr size_t kWakeBatch = 8;
    // Files found in memory one after another before the tree counts as warm.
    static constexpr size_t kWarmRun = 64;
    static constexpr size_t kWarmSample = 16;

    // Hints handed to the threads so far, and those none has taken yet.
    uint64_t HintsQueued() const { return queued_; }
    size_t HintsWaiting();

private:
    void Loop();
    void Stop();

    const size_t maxPending_;
    const uint64_t bytes_;
    // Hint's caller's own.
    uint64_t offered_ = 0;
    uint64_t queued_ = 0;
    std::atomic<bool> warm_{false};
    std::atomic<size_t> inMemoryRun_{0};
    std::mutex mutex_;
    std::condition_variable pending_;
    std::deque<std::string> paths_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace mirelon
