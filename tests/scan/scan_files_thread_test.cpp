#include "scan/scan_files.h"

#include "tests/support/eventually.h"
#include "tests/support/scan_test_tree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace mirelon {
namespace {

using test::ScanTestTree;

void WaitUntilIdle(const TScanFiles& scanner) {
    ASSERT_TRUE(test::Eventually([&] { return !scanner.Running(); }));
}

class ThreadedScan : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            tree.File("a/file" + std::to_string(i));
            tree.File("b/file" + std::to_string(i));
        }
        scanner.SetPath(tree.Root());
        scanner.SetUseThread(true);
    }
    ScanTestTree tree;
    TScanFiles scanner;
};

TEST_F(ThreadedScan, ExecuteReturnsAtOnceAndEveryEventRunsOnTheWorker) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> ended;
    std::mutex lock;
    std::vector<std::thread::id> eventThreads;
    size_t files = 0;
    scanner.SetOnBeforeScanDir([&](TCustomScanFiles&, const std::string&, bool&) {
        released.wait(); // holds the walk until Execute has returned
        std::lock_guard guard(lock);
        eventThreads.push_back(std::this_thread::get_id());
    });
    scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string&, bool&) {
        std::lock_guard guard(lock);
        eventThreads.push_back(std::this_thread::get_id());
        ++files;
    });
    scanner.SetOnEndScan([&](TCustomScanFiles&) {
        {
            std::lock_guard guard(lock);
            eventThreads.push_back(std::this_thread::get_id());
        }
        ended.set_value();
    });
    scanner.Execute();
    release.set_value();
    ended.get_future().wait();
    WaitUntilIdle(scanner);
    std::lock_guard guard(lock);
    EXPECT_EQ(files, 10u);
    ASSERT_EQ(eventThreads.size(), 14u);
    for (const auto& id : eventThreads) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST_F(ThreadedScan, ExecuteDuringAThreadedWalkIsRefusedAndDoesNotDisturbIt) {
    std::promise<void> inside, release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> files{0};
    std::promise<void> ended;
    scanner.SetOnBeforeScanDir(
        [&, first = true](TCustomScanFiles&, const std::string&, bool&) mutable {
            if (first) {
                first = false;
                inside.set_value();
                released.wait();
            }
        });
    scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string&, bool&) { ++files; });
    scanner.SetOnEndScan([&](TCustomScanFiles&) { ended.set_value(); });
    scanner.Execute();
    inside.get_future().wait();
    EXPECT_TRUE(scanner.Running());
    try {
        scanner.Execute();
        ADD_FAILURE() << "a second walk was started";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Scan File Running!");
    }
    release.set_value();
    ended.get_future().wait();
    WaitUntilIdle(scanner);
    EXPECT_EQ(files, 10);
}

TEST_F(ThreadedScan, WorkerIsReusedByTheNextExecute) {
    std::atomic<int> files{0};
    scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string&, bool&) { ++files; });
    for (int run = 1; run <= 3; ++run) {
        std::promise<void> ended;
        scanner.SetOnEndScan([&](TCustomScanFiles&) { ended.set_value(); });
        scanner.Execute();
        ended.get_future().wait();
        WaitUntilIdle(scanner);
        EXPECT_EQ(files, 10 * run);
    }
    // The same scanner still walks on the caller's thread when asked to.
    scanner.SetUseThread(false);
    scanner.SetOnEndScan(nullptr);
    scanner.Execute();
    EXPECT_EQ(files, 40);
}

TEST_F(ThreadedScan, HandlerExceptionEndsOnlyThatRun) {
    std::atomic<int> files{0};
    scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string&, bool&) {
        if (++files == 1) {
            throw std::runtime_error("handler failed");
        }
    });
    std::atomic<bool> endRaised{false};
    scanner.SetOnEndScan([&](TCustomScanFiles&) { endRaised = true; });
    scanner.Execute();
    while (files == 0) {
        std::this_thread::yield();
    }
    WaitUntilIdle(scanner);

    std::promise<void> ended;
    scanner.SetOnEndScan([&](TCustomScanFiles&) { ended.set_value(); });
    scanner.Execute();
    ended.get_future().wait();
    EXPECT_FALSE(endRaised);
    EXPECT_EQ(files, 11);
}

TEST(ThreadedScanLifetime, ReleasingTheScannerStopsItsWalk) {
    ScanTestTree tree;
    for (int i = 0; i < 300; ++i) {
        tree.File("many/file" + std::to_string(i));
    }
    std::atomic<int> files{0};
    std::promise<void> started;
    {
        TScanFiles scanner;
        scanner.SetPath(tree.Root());
        scanner.SetUseThread(true);
        scanner.SetOnFoundFile([&](TCustomScanFiles&, const std::string&, bool&) {
            if (++files == 1) {
                started.set_value();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        });
        scanner.Execute();
        started.get_future().wait();
    }
    EXPECT_LT(files, 300); // the walk ended early instead of running on after its scanner
}

} // namespace
} // namespace mirelon
