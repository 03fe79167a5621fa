#include "results/grid_column_width.h"

#include <QHeaderView>
#include <QTableView>

namespace mirelon {

TGridColumnWidth::TGridColumnWidth(const QString& name, QTableView* view, int column,
                                   QObject* parent)
    : QObject(parent), view_(view), column_(column), width_(view->columnWidth(column)) {
    setObjectName(name);
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logicalIndex, int, int newSize) {
                if (logicalIndex == column_ && newSize > 0) {
                    width_ = newSize;
                }
            });
}

void TGridColumnWidth::SetWidth(int width) {
    // A width of 0 or less would make the column vanish without a way to find it again.
    if (width <= 0) {
        return;
    }
    width_ = width;
    view_->setColumnWidth(column_, width);
}

} // namespace mirelon
