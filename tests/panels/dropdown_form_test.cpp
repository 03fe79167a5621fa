#include "panels/dropdown_form.h"
#include "tests/support/drop_down_steps.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using namespace mirelon;
using mirelon::test::ShowWhile;

namespace {

// Counts the events of some types that reach an object past the application's filters.
class EventCounter : public QObject {
public:
    EventCounter(QObject* watched, std::initializer_list<QEvent::Type> types) : types_(types) {
        watched->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (types_.contains(event->type()))
            ++count;
        return false;
    }

private:
    QList<QEvent::Type> types_;
};

// A panel with a surface strip that takes no presses, an input control and a button.
class TestPanel : public TfmDropDown {
public:
    TestPanel() {
        setObjectName("frmTestPanel");
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        strip = new QFrame(this);
        strip->setMinimumHeight(40);
        edit = new QLineEdit(this);
        button = new QPushButton("Inner", this);
        layout->addWidget(strip);
        layout->addWidget(edit);
        layout->addWidget(button);
        SetClientSize(200, 160);
        SetRollDownSpeed(0);
    }
    QFrame* strip;
    QLineEdit* edit;
    QPushButton* button;
};

QPoint Outside(const QWidget& panel) {
    return panel.mapFromGlobal(panel.geometry().bottomRight() + QPoint(40, 40));
}

} // namespace

class DropDownFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void constructionSetsTheFixedProperties();
    void emptyParentIsRefusedBeforeAnythingHappens();
    void escapeClosesAndReachesNoControl();
    void pressOutsideClosesAndIsNotDelivered();
    void wheelOutsideCloses();
    void pressOnSurfaceReleasedOutsideKeepsPanelOpen();
    void pressOnControlReleasedOutsideClosesPanel();
    void pressesInsideReachTheControls();
    void deactivationCloses_data();
    void deactivationCloses();
    void pressOnOuterPanelClosesOnlyTheInnerOne();
    void closeRequestIsPostedNotImmediate();
    void closingThePanelWindowEndsTheLoop();
    void parentGetsTheFocusBack();
    void rollDownDrawsSixteenStepsWithThePause();
    void rollDownStepsAreBottomRowsOfTheImage();
    void positionIsTakenAsGivenAndSizesBelowZeroKeepTheSize();
    void hitTestFindsTheGrips_data();
    void hitTestFindsTheGrips();
    void draggingTheCornerGripResizesAndKeepsPanelOpen();

private:
    std::unique_ptr<QWidget> parent_;
    QPushButton* parentButton_ = nullptr;
    std::unique_ptr<TestPanel> panel_;
};

void DropDownFormTest::init() {
    parent_ = std::make_unique<QWidget>();
    parent_->setObjectName("frmParent");
    parent_->setGeometry(20, 20, 300, 200);
    parentButton_ = new QPushButton("Options", parent_.get());
    parentButton_->setGeometry(10, 10, 100, 30);
    parent_->show();
    parent_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(parent_.get()));
    panel_ = std::make_unique<TestPanel>();
}

void DropDownFormTest::cleanup() {
    panel_.reset();
    parent_.reset();
}

void DropDownFormTest::constructionSetsTheFixedProperties() {
    TfmDropDown panel;
    QVERIFY(panel.AnimateDropDown());
    QCOMPARE(panel.DropDownPosition(), TfmDropDown::ddpBelow);
    QCOMPARE(panel.RollDownSpeed(), 10);
    QVERIFY(panel.Sizable());
    QVERIFY(panel.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!panel.isVisible());
    panel.SetClientSize(262, 114);
    QCOMPARE(panel.ClientSize(), QSize(262, 114));
}

void DropDownFormTest::emptyParentIsRefusedBeforeAnythingHappens() {
    try {
        panel_->ShowDropDown(nullptr, 400, 300, -1, -1);
        QFAIL("no exception");
    } catch (const std::invalid_argument& error) {
        QCOMPARE(QString(error.what()), QString("DropDownForm must have a parent form."));
    }
    QVERIFY(!panel_->isVisible());
    QVERIFY(!panel_->IsDropped());
    QVERIFY(panel_->pos() != QPoint(400, 300));
}

