#pragma once

#include <QFrame>

namespace mirelon {

// The option panels' strips: a vertical gradient from white to light blue inside a blue frame.
// The strip takes no mouse presses; they fall through to the panel's own surface.
class TGradientStrip : public QFrame {
    Q_OBJECT

public:
    explicit TGradientStrip(const QString& objectName, QWidget* parent = nullptr);

    static QColor TopColour() { return QColor(0xFF, 0xFF, 0xFF); }
    static QColor BottomColour() { return QColor(0xC1, 0xE0, 0xFF); }
    static QColor FrameColour() { return QColor(0x3A, 0x6E, 0xA5); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace mirelon
