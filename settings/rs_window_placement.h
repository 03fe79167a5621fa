#pragma once

#include <QString>

class QWidget;

namespace mirelon {

enum TrsFormPlacementOption : unsigned {
    pfpPlacement = 1u << 0,
    pfpSize = 1u << 1,
    pfpState = 1u << 2,
};
using TrsFormPlacementOptions = unsigned;

// Ten integers, "flags,show state,min x,min y,max x,max y,left,top,right,bottom": show state
// 1 normal, 2 minimized, 3 maximized; flags 2 when a minimized window was maximized before;
// the rectangle is the window's normal client area in screen pixels, which is known before the
// window has a frame, unlike the frame's. Qt keeps no minimized or maximized position, so those
// fields are -1.
QString WindowPlacementText(const QWidget& window);

// Applies a placement text to a top-level window: its position with pfpPlacement, its size with
// pfpSize, its state with pfpState (2, 6 and 7 minimized, 3 maximized, others normal). A hidden
// window stays hidden. A rectangle that overlaps no available screen area is centred on the
// primary screen instead, as large as it was where that fits. Returns false, changing nothing,
// unless the text holds ten integers.
bool RestoreWindowPlacement(QWidget& window, const QString& text, TrsFormPlacementOptions options);

} // namespace mirelon
