#include "panels/inspector_rows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace mirelon {

namespace {

constexpr int kCaptionColumn = 0;
constexpr int kEditorColumn = 1;

// The box fills its cell, and a click anywhere in the cell ticks it.
class TCellCheckBox : public QCheckBox {
protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace

TInspectorRow::TInspectorRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                             const QString& caption)
    : QObject(&tree), tree_(tree), item_(item) {
    setObjectName(name);
    item_->setText(kCaptionColumn, caption);
    item_->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

QString TInspectorRow::Caption() const {
    return item_->text(kCaptionColumn);
}

void TInspectorRow::SetHint(const QString& hint) {
    hint_ = hint;
    item_->setToolTip(kCaptionColumn, hint);
    item_->setToolTip(kEditorColumn, hint);
    if (QWidget* editor = Editor())
        editor->setToolTip(hint);
}

void TInspectorRow::PlaceEditor(QWidget* editor) {
    editor->setObjectName(objectName() + QStringLiteral("Editor"));
    tree_.setItemWidget(item_, kEditorColumn, editor);
}

TInspectorCategoryRow::TInspectorCategoryRow(QTreeWidget& tree, QTreeWidgetItem* item,
                                             const QString& name, const QString& caption)
    : TInspectorRow(tree, item, name, caption) {
    item->setFlags(Qt::ItemIsEnabled);
    item->setFirstColumnSpanned(true);
    QFont bold = tree.font();
    bold.setBold(true);
    item->setFont(kCaptionColumn, bold);
    item->setBackground(kCaptionColumn, tree.palette().brush(QPalette::Button));
}

TInspectorButtonRow::TInspectorButtonRow(QTreeWidget& tree, QTreeWidgetItem* item,
                                         const QString& name, const QString& caption)
    : TInspectorRow(tree, item, name, caption), button_(new QToolButton()) {
    button_->setText(QStringLiteral("..."));
    button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    PlaceEditor(button_);
    connect(button_, &QToolButton::clicked, this, &TInspectorButtonRow::Clicked);
    connect(&tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* clicked, int) {
        if (clicked == Item())
            emit Clicked();
    });
}

QWidget* TInspectorButtonRow::Editor() const {
    return button_;
}

TInspectorComboRow::TInspectorComboRow(QTreeWidget& tree, QTreeWidgetItem* item,
                                       const QString& name, const QString& caption,
                                       const QStringList& lines, int itemIndex,
                                       TComboRowStyle style)
    : TInspectorRow(tree, item, name, caption), combo_(new QComboBox()), lines_(lines) {
    combo_->setFrame(false);
    combo_->addItems(lines_);
    combo_->setMaxVisibleItems(kDropDownRows);
    if (style == TComboRowStyle::Editable) {
        combo_->setEditable(true);
        // Typed text stays as typed until it is finished; the row then decides what it means.
        combo_->setInsertPolicy(QComboBox::NoInsert);
        combo_->setCompleter(nullptr);
        connect(combo_->lineEdit(), &QLineEdit::editingFinished, this,
                &TInspectorComboRow::TypingFinished);
    }
    PlaceEditor(combo_);
    SetItemIndex(itemIndex);
    connect(combo_, &QComboBox::activated, this, &TInspectorComboRow::SetItemIndex);
}

QWidget* TInspectorComboRow::Editor() const {
    return combo_;
}

void TInspectorComboRow::SetItemIndex(int index) {
    if (index < 0 || index >= lines_.size()) {
        ShowSelectedLine();
        return;
    }
    const bool changed = index != itemIndex_;
    itemIndex_ = index;
    ShowSelectedLine();
    if (changed)
        emit ItemIndexChanged(index);
}

QString TInspectorComboRow::Text() const {
    return combo_->currentText();
}

void TInspectorComboRow::TypingFinished() {
    const QString typed = combo_->currentText();
    for (int i = 0; i < lines_.size(); ++i) {
        if (typed.compare(lines_[i], Qt::CaseInsensitive) == 0) {
            SetItemIndex(i);
            return;
        }
    }
    ShowSelectedLine();
}

void TInspectorComboRow::ShowSelectedLine() {
    if (itemIndex_ < 0)
        return;
    combo_->setCurrentIndex(itemIndex_);
    if (combo_->isEditable()) {
        combo_->setEditText(lines_[itemIndex_]);
        // Long lines show their beginning, not where typing would go on.
        combo_->lineEdit()->setCursorPosition(0);
    }
}

TInspectorCheckRow::TInspectorCheckRow(QTreeWidget& tree, QTreeWidgetItem* item,
                                       const QString& name, const QString& caption, bool checked)
    : TInspectorRow(tree, item, name, caption), check_(new TCellCheckBox()) {
    check_->setChecked(checked);
    check_->setAutoFillBackground(true);
    PlaceEditor(check_);
    connect(check_, &QCheckBox::toggled, this, [this] { emit ValueChanged(Value()); });
}

QWidget* TInspectorCheckRow::Editor() const {
    return check_;
}

bool TInspectorCheckRow::Checked() const {
    return check_->isChecked();
}

void TInspectorCheckRow::SetChecked(bool checked) {
    check_->setChecked(checked);
}

QString TInspectorCheckRow::Value() const {
    return Checked() ? QStringLiteral("true") : QStringLiteral("false");
}

void TInspectorCheckRow::SetValue(const QString& value) {
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        SetChecked(true);
    else if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        SetChecked(false);
}

TInspectorTextRow::TInspectorTextRow(QTreeWidget& tree, QTreeWidgetItem* item, const QString& name,
                                     const QString& caption, const QString& text)
    : TInspectorRow(tree, item, name, caption), edit_(new QLineEdit(text)) {
    edit_->setFrame(false);
    PlaceEditor(edit_);
    connect(edit_, &QLineEdit::textChanged, this, &TInspectorTextRow::ValueChanged);
}

QWidget* TInspectorTextRow::Editor() const {
    return edit_;
}

QString TInspectorTextRow::Value() const {
    return edit_->text();
}

void TInspectorTextRow::SetValue(const QString& value) {
    edit_->setText(value);
}

} // namespace mirelon
