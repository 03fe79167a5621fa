#include "tests/support/eventually.h"
#include "thread/plain_window_thread.h"
#include "thread/thread_ex.h"
#include "thread/window_thread_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace mirelon {
namespace {

using namespace std::chrono_literals;

// Holds a job until the test lets it go; bounded so a fault fails instead of hanging.
class TGate {
public:
    void Open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

using test::Eventually;

// Polls the terminated flag the way a long job is expected to.
void WaitUntilTerminated(TThreadEx& sender) {
    Eventually([&] { return sender.Terminated(); });
}

std::shared_ptr<TPlainWindowThread> PlainWindowThread() {
    return std::dynamic_pointer_cast<TPlainWindowThread>(RegisterWithWindowThread());
}

TEST(ThreadExRun, WithoutWaitThreadReturnsAtOnceWhileTheJobRunsOn) {
    TGate gate;
    std::atomic<bool> finished{false};
    std::thread::id jobThread;
    TThreadEx thread;
    thread.OnExecute = [&](TThreadEx&) {
        jobThread = std::this_thread::get_id();
        gate.Wait();
        finished = true;
    };
    EXPECT_TRUE(thread.Run());
    EXPECT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    EXPECT_TRUE(thread.InProgress());
    EXPECT_FALSE(finished);
    gate.Open();
    thread.Stop(true);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.InProgress());
    EXPECT_NE(jobThread, std::this_thread::get_id());
}

TEST(ThreadExRun, WithWaitThreadReturnsAfterTheRunAndItsTerminateHandler) {
    std::atomic<int> executed{0};
    std::thread::id terminateThread;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx&) {
        std::this_thread::sleep_for(20ms);
        ++executed;
    };
    thread.OnTerminate = [&](TThreadEx& sender) {
        EXPECT_EQ(&sender, &thread);
        EXPECT_FALSE(sender.IsRunning());
        terminateThread = std::this_thread::get_id();
    };
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(terminateThread, std::this_thread::get_id());
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(executed, 2);
}

TEST(ThreadExRun, JobCallsReachTheWindowThreadWhileRunWaits) {
    std::thread::id servedOn;
    int answer = 0;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx& sender) {
        sender.RunOnWindowThread([&] {
            servedOn = std::this_thread::get_id();
            answer = 42;
        });
        EXPECT_EQ(answer, 42) << "the call must have run before RunOnWindowThread returns";
    };
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(servedOn, std::this_thread::get_id());
}

