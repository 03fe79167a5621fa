#include "catalog/sqlite_cells.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace mirelon {

namespace {

constexpr size_t kTextChunkSize = 64 * 1024;

} // namespace

static_assert(sizeof(TSQLiteCell) == 16, "a result cell should stay small");

void TSQLiteCells::AddAbsent() {
    cells_.emplace_back();
}

void TSQLiteCells::AddInteger(int64_t value) {
    TSQLiteCell& cell = cells_.emplace_back();
    cell.kind = TSQLiteCell::Kind::Integer;
    cell.integer = value;
}

void TSQLiteCells::AddReal(double value) {
    TSQLiteCell& cell = cells_.emplace_back();
    cell.kind = TSQLiteCell::Kind::Real;
    cell.real = value;
}

void TSQLiteCells::AddText(const char* text, size_t length) {
    if (length > std::numeric_limits<uint32_t>::max())
        throw std::length_error("result text too long");
    TSQLiteCell& cell = cells_.emplace_back();
    cell.kind = TSQLiteCell::Kind::Text;
    cell.text = length == 0 ? nullptr : KeepText(text, length);
    cell.textLength = static_cast<uint32_t>(length);
}

void TSQLiteCells::AddBlob(const void* data, size_t size) {
    if (size == 0) {
        AddAbsent();
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    const std::vector<uint8_t>& blob = blobs_.emplace_back(bytes, bytes + size);
    TSQLiteCell& cell = cells_.emplace_back();
    cell.kind = TSQLiteCell::Kind::Blob;
    cell.blob = &blob;
}

const char* TSQLiteCells::KeepText(const char* text, size_t length) {
    // Long texts get a block of their own so they do not waste the rest of a shared chunk.
    if (length > kTextChunkSize / 4) {
        char* own = textChunks_.emplace_back(std::make_unique<char[]>(length)).get();
        std::memcpy(own, text, length);
        return own;
    }
    if (chunkLeft_ < length) {
        chunk_ = textChunks_.emplace_back(std::make_unique<char[]>(kTextChunkSize)).get();
        chunkLeft_ = kTextChunkSize;
    }
    char* target = chunk_;
    std::memcpy(target, text, length);
    chunk_ += length;
    chunkLeft_ -= length;
    return target;
}

} // namespace mirelon
