#include "scan/ordered_pipeline.h"

#include <algorithm>

namespace mirelon {

TOrderedPipeline::TOrderedPipeline(const OrderedPipelineLimits& limits, Writer writer,
                                   GroupRunner groupRunner)
    : limits_([&] {
          OrderedPipelineLimits clamped = limits;
          clamped.workers = std::max(clamped.workers, 1);
          clamped.maxQueuedFiles = std::max<size_t>(clamped.maxQueuedFiles, 1);
          clamped.maxOpenFolders = std::max<size_t>(clamped.maxOpenFolders, 1);
          clamped.maxBufferedFiles =
              std::max(clamped.maxBufferedFiles, static_cast<size_t>(clamped.workers));
          return clamped;
      }()),
      writer_(std::move(writer)), groupRunner_(std::move(groupRunner)),
      reorder_(limits_.maxBufferedFiles) {
    try {
        writerThread_ = std::thread([this] { WriterLoop(); });
        for (int worker = 0; worker < limits_.workers; ++worker)
            workers_.emplace_back([this] { WorkerLoop(); });
    } catch (...) {
        Abort();
        JoinThreads();
        throw;
    }
}

TOrderedPipeline::~TOrderedPipeline() {
    Abort();
    JoinThreads();
}

bool TOrderedPipeline::Submit(std::unique_ptr<TPipelineItem> item,
                              std::shared_ptr<const void> folder, uint64_t weight) {
    std::unique_lock lock(mutex_);
    const bool heavy = limits_.maxQueuedWeight != 0 && !queue_.empty() &&
                       queuedWeight_ + weight > limits_.maxQueuedWeight;
    if (!closed_ && (queue_.size() >= limits_.maxQueuedFiles || heavy || !CanQueue(folder.get()))) {
        submitterWaiting_ = true;
        queueSpace_.wait(lock,
                         [&] { return closed_ || (QueueRefilled() && CanQueue(folder.get())); });
        submitterWaiting_ = false;
    }
    if (closed_)
        return false; // the item goes with the parameters, after the lock
    if (folder) {
        ++folderUses_[folder.get()];
        peaks_.openFolders = std::max(peaks_.openFolders, folderUses_.size());
    }
    queue_.push_back({std::move(item), std::move(folder), submitted_++, weight});
    queuedWeight_ += weight;
    peaks_.queuedFiles = std::max(peaks_.queuedFiles, queue_.size());
    const bool wake = idleWorkers_ > 0;
    lock.unlock();
    if (wake)
        work_.notify_one();
    return true;
}

void TOrderedPipeline::Abort() {
    std::deque<Queued> dropped;
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        dropped = DropQueueLocked();
    }
    queueSpace_.notify_all();
    work_.notify_all();
    bufferSpace_.notify_all();
    writable_.notify_all();
}

void TOrderedPipeline::Finish() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    queueSpace_.notify_all();
    work_.notify_all();
    writable_.notify_all();
    JoinThreads();
    const std::lock_guard lock(mutex_);
    if (failure_)
        std::rethrow_exception(failure_);
}

OrderedPipelinePeaks TOrderedPipeline::Peaks() const {
    const std::lock_guard lock(mutex_);
    return peaks_;
}

uint64_t TOrderedPipeline::WrittenCount() const {
    const std::lock_guard lock(mutex_);
    return written_;
}