TEST(ThreadExRun, ExceptionInCallOnWindowThreadComesBackToTheJob) {
    bool caught = false;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx& sender) {
        try {
            sender.RunOnWindowThread([] { throw std::runtime_error("window side"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    };
    thread.Run();
    EXPECT_TRUE(caught);
}

TEST(ThreadExRun, JobThatRaisesEndsSilentlyAndTheNextRunWorks) {
    int runs = 0;
    bool terminated = false;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx&) {
        if (++runs == 1) {
            throw std::runtime_error("job failed");
        }
    };
    thread.OnTerminate = [&](TThreadEx&) { terminated = true; };
    EXPECT_TRUE(thread.Run());
    EXPECT_TRUE(terminated);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(runs, 2);
}

TEST(ThreadExRun, RaisedJobIsReportedToOnExceptionOnTheWindowThread) {
    std::thread::id reportedOn;
    int reports = 0;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [](TThreadEx&) { throw std::runtime_error("job failed"); };
    thread.OnTerminate = [](TThreadEx&) { throw std::logic_error("terminate failed"); };
    thread.OnException = [&](TThreadEx&) {
        reportedOn = std::this_thread::get_id();
        ++reports;
    };
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(reportedOn, std::this_thread::get_id());
}

TEST(ThreadExRun, WithoutHandleExceptionsTheJobsExceptionReachesRun) {
    TThreadEx thread;
    thread.WaitThread = true;
    thread.HandleExceptions = false;
    thread.OnExecute = [](TThreadEx&) { throw std::runtime_error("job failed"); };
    EXPECT_THROW(thread.Run(), std::runtime_error);
    thread.OnExecute = [](TThreadEx&) {};
    EXPECT_TRUE(thread.Run());
}

TEST(ThreadExRun, SecondRunWhileARunIsInProgressIsRefused) {
    TGate gate;
    std::atomic<int> runs{0};
    TThreadEx thread;
    thread.OnExecute = [&](TThreadEx&) {
        ++runs;
        gate.Wait();
    };
    ASSERT_TRUE(thread.Run());
    ASSERT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    EXPECT_FALSE(thread.Run());
    gate.Open();
    thread.Stop(true);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(thread.Run());
    thread.Stop(true);
    EXPECT_EQ(runs, 2);
}

TEST(ThreadExRun, QuitRequestWhileWaitingReturnsBeforeTheRunEnds) {
    auto windowThread = PlainWindowThread();
    ASSERT_TRUE(windowThread);
    TGate started;
    TGate gate;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx&) {
        started.Open();
        gate.Wait();
    };
    std::thread quitter([&] {
        started.Wait();
        windowThread->RequestQuit();
    });
    EXPECT_TRUE(thread.Run());
    EXPECT_TRUE(thread.IsRunning());
    quitter.join();
    gate.Open();
}

TEST(ThreadExWaitTimeout, StreamOfEventsKeepsTheWaitGoingAndQuietEndsIt) {
    auto windowThread = PlainWindowThread();
    ASSERT_TRUE(windowThread);
    std::atomic<bool> streamEnded{false};
    std::atomic<int> handled{0};
    bool streamEndedAtExpiry = false;
    bool jobSawStop = false;
    TThreadEx thread;
    thread.WaitThread = true;
    thread.WaitTimeout = 300;
    thread.OnExecute = [&](TThreadEx& sender) {
        WaitUntilTerminated(sender);
        jobSawStop = sender.Terminated();
    };
    thread.OnWaitTimeoutExpired = [&](TThreadEx&, bool& terminateThread) {
        streamEndedAtExpiry = streamEnded;
        EXPECT_TRUE(terminateThread);
    };
    // Events 20 ms apart for twice the timeout, then silence.
    std::thread stream([&] {
        for (int i = 0; i < 30; ++i) {
            windowThread->PostEvent([&] { ++handled; });
            std::this_thread::sleep_for(20ms);
        }
        streamEnded = true;
    });
    EXPECT_FALSE(thread.Run());
    stream.join();
    EXPECT_TRUE(streamEndedAtExpiry);
    EXPECT_GT(handled, 0);
    EXPECT_TRUE(jobSawStop) << "the timeout stops the run cooperatively";
    EXPECT_FALSE(thread.IsRunning());
}

TEST(ThreadExWaitTimeout, HandlerCanLeaveTheRunGoing) {
    TGate gate;
    std::atomic<bool> finished{false};
    TThreadEx thread;
    thread.WaitThread = true;
    thread.WaitTimeout = 20;
    thread.OnExecute = [&](TThreadEx&) {
        gate.Wait();
        finished = true;
    };
    thread.OnWaitTimeoutExpired = [](TThreadEx&, bool& terminateThread) {
        terminateThread = false;
    };
    EXPECT_TRUE(thread.Run());
    EXPECT_FALSE(finished);
    EXPECT_FALSE(thread.Terminated());
    gate.Open();
    thread.Stop(true);
    EXPECT_TRUE(finished);
}

TEST(ThreadExStop, WithoutForceOnlyAsksTheJobToEnd) {
    std::atomic<bool> ended{false};
    TThreadEx thread;
    thread.OnExecute = [&](TThreadEx& sender) {
        WaitUntilTerminated(sender);
        ended = true;
    };
    thread.Run();
    ASSERT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    thread.Stop(false);
    EXPECT_TRUE(thread.Terminated());
    EXPECT_TRUE(Eventually([&] { return ended.load(); }));
    thread.Stop(true);
}

TEST(ThreadExStop, WithForceWaitsForTheJobAndLeavesAFreshWorker) {
    std::atomic<bool> ended{false};
    TThreadEx thread;
    thread.OnExecute = [&](TThreadEx& sender) {
        WaitUntilTerminated(sender);
        std::this_thread::sleep_for(10ms);
        ended = true;
    };
    thread.Run();
    ASSERT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    thread.Stop(true);
    EXPECT_TRUE(ended) << "the job ran to its end; it was not cut off";
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.Terminated());
    EXPECT_TRUE(thread.Suspended());
}

