// The least a shown Qt window pays for doing something ten times a second: a 100 ms timer
// whose ticks do nothing. A banner step can cost no less than a tick, so this is the floor
// under the banner's figure on the machine it runs on; cpu_share.py measures both.
//
// Usage: timer_floor (on an X server: DISPLAY set). Runs until killed.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(320, 80);
    window.show();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [] {});
    ticks.start(100);
    return app.exec();
}
