#pragma once

#include <functional>
#include <string>

namespace mirelon::test {

// (Linux only) Runs `body` in a child process, for checks that change what the process may do or
// see, and returns its text (an exception's text when it raised one). Empty means it passed.
std::string RunInChildProcess(const std::function<std::string()>& body);

// Runs `check` in a process with a mount namespace of its own: what it mounts is seen only by
// it and the programs it starts, and goes away with it. Returns its text, empty when it passed;
// "unsupported: ..." when this system allows no such namespace (not root, say).
std::string RunWithPrivateMounts(const std::function<std::string()>& check);

// Whether a child's text says that what it needed is not there ("unsupported: ...").
inline bool IsUnsupported(const std::string& result) {
    return result.rfind("unsupported", 0) == 0;
}

// Collects what a check run in another process found wrong, one line each.
class TProblems {
public:
    void Expect(bool ok, const std::string& what) {
        if (!ok) {
            text_ += what + "\n";
        }
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

// Inside RunWithPrivateMounts: mounts an empty file system of `bytes` bytes (tmpfs) on the
// folder. Throws when it cannot.
void MountSmallDisk(const std::string& folder, unsigned long bytes);

} // namespace mirelon::test
