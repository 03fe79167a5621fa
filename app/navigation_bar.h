#pragma once

#include <QFrame>
#include <QList>

class QAbstractButton;
class QButtonGroup;
class QVBoxLayout;

namespace mirelon {

// A bar of page headers, one selected at a time. Headers above and including the selected one
// sit at the top, the others at the bottom, as in an outlook-style bar.
class TNavigationBar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kHeaderHeight = 32;

    explicit TNavigationBar(QWidget* parent = nullptr);

    // Appends a page header; returns its index.
    int AddPage(const QString& objectName, const QString& caption);
    int Count() const { return static_cast<int>(headers_.size()); }
    QAbstractButton* Header(int index) const { return headers_.value(index); }

    int CurrentIndex() const { return current_; }
    void SetCurrentIndex(int index);

signals:
    void CurrentChanged(int index);

private:
    void Arrange();

    QVBoxLayout* layout_;
    QButtonGroup* group_;
    QList<QAbstractButton*> headers_;
    int current_ = -1;
};

} // namespace mirelon
