#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace mirelon {

enum class TSizingGrip { None, BottomRight, Bottom, Right };

// Which sizing grip of a panel lies under a screen point. The panel's bottom 10 pixels of the
// right 10 form the corner, then the bottom 5 and the right 5 pixels the edges; comparisons are
// strict, with Bottom = top + height and Right = left + width.
TSizingGrip DropDownHitTest(const QRect& panel, QPoint screenPoint);

// The size a drag of the grip by delta gives, from the size at the press; never below one pixel.
QSize SizeAfterDrag(TSizingGrip grip, QSize startSize, QPoint delta);

} // namespace mirelon
