#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirelon::test {

// File-system fixtures the portable library cannot make: sparse files, access times.

// A file of `size` bytes, all zeros except `tail`, which ends it; the zeros are left as a hole
// where the file system allows. False when the file could not be made.
bool MakeSparseFile(const std::string& path, uint64_t size, std::string_view tail);

// A folder where holes cost nothing to read (memory-backed where there is one), for files of
// several GiB.
std::string SparseFileParent();

// True when the file occupies far fewer blocks than its size.
bool IsSparse(const std::string& path);

// Access time in whole seconds since 1970; -1 when unknown.
int64_t AccessTime(const std::string& path);
// Sets the access time and leaves the modification time alone.
bool SetAccessTime(const std::string& path, int64_t seconds);

bool IsPrivileged();

} // namespace mirelon::test
