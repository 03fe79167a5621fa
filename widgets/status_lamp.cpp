#include "widgets/status_lamp.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRadialGradient>

namespace mirelon {

namespace {

QPixmap MakeStatusLamp(const QColor& color) {
    QPixmap lamp(16, 16);
    lamp.fill(Qt::transparent);
    QPainter painter(&lamp);
    painter.setRenderHint(QPainter::Antialiasing);

    // Lit from the upper left, like a glass bulb.
    QRadialGradient glass(QPointF(6.0, 5.5), 8.0, QPointF(5.5, 5.0));
    glass.setColorAt(0.0, color.lighter(190));
    glass.setColorAt(0.45, color);
    glass.setColorAt(1.0, color.darker(170));
    painter.setBrush(glass);
    painter.setPen(QPen(color.darker(220), 1.0));
    painter.drawEllipse(QRectF(1.5, 1.5, 13.0, 13.0));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QRectF(4.0, 3.5, 4.5, 3.0));
    return lamp;
}

} // namespace

QPixmap IdleStatusLamp() {
    return MakeStatusLamp(QColor(0x2e, 0xb8, 0x3c));
}

QPixmap BusyStatusLamp() {
    return MakeStatusLamp(QColor(0xd8, 0x24, 0x1c));
}

} // namespace mirelon
