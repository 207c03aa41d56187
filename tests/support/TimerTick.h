#pragma once

#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>

/// Runs timer's next timeout now, as its tick would, so that a test steps time instead of
/// waiting for it. A timer that is not running does not tick: false, and nothing runs.
inline bool tickNow(QTimer& timer)
{
    if (!timer.isActive())
        return false;
    QTimerEvent tick(timer.timerId());
    QCoreApplication::sendEvent(&timer, &tick);
    return true;
}
