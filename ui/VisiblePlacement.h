#pragma once

#include <QRect>

/// Where a top-level window with this frame (screen coordinates, title bar included) is seen
/// whole: its own frame when that lies wholly on one screen; otherwise the frame moved, and
/// made smaller where it is larger, to lie wholly inside the available area of the screen it
/// overlaps most, or of the nearest screen when it overlaps none (a place stored on a monitor
/// since unplugged, a size stored at a larger scale factor). Without any screen, its own
/// frame. GUI thread only.
QRect VisibleWindowFrame(const QRect& frame);

class QWidget;

/// Moves window (a top-level widget) by VisibleWindowFrame's place each time it is shown, so
/// that a dialog with a fixed place never runs past the edge of a smaller or scaled screen.
/// Only its place changes. Works through a child object of window; GUI thread only.
void KeepWhollyOnScreen(QWidget& window);
