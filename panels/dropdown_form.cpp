#include "panels/dropdown_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace mirelon {

namespace {

QEvent::Type CloseRequestType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// Panels whose loops run, outermost first. Only the innermost one judges input: with two panels
// open, a press on the outer one is outside the inner one and closes only that.
std::vector<TfmDropDown*>& RunningPanels() {
    static std::vector<TfmDropDown*> panels;
    return panels;
}

bool IsMouseButtonEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool IsLeftPress(const QEvent* event) {
    const QEvent::Type type = event->type();
    return (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::NonClientAreaMouseButtonPress ||
            type == QEvent::NonClientAreaMouseButtonDblClick) &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

bool IsLeftRelease(const QEvent* event) {
    const QEvent::Type type = event->type();
    return (type == QEvent::MouseButtonRelease ||
            type == QEvent::NonClientAreaMouseButtonRelease) &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

QPoint ScreenPoint(const QEvent* event) {
    return static_cast<const QSinglePointEvent*>(event)->globalPosition().toPoint();
}

Qt::CursorShape GripCursor(TSizingGrip grip) {
    switch (grip) {
    case TSizingGrip::BottomRight:
        return Qt::SizeFDiagCursor;
    case TSizingGrip::Bottom:
        return Qt::SizeVerCursor;
    case TSizingGrip::Right:
        return Qt::SizeHorCursor;
    case TSizingGrip::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

TfmDropDown::TfmDropDown(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint) {
    setContentsMargins(1, 1, 1, 1);
    setAutoFillBackground(true);
}

TfmDropDown::~TfmDropDown() {
    auto& panels = RunningPanels();
    panels.erase(std::remove(panels.begin(), panels.end(), this), panels.end());
    ClearGripCursor();
}

void TfmDropDown::SetClientSize(int width, int height) {
    const QMargins border = contentsMargins();
    resize(width + border.left() + border.right(), height + border.top() + border.bottom());
}

void TfmDropDown::ShowDropDown(QWidget* parentForm, int left, int top, int width, int height) {
    if (parentForm == nullptr)
        throw std::invalid_argument("DropDownForm must have a parent form.");
    if (showing_ || IsDropped())
        return;

    // Whatever ends the showing, the panel closes up the same way.
    struct TCloseUpGuard {
        TfmDropDown* panel;
        ~TCloseUpGuard() { panel->CloseUp(); }
    } guard{this};

    showing_ = true;
    closePending_ = false;
    pressedInside_ = false;
    parentForm_ = parentForm;

    // Taken as given: nothing pulls the panel back onto the screen.
    move(left, top);
    if (width >= 0)
        resize(width, this->height());
    if (height >= 0)
        resize(this->width(), height);

    // The window system keeps the panel above the form that opened it.
    create();
    QWidget* parentWindow = parentForm->window();
    if (windowHandle() != nullptr && parentWindow != this && parentWindow->windowHandle())
        windowHandle()->setTransientParent(parentWindow->windowHandle());

    RollDown();
    showing_ = false;
    RunLoop();
}

TfmDropDown* TfmDropDown::InnermostDropped() {
    const auto& panels = RunningPanels();
    const auto dropped = std::find_if(panels.rbegin(), panels.rend(),
                                      [](const TfmDropDown* panel) { return panel->IsDropped(); });
    return dropped == panels.rend() ? nullptr : *dropped;
}

void TfmDropDown::CloseDropDown() {
    QCoreApplication::postEvent(this, new QEvent(CloseRequestType()));
}

void TfmDropDown::RollDown() {
    ensurePolished();
    if (layout() != nullptr)
        layout()->activate();
    TRollDownAnimation animation(grab(), geometry().topLeft());
    animation.Play(rollDownSpeed_, rollDownObserver_);
    // Shown over the last step before the animation's window goes.
    show();
    activateWindow();
}

void TfmDropDown::RunLoop() {
    QEventLoop loop;
    loop_ = &loop;
    RunningPanels().push_back(this);
    qApp->installEventFilter(this);
    emit DroppedDown();
    if (!closePending_)
        loop.exec();
}

void TfmDropDown::StopLoop() {
    closePending_ = true;
    if (loop_ != nullptr)
        loop_->exit();
}

void TfmDropDown::CloseUp() {
    qApp->removeEventFilter(this);
    loop_ = nullptr;
    showing_ = false;
    closePending_ = false;
    pressedInside_ = false;
    sizingGrip_ = TSizingGrip::None;
    ClearGripCursor();
    CloseOwnPopups();
    hide();
    // Still counted as running until the parent is active again, so that a passing loss of
    // activation between the two windows cannot reach an outer panel's loop.
    if (parentForm_ != nullptr && parentForm_->isVisible())
        parentForm_->activateWindow();
    auto& panels = RunningPanels();
    panels.erase(std::remove(panels.begin(), panels.end(), this), panels.end());
}

bool TfmDropDown::event(QEvent* event) {
    if (event->type() == CloseRequestType()) {
        if (IsDropped())
            StopLoop();
        else if (showing_)
            closePending_ = true;
        return true;
    }
    return QWidget::event(event);
}

void TfmDropDown::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    CloseDropDown();
}

void TfmDropDown::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfmDropDown::mousePressEvent(QMouseEvent* event) {
    // Presses that no control takes end up here: the panel's own surface.
    if (event->button() == Qt::LeftButton)
        pressedInside_ = true;
    event->accept();
}

void TfmDropDown::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressedInside_ = false;
    event->accept();
}

bool TfmDropDown::eventFilter(QObject* watched, QEvent* event) {
    const auto& panels = RunningPanels();
    if (!IsDropped() || panels.empty() || panels.back() != this)
        return false;

    const QEvent::Type type = event->type();
    if (type == QEvent::ApplicationDeactivate) {
        StopLoop();
        return false;
    }
    if (type == QEvent::ApplicationStateChange) {
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive)
            StopLoop();
        return false;
    }
    // A dialog shown from the panel, or a list dropped from one of its rows, handles its own
    // input until it closes.
    if (QApplication::activeModalWidget() != nullptr)
        return false;
    if (QWidget* popup = QApplication::activePopupWidget(); popup && BelongsToPanel(popup))
        return false;
    // Window-level copies of input reach the widgets afterwards; judge each press once, there.
    if (!watched->isWidgetType())
        return false;

    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        StopLoop();
        return true;
    }
    if (type == QEvent::MouseMove) {
        const QPoint point = ScreenPoint(event);
        if (sizingGrip_ != TSizingGrip::None)
            return FilterSizing(event, point);
        UpdateGripCursor(point);
        return false;
    }
    if (IsMouseButtonEvent(type))
        return FilterMouse(event);
    return false;
}

bool TfmDropDown::FilterMouse(QEvent* event) {
    // The point decides, not the receiver: a control that holds the mouse still loses a press
    // made outside the panel.
    const QPoint point = ScreenPoint(event);
    if (sizingGrip_ != TSizingGrip::None)
        return FilterSizing(event, point);

    if (geometry().contains(point)) {
        if (sizable_ && IsLeftPress(event)) {
            const TSizingGrip grip = DropDownHitTest(geometry(), point);
            if (grip != TSizingGrip::None) {
                sizingGrip_ = grip;
                sizingStart_ = point;
                sizingStartSize_ = size();
                pressedInside_ = false;
                return true;
            }
        }
        return false;
    }
    if (!pressedInside_) {
        // Swallowed, so the press that dismisses the panel reaches nothing under the pointer.
        StopLoop();
        return true;
    }
    // A press begun on the panel's surface, released or dragged outside: the panel stays.
    if (IsLeftRelease(event))
        pressedInside_ = false;
    return false;
}

bool TfmDropDown::FilterSizing(QEvent* event, QPoint screenPoint) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || IsLeftRelease(event))
        resize(SizeAfterDrag(sizingGrip_, sizingStartSize_, screenPoint - sizingStart_));
    if (IsLeftRelease(event)) {
        sizingGrip_ = TSizingGrip::None;
        UpdateGripCursor(screenPoint);
    }
    return true;
}

void TfmDropDown::UpdateGripCursor(QPoint screenPoint) {
    const TSizingGrip grip = sizable_ && geometry().contains(screenPoint)
                                 ? DropDownHitTest(geometry(), screenPoint)
                                 : TSizingGrip::None;
    if (grip == TSizingGrip::None) {
        ClearGripCursor();
        return;
    }
    if (gripCursorShown_) {
        QGuiApplication::changeOverrideCursor(GripCursor(grip));
    } else {
        QGuiApplication::setOverrideCursor(GripCursor(grip));
        gripCursorShown_ = true;
    }
}

void TfmDropDown::ClearGripCursor() {
    if (gripCursorShown_) {
        QGuiApplication::restoreOverrideCursor();
        gripCursorShown_ = false;
    }
}

bool TfmDropDown::BelongsToPanel(const QWidget* widget) const {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

void TfmDropDown::CloseOwnPopups() {
    // A list left dropped from one of the rows would otherwise outlive the panel on screen.
    for (int guard = 0; guard < 8; ++guard) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr || !BelongsToPanel(popup))
            return;
        popup->close();
    }
}

} // namespace mirelon
