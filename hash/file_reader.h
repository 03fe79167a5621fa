#pragma once

#include "base/file_location.h"
#include "hash/byte_source.h"

#include <cstdint>
#include <string>

namespace mirelon {

// A regular file opened for reading only. Anything else (a pipe, socket, device or folder) is
// refused at once, so hashing never waits on a file that never ends. Where the platform allows,
// reading leaves the file's access time alone.
class FileReader final : public ByteSource {
public:
    FileReader() = default;
    ~FileReader() override;
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool Open(const FileLocation& file);
    // Open for a file the caller has just seen to be a regular file itself (not a link to one):
    // the look before opening is left out, and a link put in its place meanwhile is refused.
    // Anything else found open is still refused.
    bool OpenSeenRegular(const FileLocation& file);
    void Close();
    bool IsOpen() const { return handle_ >= 0; }
    // The size when the file was opened.
    uint64_t Size() const { return size_; }

    int64_t ReadAt(uint64_t offset, void* buffer, size_t capacity) override;

private:
    intptr_t handle_ = -1; // the platform's file handle; negative while closed
    uint64_t size_ = 0;
};

} // namespace mirelon
