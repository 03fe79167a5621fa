#include "tests/support/child_process.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mirelon::test {

std::string RunInChildProcess(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "unsupported: no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        try {
            result = body();
        } catch (const std::exception& error) {
            result = error.what();
        }
        [[maybe_unused]] auto written = ::write(channel[1], result.data(), result.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[512];
    ssize_t count;
    while ((count = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<size_t>(count));
    }
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return "child failed";
    }
    return result;
}

std::string RunWithPrivateMounts(const std::function<std::string()>& check) {
    return RunInChildProcess([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0) {
            return std::string("unsupported: no mount namespace of its own (") +
                   std::strerror(errno) + ")";
        }
        // Nothing mounted from here on is passed back to the mounts of the system.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return std::string("unsupported: mounts stay shared (") + std::strerror(errno) + ")";
        }
        return check();
    });
}

void MountSmallDisk(const std::string& folder, unsigned long bytes) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        throw std::runtime_error("cannot mount a small disk on " + folder + ": " +
                                 std::strerror(errno));
    }
}

} // namespace mirelon::test
