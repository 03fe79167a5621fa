#include "thread/thread_priority.h"

#include <array>
#include <utility>

namespace mirelon {

namespace {

constexpr std::array<std::pair<TThreadPriority, int>, 7> kNiceValues{{
    {tpIdle, 19},
    {tpLowest, 10},
    {tpLower, 5},
    {tpNormal, 0},
    {tpHigher, -5},
    {tpHighest, -10},
    {tpTimeCritical, -20},
}};

} // namespace

int NiceValueOf(TThreadPriority priority) {
    for (const auto& [level, nice] : kNiceValues) {
        if (level == priority) {
            return nice;
        }
    }
    return 0;
}

TThreadPriority ThreadPriorityOfNice(int nice) {
    TThreadPriority found = tpNormal;
    for (const auto& [level, value] : kNiceValues) {
        if (value == nice) {
            found = level;
        }
    }
    return found;
}

} // namespace mirelon
