#include "ui/VisiblePlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <limits>

namespace {

// Squared distance between two rectangles; 0 when they touch or overlap.
qint64 gapSquared(const QRect& a, const QRect& b)
{
    const qint64 dx = qMax(0, qMax(b.left() - a.right(), a.left() - b.right()));
    const qint64 dy = qMax(0, qMax(b.top() - a.bottom(), a.top() - b.bottom()));
    return dx * dx + dy * dy;
}

qint64 overlapArea(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// start moved so that length fits in [low, high], or low when it cannot.
int clampedStart(int start, int length, int low, int high)
{
    return qMax(low, qMin(start, high + 1 - length));
}

// The screen the frame overlaps most, or the nearest when it overlaps none.
const QScreen* screenFor(const QRect& frame)
{
    const QScreen* best = nullptr;
    qint64 bestOverlap = 0;
    qint64 bestGap = std::numeric_limits<qint64>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const qint64 overlap = overlapArea(frame, screen->geometry());
        const qint64 gap = gapSquared(frame, screen->geometry());
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && gap < bestGap)) {
            best = screen;
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    return best;
}

}  // namespace

QRect VisibleWindowFrame(const QRect& frame)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().contains(frame))
            return frame;
    }
    const QScreen* screen = screenFor(frame);
    if (!screen)
        return frame;
    const QRect area = screen->availableGeometry();
    const QSize size = frame.size().boundedTo(area.size());
    return {QPoint(clampedStart(frame.left(), size.width(), area.left(), area.right()),
                   clampedStart(frame.top(), size.height(), area.top(), area.bottom())),
            size};
}

namespace {

class WhollyOnScreen : public QObject {
public:
    explicit WhollyOnScreen(QWidget& window) : QObject(&window), m_window(window)
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // On Show the frame around the window is known, and the window not yet seen.
        if (watched == &m_window && event->type() == QEvent::Show) {
            const QRect frame = m_window.frameGeometry();
            const QPoint visible = VisibleWindowFrame(frame).topLeft();
            if (visible != frame.topLeft())
                m_window.move(visible);
        }
        return false;
    }

private:
    QWidget& m_window;
};

}  // namespace

void KeepWhollyOnScreen(QWidget& window)
{
    new WhollyOnScreen(window);
}
