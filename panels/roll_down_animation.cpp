#include "panels/roll_down_animation.h"

#include <QEventLoop>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace mirelon {

namespace {

// Shows the bottom rows of the image in its top rows, so the panel seems to slide down out of
// its own top edge.
class TRollDownWindow : public QWidget {
public:
    explicit TRollDownWindow(const QPixmap& image)
        // A tool-tip window is never activated, so the hand-over from the image to the panel
        // cannot pass through a moment in which no window of the program is active.
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                               Qt::NoDropShadowWindowHint),
          image_(image) {
        setObjectName(QStringLiteral("RollDownWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const qreal ratio = image_.devicePixelRatio();
        const int imageHeight = static_cast<int>(image_.height() / ratio);
        painter.drawPixmap(0, height() - imageHeight, image_);
    }

private:
    const QPixmap& image_;
};

void Pause(int milliseconds) {
    if (milliseconds <= 0)
        return;
    QEventLoop wait;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TRollDownAnimation::TRollDownAnimation(QPixmap image, QPoint topLeft)
    : image_(std::move(image)), topLeft_(topLeft) {}

TRollDownAnimation::~TRollDownAnimation() = default;

void TRollDownAnimation::Play(int pauseMs, const TRollDownObserver& observer) {
    const qreal ratio = image_.devicePixelRatio();
    const int width = static_cast<int>(image_.width() / ratio);
    const int step = StepRows(static_cast<int>(image_.height() / ratio));
    window_ = std::make_unique<TRollDownWindow>(image_);
    QWidget& window = *window_;
    for (int i = 1; i <= kRollDownSteps; ++i) {
        const QRect area(topLeft_, QSize(width, step * i));
        if (!area.isEmpty()) {
            window.setGeometry(area);
            window.show();
            window.repaint();
        }
        if (observer)
            observer(TRollDownStep{i, step * i, pauseMs, area});
        Pause(pauseMs);
    }
}

} // namespace mirelon
