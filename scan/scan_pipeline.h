#pragma once

#include "scan/ordered_pipeline.h"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace mirelon {

// The per-file side of a parallel scan, for any kind of job and result: the walk submits jobs
// in its order, workers turn each into a result, and one writer receives the results in exactly
// that order. A job's failure becomes a result too, so an exception ends nothing but its file.
template <class Job, class Result> class TScanPipeline {
public:
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
    };

    TScanPipeline(const OrderedPipelineLimits& limits, Handlers handlers)
        : handlers_(std::move(handlers)), pipeline_(limits, [this](TPipelineItem& item) {
              handlers_.write(*static_cast<Item&>(item).result);
          }) {}

    // Waits while a bound is reached; false once the run was aborted, finished or failed.
    // `folder` is held and counted as an open folder until the job's work has ended.
    bool Submit(Job job, std::shared_ptr<const void> folder = {}) {
        if (handlers_.readAhead)
            handlers_.readAhead(job);
        return pipeline_.Submit(std::make_unique<Item>(handlers_, std::move(job)),
                                std::move(folder));
    }

    // Jobs not yet started are dropped; those started are finished and written.
    void Abort() { pipeline_.Abort(); }
    // Waits until every started job is written; raises a failure of the writer or of `failed`.
    void Finish() { pipeline_.Finish(); }

    OrderedPipelinePeaks Peaks() const { return pipeline_.Peaks(); }
    uint64_t WrittenCount() const { return pipeline_.WrittenCount(); }

private:
    class Item : public TPipelineItem {
    public:
        Item(const Handlers& handlers, Job job) : handlers_(handlers), job_(std::move(job)) {}

        void Run() override {
            try {
                result.emplace(handlers_.work(*job_));
            } catch (...) {
                result.emplace(handlers_.failed(*job_, std::current_exception()));
            }
            job_.reset(); // whatever the job holds open is let go before the result waits
        }

        size_t ResultBytes() const override {
            return handlers_.resultBytes ? handlers_.resultBytes(*result) : 0;
        }

        std::optional<Result> result;

    private:
        const Handlers& handlers_;
        std::optional<Job> job_;
    };

    const Handlers handlers_;
    // Last, so that its threads end before the handlers go.
    TOrderedPipeline pipeline_;
};

} // namespace mirelon
