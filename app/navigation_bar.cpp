#include "app/navigation_bar.h"

#include <QButtonGroup>
#include <QToolButton>
#include <QVBoxLayout>

namespace mirelon {

TNavigationBar::TNavigationBar(QWidget* parent)
    : QFrame(parent), layout_(new QVBoxLayout(this)), group_(new QButtonGroup(this)) {
    setFrameShape(QFrame::StyledPanel);
    layout_->setContentsMargins(1, 1, 1, 1);
    layout_->setSpacing(1);
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &TNavigationBar::SetCurrentIndex);
}

int TNavigationBar::AddPage(const QString& objectName, const QString& caption) {
    auto* header = new QToolButton(this);
    header->setObjectName(objectName);
    header->setText(caption);
    header->setCheckable(true);
    header->setFixedHeight(kHeaderHeight);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    const int index = Count();
    group_->addButton(header, index);
    headers_.append(header);
    if (current_ < 0) {
        current_ = index;
        header->setChecked(true);
    }
    Arrange();
    return index;
}

void TNavigationBar::SetCurrentIndex(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    headers_[index]->setChecked(true);
    if (index == current_) {
        return;
    }
    current_ = index;
    Arrange();
    emit CurrentChanged(index);
}

void TNavigationBar::Arrange() {
    while (layout_->count() > 0) {
        delete layout_->takeAt(0);
    }
    for (int i = 0; i < Count(); ++i) {
        layout_->addWidget(headers_[i]);
        if (i == current_) {
            layout_->addStretch(1);
        }
    }
}

} // namespace mirelon
