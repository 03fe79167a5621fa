#include "tests/support/message_box_steps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace mirelon::test {

void WhenMessageBoxShows(std::function<void(QMessageBox& box)> steps) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, steps = std::move(steps)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            // No box within the limit: the test's own check says what is missing.
            if (waited.hasExpired(10000)) {
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<QMessageBox> left(box);
        steps(*box);
        QTimer::singleShot(5000, qApp, [left] {
            if (left && left->isVisible()) {
                QWARN("watchdog rejected a message box");
                left->reject();
            }
        });
    });
    poll->start();
}

} // namespace mirelon::test