void TOrderedPipeline::WorkerLoop() {
    for (;;) {
        Queued taken;
        bool wakeSubmitter = false;
        bool grouped = false;
        {
            std::unique_lock lock(mutex_);
            ++idleWorkers_;
            work_.wait(lock, [&] { return CanTakeFront() || (closed_ && queue_.empty()); });
            --idleWorkers_;
            if (!CanTakeFront())
                return;
            taken = TakeFrontLocked();
            // A group's results go to the reorder buffer without waiting for room, so one is
            // started only while there is room; otherwise the item waits as a single one.
            grouped = groupRunner_ && bufferedBytes_ < limits_.maxBufferedBytes &&
                      taken.item->Groupable();
            ++running_;
            peaks_.runningWorkers = std::max(peaks_.runningWorkers, running_);
            wakeSubmitter = submitterWaiting_ && QueueRefilled();
        }
        if (wakeSubmitter)
            queueSpace_.notify_one();
        if (grouped) {
            RunGroup(std::move(taken));
            continue;
        }

        std::exception_ptr failure;
        size_t bytes = 0;
        try {
            taken.item->Run();
            bytes = taken.item->ResultBytes();
        } catch (...) {
            failure = std::current_exception();
        }

        // The folder is let go before the result may wait for room, and under the lock, so
        // that the count never lags the holds alive (closing a handle is quick).
        {
            const std::lock_guard lock(mutex_);
            --running_;
            ReleaseFolderLocked(taken.folder.get());
            taken.folder.reset();
            // The submitter may wait for this folder's place.
            wakeSubmitter = submitterWaiting_ && QueueRefilled();
        }
        if (wakeSubmitter)
            queueSpace_.notify_one();

        // Whatever is dropped here goes after the lock.
        std::deque<Queued> dropped;
        bool wakeWriter = false;
        {
            std::unique_lock lock(mutex_);
            if (failure) {
                if (!failure_)
                    failure_ = failure;
                closed_ = true;
                dropped = DropQueueLocked();
                wakeWriter = true;
            } else {
                ++workersWaitingForRoom_;
                bufferSpace_.wait(lock, [&] {
                    return failure_ || taken.sequence == written_ ||
                           bufferedBytes_ + bytes <= limits_.maxBufferedBytes;
                });
                --workersWaitingForRoom_;
                if (!failure_) {
                    reorder_[taken.sequence % reorder_.size()] = {std::move(taken.item), bytes};
                    bufferedBytes_ += bytes;
                    peaks_.bufferedBytes = std::max(peaks_.bufferedBytes, bufferedBytes_);
                }
                // The writer waits for no other result than the next one.
                wakeWriter = failure_ || taken.sequence == written_;
            }
        }
        if (wakeWriter)
            writable_.notify_one();
        if (failure) {
            queueSpace_.notify_all();
            work_.notify_all();
            bufferSpace_.notify_all();
        }
    }
}

// The items one worker runs side by side. Each goes to the reorder buffer as soon as it is done,
// without waiting for room: the bound on bytes is kept by taking no more while it is reached,
// so at most the items running at that moment wait above it.
class TOrderedPipeline::WorkerGroup final : public TGroupFeed {
public:
    explicit WorkerGroup(TOrderedPipeline& pipeline) : pipeline_(pipeline) {}

    void Add(Queued queued) { running_.push_back(std::move(queued)); }

    TPipelineItem* More() override {
        bool wakeSubmitter = false;
        {
            const std::lock_guard lock(pipeline_.mutex_);
            if (pipeline_.failure_ || !pipeline_.CanTakeFront() ||
                pipeline_.bufferedBytes_ >= pipeline_.limits_.maxBufferedBytes ||
                !pipeline_.queue_.front().item->Groupable())
                return nullptr;
            running_.push_back(pipeline_.TakeFrontLocked());
            wakeSubmitter = pipeline_.submitterWaiting_ && pipeline_.QueueRefilled();
        }
        if (wakeSubmitter)
            pipeline_.queueSpace_.notify_one();
        return running_.back().item.get();
    }

    void Done(TPipelineItem& item) override {
        const auto found =
            std::find_if(running_.begin(), running_.end(),
                         [&](const Queued& queued) { return queued.item.get() == &item; });
        if (found == running_.end())
            return;
        Queued done = std::move(*found);
        running_.erase(found);
        const size_t bytes = done.item->ResultBytes();
        bool wakeWriter = false;
        bool wakeSubmitter = false;
        {
            const std::lock_guard lock(pipeline_.mutex_);
            wakeWriter = pipeline_.PlaceLocked(done, bytes);
            // The submitter may wait for this folder's place.
            wakeSubmitter = pipeline_.submitterWaiting_ && pipeline_.QueueRefilled();
        }
        if (wakeWriter)
            pipeline_.writable_.notify_one();
        if (wakeSubmitter)
            pipeline_.queueSpace_.notify_one();
    }

    // Hands on what the runner left running.
    void Finish() {
        while (!running_.empty())
            Done(*running_.front().item);
    }

    // Under the lock, after a failure: the items left, their folders let go.
    std::vector<Queued> DropLocked() {
        for (const Queued& queued : running_)
            pipeline_.ReleaseFolderLocked(queued.folder.get());
        return std::move(running_);
    }

private:
    TOrderedPipeline& pipeline_;
    std::vector<Queued> running_;
};

