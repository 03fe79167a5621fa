#include "results/result_grid_view.h"

#include <QItemSelectionModel>

namespace mirelon {

void TResultGridView::keyboardSearch(const QString& search) {
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0) {
        // The base search looks in the current cell's column; move it without touching the
        // selection.
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0),
                                          QItemSelectionModel::NoUpdate);
    }
    QTableView::keyboardSearch(search);
}

} // namespace mirelon
