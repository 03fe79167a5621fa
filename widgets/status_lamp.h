#pragma once

#include <QPixmap>

namespace mirelon {

// The lamps of the windows' status areas, 16 x 16 and drawn rather than loaded so the program
// needs no image files: green while idle, red while a job runs.
QPixmap IdleStatusLamp();
QPixmap BusyStatusLamp();

} // namespace mirelon
