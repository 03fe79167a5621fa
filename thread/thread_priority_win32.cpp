#include "thread/thread_priority.h"

#include <windows.h>

#include <array>
#include <utility>

namespace mirelon {

namespace {

// Windows has seven thread priority levels of its own; each stands for the nice value of the
// same level.
constexpr std::array<std::pair<int, int>, 7> kWindowsPriorities{{
    {THREAD_PRIORITY_IDLE, 19},
    {THREAD_PRIORITY_LOWEST, 10},
    {THREAD_PRIORITY_BELOW_NORMAL, 5},
    {THREAD_PRIORITY_NORMAL, 0},
    {THREAD_PRIORITY_ABOVE_NORMAL, -5},
    {THREAD_PRIORITY_HIGHEST, -10},
    {THREAD_PRIORITY_TIME_CRITICAL, -20},
}};

// The nearest Windows level to a nice value.
int WindowsPriorityOfNice(int nice) {
    int best = THREAD_PRIORITY_NORMAL;
    int bestDistance = 1000;
    for (const auto& [priority, value] : kWindowsPriorities) {
        const int distance = value > nice ? value - nice : nice - value;
        if (distance < bestDistance) {
            best = priority;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TNativeThreadId CurrentNativeThreadId() {
    return static_cast<TNativeThreadId>(::GetCurrentThreadId());
}

bool SetNativeThreadNice(TNativeThreadId thread, int nice) {
    const HANDLE handle = ::OpenThread(THREAD_SET_INFORMATION, FALSE, static_cast<DWORD>(thread));
    if (handle == nullptr) {
        return false;
    }
    const bool set = ::SetThreadPriority(handle, WindowsPriorityOfNice(nice)) != FALSE;
    ::CloseHandle(handle);
    return set;
}

std::optional<int> NativeThreadNice(TNativeThreadId thread) {
    const HANDLE handle =
        ::OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(thread));
    if (handle == nullptr) {
        return std::nullopt;
    }
    const int priority = ::GetThreadPriority(handle);
    ::CloseHandle(handle);
    for (const auto& [level, nice] : kWindowsPriorities) {
        if (level == priority) {
            return nice;
        }
    }
    return std::nullopt;
}

} // namespace mirelon
