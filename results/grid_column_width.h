#pragma once

#include <QObject>

class QTableView;

namespace mirelon {

// Stands for one results column under the column's name, so that a settings path such as
// "fldCheckSum.Width" reaches the view's column width.
class TGridColumnWidth : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)

public:
    TGridColumnWidth(const QString& name, QTableView* view, int column, QObject* parent);

    // The last width the column had while shown: a hidden column reads 0 in the header.
    int Width() const { return width_; }
    void SetWidth(int width);

private:
    QTableView* view_;
    int column_;
    int width_;
};

} // namespace mirelon
