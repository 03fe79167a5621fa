#include "app/blinking_label.h"

#include <QPaintEvent>

namespace mirelon {

TBlinkingLabel::TBlinkingLabel(QWidget* parent) : QLabel(parent) {
    phase_.setSingleShot(true);
    connect(&phase_, &QTimer::timeout, this, &TBlinkingLabel::Toggle);
}

void TBlinkingLabel::SetBlinking(bool blinking) {
    if (blinking == blinking_) {
        return;
    }
    blinking_ = blinking;
    shown_ = true;
    if (blinking) {
        phase_.start(kShownMs);
    } else {
        phase_.stop();
    }
    update();
}

void TBlinkingLabel::Toggle() {
    shown_ = !shown_;
    phase_.start(shown_ ? kShownMs : kHiddenMs);
    update();
}

void TBlinkingLabel::paintEvent(QPaintEvent* event) {
    if (shown_) {
        QLabel::paintEvent(event);
    } else {
        // Keep the pane's frame, drop its text.
        QFrame::paintEvent(event);
    }
}

} // namespace mirelon
