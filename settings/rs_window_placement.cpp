#include "settings/rs_window_placement.h"

#include <QGuiApplication>
#include <QScreen>
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

bool Overlaps(int64_t left, int64_t top, int64_t width, int64_t height, const QRect& area) {
    return left < int64_t{area.left()} + area.width() && area.left() < left + width &&
           top < int64_t{area.top()} + area.height() && area.top() < top + height;
}

// A rectangle that overlaps no available screen area (a monitor since unplugged, a damaged
// value) would open the window out of reach: it goes to the middle of the primary screen
// instead, keeping its size where that fits.
QRect WithinReach(int64_t left, int64_t top, int width, int height) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    const bool reachable =
        screens.isEmpty() || std::any_of(screens.begin(), screens.end(), [&](QScreen* screen) {
            return Overlaps(left, top, width, height, screen->availableGeometry());
        });
    if (reachable)
        return {ClampToInt(left), ClampToInt(top), width, height};
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    width = std::min(width, area.width());
    height = std::min(height, area.height());
    return {area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2,
            width, height};
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
    const int64_t left = (options & pfpPlacement) ? field[6] : current.x();
    const int64_t top = (options & pfpPlacement) ? field[7] : current.y();
    int64_t width = current.width();
    int64_t height = current.height();
    if (options & pfpSize) {
        width = field[8] - field[6];
        height = field[9] - field[7];
    }
    if (width <= 0 || height <= 0) {
        width = current.width();
        height = current.height();
    }

    // A state change below must not carry the window back to its old normal geometry.
    if (options & pfpState)
        window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window.setGeometry(WithinReach(left, top,
                                   static_cast<int>(std::min<int64_t>(width, QWIDGETSIZE_MAX)),
                                   static_cast<int>(std::min<int64_t>(height, QWIDGETSIZE_MAX))));

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