TEST(ThreadExLifetime, ReleasingARunningComponentWaitsForItsJob) {
    std::atomic<bool> ended{false};
    std::atomic<bool> terminateCalled{false};
    std::atomic<bool> callRan{false};
    {
        TThreadEx thread;
        thread.OnExecute = [&](TThreadEx& sender) {
            WaitUntilTerminated(sender);
            // During teardown a call neither blocks the job nor reaches the windows.
            sender.RunOnWindowThread([&] { callRan = true; });
            ended = true;
        };
        thread.OnTerminate = [&](TThreadEx&) { terminateCalled = true; };
        thread.Run();
        ASSERT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    }
    EXPECT_TRUE(ended);
    EXPECT_FALSE(callRan);
    EXPECT_FALSE(terminateCalled) << "no handlers for a component being destroyed";
}

TEST(ThreadExLifetime, WorkerThatIsNeverResumedNeverRuns) {
    std::atomic<int> runs{0};
    {
        TThreadEx thread;
        thread.OnExecute = [&](TThreadEx&) { ++runs; };
        EXPECT_TRUE(thread.Suspended());
        thread.SetPriority(tpLower);
    }
    EXPECT_EQ(runs, 0);
}

TEST(ThreadExLifetime, ResumingTheWorkerStartsIt) {
    std::atomic<int> runs{0};
    TThreadEx thread;
    thread.OnExecute = [&](TThreadEx&) { ++runs; };
    thread.SetSuspended(false);
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(Eventually([&] { return runs.load() == 1; }));
    thread.SetSuspended(true);
    thread.Stop(true);
    EXPECT_EQ(runs, 1);
}

TEST(ThreadExLifetime, WindowThreadObjectLivesWhileAnyWorkerExists) {
    int made = 0;
    SetWindowThreadFactory([&] {
        ++made;
        return std::make_shared<TPlainWindowThread>();
    });
    {
        TThreadEx first;
        TThreadEx second;
        first.WaitThread = true;
        first.Run();
        EXPECT_EQ(made, 1);
    }
    {
        TThreadEx third;
        EXPECT_EQ(made, 2);
    }
    SetWindowThreadFactory({});
}

TEST(ThreadExPriority, LevelSetBeforeARunCarriesOverToEveryRun) {
    std::vector<std::optional<int>> seen;
    const auto windowNice = NativeThreadNice(CurrentNativeThreadId());
    TThreadEx thread;
    thread.WaitThread = true;
    thread.SetPriority(tpLowest);
    thread.OnExecute = [&](TThreadEx&) {
        seen.push_back(NativeThreadNice(CurrentNativeThreadId()));
    };
    thread.Run();
    thread.Run();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], NiceValueOf(tpLowest));
    EXPECT_EQ(seen[1], NiceValueOf(tpLowest));
    EXPECT_EQ(thread.Priority(), tpLowest);
    EXPECT_EQ(NativeThreadNice(CurrentNativeThreadId()), windowNice)
        << "the window thread is untouched";
}

TEST(ThreadExPriority, RunningThreadOutsideTheTableReadsAsNormal) {
    TGate changed;
    TGate done;
    TThreadEx thread;
    thread.SetPriority(tpLower);
    thread.OnExecute = [&](TThreadEx&) {
        SetNativeThreadNice(CurrentNativeThreadId(), NiceValueOf(tpLower) + 2);
        changed.Open();
        done.Wait();
    };
    thread.Run();
    ASSERT_TRUE(changed.Wait());
    EXPECT_EQ(thread.Priority(), tpNormal);
    thread.SetPriority(tpIdle);
    EXPECT_EQ(thread.Priority(), tpIdle);
    done.Open();
    thread.Stop(true);
    EXPECT_EQ(thread.Priority(), tpIdle);
}

} // namespace
} // namespace mirelon
