#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace mirelon {

// One result value in 16 bytes; texts live in the store's shared arena, blobs in its own list.
struct TSQLiteCell {
    enum class Kind : uint8_t { Absent, Integer, Real, Text, Blob };

    union {
        int64_t integer;
        double real;
        const char* text;
        const std::vector<uint8_t>* blob;
    };
    uint32_t textLength = 0;
    Kind kind = Kind::Absent;

    TSQLiteCell() : integer(0) {}
    std::string Text() const {
        return textLength == 0 ? std::string() : std::string(text, textLength);
    }
};

// All cells of a result, row by row. Cells keep pointers into the store, so it never moves
// what it has handed out.
class TSQLiteCells {
public:
    TSQLiteCells() = default;
    TSQLiteCells(const TSQLiteCells&) = delete;
    TSQLiteCells& operator=(const TSQLiteCells&) = delete;

    void AddAbsent();
    void AddInteger(int64_t value);
    void AddReal(double value);
    void AddText(const char* text, size_t length);
    // A zero-byte blob is stored as an absent cell.
    void AddBlob(const void* data, size_t size);

    const TSQLiteCell& operator[](size_t index) const { return cells_[index]; }
    size_t Count() const { return cells_.size(); }

private:
    const char* KeepText(const char* text, size_t length);

    std::vector<TSQLiteCell> cells_;
    std::vector<std::unique_ptr<char[]>> textChunks_;
    char* chunk_ = nullptr; // free space of the shared chunk in use
    size_t chunkLeft_ = 0;
    std::deque<std::vector<uint8_t>> blobs_;
};

} // namespace mirelon
