#include "results/result_grid_model.h"

#include "query/shade_duplicate_groups.h"

#include <QColor>

#include <limits>

namespace mirelon {

namespace {

QColor QColorOf(BandColour colour) {
    const Rgb rgb = RgbOf(colour);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

TResultGridModel::TResultGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int TResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(store_.RowCount());
}

int TResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kGridColumnCount);
}

QVariant TResultGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::BackgroundRole: {
        const BandColour colour = RowColour(index.row());
        return colour == BandColour::Default ? QVariant() : QVariant(QColorOf(colour));
    }
    case Qt::TextAlignmentRole:
        if (kGridColumns[static_cast<std::size_t>(index.column())].kind == ColumnKind::Number) {
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        }
        return {};
    default:
        return {};
    }
}

QVariant TResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const std::string_view caption = kGridColumns[static_cast<std::size_t>(section)].caption;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void TResultGridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const std::vector<std::uint32_t> previous =
        store_.SortByColumn(static_cast<std::size_t>(column), order == Qt::AscendingOrder);
    // Selections and the current cell follow their rows.
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int> newRowOf(previous.size());
        for (std::size_t i = 0; i < previous.size(); ++i) {
            newRowOf[previous[i]] = static_cast<int>(i);
        }
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from) {
            to.append(this->index(newRowOf[static_cast<std::size_t>(index.row())], index.column()));
        }
        changePersistentIndexList(from, to);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TResultGridModel::ClearRows() {
    beginResetModel();
    store_.Clear();
    endResetModel();
}

void TResultGridModel::AppendRows(std::vector<ResultRow>& rows) {
    if (rows.empty()) {
        return;
    }
    // The view addresses rows with int.
    const std::size_t room =
        static_cast<std::size_t>(std::numeric_limits<int>::max()) - store_.RowCount();
    const std::size_t count = std::min(rows.size(), room);
    if (count == 0) {
        rows.clear();
        return;
    }
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(count) - 1);
    for (std::size_t i = 0; i < count; ++i) {
        store_.AppendRow(rows[i]);
    }
    endInsertRows();
    rows.clear();
}

void TResultGridModel::RemoveRows(const std::vector<bool>& remove) {
    beginResetModel();
    store_.RemoveRows(remove);
    endResetModel();
}

void TResultGridModel::ShadeDuplicateGroups(bool sameName) {
    mirelon::ShadeDuplicateGroups(store_, sameName);
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole});
    }
}

QString TResultGridModel::CellText(int row, int column) const {
    const std::string_view text =
        store_.Text(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

BandColour TResultGridModel::RowColour(int row) const {
    return store_.Colour(static_cast<std::size_t>(row));
}

} // namespace mirelon
