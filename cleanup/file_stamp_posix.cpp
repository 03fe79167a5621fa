#include "cleanup/file_stamp.h"

#include "base/system_error_text.h"

#include <cerrno>
#include <sys/stat.h>

namespace mirelon {

namespace {

int64_t Nanoseconds(const timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

} // namespace

bool ReadFileStamp(const std::string& path, FileStamp& stamp, std::string& reason) {
    struct stat facts {};
    if (::lstat(path.c_str(), &facts) != 0) {
        reason = SystemErrorText(errno);
        return false;
    }
    if (!S_ISREG(facts.st_mode)) {
        reason = "is no longer a regular file";
        return false;
    }
    stamp.device = static_cast<uint64_t>(facts.st_dev);
    stamp.inode = static_cast<uint64_t>(facts.st_ino);
    stamp.size = static_cast<uint64_t>(facts.st_size);
    stamp.modifiedNs = Nanoseconds(facts.st_mtim);
    stamp.changedNs = Nanoseconds(facts.st_ctim);
    return true;
}

} // namespace mirelon
