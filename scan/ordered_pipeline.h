#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace mirelon {

// One file's work in the pipeline: made by the submitting thread, run on a worker, handed to
// the writer.
class TPipelineItem {
public:
    virtual ~TPipelineItem() = default;
    // The per-file work, on a worker thread. A throw here is not a file's failure but the
    // pipeline's (items turn a file's failures into results themselves): it ends the run.
    virtual void Run() = 0;
    // After Run: the bytes the result holds, counted against the reorder buffer's bound.
    virtual size_t ResultBytes() const = 0;
    // Whether a worker may run this item side by side with the groupable items that follow it,
    // through the pipeline's group runner.
    virtual bool Groupable() const { return false; }
};

// What a group runner works with: more items as lanes come free, and a way to hand each item on
// as soon as its work has ended, while the others still run.
class TGroupFeed {
public:
    // The next item, when it is groupable and may be taken now; null otherwise. Never waits.
    virtual TPipelineItem* More() = 0;
    // The item's work has ended: it goes towards the writer at once. Never waits.
    virtual void Done(TPipelineItem& item) = 0;

protected:
    ~TGroupFeed() = default;
};

// Every bound holds however large or deep the tree, so the memory of a run is bounded too.
struct OrderedPipelineLimits {
    // Threads doing the per-file work; at least 1.
    int workers = 1;
    // Files submitted and not yet taken by a worker.
    size_t maxQueuedFiles = 64;
    // The weight of the items submitted and not yet taken (for a scan, the bytes its files will
    // read), so that the work still to do after a stop stays short; 0 for no bound. One item
    // may go above it.
    uint64_t maxQueuedWeight = 0;
    // Distinct folder holds among the files queued or being worked on; a folder's hold is let
    // go when its last file's work has ended.
    size_t maxOpenFolders = 16;
    // Files taken by a worker and not yet written: running, or waiting in the reorder buffer
    // for an earlier file. At least `workers`.
    size_t maxBufferedFiles = 256;
    // Bytes of the results waiting in the reorder buffer. The next file to write is always
    // let in, so at most one result per worker waits above this bound.
    size_t maxBufferedBytes = 16u << 20;
};

// The highest counts a run reached, against which its limits can be checked.
struct OrderedPipelinePeaks {
    size_t queuedFiles = 0;
    size_t openFolders = 0;
    size_t bufferedFiles = 0;
    size_t bufferedBytes = 0;
    size_t runningWorkers = 0;
};

// Items submitted by one thread (the walk) are worked on by a pool of workers and handed to one
// writer thread in exactly the order of submission, through a reorder buffer. Workers take
// files in submission order, and only as far ahead of the writer as the buffer allows, so the
// file the writer waits for is always running or done and the run cannot stall.
class TOrderedPipeline {
public:
    // On the writer thread, one item at a time in submission order. A throw ends the run: no
    // further item is written and Finish raises it.
    using Writer = std::function<void(TPipelineItem& item)>;
    // On a worker: runs `first` and the items `feed.More()` gives side by side, and hands each
    // to `feed.Done()` when its work has ended, as Run would have ended it. Those not handed on
    // when it returns are handed on then. A throw ends the run, as from Run.
    using GroupRunner = std::function<void(TPipelineItem& first, TGroupFeed& feed)>;

    TOrderedPipeline(const OrderedPipelineLimits& limits, Writer writer,
                     GroupRunner groupRunner = {});
    // Abort, then wait for the threads; never throws.
    ~TOrderedPipeline();
    TOrderedPipeline(const TOrderedPipeline&) = delete;
    TOrderedPipeline& operator=(const TOrderedPipeline&) = delete;

    // Queues one item, waiting while a bound is reached. `folder` is held (and counted) until
    // the item's work has ended; null holds nothing. False, and the item is dropped, once the
    // run was aborted, finished or failed.
    bool Submit(std::unique_ptr<TPipelineItem> item, std::shared_ptr<const void> folder = {},
                uint64_t weight = 0);

    // Drops the items no worker has taken yet; those taken still finish and are written, so
    // what is written is always the submissions up to some point. Any thread may call it.
    void Abort();

    // Ends the submissions and waits until every item taken is written and the threads have
    // ended. Raises what the writer or an item's Run raised, if anything did.
    void Finish();

    OrderedPipelinePeaks Peaks() const;
    uint64_t WrittenCount() const;

private:
    struct Queued {
        std::unique_ptr<TPipelineItem> item;
        std::shared_ptr<const void> folder;
        uint64_t sequence = 0;
        uint64_t weight = 0;
    };
    struct Done {
        std::unique_ptr<TPipelineItem> item;
        size_t bytes = 0;
    };

    class WorkerGroup;

    void WorkerLoop();
    void RunGroup(Queued first);
    // Under the lock: the front item, counted as taken.
    Queued TakeFrontLocked();
    // Under the lock: lets go of the item's folder and puts its result in the reorder buffer,
    // whatever the bytes waiting there. True when the writer waits for this result.
    bool PlaceLocked(Queued& done, size_t bytes);
    void WriterLoop();
    bool CanTakeFront() const;
    bool CanQueue(const void* folder) const;
    // Once the queue was full, the submitter waits until it is down to this, so that it wakes
    // once for many files rather than once for each.
    size_t QueueRefillMark() const { return limits_.maxQueuedFiles / 2; }
    // Under the lock: whether the queue is down to its refill marks, in files and in weight.
    bool QueueRefilled() const {
        return queue_.size() <= QueueRefillMark() &&
               (limits_.maxQueuedWeight == 0 || queuedWeight_ <= limits_.maxQueuedWeight / 2);
    }
    bool AllWritten() const;
    void Fail(std::exception_ptr failure);
    std::deque<Queued> DropQueueLocked();
    void ReleaseFolderLocked(const void* folder);
    void JoinThreads();

    const OrderedPipelineLimits limits_;
    const Writer writer_;
    const GroupRunner groupRunner_;

    mutable std::mutex mutex_;
    std::condition_variable queueSpace_;  // the submitter waits here
    std::condition_variable work_;        // workers wait for an item they may take
    std::condition_variable bufferSpace_; // workers wait to place a result
    std::condition_variable writable_;    // the writer waits for the next item

    std::deque<Queued> queue_;
    std::unordered_map<const void*, size_t> folderUses_;
    std::vector<Done> reorder_; // slot = sequence % size
    uint64_t submitted_ = 0;    // sequence of the next submission
    uint64_t taken_ = 0;        // items workers have taken
    uint64_t written_ = 0;      // sequence the writer needs next
    size_t bufferedBytes_ = 0;
    uint64_t queuedWeight_ = 0;
    size_t running_ = 0;
    // Threads waiting, so that a change wakes only those it may concern: a wake costs a switch
    // of threads, and files come by the ten thousand.
    bool submitterWaiting_ = false;
    size_t idleWorkers_ = 0;
    size_t workersWaitingForRoom_ = 0;
    bool closed_ = false;
    std::exception_ptr failure_;
    OrderedPipelinePeaks peaks_;

    std::vector<std::thread> workers_;
    std::thread writerThread_;
};

} // namespace mirelon
