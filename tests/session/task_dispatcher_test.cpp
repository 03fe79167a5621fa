#include "session/task_dispatcher.h"
#include "thread/thread_ex.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace mirelon {
namespace {

class TaskDispatcherTest : public ::testing::Test {
protected:
    TaskDispatcherTest() {
        for (const std::string_view name :
             {kTaskCreateDatabase, kTaskScanHarddisk, kTaskFindOldFiles, kTaskFindDuplicateFiles}) {
            dispatcher.SetJob(name, [this, name](TThreadEx&) { ran.emplace_back(name); });
        }
    }

    TTaskDispatcher dispatcher;
    TThreadEx sender;
    std::vector<std::string> ran;
};

TEST_F(TaskDispatcherTest, EachJobNameRunsItsOwnJob) {
    for (const char* name :
         {"Create Database", "Scan Harddisk", "Find Old Files", "Find Duplicate Files"}) {
        dispatcher.Execute(name, sender);
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"Create Database", "Scan Harddisk", "Find Old Files",
                                             "Find Duplicate Files"}));
}

TEST_F(TaskDispatcherTest, OtherNamesRunNothing) {
    for (const char* name : {"", "Unused Dlls", "create database", "Create Database ",
                             " Scan Harddisk", "Find Old Files\n", "Find"}) {
        dispatcher.Execute(name, sender);
        EXPECT_EQ(dispatcher.TakeFailure(), "") << name;
    }
    EXPECT_TRUE(ran.empty());
}

TEST(TaskDispatcher, JobNameWithoutAJobYetRunsNothing) {
    TTaskDispatcher dispatcher;
    TThreadEx sender;
    EXPECT_FALSE(dispatcher.HasJob(kTaskScanHarddisk));
    EXPECT_NO_THROW(dispatcher.Execute("Scan Harddisk", sender));
    EXPECT_EQ(dispatcher.TakeFailure(), "");
}

TEST(TaskDispatcher, OnlyTheFiveJobNamesTakeAJob) {
    TTaskDispatcher dispatcher;
    EXPECT_THROW(dispatcher.SetJob("Something Else", [](TThreadEx&) {}), std::invalid_argument);
    EXPECT_FALSE(dispatcher.HasJob(kTaskUnusedDlls));
    dispatcher.SetJob(kTaskUnusedDlls, [](TThreadEx&) {});
    EXPECT_TRUE(dispatcher.HasJob(kTaskUnusedDlls));
}

TEST(TaskDispatcher, FailingJobKeepsItsTextAndStillRaises) {
    TTaskDispatcher dispatcher;
    TThreadEx sender;
    dispatcher.SetJob(kTaskFindOldFiles, [](TThreadEx&) { throw std::runtime_error("disk full"); });
    EXPECT_THROW(dispatcher.Execute("Find Old Files", sender), std::runtime_error);
    EXPECT_EQ(dispatcher.TakeFailure(), "disk full");
    EXPECT_EQ(dispatcher.TakeFailure(), "") << "taking the failure clears it";
}

TEST(TaskDispatcher, NextRunClearsAnEarlierFailure) {
    TTaskDispatcher dispatcher;
    TThreadEx sender;
    bool fail = true;
    dispatcher.SetJob(kTaskFindOldFiles, [&](TThreadEx&) {
        if (fail) {
            throw 42;
        }
    });
    EXPECT_ANY_THROW(dispatcher.Execute("Find Old Files", sender));
    fail = false;
    dispatcher.Execute("Find Old Files", sender);
    EXPECT_EQ(dispatcher.TakeFailure(), "");
}

TEST(TaskDispatcher, FailureWithoutTextNamesTheJob) {
    TTaskDispatcher dispatcher;
    TThreadEx sender;
    dispatcher.SetJob(kTaskFindDuplicateFiles, [](TThreadEx&) { throw 42; });
    EXPECT_ANY_THROW(dispatcher.Execute("Find Duplicate Files", sender));
    EXPECT_EQ(dispatcher.TakeFailure(), "The job \"Find Duplicate Files\" failed.");
}

TEST(TaskDispatcher, HelperThreadRunsTheJobOfTheTaskName) {
    TTaskDispatcher dispatcher;
    std::string taskName;
    int runs = 0;
    dispatcher.SetJob(kTaskScanHarddisk, [&](TThreadEx&) { ++runs; });
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx& sender) { dispatcher.Execute(taskName, sender); };
    taskName = "Unused Dlls";
    EXPECT_TRUE(thread.Run());
    taskName = "Scan Harddisk";
    EXPECT_TRUE(thread.Run());
    EXPECT_EQ(runs, 1);
}

} // namespace
} // namespace mirelon
