#pragma once

#include <QPixmap>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>

class QWidget;

namespace mirelon {

// One drawn step of the roll-down: the bottom `rows` rows of the panel's image fill `area`,
// the top of the panel's rectangle; `pauseMs` follows it.
struct TRollDownStep {
    int index = 0; // 1 to kRollDownSteps
    int rows = 0;
    int pauseMs = 0;
    QRect area;
};

inline constexpr int kRollDownSteps = 16;

using TRollDownObserver = std::function<void(const TRollDownStep&)>;

// Plays the roll-down of a panel image at a screen position: kRollDownSteps steps of
// height / kRollDownSteps rows each (rounded down, so the last step may fall up to 15 rows
// short), in a frameless window that never takes the focus, pausing pauseMs after each step.
// During the pauses timers and painting go on, but user input waits for the panel's own loop.
// The last step stays on screen until the animation is destroyed, so the real panel can be shown
// over it first without a flicker in between.
class TRollDownAnimation {
public:
    TRollDownAnimation(QPixmap image, QPoint topLeft);
    ~TRollDownAnimation();
    TRollDownAnimation(const TRollDownAnimation&) = delete;
    TRollDownAnimation& operator=(const TRollDownAnimation&) = delete;

    void Play(int pauseMs, const TRollDownObserver& observer = {});

    static int StepRows(int imageHeight) { return imageHeight / kRollDownSteps; }

private:
    QPixmap image_;
    QPoint topLeft_;
    std::unique_ptr<QWidget> window_;
};

} // namespace mirelon
