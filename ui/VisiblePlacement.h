#pragma once

#include <QPoint>
#include <QRect>

/// Where a top-level window with this frame (screen coordinates) is seen: its own top left
/// when the frame meets any screen; otherwise the top left that puts it wholly inside the
/// available area of the nearest screen (at that area's top left edge where it is too large).
/// Without any screen, its own top left. GUI thread only.
QPoint VisibleWindowPosition(const QRect& frame);
