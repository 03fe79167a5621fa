#pragma once

#include "query/result_row.h"

#include <vector>

namespace mirelon {

// Where a query job puts its rows. Jobs run off the window thread; an implementation that feeds
// a window carries each call over to the window thread and returns when it is done there.
class TResultGridSink {
public:
    virtual ~TResultGridSink() = default;
    virtual void ClearRows() = 0;
    // Appends in order; the rows are consumed.
    virtual void AppendRows(std::vector<ResultRow>& rows) = 0;
};

} // namespace mirelon
