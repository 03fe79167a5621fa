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
    bool wake = false;
    {
        const std::lock_guard lock(mutex_);
        if (stopping_ || paths_.size() >= maxPending_) {
            return;
        }
        paths_.push_back(path);
        // A thread woken takes every hint waiting: files found in memory make hints quick, and
        // a wake for each would cost more than the hint.
        wake = paths_.size() % kWakeBatch == 0;
    }
    if (wake) {
        pending_.notify_one();
    }
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
        HintReadAhead(path, bytes_);
    }
}

} // namespace mirelon
