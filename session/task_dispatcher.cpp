#include "session/task_dispatcher.h"

#include "catalog/catalog_failure.h"

#include <exception>
#include <stdexcept>
#include <utility>

namespace mirelon {

int TTaskDispatcher::SlotOf(std::string_view taskName) {
    // Compared in this order, letter case significant.
    const std::string_view names[kJobCount] = {kTaskCreateDatabase, kTaskScanHarddisk,
                                               kTaskFindOldFiles,   kTaskFindDuplicateFiles,
                                               kTaskUnusedDlls,     kTaskRemoveFiles};
    for (int slot = 0; slot < kJobCount; ++slot) {
        if (taskName == names[slot]) {
            return slot;
        }
    }
    return -1;
}

void TTaskDispatcher::SetJob(std::string_view taskName, TJob job) {
    const int slot = SlotOf(taskName);
    if (slot < 0) {
        throw std::invalid_argument("no job can be set for task name \"" + std::string(taskName) +
                                    "\"");
    }
    jobs_[slot] = std::move(job);
}

bool TTaskDispatcher::HasJob(std::string_view taskName) const {
    const int slot = SlotOf(taskName);
    return slot >= 0 && static_cast<bool>(jobs_[slot]);
}

void TTaskDispatcher::Execute(const std::string& taskName, TThreadEx& sender) {
    {
        std::lock_guard lock(failureLock_);
        failure_.clear();
    }
    const int slot = SlotOf(taskName);
    if (slot < 0 || !jobs_[slot]) {
        return;
    }
    try {
        jobs_[slot](sender);
    } catch (const std::exception& error) {
        std::lock_guard lock(failureLock_);
        failure_ = DescribeFailure(error);
        if (failure_.empty()) {
            failure_ = "The job \"" + taskName + "\" failed.";
        }
        throw;
    } catch (...) {
        std::lock_guard lock(failureLock_);
        failure_ = "The job \"" + taskName + "\" failed.";
        throw;
    }
}

std::string TTaskDispatcher::TakeFailure() {
    std::lock_guard lock(failureLock_);
    return std::exchange(failure_, std::string());
}

} // namespace mirelon