void TOrderedPipeline::RunGroup(Queued first) {
    WorkerGroup group(*this);
    TPipelineItem& item = *first.item;
    group.Add(std::move(first));
    std::exception_ptr failure;
    try {
        groupRunner_(item, group);
        group.Finish();
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever is dropped here goes after the lock.
    std::deque<Queued> dropped;
    std::vector<Queued> left;
    {
        const std::lock_guard lock(mutex_);
        --running_;
        if (failure) {
            if (!failure_)
                failure_ = failure;
            closed_ = true;
            dropped = DropQueueLocked();
            left = group.DropLocked();
        }
    }
    if (failure) {
        queueSpace_.notify_all();
        work_.notify_all();
        bufferSpace_.notify_all();
        writable_.notify_all();
    }
}

TOrderedPipeline::Queued TOrderedPipeline::TakeFrontLocked() {
    Queued taken = std::move(queue_.front());
    queue_.pop_front();
    queuedWeight_ -= taken.weight;
    ++taken_;
    peaks_.bufferedFiles = std::max(peaks_.bufferedFiles, static_cast<size_t>(taken_ - written_));
    return taken;
}

bool TOrderedPipeline::PlaceLocked(Queued& done, size_t bytes) {
    ReleaseFolderLocked(done.folder.get());
    done.folder.reset();
    if (failure_)
        return true; // the item is dropped by the caller, after the lock
    reorder_[done.sequence % reorder_.size()] = {std::move(done.item), bytes};
    bufferedBytes_ += bytes;
    peaks_.bufferedBytes = std::max(peaks_.bufferedBytes, bufferedBytes_);
    return done.sequence == written_;
}

void TOrderedPipeline::WriterLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Done* next = nullptr;
        writable_.wait(lock, [&] {
            next = &reorder_[written_ % reorder_.size()];
            return failure_ || next->item || AllWritten();
        });
        if (failure_ || !next->item)
            return;
        Done done = std::move(*next);
        next->item = nullptr;
        lock.unlock();
        std::exception_ptr failure;
        try {
            writer_(*done.item);
        } catch (...) {
            failure = std::current_exception();
        }
        done.item.reset();
        std::deque<Queued> dropped;
        lock.lock();
        bufferedBytes_ -= done.bytes;
        if (failure) {
            if (!failure_)
                failure_ = failure;
            closed_ = true;
            dropped = DropQueueLocked();
        } else {
            ++written_;
        }
        // Workers wait on the writer only for a place in the reorder window or for room.
        const bool wakeWorkers = failure || (idleWorkers_ > 0 && !queue_.empty());
        const bool wakeWaitingResults = failure || workersWaitingForRoom_ > 0;
        lock.unlock();
        dropped.clear();
        if (wakeWorkers)
            work_.notify_all();
        if (wakeWaitingResults)
            bufferSpace_.notify_all();
        if (failure) {
            queueSpace_.notify_all();
            return;
        }
        lock.lock();
    }
}

bool TOrderedPipeline::CanTakeFront() const {
    return !queue_.empty() && queue_.front().sequence < written_ + reorder_.size();
}

bool TOrderedPipeline::CanQueue(const void* folder) const {
    return folder == nullptr || folderUses_.count(folder) > 0 ||
           folderUses_.size() < limits_.maxOpenFolders;
}

bool TOrderedPipeline::AllWritten() const {
    return closed_ && queue_.empty() && written_ == taken_;
}

std::deque<TOrderedPipeline::Queued> TOrderedPipeline::DropQueueLocked() {
    std::deque<Queued> dropped = std::move(queue_);
    queue_.clear();
    queuedWeight_ = 0;
    for (const Queued& queued : dropped)
        ReleaseFolderLocked(queued.folder.get());
    return dropped;
}

void TOrderedPipeline::ReleaseFolderLocked(const void* folder) {
    if (folder == nullptr)
        return;
    const auto found = folderUses_.find(folder);
    if (found != folderUses_.end() && --found->second == 0)
        folderUses_.erase(found);
}

void TOrderedPipeline::JoinThreads() {
    for (std::thread& worker : workers_) {
        if (worker.joinable())
            worker.join();
    }
    if (writerThread_.joinable())
        writerThread_.join();
}

} // namespace mirelon
