#pragma once

#include "tests/support/temp_folder.h"

#include <functional>
#include <string>

namespace mirelon::test {

// A fresh folder tree under the temporary folder, removed at any depth when it goes away.
// Relative paths use '/' and come back with the platform's separator; missing parent folders
// are created. Links, pipes, sockets and permissions exist only on Linux.
class ScanTestTree {
public:
    ScanTestTree();
    ~ScanTestTree();
    ScanTestTree(const ScanTestTree&) = delete;
    ScanTestTree& operator=(const ScanTestTree&) = delete;

    const std::string& Root() const { return folder_.Path(); } // without a trailing separator
    // Path("") is the root with its separator, as the walk reports the root folder.
    std::string Path(const std::string& relative) const { return folder_.File(relative); }

    std::string Folder(const std::string& relative) const;
    std::string File(const std::string& relative, const std::string& content = "") const;
    void SymbolicLink(const std::string& relative, const std::string& target) const;
    void NamedPipe(const std::string& relative) const;
    void Socket(const std::string& relative) const;
    void Permissions(const std::string& relative, unsigned mode) const;

    // `levels` nested folders named `name` below `relative`, each holding a file "f"; the chain
    // may be longer than the platform's usual path limit (on Linux even longer than PATH_MAX).
    void DeepChain(const std::string& relative, const std::string& name, int levels) const;

private:
    TTempFolder folder_;
};

// (Linux only) Runs `check` in a process without the privilege to read other users' folders (a
// child that gives up root, when running as root) and returns its text: empty means it passed.
// Returns "unsupported" when privileges cannot be dropped.
std::string RunUnprivileged(const std::function<std::string()>& check);

} // namespace mirelon::test
