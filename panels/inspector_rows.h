#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace mirelon {

// The rows of a property inspector. Each row is a QObject named like the row (cboHashMethod,
// chkSameName, ...) so that property savers find it by name, and publishes its value under the
// names the settings file uses: ItemIndex for list rows, Value for check and text rows. The
// editor widget sits in the inspector's second column.
class TInspectorRow : public QObject {
    Q_OBJECT

public:
    TInspectorRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                  const QString& caption);

    QTreeWidgetItem* Item() const { return item_; }
    QString Caption() const;
    virtual QWidget* Editor() const { return nullptr; }

    // Shown when the pointer rests on the row's caption or editor.
    void SetHint(const QString& hint);
    const QString& Hint() const { return hint_; }

protected:
    // Puts the editor into the row's second column, named after the row.
    void PlaceEditor(QWidget* editor);
    QTreeWidget& Tree() const { return tree_; }

private:
    QTreeWidget& tree_;
    QTreeWidgetItem* item_;
    QString hint_;
};

// A read-only heading over the rows below it.
class TInspectorCategoryRow : public TInspectorRow {
    Q_OBJECT

public:
    TInspectorCategoryRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                          const QString& caption);
};

// A row whose editor is a button; a double click on the caption presses it as well.
class TInspectorButtonRow : public TInspectorRow {
    Q_OBJECT

public:
    TInspectorButtonRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                        const QString& caption);
    QWidget* Editor() const override;
    QToolButton* Button() const { return button_; }

signals:
    void Clicked();

private:
    QToolButton* button_;
};

enum class TComboRowStyle {
    List,    // a choice from the lines only
    Editable // the text can also be typed; typed text that matches a line selects it
};

// A drop-down list row. Besides its displayed text it keeps a selected index, the value that
// others read. The index follows a line the user picks, a stored index that is loaded, and
// typed text that matches a line (letter case ignored); an index outside the lines, or typed
// text that matches none, leaves the index in force and the row shows that index's line again.
class TInspectorComboRow : public TInspectorRow {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex NOTIFY ItemIndexChanged)
    Q_PROPERTY(QString Text READ Text)

public:
    TInspectorComboRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                       const QString& caption, const QStringList& lines, int itemIndex,
                       TComboRowStyle style);
    QWidget* Editor() const override;
    QComboBox* ComboBox() const { return combo_; }

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // The displayed text, which may be half-typed.
    QString Text() const;
    const QStringList& Lines() const { return lines_; }

    static constexpr int kDropDownRows = 16;

signals:
    void ItemIndexChanged(int index);

private:
    void TypingFinished();
    void ShowSelectedLine();

    QComboBox* combo_;
    QStringList lines_;
    int itemIndex_ = -1;
};

// A check box row; its Value is "true" when ticked and "false" when not.
class TInspectorCheckRow : public TInspectorRow {
    Q_OBJECT
    Q_PROPERTY(QString Value READ Value WRITE SetValue NOTIFY ValueChanged)

public:
    TInspectorCheckRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                       const QString& caption, bool checked);
    QWidget* Editor() const override;
    QCheckBox* CheckBox() const { return check_; }

    bool Checked() const;
    void SetChecked(bool checked);
    QString Value() const;
    // "true" and "false" in any letter case; any other text leaves the box as it is.
    void SetValue(const QString& value);

signals:
    void ValueChanged(const QString& value);

private:
    QCheckBox* check_;
};

// A free text row.
class TInspectorTextRow : public TInspectorRow {
    Q_OBJECT
    Q_PROPERTY(QString Value READ Value WRITE SetValue NOTIFY ValueChanged)

public:
    TInspectorTextRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                      const QString& caption, const QString& text);
    QWidget* Editor() const override;
    QLineEdit* LineEdit() const { return edit_; }

    QString Value() const;
    void SetValue(const QString& value);

signals:
    void ValueChanged(const QString& value);

private:
    QLineEdit* edit_;
};

} // namespace mirelon