void DropDownFormTest::escapeClosesAndReachesNoControl() {
    EventCounter editKeys(panel_->edit, {QEvent::KeyPress});
    EventCounter parentKeys(parentButton_, {QEvent::KeyPress});
    bool droppedAfterOtherKey = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        panel_->edit->setFocus();
        QTest::keyClick(panel_->edit, Qt::Key_A);
        droppedAfterOtherKey = panel_->IsDropped();
        QTest::keyPress(panel_->edit, Qt::Key_Escape);
    });
    QVERIFY(droppedAfterOtherKey);
    QCOMPARE(panel_->edit->text(), QString("a"));
    QCOMPARE(editKeys.count, 1); // the "a" only
    QVERIFY(!panel_->isVisible());

    // Esc ends the panel wherever it was sent.
    ShowWhile(*panel_, *parent_, {400, 300},
              [&] { QTest::keyPress(parentButton_, Qt::Key_Escape); });
    QCOMPARE(parentKeys.count, 0);
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::pressOutsideClosesAndIsNotDelivered() {
    QSignalSpy pressed(parentButton_, &QPushButton::pressed);
    EventCounter presses(parentButton_, {QEvent::MouseButtonPress});
    ShowWhile(*panel_, *parent_, {400, 300},
              [&] { QTest::mousePress(parentButton_, Qt::LeftButton); });
    QTest::mouseRelease(parentButton_, Qt::LeftButton);
    QVERIFY(!panel_->IsDropped());
    QVERIFY(!panel_->isVisible());
    QCOMPARE(presses.count, 0);
    QCOMPARE(pressed.count(), 0);
}

void DropDownFormTest::wheelOutsideCloses() {
    EventCounter wheels(parentButton_, {QEvent::Wheel});
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        const QPoint local(5, 5);
        QWheelEvent wheel(local, parentButton_->mapToGlobal(local), {}, {0, 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(parentButton_, &wheel);
    });
    QVERIFY(!panel_->isVisible());
    QCOMPARE(wheels.count, 0);
}

void DropDownFormTest::pressOnSurfaceReleasedOutsideKeepsPanelOpen() {
    bool openAfterRelease = false;
    bool pressedInsideWhileHeld = false;
    bool pressedInsideAfterRelease = true;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        // The strip takes no presses; it passes them on to the panel's surface.
        QTest::mousePress(panel_->strip, Qt::LeftButton, {}, {20, 10});
        pressedInsideWhileHeld = panel_->PressedInside();
        // Qt hands the release to the widget that took the press, wherever the pointer is.
        QTest::mouseRelease(panel_.get(), Qt::LeftButton, {}, Outside(*panel_));
        openAfterRelease = panel_->IsDropped();
        pressedInsideAfterRelease = panel_->PressedInside();
        // The next press outside is an ordinary one again.
        QTest::mousePress(parentButton_, Qt::LeftButton);
    });
    QTest::mouseRelease(parentButton_, Qt::LeftButton);
    QVERIFY(pressedInsideWhileHeld);
    QVERIFY(openAfterRelease);
    QVERIFY(!pressedInsideAfterRelease);
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::pressOnControlReleasedOutsideClosesPanel() {
    bool openWhileHeld = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        QTest::mousePress(panel_->button, Qt::LeftButton);
        openWhileHeld = panel_->IsDropped() && !panel_->PressedInside();
        QTest::mouseRelease(panel_->button, Qt::LeftButton, {}, Outside(*panel_->button));
    });
    QVERIFY(openWhileHeld);
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::pressesInsideReachTheControls() {
    QSignalSpy clicked(panel_->button, &QPushButton::clicked);
    bool openAfterClick = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        QTest::mouseClick(panel_->button, Qt::LeftButton);
        QTest::mouseDClick(panel_->edit, Qt::LeftButton);
        openAfterClick = panel_->IsDropped();
        panel_->CloseDropDown();
    });
    QCOMPARE(clicked.count(), 1);
    QVERIFY(openAfterClick);
}

void DropDownFormTest::deactivationCloses_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("application deactivated") << 0;
    QTest::newRow("application inactive") << 1;
}

