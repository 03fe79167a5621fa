#pragma once

#include "query/result_grid_sink.h"
#include "query/result_row_store.h"

#include <QAbstractTableModel>

namespace mirelon {

// The results grid's rows for a QTableView. Rows stay in the compact store; QStrings are made
// only for the cells the view asks for.
class TResultGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TResultGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void ClearRows();
    void AppendRows(std::vector<ResultRow>& rows);
    // Drops the rows marked in `remove`, one flag per row.
    void RemoveRows(const std::vector<bool>& remove);
    void ShadeDuplicateGroups(bool sameName = false);

    QString CellText(int row, int column) const;
    BandColour RowColour(int row) const;
    const TResultRowStore& Store() const { return store_; }

private:
    TResultRowStore store_;
};

} // namespace mirelon
