#include "panels/property_inspector.h"

#include <QFont>
#include <QHeaderView>

namespace mirelon {

TPropertyInspector::TPropertyInspector(const QString& objectName, QWidget* parent)
    : QTreeWidget(parent) {
    setObjectName(objectName);
    // Where Tahoma is missing, a narrow face keeps the captions within their column.
    QFont rows(QStringLiteral("Tahoma"), 8);
    rows.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Arial")});
    setFont(rows);
    setFrameShape(QFrame::NoFrame);
    setColumnCount(2);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    // Categories stay open, so they need no expand buttons, and the rows' captions keep the
    // room those would take.
    setIndentation(8);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    header()->setStretchLastSection(true);
    // The caption column keeps its width; the editors take what sizing the panel adds.
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
}

void TPropertyInspector::SetCaptionColumnWidth(int width) {
    setColumnWidth(0, width);
}

int TPropertyInspector::CaptionColumnWidth() const {
    return columnWidth(0);
}

QTreeWidgetItem* TPropertyInspector::NewItem(TInspectorCategoryRow* category) {
    auto* item =
        category != nullptr ? new QTreeWidgetItem(category->Item()) : new QTreeWidgetItem(this);
    item->setSizeHint(0, QSize(0, kRowHeight));
    return item;
}

template <typename TRow> TRow* TPropertyInspector::Added(TRow* row) {
    if (QWidget* editor = row->Editor())
        editor->setFixedHeight(kRowHeight);
    rows_.append(row);
    if (QTreeWidgetItem* parent = row->Item()->parent())
        parent->setExpanded(true);
    return row;
}

TInspectorCategoryRow* TPropertyInspector::AddCategory(const QString& name,
                                                       const QString& caption) {
    return Added(new TInspectorCategoryRow(*this, NewItem(nullptr), name, caption));
}

TInspectorButtonRow* TPropertyInspector::AddButtonRow(TInspectorCategoryRow* category,
                                                      const QString& name, const QString& caption) {
    return Added(new TInspectorButtonRow(*this, NewItem(category), name, caption));
}

TInspectorComboRow* TPropertyInspector::AddComboRow(TInspectorCategoryRow* category,
                                                    const QString& name, const QString& caption,
                                                    const QStringList& lines, int itemIndex,
                                                    TComboRowStyle style) {
    return Added(
        new TInspectorComboRow(*this, NewItem(category), name, caption, lines, itemIndex, style));
}

TInspectorCheckRow* TPropertyInspector::AddCheckRow(TInspectorCategoryRow* category,
                                                    const QString& name, const QString& caption,
                                                    bool checked) {
    return Added(new TInspectorCheckRow(*this, NewItem(category), name, caption, checked));
}

TInspectorTextRow* TPropertyInspector::AddTextRow(TInspectorCategoryRow* category,
                                                  const QString& name, const QString& caption,
                                                  const QString& text) {
    return Added(new TInspectorTextRow(*this, NewItem(category), name, caption, text));
}

TInspectorRow* TPropertyInspector::Row(const QString& name) const {
    for (TInspectorRow* row : rows_)
        if (row->objectName() == name)
            return row;
    return nullptr;
}

} // namespace mirelon
