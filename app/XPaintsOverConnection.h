#pragma once

#include <QtGlobal>

/// While one lives, a QApplication made on an X server (Qt's xcb platform) sends window paints
/// over its connection instead of through shared memory. Through shared memory each repaint
/// waits for the X server's answer before the next may write the pixels the server might
/// still be reading; the banner repaints a strip ten times a second, which the connection
/// carries without waiting. Make one just before the QApplication and end it once that
/// exists: only this process's connection is set so, and programs started later get the
/// environment as it was. A user's own QT_XCB_NO_MITSHM is left as it is. GUI thread, before
/// other threads read the environment.
class XPaintsOverConnection {
public:
    XPaintsOverConnection();
    ~XPaintsOverConnection();
    Q_DISABLE_COPY_MOVE(XPaintsOverConnection)

private:
    bool m_set = false;  // the variable is ours to take away again
};
