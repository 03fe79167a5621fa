#include "session/shell_jobs.h"
#include "session/shell_state.h"
#include "session/task_dispatcher.h"
#include "tests/support/temp_folder.h"
#include "thread/thread_ex.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirelon {
namespace {

class ShellJobsTest : public ::testing::Test {
protected:
    void SetUp() override { state.DataDirectory = folder.Slashed(); }
    void TearDown() override { state.CatalogDatabase.reset(); }

    test::TTempFolder folder;
    std::filesystem::path directory = folder.Path();
    TShellState state;
};

TEST_F(ShellJobsTest, CreateDatabaseJobOpensTheCatalogInTheDataDirectory) {
    TTaskDispatcher dispatcher;
    RegisterShellJobs(dispatcher, state);
    TThreadEx thread;
    thread.WaitThread = true;
    thread.OnExecute = [&](TThreadEx& sender) { dispatcher.Execute(state.TaskName, sender); };
    state.TaskName = "Create Database";
    ASSERT_TRUE(thread.Run());
    EXPECT_EQ(dispatcher.TakeFailure(), "");
    ASSERT_TRUE(state.CatalogDatabase);
    EXPECT_TRUE(state.CatalogDatabase->HasTable("tblFiles"));
    EXPECT_TRUE(std::filesystem::exists(directory / "files.db"));
}

TEST_F(ShellJobsTest, FailedCreationLeavesNoCatalogAndKeepsTheReason) {
    state.DataDirectory = (directory / "missing" / "deeper").string() + "/";
    EXPECT_ANY_THROW(CreateCatalog(state));
    EXPECT_FALSE(state.CatalogDatabase);
    EXPECT_NE(state.CatalogFailure.find("files.db"), std::string::npos) << state.CatalogFailure;

    state.DataDirectory = directory.string() + "/";
    CreateCatalog(state);
    EXPECT_TRUE(state.CatalogDatabase);
    EXPECT_EQ(state.CatalogFailure, "") << "a later success clears the reason";
}

} // namespace
} // namespace mirelon
