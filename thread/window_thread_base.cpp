#include "thread/window_thread_base.h"

#include <utility>

namespace mirelon {

void TWindowThreadBase::RunOnWindowThread(const std::function<void()>& call) {
    if (IsWindowThread()) {
        call();
        return;
    }
    auto state = std::make_shared<TCallState>();
    Enqueue({call, state});
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state->done; });
    if (state->failure) {
        std::rethrow_exception(state->failure);
    }
}

void TWindowThreadBase::Post(std::function<void()> call) {
    Enqueue({std::move(call), nullptr});
}

void TWindowThreadBase::Enqueue(TQueuedCall queued) {
    {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(queued));
    }
    changed_.notify_all();
    CallQueued();
}

bool TWindowThreadBase::ServePendingCalls() {
    bool served = false;
    for (;;) {
        TQueuedCall queued;
        {
            std::lock_guard lock(mutex_);
            if (calls_.empty()) {
                return served;
            }
            queued = std::move(calls_.front());
            calls_.pop_front();
        }
        served = true;
        std::exception_ptr failure;
        try {
            queued.call();
        } catch (...) {
            failure = std::current_exception();
        }
        if (queued.state) {
            {
                std::lock_guard lock(mutex_);
                queued.state->done = true;
                queued.state->failure = failure;
            }
            changed_.notify_all();
        }
    }
}

IWindowThread::TWake TWindowThreadBase::WaitOnQueue(const std::function<bool()>& hasEnded,
                                                    std::chrono::milliseconds quietLimit,
                                                    const std::function<bool()>& wakeEarly) {
    const bool serving = IsWindowThread();
    std::unique_lock lock(mutex_);
    TWake wake = TWake::Timeout;
    const auto woken = [&] {
        if (hasEnded()) {
            wake = TWake::Ended;
            return true;
        }
        if ((serving && !calls_.empty()) || (wakeEarly && wakeEarly())) {
            wake = TWake::Event;
            return true;
        }
        return false;
    };
    if (quietLimit.count() == 0) {
        changed_.wait(lock, woken);
    } else {
        changed_.wait_for(lock, quietLimit, woken);
    }
    return wake;
}

void TWindowThreadBase::WaitServingCalls(const std::function<bool()>& hasEnded) {
    while (WaitOnQueue(hasEnded, std::chrono::milliseconds(0)) != TWake::Ended) {
        ServePendingCalls();
    }
}

void TWindowThreadBase::WakeUp() {
    {
        // Taking the lock orders this wake after a waiter's look at hasEnded().
        std::lock_guard lock(mutex_);
    }
    changed_.notify_all();
    Woken();
}

} // namespace mirelon
