#include "scan/read_ahead_pool.h"

#include "scan/read_ahead.h"

namespace mirelon {

TReadAheadPool::TReadAheadPool(int threads, size_t maxPending, uint64_t bytes)
    : maxPending_(maxPending), bytes_(bytes) {
    try {
        for (int thread = 0; thread < threads; ++thread) {
            threads_.emplace_back([this] { Loop(); });
        }
    } catch (...) {
        Stop();
        throw;
    }
}

TReadAheadPool::~TReadAheadPool() {
    Stop();
}

void TReadAheadPool::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        paths_.clear();
    }
    pending_.notify_all();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
    threads_.clear();
}

void TReadAheadPool::Hint(const std::string& path) {
    if (warm_.load(std::memory_order_relaxed) && ++offered_ % kWarmSample != 0) {
        return;
    }
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ || paths_.size() >= maxPending_) {
            return;
        }
        paths_.push_back(path);
        ++queued_;
        // A thread woken takes every hint waiting: files found in memory make hints quick, and
        // a wake for each would cost more than the hint. Hints of a warm tree are few, and each
        // is to tell at once whether the tree is still warm.
        wake = warm_.load(std::memory_order_relaxed) || paths_.size() % kWakeBatch == 0;
    }
    if (wake) {
        pending_.notify_one();
    }
}

size_t TReadAheadPool::HintsWaiting() {
    const std::lock_guard lock(mutex_);
    return paths_.size();
}

void TReadAheadPool::Loop() {
    for (;;) {
        std::string path;
        {
            std::unique_lock lock(mutex_);
            pending_.wait(lock, [&] { return stopping_ || !paths_.empty(); });
            if (stopping_) {
                return;
            }
            path = std::move(paths_.front());
            paths_.pop_front();
        }
        if (HintReadAhead(path, bytes_)) {
            if (inMemoryRun_.fetch_add(1, std::memory_order_relaxed) + 1 >= kWarmRun) {
                warm_.store(true, std::memory_order_relaxed);
            }
        } else {
            inMemoryRun_.store(0, std::memory_order_relaxed);
            warm_.store(false, std::memory_order_relaxed);
        }
    }
}

} // namespace mirelon
