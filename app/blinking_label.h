#pragma once

#include <QLabel>
#include <QTimer>

namespace mirelon {

// A status pane whose text blinks while blinking is on: shown 400 ms, hidden 600 ms.
class TBlinkingLabel : public QLabel {
    Q_OBJECT

public:
    static constexpr int kShownMs = 400;
    static constexpr int kHiddenMs = 600;

    explicit TBlinkingLabel(QWidget* parent = nullptr);

    void SetBlinking(bool blinking);
    bool Blinking() const { return blinking_; }
    // False during the hidden part of a blink.
    bool TextShown() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Toggle();

    QTimer phase_;
    bool blinking_ = false;
    bool shown_ = true;
};

} // namespace mirelon
