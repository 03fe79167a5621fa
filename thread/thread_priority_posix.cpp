#include "thread/thread_priority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace mirelon {

// On Linux, PRIO_PROCESS with a thread id addresses that one thread.

TNativeThreadId CurrentNativeThreadId() {
    return static_cast<TNativeThreadId>(::syscall(SYS_gettid));
}

bool SetNativeThreadNice(TNativeThreadId thread, int nice) {
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(thread), nice) == 0;
}

std::optional<int> NativeThreadNice(TNativeThreadId thread) {
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    if (nice == -1 && errno != 0) {
        return std::nullopt;
    }
    return nice;
}

} // namespace mirelon
