#include "tests/support/drop_down_steps.h"

#include "panels/dropdown_form.h"

#include <QTest>
#include <QTimer>

namespace mirelon::test {

void WhenDropped(TfmDropDown& panel, std::function<void()> steps) {
    QObject::connect(
        &panel, &TfmDropDown::DroppedDown, &panel, [steps] { QTimer::singleShot(0, steps); },
        Qt::SingleShotConnection);
}

void ShowWhile(TfmDropDown& panel, QWidget& parent, QPoint at, std::function<void()> steps) {
    WhenDropped(panel, std::move(steps));
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &panel, [&panel] {
        QWARN("watchdog closed the panel");
        panel.CloseDropDown();
    });
    watchdog.start(5000);
    panel.ShowDropDown(&parent, at.x(), at.y(), -1, -1);
}

void ShowWhile(TfmDropDown& panel, QWidget& parent, std::function<void()> steps) {
    panel.SetRollDownSpeed(0);
    ShowWhile(panel, parent, QPoint(300, 200), std::move(steps));
}

} // namespace mirelon::test
