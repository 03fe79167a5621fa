#include "scan/scan_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace mirelon {
namespace {

using namespace std::chrono_literals;

// Counts the live objects of one kind and the most that were ever alive at once: an oracle for
// memory bounds that does not ask the pipeline.
class TLiveCount {
public:
    void Add(long amount) {
        const long now = live_.fetch_add(amount) + amount;
        long peak = peak_.load();
        while (now > peak && !peak_.compare_exchange_weak(peak, now)) {
        }
    }
    long Peak() const { return peak_.load(); }
    long Live() const { return live_.load(); }

private:
    std::atomic<long> live_{0};
    std::atomic<long> peak_{0};
};

// Owns one unit of a count while it holds something; a moved-from object owns none.
class TCounted {
public:
    TCounted(TLiveCount& count, long units) : count_(&count), units_(units) { count_->Add(units_); }
    TCounted(TCounted&& other) noexcept
        : count_(other.count_), units_(std::exchange(other.units_, 0)) {}
    TCounted& operator=(TCounted&& other) noexcept {
        Release();
        count_ = other.count_;
        units_ = std::exchange(other.units_, 0);
        return *this;
    }
    ~TCounted() { Release(); }
    long Units() const { return units_; }

private:
    void Release() {
        if (units_ != 0)
            count_->Add(-units_);
        units_ = 0;
    }
    TLiveCount* count_;
    long units_;
};

struct Job {
    uint64_t index = 0;
    std::chrono::microseconds delay{0};
    size_t resultBytes = 0;
    std::shared_ptr<const void> folder; // the job keeps its folder open, like a relative read
    TCounted alive;
    TCounted weight; // the bytes it will read
};

struct Result {
    uint64_t index = 0;
    std::string payload;
    std::string failure;
    TCounted alive;
    TCounted bytes;
};

// A submitting thread's random tree: folders of 0 to 30 files, each file with a random delay
// and result size, and now and then a parent folder again after a sub-folder, as a depth-first
// walk goes back up.
class TPipelineRun {
public:
    explicit TPipelineRun(uint32_t seed) : random_(seed) {}

    TScanPipeline<Job, Result>::Handlers Handlers() {
        TScanPipeline<Job, Result>::Handlers handlers;
        handlers.work = [this](Job& job) {
            started_.fetch_add(1);
            std::this_thread::sleep_for(job.delay);
            if (throwEvery_ != 0 && job.index % throwEvery_ == 3)
                throw std::runtime_error("cannot read file " + std::to_string(job.index));
            return Result{job.index, std::string(job.resultBytes, 'r'), "",
                          TCounted(resultCount_, 1),
                          TCounted(resultBytes_, static_cast<long>(job.resultBytes))};
        };
        handlers.failed = [this](const Job& job, std::exception_ptr failure) {
            Result result{job.index, "", "", TCounted(resultCount_, 1), TCounted(resultBytes_, 0)};
            try {
                std::rethrow_exception(failure);
            } catch (const std::exception& e) {
                result.failure = e.what();
            }
            return result;
        };
        handlers.write = [this](Result& result) {
            EXPECT_FALSE(writing_.exchange(true)) << "two writes at once";
            if (writerThread_ == std::thread::id())
                writerThread_ = std::this_thread::get_id();
            EXPECT_EQ(writerThread_, std::this_thread::get_id());
            if (slowWriter_ && result.index % 10 == 7)
                std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(writeDelay_);
            written_.push_back(result.index);
            failures_.push_back(result.failure);
            writing_ = false;
            if (onWritten_)
                onWritten_(written_.size());
        };
        handlers.resultBytes = [](const Result& result) { return result.payload.size(); };
        handlers.weight = [](const Job& job) { return static_cast<uint64_t>(job.weight.Units()); };
        if (grouped_) {
            handlers.groupable = [](const Job& job) { return job.index % 7 != 0; };
            // Lanes: a few jobs at once, taking more as one ends, ending in an order of their
            // own as files of different sizes do. A failing job fails the whole group, whose
            // jobs left then run alone.
            handlers.workGroup = [this, work = handlers.work](Job& first,
                                                              TScanJobFeed<Job, Result>& feed) {
                std::vector<Job*> lanes{&first};
                std::mt19937 random(static_cast<uint32_t>(first.index));
                bool more = true;
                while (!lanes.empty()) {
                    while (more && lanes.size() < kLanes) {
                        Job* next = feed.More();
                        more = next != nullptr;
                        if (more)
                            lanes.push_back(next);
                    }
                    const size_t ending = random() % lanes.size();
                    Job& job = *lanes[ending];
                    lanes.erase(lanes.begin() + static_cast<long>(ending));
                    feed.Done(job, work(job));
                }
            };
        }
        return handlers;
    }

