#include "tests/scan/facts_test_files.h"

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelon::testing {

void SetStoredTimes(const std::string& path, UnixTime accessed, UnixTime modified) {
    const struct timespec times[2] = {
        {static_cast<time_t>(accessed.seconds), static_cast<long>(accessed.nanoseconds)},
        {static_cast<time_t>(modified.seconds), static_cast<long>(modified.nanoseconds)}};
    if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        throw std::runtime_error("utimensat failed on " + path);
}

namespace {

struct stat LinkStat(const std::string& path) {
    struct stat entry {};
    if (lstat(path.c_str(), &entry) != 0)
        throw std::runtime_error("lstat failed on " + path);
    return entry;
}

} // namespace

UnixTime StoredAccessTime(const std::string& path) {
    const struct stat entry = LinkStat(path);
    return {entry.st_atim.tv_sec, static_cast<uint32_t>(entry.st_atim.tv_nsec)};
}

UnixTime StoredModifiedTime(const std::string& path) {
    const struct stat entry = LinkStat(path);
    return {entry.st_mtim.tv_sec, static_cast<uint32_t>(entry.st_mtim.tv_nsec)};
}

TScopedTimeZone::TScopedTimeZone(const char* zone) {
    if (const char* current = getenv("TZ"))
        previous_ = current;
    setenv("TZ", zone, 1);
    tzset();
}

TScopedTimeZone::~TScopedTimeZone() {
    if (previous_)
        setenv("TZ", previous_->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace mirelon::testing
