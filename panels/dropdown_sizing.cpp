#include "panels/dropdown_sizing.h"

#include <algorithm>

namespace mirelon {

namespace {

constexpr int kCornerGrip = 10;
constexpr int kEdgeGrip = 5;

bool Between(int low, int value, int high) {
    return low < value && value < high;
}

} // namespace

TSizingGrip DropDownHitTest(const QRect& panel, QPoint screenPoint) {
    // QRect::right() is the last pixel inside; the grips count from the edge just past it.
    const int bottom = panel.top() + panel.height();
    const int right = panel.left() + panel.width();
    const int x = screenPoint.x();
    const int y = screenPoint.y();
    if (Between(bottom - kCornerGrip, y, bottom) && Between(right - kCornerGrip, x, right))
        return TSizingGrip::BottomRight;
    if (Between(bottom - kEdgeGrip, y, bottom))
        return TSizingGrip::Bottom;
    if (Between(right - kEdgeGrip, x, right))
        return TSizingGrip::Right;
    return TSizingGrip::None;
}

QSize SizeAfterDrag(TSizingGrip grip, QSize startSize, QPoint delta) {
    QSize size = startSize;
    if (grip == TSizingGrip::BottomRight || grip == TSizingGrip::Right)
        size.setWidth(std::max(1, startSize.width() + delta.x()));
    if (grip == TSizingGrip::BottomRight || grip == TSizingGrip::Bottom)
        size.setHeight(std::max(1, startSize.height() + delta.y()));
    return size;
}

} // namespace mirelon