    // Submits `files` jobs; stops early when the pipeline refuses one.
    uint64_t SubmitTree(TScanPipeline<Job, Result>& pipeline, uint64_t files) {
        std::vector<std::shared_ptr<const void>> path; // the walk's open folders
        uint64_t submitted = 0;
        while (submitted < files) {
            if (path.empty() || random_() % 3 != 0) {
                path.push_back(std::make_shared<TCounted>(folders_, 1));
            } else {
                path.pop_back(); // back up to the parent, whose files go on
                if (path.empty())
                    continue;
            }
            const uint64_t count = random_() % (maxFilesPerFolder_ + 1);
            for (uint64_t file = 0; file < count && submitted < files; ++file) {
                Job job{submitted,
                        std::chrono::microseconds(random_() % maxJobDelayUs_),
                        random_() % (kMaxResultBytes + 1),
                        path.back(),
                        TCounted(jobs_, 1),
                        TCounted(weights_, static_cast<long>(random_() % (kMaxWeight + 1)))};
                std::shared_ptr<const void> folder = path.back();
                if (!pipeline.Submit(std::move(job), std::move(folder)))
                    return submitted;
                ++submitted;
            }
            if (path.size() > 3) {
                path.erase(path.begin()); // a deep walk closes its shallowest folders
            }
        }
        return submitted;
    }

