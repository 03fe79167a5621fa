#pragma once

#include <QColor>
#include <QPixmap>

namespace mirelon {

// A 16 x 16 rounded lamp in the given colour, drawn rather than loaded so the program needs no
// image files.
QPixmap MakeStatusLamp(const QColor& color);

} // namespace mirelon
