#include "query/result_row_store.h"

#include "query/column_order.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace mirelon {

namespace {

constexpr std::size_t kHeaderBytes = kGridColumnCount * sizeof(std::uint32_t);

std::uint32_t EndOf(const char* record, std::size_t column) {
    std::uint32_t end;
    std::memcpy(&end, record + column * sizeof(std::uint32_t), sizeof end);
    return end;
}

} // namespace

void TResultRowStore::Clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    colours_.clear();
    colours_.shrink_to_fit();
    arena_.Clear();
}

void TResultRowStore::AppendRow(const ResultRow& row) {
    if (rows_.size() >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("Too many result rows");
    }
    std::size_t textBytes = 0;
    for (const std::string& text : row) {
        textBytes += text.size();
    }
    if (textBytes > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("Result row too long");
    }
    char* record = arena_.Allocate(kHeaderBytes + textBytes);
    char* out = record + kHeaderBytes;
    std::uint32_t end = 0;
    for (std::size_t column = 0; column < kGridColumnCount; ++column) {
        const std::string& text = row[column];
        if (!text.empty()) {
            std::memcpy(out, text.data(), text.size());
            out += text.size();
        }
        end += static_cast<std::uint32_t>(text.size());
        std::memcpy(record + column * sizeof end, &end, sizeof end);
    }
    rows_.push_back(record);
    colours_.push_back(BandColour::Default);
}

void TResultRowStore::RemoveRows(const std::vector<bool>& remove) {
    std::size_t kept = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (row < remove.size() && remove[row]) {
            continue;
        }
        rows_[kept] = rows_[row];
        colours_[kept] = colours_[row];
        ++kept;
    }
    rows_.resize(kept);
    colours_.resize(kept);
}

std::string_view TResultRowStore::Text(std::size_t row, std::size_t column) const {
    const char* record = rows_[row];
    const std::uint32_t begin = column == 0 ? 0 : EndOf(record, column - 1);
    return {record + kHeaderBytes + begin, EndOf(record, column) - begin};
}

std::size_t TResultRowStore::ReservedBytes() const {
    return arena_.ReservedBytes() + rows_.capacity() * sizeof(const char*) + colours_.capacity();
}

template <typename Key, typename Less>
std::vector<std::uint32_t> TResultRowStore::SortByKey(std::vector<Key> keys, bool ascending,
                                                      Less less) {
    std::vector<std::pair<Key, std::uint32_t>> entries;
    entries.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        entries.emplace_back(std::move(keys[i]), static_cast<std::uint32_t>(i));
    }
    keys = {};
    // Stable in both directions: rows with equal keys keep their order.
    if (ascending) {
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const auto& a, const auto& b) { return less(a.first, b.first); });
    } else {
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const auto& a, const auto& b) { return less(b.first, a.first); });
    }
    std::vector<std::uint32_t> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        order[i] = entries[i].second;
    }
    Reorder(order);
    return order;
}

std::vector<std::uint32_t> TResultRowStore::SortByColumn(std::size_t column, bool ascending) {
    const std::size_t count = rows_.size();
    switch (kGridColumns.at(column).kind) {
    case ColumnKind::Number: {
        std::vector<std::int64_t> keys(count);
        for (std::size_t row = 0; row < count; ++row) {
            keys[row] = NumberSortKey(Text(row, column));
        }
        return SortByKey(std::move(keys), ascending, std::less<>());
    }
    case ColumnKind::Date: {
        // Texts that are no date share one key; among themselves they order alphabetically.
        std::vector<std::pair<std::int64_t, std::string_view>> keys(count);
        for (std::size_t row = 0; row < count; ++row) {
            const std::string_view text = Text(row, column);
            keys[row] = {DateSortKey(text), text};
        }
        return SortByKey(std::move(keys), ascending, [](const auto& a, const auto& b) {
            if (a.first != b.first) {
                return a.first < b.first;
            }
            return CompareAlphabetic(a.second, b.second) < 0;
        });
    }
    case ColumnKind::Text:
        break;
    }
    // The folded prefix settles most comparisons without reading the texts themselves, which lie
    // scattered over the arena.
    std::vector<std::pair<std::uint64_t, std::string_view>> keys(count);
    for (std::size_t row = 0; row < count; ++row) {
        const std::string_view text = Text(row, column);
        keys[row] = {AlphabeticPrefix(text), text};
    }
    return SortByKey(std::move(keys), ascending, [](const auto& a, const auto& b) {
        if (a.first != b.first) {
            return a.first < b.first;
        }
        return CompareAlphabetic(a.second, b.second) < 0;
    });
}

void TResultRowStore::Reorder(const std::vector<std::uint32_t>& order) {
    std::vector<const char*> rows(order.size());
    std::vector<BandColour> colours(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        rows[i] = rows_[order[i]];
        colours[i] = colours_[order[i]];
    }
    rows_ = std::move(rows);
    colours_ = std::move(colours);
}

} // namespace mirelon
