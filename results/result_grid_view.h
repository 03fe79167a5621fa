#pragma once

#include <QTableView>

namespace mirelon {

// The results grid's view. Typing searches the Full Path column whichever cell is current.
class TResultGridView : public QTableView {
    Q_OBJECT

public:
    using QTableView::QTableView;

    void keyboardSearch(const QString& search) override;
};

} // namespace mirelon
