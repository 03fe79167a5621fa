#pragma once

#include <cstdint>

namespace mirelon::test {

// While one is alive, every SQLite database opened is written through a layer that stands for
// a disk with room for `capacity` bytes: once that many bytes were written (all files together,
// counted from its making), each further write fails as on a full disk. Connections opened
// while it lives must be closed before it goes.
class TSmallDiskVfs {
public:
    explicit TSmallDiskVfs(uint64_t capacity);
    ~TSmallDiskVfs();
    TSmallDiskVfs(const TSmallDiskVfs&) = delete;
    TSmallDiskVfs& operator=(const TSmallDiskVfs&) = delete;

    // Bytes written so far.
    static uint64_t Written();
};

} // namespace mirelon::test
