#include "query/duplicate_search.h"

#include "base/ascii_case.h"
#include "query/result_loading.h"

#include <algorithm>
#include <string>
#include <vector>

namespace mirelon {

namespace {

// Collects the rows that pass and hands them to the grid in batches.
class TGroupOutput {
public:
    explicit TGroupOutput(TResultGridSink& grid) : grid_(grid) {}

    void Add(std::vector<ResultRow>::iterator first, std::vector<ResultRow>::iterator last) {
        if (last - first < 2) {
            return;
        }
        for (; first != last; ++first) {
            batch_.push_back(std::move(*first));
            if (batch_.size() == kRowsPerHandOver) {
                Flush();
            }
        }
    }

    std::size_t Finish() {
        Flush();
        return appended_;
    }

private:
    void Flush() {
        if (!batch_.empty()) {
            appended_ += batch_.size();
            grid_.AppendRows(batch_);
            batch_.clear();
        }
    }

    TResultGridSink& grid_;
    std::vector<ResultRow> batch_;
    std::size_t appended_ = 0;
};

bool NameLessIgnoringAsciiCase(const ResultRow& left, const ResultRow& right) {
    const std::string& a = left[kFileNameColumn];
    const std::string& b = right[kFileNameColumn];
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(ToLowerAscii(x)) <
               static_cast<unsigned char>(ToLowerAscii(y));
    });
}

// One checksum's rows that passed the filters, split by name when asked; each name's rows stay
// in result order.
void AddCheckSumGroup(std::vector<ResultRow>& rows, bool sameName, TGroupOutput& output) {
    if (!sameName) {
        output.Add(rows.begin(), rows.end());
        return;
    }
    std::stable_sort(rows.begin(), rows.end(), NameLessIgnoringAsciiCase);
    auto first = rows.begin();
    while (first != rows.end()) {
        auto last = first + 1;
        while (last != rows.end() &&
               EqualIgnoringAsciiCase((*last)[kFileNameColumn], (*first)[kFileNameColumn])) {
            ++last;
        }
        output.Add(first, last);
        first = last;
    }
}

} // namespace

std::size_t LoadDuplicateGroups(TSQLiteTable& result, TResultGridSink& grid,
                                const DuplicateFilters& filters) {
    TGroupOutput output(grid);
    if (result.AtEnd()) {
        return 0;
    }
    const GridColumnIndexes columns = FindGridColumns(result);
    std::vector<ResultRow> group;
    std::string checkSum;
    for (; !result.AtEnd(); result.MoveNext()) {
        ResultRow row = LoadResultRow(result, columns);
        if (row[kCheckSumColumn] != checkSum) {
            AddCheckSumGroup(group, filters.sameName, output);
            group.clear();
            checkSum = row[kCheckSumColumn];
        }
        if (PassesDuplicateFilters(row, filters)) {
            group.push_back(std::move(row));
        }
    }
    AddCheckSumGroup(group, filters.sameName, output);
    return output.Finish();
}

} // namespace mirelon
