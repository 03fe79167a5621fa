#include "panels/gradient_strip.h"

#include <QLinearGradient>
#include <QPainter>

namespace mirelon {

TGradientStrip::TGradientStrip(const QString& objectName, QWidget* parent) : QFrame(parent) {
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
}

void TGradientStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, TopColour());
    gradient.setColorAt(1, BottomColour());
    painter.fillRect(rect(), gradient);
    painter.setPen(FrameColour());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace mirelon
