#pragma once

#include "panels/inspector_rows.h"

#include <QList>
#include <QTreeWidget>

namespace mirelon {

// A two-column property inspector: captions on the left, editors on the right, rows grouped
// under category headings. Rows are added in display order; a row without a category sits at
// the top level.
class TPropertyInspector : public QTreeWidget {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 17;

    explicit TPropertyInspector(const QString& objectName, QWidget* parent = nullptr);

    void SetCaptionColumnWidth(int width);
    int CaptionColumnWidth() const;

    TInspectorCategoryRow* AddCategory(const QString& name, const QString& caption);
    TInspectorButtonRow* AddButtonRow(TInspectorCategoryRow* category, const QString& name,
                                      const QString& caption);
    TInspectorComboRow* AddComboRow(TInspectorCategoryRow* category, const QString& name,
                                    const QString& caption, const QStringList& lines, int itemIndex,
                                    TComboRowStyle style);
    TInspectorCheckRow* AddCheckRow(TInspectorCategoryRow* category, const QString& name,
                                    const QString& caption, bool checked);
    TInspectorTextRow* AddTextRow(TInspectorCategoryRow* category, const QString& name,
                                  const QString& caption, const QString& text);

    // Rows in display order; nullptr when no row has that name.
    const QList<TInspectorRow*>& Rows() const { return rows_; }
    TInspectorRow* Row(const QString& name) const;

private:
    QTreeWidgetItem* NewItem(TInspectorCategoryRow* category);
    template <typename TRow> TRow* Added(TRow* row);

    QList<TInspectorRow*> rows_;
};

} // namespace mirelon