    std::mt19937 random_;
    TLiveCount jobs_, resultCount_, resultBytes_, folders_, weights_;
    std::atomic<uint64_t> started_{0};
    std::atomic<bool> writing_{false};
    std::thread::id writerThread_;
    std::vector<uint64_t> written_;
    std::vector<std::string> failures_;
    uint64_t throwEvery_ = 0;
    bool slowWriter_ = false;
    bool grouped_ = false;
    std::chrono::microseconds writeDelay_{0};
    uint64_t maxJobDelayUs_ = 300;
    static constexpr size_t kLanes = 4;
    uint64_t maxFilesPerFolder_ = 30;
    static constexpr size_t kMaxResultBytes = 2000;
    static constexpr long kMaxWeight = 1000;
    std::function<void(size_t written)> onWritten_;
};

std::vector<uint64_t> Sequence(uint64_t count) {
    std::vector<uint64_t> sequence(count);
    for (uint64_t i = 0; i < count; ++i)
        sequence[i] = i;
    return sequence;
}

TEST(ScanPipeline, WritesInSubmissionOrderWithinEveryBound) {
    // The reorder buffer bounded by its bytes, then by its files.
    for (const bool grouped : {false, true})
        for (const size_t bufferedFiles : {size_t{40}, size_t{0}}) {
            for (const int workers : {1, 2, 5}) {
                SCOPED_TRACE(testing::Message() << workers << " workers, " << bufferedFiles
                                                << (grouped ? ", grouped" : ""));
                TPipelineRun run(static_cast<uint32_t>(workers));
                run.grouped_ = grouped;
                // A worker holds its lanes' jobs and results at once.
                const long held = grouped ? static_cast<long>(TPipelineRun::kLanes) : 1;
                // Small folders and a slow writer, so that each bound is reached.
                run.slowWriter_ = true;
                run.maxFilesPerFolder_ = 2;
                OrderedPipelineLimits limits;
                limits.workers = workers;
                limits.maxQueuedFiles = 12;
                limits.maxOpenFolders = 3;
                limits.maxBufferedFiles = bufferedFiles != 0 ? bufferedFiles : workers + 2;
                limits.maxBufferedBytes = bufferedFiles != 0 ? 3000 : 1u << 30;
                constexpr uint64_t kFiles = 2000;
                {
                    TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
                    EXPECT_EQ(run.SubmitTree(pipeline, kFiles), kFiles);
                    pipeline.Finish();
                    EXPECT_EQ(pipeline.WrittenCount(), kFiles);
                }
                EXPECT_EQ(run.written_, Sequence(kFiles));

                // Jobs alive: the queue, one per worker, and the one being submitted.
                EXPECT_LE(run.jobs_.Peak(),
                          static_cast<long>(limits.maxQueuedFiles) + workers * held + 1);
                // Results alive: never more than the files taken and not yet written.
                EXPECT_LE(run.resultCount_.Peak(), static_cast<long>(limits.maxBufferedFiles));
                // Result bytes: the bound, plus the results above it a worker holds and the one
                // in writing.
                EXPECT_LE(run.resultBytes_.Peak(),
                          static_cast<long>(limits.maxBufferedBytes +
                                            (workers * held + 1) * TPipelineRun::kMaxResultBytes));
                // Folders alive: those the queued and running jobs hold, and the walk's own four.
                EXPECT_LE(run.folders_.Peak(), static_cast<long>(limits.maxOpenFolders) + 4);
                EXPECT_EQ(run.jobs_.Live(), 0);
                EXPECT_EQ(run.resultCount_.Live(), 0);
                EXPECT_EQ(run.folders_.Live(), 0);
            }
        }
}

// Quick files and a slow writer: a worker finds the bytes' bound reached again and again, and
// must not start a group then, whose first result would go in without waiting for room.
TEST(ScanPipeline, GroupsKeepTheBoundOnResultBytesAgainstASlowWriter) {
    TPipelineRun run(5);
    run.grouped_ = true;
    run.writeDelay_ = 50us;
    run.maxJobDelayUs_ = 1;
    OrderedPipelineLimits limits;
    limits.workers = 1;
    limits.maxBufferedFiles = 1000;
    limits.maxBufferedBytes = 3000;
    {
        TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
        ASSERT_EQ(run.SubmitTree(pipeline, 1500), 1500u);
        pipeline.Finish();
    }
    EXPECT_EQ(run.written_, Sequence(1500));
    EXPECT_LE(run.resultBytes_.Peak(),
              static_cast<long>(limits.maxBufferedBytes +
                                (TPipelineRun::kLanes + 1) * TPipelineRun::kMaxResultBytes));
}

// The bytes still to read after a stop are bounded: the queue holds back the walk by the weight
// of its jobs as well as by their number.
TEST(ScanPipeline, TheQueueIsBoundedByTheWeightOfItsJobs) {
    TPipelineRun run(9);
    OrderedPipelineLimits limits;
    limits.workers = 2;
    limits.maxQueuedFiles = 1000;
    limits.maxQueuedWeight = 5000;
    {
        TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
        ASSERT_EQ(run.SubmitTree(pipeline, 1500), 1500u);
        pipeline.Finish();
    }
    EXPECT_EQ(run.written_, Sequence(1500));
    // The bound, one job above it, those running and the one being submitted.
    EXPECT_LE(run.weights_.Peak(), static_cast<long>(limits.maxQueuedWeight) +
                                       (1 + limits.workers + 1) * TPipelineRun::kMaxWeight);
    EXPECT_EQ(run.weights_.Live(), 0);
}

TEST(ScanPipeline, AFailingFileEndsOnlyThatFile) {
    for (const bool grouped : {false, true}) {
        SCOPED_TRACE(grouped ? "grouped" : "one by one");
        TPipelineRun run(7);
        run.throwEvery_ = 10;
        run.grouped_ = grouped;
        OrderedPipelineLimits limits;
        limits.workers = 3;
        TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
        ASSERT_EQ(run.SubmitTree(pipeline, 500), 500u);
        pipeline.Finish();
        ASSERT_EQ(run.written_, Sequence(500));
        for (uint64_t i = 0; i < 500; ++i) {
            EXPECT_EQ(run.failures_[i], i % 10 == 3 ? "cannot read file " + std::to_string(i) : "")
                << i;
        }
    }
}

TEST(ScanPipeline, AbortWritesEveryStartedFileAndNothingAfter) {
    for (const bool grouped : {false, true})
        for (const size_t abortAt : {size_t{1}, size_t{40}, size_t{333}}) {
            SCOPED_TRACE(testing::Message() << abortAt << (grouped ? ", grouped" : ""));
            TPipelineRun run(static_cast<uint32_t>(abortAt));
            run.grouped_ = grouped;
            OrderedPipelineLimits limits;
            limits.workers = 4;
            limits.maxQueuedFiles = 16;
            TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
            // An abort from another thread, as a window's button or Ctrl-C asks for it.
            std::thread aborter;
            run.onWritten_ = [&](size_t written) {
                if (written == abortAt)
                    aborter = std::thread([&] { pipeline.Abort(); });
            };
            const uint64_t submitted = run.SubmitTree(pipeline, 100000);
            EXPECT_LT(submitted, 100000u);
            pipeline.Finish();
            ASSERT_TRUE(aborter.joinable());
            aborter.join();
            // What was written is the submissions up to some point, and everything started.
            EXPECT_EQ(run.written_, Sequence(run.written_.size()));
            EXPECT_GE(run.written_.size(), abortAt);
            EXPECT_EQ(run.written_.size(), run.started_.load());
            EXPECT_FALSE(pipeline.Submit(
                Job{0, {}, 0, nullptr, TCounted(run.jobs_, 1), TCounted(run.weights_, 0)}));
        }
}

TEST(ScanPipeline, AFailingWriterEndsTheRunAndFinishSaysWhy) {
    TPipelineRun run(3);
    auto handlers = run.Handlers();
    auto write = handlers.write;
    handlers.write = [&](Result& result) {
        if (result.index == 120)
            throw std::runtime_error("database or disk is full");
        write(result);
    };
    OrderedPipelineLimits limits;
    limits.workers = 2;
    TScanPipeline<Job, Result> pipeline(limits, handlers);
    EXPECT_LT(run.SubmitTree(pipeline, 100000), 100000u);
    try {
        pipeline.Finish();
        ADD_FAILURE() << "Finish did not raise";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "database or disk is full");
    }
    EXPECT_EQ(run.written_, Sequence(120));
}

TEST(ScanPipeline, GoingAwayWithoutFinishStopsEverything) {
    TPipelineRun run(11);
    {
        OrderedPipelineLimits limits;
        limits.workers = 3;
        TScanPipeline<Job, Result> pipeline(limits, run.Handlers());
        run.SubmitTree(pipeline, 200);
    }
    EXPECT_EQ(run.written_, Sequence(run.written_.size()));
    EXPECT_EQ(run.jobs_.Live(), 0);
    EXPECT_EQ(run.resultCount_.Live(), 0);
    EXPECT_EQ(run.folders_.Live(), 0);
}

} // namespace
} // namespace mirelon