void DropDownFormTest::deactivationCloses() {
    QFETCH(int, kind);
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        if (kind == 0) {
            QEvent deactivate(QEvent::ApplicationDeactivate);
            QApplication::sendEvent(qApp, &deactivate);
        } else {
            QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
            QApplication::sendEvent(qApp, &inactive);
        }
    });
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::pressOnOuterPanelClosesOnlyTheInnerOne() {
    TestPanel inner;
    inner.setObjectName("frmInnerPanel");
    bool outerOpenAfterInnerClosed = false;
    bool bothOpenAfterInnerClick = false;
    int outerPresses = 0;
    EventCounter outerButtonPresses(panel_->button, {QEvent::MouseButtonPress});
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        ShowWhile(inner, *panel_, {420, 100}, [&] {
            // Inside the inner panel but outside the outer one: only the inner one judges it.
            QTest::mouseClick(inner.button, Qt::LeftButton);
            bothOpenAfterInnerClick = inner.IsDropped() && panel_->IsDropped();
            QCoreApplication::processEvents();
            QTest::mousePress(panel_->button, Qt::LeftButton);
        });
        QTest::mouseRelease(panel_->button, Qt::LeftButton);
        outerPresses = outerButtonPresses.count;
        QCoreApplication::processEvents();
        outerOpenAfterInnerClosed = panel_->IsDropped() && panel_->isVisible();
        // The outer one now judges presses itself.
        QTest::mousePress(parentButton_, Qt::LeftButton);
    });
    QTest::mouseRelease(parentButton_, Qt::LeftButton);
    QVERIFY(bothOpenAfterInnerClick);
    QVERIFY(!inner.isVisible());
    QCOMPARE(outerPresses, 0);
    QVERIFY(outerOpenAfterInnerClosed);
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::closeRequestIsPostedNotImmediate() {
    bool openRightAfterRequest = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        panel_->CloseDropDown();
        openRightAfterRequest = panel_->IsDropped() && panel_->isVisible();
    });
    QVERIFY(openRightAfterRequest);
    QVERIFY(!panel_->isVisible());

    // A request left over from a time the panel was not showing does not close the next showing.
    panel_->CloseDropDown();
    QCoreApplication::processEvents();
    bool openLater = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        QTest::qWait(20);
        openLater = panel_->IsDropped();
        panel_->CloseDropDown();
    });
    QVERIFY(openLater);
}

void DropDownFormTest::closingThePanelWindowEndsTheLoop() {
    ShowWhile(*panel_, *parent_, {400, 300}, [&] { panel_->close(); });
    QVERIFY(!panel_->IsDropped());
    QVERIFY(!panel_->isVisible());
}

void DropDownFormTest::parentGetsTheFocusBack() {
    bool panelWasActive = false;
    ShowWhile(*panel_, *parent_, {400, 300}, [&] {
        panelWasActive = QTest::qWaitForWindowActive(panel_.get());
        panel_->CloseDropDown();
    });
    QVERIFY(panelWasActive);
    QTRY_COMPARE(QApplication::activeWindow(), parent_.get());
}

void DropDownFormTest::rollDownDrawsSixteenStepsWithThePause() {
    panel_->SetRollDownSpeed(TfmDropDown::kDefaultRollDownSpeed);
    QList<TRollDownStep> steps;
    QList<qint64> gaps;
    QElapsedTimer clock;
    panel_->SetRollDownObserver([&](const TRollDownStep& step) {
        if (!steps.isEmpty())
            gaps.append(clock.elapsed());
        clock.start();
        steps.append(step);
        QVERIFY(!panel_->isVisible()); // the real window comes after the last step
    });
    ShowWhile(*panel_, *parent_, {400, 300}, [&] { panel_->CloseDropDown(); });

    QCOMPARE(steps.size(), kRollDownSteps);
    const int stepRows = panel_->height() / kRollDownSteps;
    for (int i = 0; i < steps.size(); ++i) {
        QCOMPARE(steps[i].index, i + 1);
        QCOMPARE(steps[i].rows, stepRows * (i + 1));
        QCOMPARE(steps[i].pauseMs, 10);
        QCOMPARE(steps[i].area, QRect(400, 300, panel_->width(), stepRows * (i + 1)));
    }
    // The pause is a floor: a timer never fires before its time.
    for (qint64 gap : gaps)
        QVERIFY2(gap >= 9, qPrintable(QString::number(gap)));
}

