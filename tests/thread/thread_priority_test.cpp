#include "thread/thread_priority.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace mirelon {
namespace {

TEST(ThreadPriority, LevelsMapToNiceValuesAndBack) {
    const TThreadPriority levels[] = {tpIdle,   tpLowest,  tpLower,       tpNormal,
                                      tpHigher, tpHighest, tpTimeCritical};
    int previous = 20;
    for (const TThreadPriority level : levels) {
        const int nice = NiceValueOf(level);
        EXPECT_LT(nice, previous) << "higher levels must be less nice";
        EXPECT_GE(nice, -20);
        EXPECT_LE(nice, 19);
        EXPECT_EQ(ThreadPriorityOfNice(nice), level);
        previous = nice;
    }
    EXPECT_EQ(NiceValueOf(tpNormal), 0);
}

TEST(ThreadPriority, NiceValueOutsideTheTableReadsAsNormal) {
    EXPECT_EQ(ThreadPriorityOfNice(3), tpNormal);
    EXPECT_EQ(ThreadPriorityOfNice(-1), tpNormal);
    EXPECT_EQ(ThreadPriorityOfNice(18), tpNormal);
}

TEST(ThreadPriority, NiceValueIsPerThread) {
    const TNativeThreadId main = CurrentNativeThreadId();
    const auto mainBefore = NativeThreadNice(main);
    ASSERT_TRUE(mainBefore.has_value());
    std::optional<int> seenInside;
    TNativeThreadId other = 0;
    // Lowering the priority never needs privileges; the changed thread ends right after.
    std::thread([&] {
        other = CurrentNativeThreadId();
        if (SetNativeThreadNice(other, 19)) {
            seenInside = NativeThreadNice(other);
        }
    }).join();
    EXPECT_NE(other, main);
    EXPECT_EQ(seenInside, 19);
    EXPECT_EQ(NativeThreadNice(main), mainBefore);
}

} // namespace
} // namespace mirelon
