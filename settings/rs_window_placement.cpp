#include "settings/rs_window_placement.h"

#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>

namespace mirelon {

namespace {

enum ShowState { kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };
constexpr int kRestoreToMaximized = 2;

int ClampToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

QString WindowPlacementText(const QWidget& window) {
    const Qt::WindowStates state = window.windowState();
    int showState = kShowNormal;
    if (state & Qt::WindowMinimized)
        showState = kShowMinimized;
    else if (state & Qt::WindowMaximized)
        showState = kShowMaximized;
    const int flags =
        (state & Qt::WindowMinimized) && (state & Qt::WindowMaximized) ? kRestoreToMaximized : 0;

    QRect normal = window.normalGeometry();
    if (normal.isEmpty())
        normal = window.geometry();
    return QString::asprintf("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", flags, showState, -1, -1, -1, -1,
                             normal.left(), normal.top(), normal.left() + normal.width(),
                             normal.top() + normal.height());
}

bool RestoreWindowPlacement(QWidget& window, const QString& text, TrsFormPlacementOptions options) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 10)
        return false;
    std::array<int64_t, 10> field{};
    for (size_t i = 0; i < field.size(); ++i) {
        bool ok = false;
        field[i] = parts[static_cast<qsizetype>(i)].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }

    const QRect current = window.geometry();
    const int left = (options & pfpPlacement) ? static_cast<int>(field[6]) : current.x();
    const int top = (options & pfpPlacement) ? static_cast<int>(field[7]) : current.y();
    int64_t width = current.width();
    int64_t height = current.height();
    if (options & pfpSize) {
        width = field[8] - field[6];
        height = field[9] - field[7];
    }

    // A state change below must not carry the window back to its old normal geometry.
    if (options & pfpState)
        window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (width > 0 && height > 0)
        window.setGeometry(left, top, ClampToInt(width), ClampToInt(height));
    else
        window.setGeometry(left, top, current.width(), current.height());

    if (options & pfpState) {
        Qt::WindowStates state = Qt::WindowNoState;
        const int64_t showState = field[1];
        if (showState == 2 || showState == 6 || showState == 7) {
            state = Qt::WindowMinimized;
            if (field[0] & kRestoreToMaximized)
                state |= Qt::WindowMaximized;
        } else if (showState == kShowMaximized) {
            state = Qt::WindowMaximized;
        }
        window.setWindowState(state);
    }
    return true;
}

} // namespace mirelon
