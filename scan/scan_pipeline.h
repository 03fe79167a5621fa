#pragma once

#include "scan/ordered_pipeline.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace mirelon {

// For work on several jobs at once: more jobs as there is room, and each result handed on as
// soon as it is ready, while the other jobs go on.
template <class Job, class Result> class TScanJobFeed {
public:
    // The next job, when it is groupable and may be taken now; null otherwise.
    virtual Job* More() = 0;
    virtual void Done(Job& job, Result result) = 0;

protected:
    ~TScanJobFeed() = default;
};

// The per-file side of a parallel scan, for any kind of job and result: the walk submits jobs
// in its order, workers turn each into a result, and one writer receives the results in exactly
// that order. A job's failure becomes a result too, so an exception ends nothing but its file.
template <class Job, class Result> class TScanPipeline {
public:
    using JobFeed = TScanJobFeed<Job, Result>;

    struct Handlers {
        // On a worker: the whole per-file work.
        std::function<Result(Job& job)> work;
        // On a worker, when `work` threw: the result that stands for the failed file (a skip
        // with its reason, say). Throwing here ends the run.
        std::function<Result(const Job& job, std::exception_ptr failure)> failed;
        // On the writer thread, one result at a time in submission order.
        std::function<void(Result& result)> write;
        // The bytes a result holds, for the reorder buffer's bound; none counts 0.
        std::function<size_t(const Result& result)> resultBytes;
        // On the submitting thread, before the job is queued: a hint that its file will be
        // read soon. The queue's bound is thus also how far reading runs ahead.
        std::function<void(const Job& job)> readAhead;
        // Optional: the job's weight for the queue's bound (limits.maxQueuedWeight).
        std::function<uint64_t(const Job& job)> weight;
        // Optional, with `workGroup`: whether a job may be worked on side by side with the
        // groupable jobs that follow it.
        std::function<bool(const Job& job)> groupable;
        // On a worker: the work on `first` and on the jobs `feed.More()` gives, each result
        // handed to `feed.Done()`. Jobs left without a result, also when it throws, are then
        // worked on alone.
        std::function<void(Job& first, JobFeed& feed)> workGroup;
    };

    TScanPipeline(const OrderedPipelineLimits& limits, Handlers handlers)
        : handlers_(std::move(handlers)),
          pipeline_(
              limits,
              [this](TPipelineItem& item) { handlers_.write(*static_cast<Item&>(item).result); },
              handlers_.groupable && handlers_.workGroup
                  ? TOrderedPipeline::GroupRunner(
                        [this](TPipelineItem& first, TGroupFeed& feed) { RunGroup(first, feed); })
                  : TOrderedPipeline::GroupRunner()) {}

    // Waits while a bound is reached; false once the run was aborted, finished or failed.
    // `folder` is held and counted as an open folder until the job's work has ended.
    bool Submit(Job job, std::shared_ptr<const void> folder = {}) {
        if (handlers_.readAhead)
            handlers_.readAhead(job);
        const uint64_t weight = handlers_.weight ? handlers_.weight(job) : 0;
        return pipeline_.Submit(std::make_unique<Item>(handlers_, std::move(job)),
                                std::move(folder), weight);
    }

    // Jobs not yet started are dropped; those started are finished and written.
    void Abort() { pipeline_.Abort(); }
    // Waits until every started job is written; raises a failure of the writer or of `failed`.
    void Finish() { pipeline_.Finish(); }

    OrderedPipelinePeaks Peaks() const { return pipeline_.Peaks(); }
    uint64_t WrittenCount() const { return pipeline_.WrittenCount(); }

private:
    class Item;

    // The pipeline's items as jobs.
    class GroupJobs final : public JobFeed {
    public:
        GroupJobs(TGroupFeed& feed, TPipelineItem& first) : feed_(feed) { Track(first); }

        Job* More() override {
            TPipelineItem* item = feed_.More();
            return item != nullptr ? Track(*item) : nullptr;
        }

        void Done(Job& job, Result result) override {
            const auto found = std::find_if(running_.begin(), running_.end(),
                                            [&](const Item* item) { return &*item->job == &job; });
            if (found == running_.end())
                return;
            Item& item = **found;
            running_.erase(found);
            item.result.emplace(std::move(result));
            item.job.reset(); // whatever the job holds open is let go before the result waits
            feed_.Done(item);
        }

        // Those left without a result, one by one.
        void RunLeft() {
            while (!running_.empty()) {
                Item& item = *running_.front();
                running_.erase(running_.begin());
                item.Run();
                feed_.Done(item);
            }
        }

    private:
        Job* Track(TPipelineItem& item) {
            Item& ours = static_cast<Item&>(item);
            running_.push_back(&ours);
            return &*ours.job;
        }

        TGroupFeed& feed_;
        std::vector<Item*> running_;
    };

    void RunGroup(TPipelineItem& first, TGroupFeed& feed) {
        GroupJobs jobs(feed, first);
        try {
            handlers_.workGroup(*static_cast<Item&>(first).job, jobs);
        } catch (...) {
            // Each job left is worked on alone, so that a failure ends nothing but its file.
        }
        jobs.RunLeft();
    }

    class Item : public TPipelineItem {
    public:
        Item(const Handlers& handlers, Job queued) : handlers_(handlers), job(std::move(queued)) {}

        void Run() override {
            try {
                result.emplace(handlers_.work(*job));
            } catch (...) {
                result.emplace(handlers_.failed(*job, std::current_exception()));
            }
            job.reset(); // whatever the job holds open is let go before the result waits
        }

        size_t ResultBytes() const override {
            return handlers_.resultBytes ? handlers_.resultBytes(*result) : 0;
        }

        bool Groupable() const override { return handlers_.groupable && handlers_.groupable(*job); }

    private:
        const Handlers& handlers_;

    public:
        std::optional<Result> result;
        // Until the job's work has ended.
        std::optional<Job> job;
    };

    const Handlers handlers_;
    // Last, so that its threads end before the handlers go.
    TOrderedPipeline pipeline_;
};

} // namespace mirelon
