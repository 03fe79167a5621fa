#pragma once

#include "session/task_names.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace mirelon {

class TThreadEx;

using TJob = std::function<void(TThreadEx& sender)>;

// Picks the job of a helper-thread run by the exact task name. Only the six job names can
// carry a job; until one is set its name runs nothing, like every other name.
class TTaskDispatcher {
public:
    // Throws std::invalid_argument for a name that is not one of the six job names.
    void SetJob(std::string_view taskName, TJob job);
    bool HasJob(std::string_view taskName) const;

    // Runs on the worker. A failing job's text is kept for the window thread, and the exception
    // goes on to the helper thread as before.
    void Execute(const std::string& taskName, TThreadEx& sender);

    // The text of the last run's failure, empty when it succeeded or ran nothing; clears it.
    std::string TakeFailure();

private:
    static int SlotOf(std::string_view taskName);

    static constexpr int kJobCount = 6;
    TJob jobs_[kJobCount];
    mutable std::mutex failureLock_;
    std::string failure_;
};

} // namespace mirelon
