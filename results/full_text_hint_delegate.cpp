#include "results/full_text_hint_delegate.h"

#include "query/grid_columns.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace mirelon {

bool TFullTextHintDelegate::NeedsFullTextHint(const QStyleOptionViewItem& option,
                                              const QModelIndex& index) const {
    if (!index.isValid() || index.column() == static_cast<int>(kFileSizeColumn)) {
        return false;
    }
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.text.isEmpty()) {
        return false;
    }
    const QStyle* style = cell.widget != nullptr ? cell.widget->style() : QApplication::style();
    const int margins =
        2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, cell.widget) + 1);
    return cell.fontMetrics.horizontalAdvance(cell.text) + margins > cell.rect.width();
}

bool TFullTextHintDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                      const QStyleOptionViewItem& option,
                                      const QModelIndex& index) {
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    if (NeedsFullTextHint(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view,
                           option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
}

} // namespace mirelon
