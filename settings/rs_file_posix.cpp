#include "settings/rs_file.h"

#include "settings/rs_exception.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    // Closing can report a failed write-back, so the caller sees its result.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string Folder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void ThrowCreateError(const std::string& path, int error) {
    throw EFCreateError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// A name in the target's folder that no other writer in this or another process picks.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
}

} // namespace

TrsFileReadResult ReadWholeFile(const std::string& path, std::string& text) {
    TrsFileReadResult result;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        result.exists = errno != ENOENT;
        if (result.exists)
            result.error = std::strerror(errno);
        return result;
    }
    result.exists = true;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = std::strerror(EINVAL);
        return result;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            result.error = std::strerror(errno);
            break;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    return result;
}

void ReplaceFile(const std::string& path, std::string_view contents) {
    std::string temporary;
    int fd = -1;
    do {
        temporary = TemporaryName(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EEXIST);
    if (fd < 0)
        ThrowCreateError(path, errno);

    FileDescriptor file(fd);
    // The new file keeps the access rights of the one it replaces.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(file.Get(), old.st_mode & 07777);
    int error = 0;
    if (!WriteAll(file.Get(), contents) || ::fsync(file.Get()) != 0)
        error = errno;
    if (file.Close() != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        ThrowCreateError(path, error);
    }
    // Make the new name itself durable; the file is already complete either way.
    FileDescriptor folder(::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

TrsRenameResult RenameBeside(const std::string& path, std::string_view suffix) {
    constexpr int kMostNames = 1000;
    for (int number = 1; number <= kMostNames; ++number) {
        const std::string candidate = path +
                                      (number == 1 ? std::string() : "." + std::to_string(number)) +
                                      std::string(suffix);
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, candidate.c_str(), RENAME_NOREPLACE) == 0)
            return {candidate, {}};
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return {{}, std::strerror(errno)};
        // A file system that cannot refuse to replace: look first.
        struct stat taken {};
        if (::lstat(candidate.c_str(), &taken) == 0)
            continue;
        if (::rename(path.c_str(), candidate.c_str()) == 0)
            return {candidate, {}};
        return {{}, std::strerror(errno)};
    }
    return {{}, std::strerror(EEXIST)};
}

} // namespace mirelon
