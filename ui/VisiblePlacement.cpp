#include "ui/VisiblePlacement.h"

#include <QGuiApplication>
#include <QScreen>

#include <limits>

namespace {

// Squared distance between two rectangles; 0 when they touch or overlap.
qint64 gapSquared(const QRect& a, const QRect& b)
{
    const qint64 dx = qMax(0, qMax(b.left() - a.right(), a.left() - b.right()));
    const qint64 dy = qMax(0, qMax(b.top() - a.bottom(), a.top() - b.bottom()));
    return dx * dx + dy * dy;
}

// start moved so that length fits in [low, high], or low when it cannot.
int clampedStart(int start, int length, int low, int high)
{
    return qMax(low, qMin(start, high + 1 - length));
}

}  // namespace

QPoint VisibleWindowPosition(const QRect& frame)
{
    const QScreen* nearest = nullptr;
    qint64 nearestGap = std::numeric_limits<qint64>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(frame))
            return frame.topLeft();
        const qint64 gap = gapSquared(frame, screen->geometry());
        if (gap < nearestGap) {
            nearest = screen;
            nearestGap = gap;
        }
    }
    if (!nearest)
        return frame.topLeft();
    const QRect area = nearest->availableGeometry();
    return {clampedStart(frame.left(), frame.width(), area.left(), area.right()),
            clampedStart(frame.top(), frame.height(), area.top(), area.bottom())};
}
