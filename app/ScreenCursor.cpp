#include "app/ScreenCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
CursorShape g_shape = CursorShape::Arrow;
}

namespace ScreenCursor {

CursorShape shape() { return g_shape; }

void set(CursorShape newShape)
{
    g_shape = newShape;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (newShape == CursorShape::Arrow) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    } else if (QGuiApplication::overrideCursor()) {
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}

}  // namespace ScreenCursor
