#pragma once

#include "query/result_grid_sink.h"

#include <QPointer>

namespace mirelon {

class TResultGridModel;

// Hands a job's grid changes to the model's thread and waits there until each is done, so a job
// never touches the window from its own thread. Called on the model's thread it works directly.
// The window thread must keep handling events while the job runs (the helper thread's Run does).
class TWindowThreadGridSink : public TResultGridSink {
public:
    explicit TWindowThreadGridSink(TResultGridModel* model);

    void ClearRows() override;
    void AppendRows(std::vector<ResultRow>& rows) override;

private:
    template <typename Change> void OnModelThread(Change change);

    QPointer<TResultGridModel> model_;
};

} // namespace mirelon
