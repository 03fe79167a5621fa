#pragma once

#include <QStyledItemDelegate>

namespace mirelon {

// Shows a cell's full text as a tooltip when the cell is too narrow for it. File Size is left
// out: a cut number is better widened than read from a hint.
class TFullTextHintDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    bool NeedsFullTextHint(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};

} // namespace mirelon