void DropDownFormTest::rollDownStepsAreBottomRowsOfTheImage() {
    // A panel whose image is one colour on top and another at the bottom: the first step must
    // show the bottom colour.
    panel_->strip->setAutoFillBackground(true);
    QPalette red = panel_->strip->palette();
    red.setColor(QPalette::Window, Qt::red);
    panel_->strip->setPalette(red);
    panel_->button->hide();
    panel_->edit->hide();
    auto* bottom = new QFrame(panel_.get());
    bottom->setAutoFillBackground(true);
    QPalette blue = bottom->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    bottom->setPalette(blue);
    panel_->layout()->addWidget(bottom);

    QColor firstStepColour;
    panel_->SetRollDownObserver([&](const TRollDownStep& step) {
        if (step.index != 1)
            return;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "RollDownWindow" && window->isVisible()) {
                QCOMPARE(window->geometry(), step.area);
                firstStepColour = window->grab().toImage().pixelColor(step.area.width() / 2, 2);
            }
        }
    });
    ShowWhile(*panel_, *parent_, {400, 300}, [&] { panel_->CloseDropDown(); });
    QCOMPARE(firstStepColour, QColor(Qt::blue));
}

void DropDownFormTest::positionIsTakenAsGivenAndSizesBelowZeroKeepTheSize() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint corner = screen.bottomRight() - QPoint(20, 10);
    const QSize designed = panel_->size();
    QRect shown;
    ShowWhile(*panel_, *parent_, corner, [&] {
        shown = panel_->geometry();
        panel_->CloseDropDown();
    });
    QCOMPARE(shown, QRect(corner, designed));

    QObject::connect(
        panel_.get(), &TfmDropDown::DroppedDown, panel_.get(),
        [&] {
            shown = panel_->geometry();
            panel_->CloseDropDown();
        },
        Qt::SingleShotConnection);
    panel_->ShowDropDown(parent_.get(), 300, 200, 250, -1);
    QCOMPARE(shown, QRect(300, 200, 250, designed.height()));
}

void DropDownFormTest::hitTestFindsTheGrips_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("grip");
    // Panel at (100, 100), 200 x 150: Right = 300, Bottom = 250.
    QTest::newRow("middle") << QPoint(200, 150) << int(TSizingGrip::None);
    QTest::newRow("corner, last pixel") << QPoint(299, 249) << int(TSizingGrip::BottomRight);
    QTest::newRow("corner, inner limit") << QPoint(291, 241) << int(TSizingGrip::BottomRight);
    QTest::newRow("corner x limit is strict") << QPoint(290, 249) << int(TSizingGrip::Bottom);
    QTest::newRow("corner y limit is strict") << QPoint(299, 240) << int(TSizingGrip::Right);
    QTest::newRow("bottom edge") << QPoint(150, 246) << int(TSizingGrip::Bottom);
    QTest::newRow("above bottom edge") << QPoint(150, 245) << int(TSizingGrip::None);
    QTest::newRow("right edge") << QPoint(296, 120) << int(TSizingGrip::Right);
    QTest::newRow("left of right edge") << QPoint(295, 120) << int(TSizingGrip::None);
    QTest::newRow("past the bottom") << QPoint(150, 250) << int(TSizingGrip::None);
}

void DropDownFormTest::hitTestFindsTheGrips() {
    QFETCH(QPoint, point);
    QFETCH(int, grip);
    QCOMPARE(int(DropDownHitTest(QRect(100, 100, 200, 150), point)), grip);
}

void DropDownFormTest::draggingTheCornerGripResizesAndKeepsPanelOpen() {
    const QSize before = panel_->size();
    bool openAfterDrag = false;
    bool pressedInside = true;
    ShowWhile(*panel_, *parent_, {400, 200}, [&] {
        const QPoint grip(panel_->width() - 3, panel_->height() - 3);
        QTest::mousePress(panel_.get(), Qt::LeftButton, {}, grip);
        pressedInside = panel_->PressedInside();
        QTest::mouseMove(panel_.get(), grip + QPoint(60, 25));
        QTest::mouseRelease(panel_.get(), Qt::LeftButton, {}, grip + QPoint(60, 25));
        openAfterDrag = panel_->IsDropped();
        panel_->CloseDropDown();
    });
    QVERIFY(!pressedInside);
    QVERIFY(openAfterDrag);
    QCOMPARE(panel_->size(), before + QSize(60, 25));
}

QTEST_MAIN(DropDownFormTest)
#include "dropdown_form_test.moc"
