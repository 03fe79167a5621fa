#include "tests/support/scan_test_tree.h"

#include "tests/support/child_process.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace mirelon::test {

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) {
        throw std::runtime_error(what + ": " + std::strerror(errno));
    }
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

// Empties and removes folder `name` of `parent` through handles, at any depth.
void RemoveAt(int parent, const char* name) {
    if (::unlinkat(parent, name, 0) == 0 || errno == ENOENT) {
        return;
    }
    const int handle = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0) {
        return;
    }
    ::fchmod(handle, 0700);
    DIR* listing = ::fdopendir(handle);
    if (listing == nullptr) {
        ::close(handle);
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            RemoveAt(::dirfd(listing), entry->d_name);
        }
    }
    ::closedir(listing);
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

} // namespace

ScanTestTree::ScanTestTree() {
    ::chmod(Root().c_str(), 0755); // readable by the unprivileged child as well
}

ScanTestTree::~ScanTestTree() {
    // Folders left without permissions, or deeper than a path may be long, are beyond what the
    // folder's own removal can do.
    RemoveAt(AT_FDCWD, Root().c_str());
}

std::string ScanTestTree::Folder(const std::string& relative) const {
    std::filesystem::create_directories(Path(relative));
    return Path(relative);
}

std::string ScanTestTree::File(const std::string& relative, const std::string& content) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(ParentOf(path));
    const int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(handle >= 0, "create " + path);
    const bool written =
        ::write(handle, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ::close(handle);
    Check(written, "write " + path);
    return path;
}

void ScanTestTree::SymbolicLink(const std::string& relative, const std::string& target) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(ParentOf(path));
    Check(::symlink(target.c_str(), path.c_str()) == 0, "symlink " + path);
}

void ScanTestTree::NamedPipe(const std::string& relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(ParentOf(path));
    Check(::mkfifo(path.c_str(), 0644) == 0, "mkfifo " + path);
}

void ScanTestTree::Socket(const std::string& relative) const {
    const std::string path = Path(relative);
    std::filesystem::create_directories(ParentOf(path));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    Check(path.size() < sizeof(address.sun_path), "socket path too long");
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int handle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    Check(handle >= 0, "socket");
    const bool bound = ::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(handle); // the bound name stays in the folder
    Check(bound, "bind " + path);
}

void ScanTestTree::Permissions(const std::string& relative, unsigned mode) const {
    Check(::chmod(Path(relative).c_str(), mode) == 0, "chmod");
}

void ScanTestTree::DeepChain(const std::string& relative, const std::string& name,
                             int levels) const {
    int handle = ::open(Folder(relative).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    Check(handle >= 0, "open chain start");
    for (int level = 0; level < levels; ++level) {
        Check(::mkdirat(handle, name.c_str(), 0755) == 0, "mkdirat");
        const int next = ::openat(handle, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(handle);
        Check(next >= 0, "openat");
        handle = next;
        const int file = ::openat(handle, "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        Check(file >= 0, "create chain file");
        ::close(file);
    }
    ::close(handle);
}

std::string RunUnprivileged(const std::function<std::string()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    return RunInChildProcess([&]() -> std::string {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
            return "unsupported";
        }
        return check();
    });
}

} // namespace mirelon::test
