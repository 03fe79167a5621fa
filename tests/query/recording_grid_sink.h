#pragma once

#include "query/result_grid_sink.h"

#include <string>
#include <vector>

namespace mirelon {

// Keeps what a job hands to the grid, and the size of each hand-over.
class TRecordingGridSink : public TResultGridSink {
public:
    void ClearRows() override {
        rows.clear();
        ++clears;
    }
    void AppendRows(std::vector<ResultRow>& batch) override {
        handOvers.push_back(batch.size());
        for (ResultRow& row : batch) {
            rows.push_back(std::move(row));
        }
        batch.clear();
    }

    std::vector<std::string> Column(std::size_t column) const {
        std::vector<std::string> texts;
        for (const ResultRow& row : rows) {
            texts.push_back(row[column]);
        }
        return texts;
    }

    std::vector<ResultRow> rows;
    std::vector<std::size_t> handOvers;
    int clears = 0;
};

} // namespace mirelon
