#include "results/window_thread_grid_sink.h"

#include "results/result_grid_model.h"

#include <QMetaObject>
#include <QThread>

namespace mirelon {

TWindowThreadGridSink::TWindowThreadGridSink(TResultGridModel* model) : model_(model) {}

template <typename Change> void TWindowThreadGridSink::OnModelThread(Change change) {
    TResultGridModel* model = model_.data();
    if (model == nullptr) {
        return;
    }
    if (QThread::currentThread() == model->thread()) {
        change(*model);
        return;
    }
    QMetaObject::invokeMethod(
        model, [model, &change] { change(*model); }, Qt::BlockingQueuedConnection);
}

void TWindowThreadGridSink::ClearRows() {
    OnModelThread([](TResultGridModel& model) { model.ClearRows(); });
}

void TWindowThreadGridSink::AppendRows(std::vector<ResultRow>& rows) {
    OnModelThread([&rows](TResultGridModel& model) { model.AppendRows(rows); });
}

} // namespace mirelon
