#pragma once

#include "panels/dropdown_sizing.h"
#include "panels/roll_down_animation.h"

#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QWidget>

class QEventLoop;

namespace mirelon {

// Base of every option panel: a frameless window with a one-pixel border that drops down at a
// screen position, rolls down, and holds the caller in a loop of its own until it is dismissed
// by CloseDropDown (its OK handler), Esc, a mouse press outside it, or the application losing
// activation. A panel is made once and only hidden when it closes, so its controls keep what
// the user last put in them.
//
// Deriving: build the controls in the constructor, inside contentsRect() (the border takes one
// pixel on each side; SetClientSize sizes the area within it), and end OK handlers with
// CloseDropDown().
//
// The panel is activated when it shows, so its editors take the keyboard. Qt offers no portable
// way to keep the parent's title bar drawn as active meanwhile (the window manager draws it), so
// on most desktops the parent's caption shows inactive while a panel is open.
class TfmDropDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AnimateDropDown READ AnimateDropDown WRITE SetAnimateDropDown)
    Q_PROPERTY(TDropDownPosition DropDownPosition READ DropDownPosition)
    Q_PROPERTY(int RollDownSpeed READ RollDownSpeed WRITE SetRollDownSpeed)
    Q_PROPERTY(bool Sizable READ Sizable WRITE SetSizable)

public:
    enum TDropDownPosition { ddpBelow, ddpAbove };
    Q_ENUM(TDropDownPosition)

    static constexpr int kDefaultRollDownSpeed = 10;

    explicit TfmDropDown(QWidget* parent = nullptr);
    ~TfmDropDown() override;

    // Kept for the form data; the roll-down runs on every showing whatever it says.
    bool AnimateDropDown() const { return animateDropDown_; }
    void SetAnimateDropDown(bool animate) { animateDropDown_ = animate; }
    // Panels always open downward from the given point.
    TDropDownPosition DropDownPosition() const { return ddpBelow; }
    // Pause after each roll-down step, in milliseconds.
    int RollDownSpeed() const { return rollDownSpeed_; }
    void SetRollDownSpeed(int milliseconds) { rollDownSpeed_ = milliseconds; }
    // The bottom edge, the right edge and the bottom-right corner act as sizing grips.
    bool Sizable() const { return sizable_; }
    void SetSizable(bool sizable) { sizable_ = sizable; }

    // Shows the panel with its top-left corner at the screen point (left, top), exactly there
    // even when that puts it partly off screen, and returns once it has closed. Sizes below 0
    // keep the current size. parentForm opens the panel and gets the focus back afterwards;
    // a null one throws std::invalid_argument "DropDownForm must have a parent form." before
    // anything happens. A panel that is already showing ignores the call.
    void ShowDropDown(QWidget* parentForm, int left, int top, int width, int height);
    // Posts a close request and returns at once; the panel's loop ends when it takes it.
    void CloseDropDown();

    // True while the panel's loop runs and nothing has asked it to end.
    bool IsDropped() const { return loop_ != nullptr && !closePending_; }
    // The most deeply nested panel that is dropped, or null.
    static TfmDropDown* InnermostDropped();
    // True while a left-button press that began on the panel's own surface is held.
    bool PressedInside() const { return pressedInside_; }
    QWidget* ParentForm() const { return parentForm_; }

    // Called after each roll-down step is drawn, before its pause.
    void SetRollDownObserver(TRollDownObserver observer) {
        rollDownObserver_ = std::move(observer);
    }

    // The size of the area inside the border.
    void SetClientSize(int width, int height);
    QSize ClientSize() const { return contentsRect().size(); }

signals:
    // The panel is visible and its loop is about to run.
    void DroppedDown();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RollDown();
    void RunLoop();
    void CloseUp();
    void StopLoop();
    bool FilterMouse(QEvent* event);
    bool FilterSizing(QEvent* event, QPoint screenPoint);
    void UpdateGripCursor(QPoint screenPoint);
    void ClearGripCursor();
    bool BelongsToPanel(const QWidget* widget) const;
    void CloseOwnPopups();

    bool animateDropDown_ = true;
    int rollDownSpeed_ = kDefaultRollDownSpeed;
    bool sizable_ = true;

    bool showing_ = false;
    bool closePending_ = false;
    bool pressedInside_ = false;
    QEventLoop* loop_ = nullptr;
    QPointer<QWidget> parentForm_;
    TRollDownObserver rollDownObserver_;

    TSizingGrip sizingGrip_ = TSizingGrip::None;
    QPoint sizingStart_;
    QSize sizingStartSize_;
    bool gripCursorShown_ = false;
};

} // namespace mirelon
