// The least a shown Qt window pays for changing a few pixels ten times a second: a 100 ms
// timer whose ticks each send the X server one small drawing request, as a banner step drawn
// on the server does. A banner step can cost no less, so this is the floor under the banner's
// figure on the machine it runs on; cpu_share.py measures both. On a virtual machine the wake
// and the request cost far more than the few thousand instructions around them.
//
// Usage: timer_floor (on an X server: DISPLAY set). Runs until killed.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        qFatal("timer_floor: not on an X server");
    xcb_connection_t* const connection = x11->connection();
    QWidget window;
    window.resize(320, 80);
    window.show();
    const auto target = xcb_window_t(window.winId());
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const std::uint32_t values[] = {0xff000000u, 0};  // foreground, no graphics exposures
    xcb_create_gc(connection, gc, target, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    QTimer ticks;
    std::int16_t column = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const xcb_rectangle_t step{column, 0, 4, 20};
        column = std::int16_t((column + 4) % 320);
        xcb_poly_fill_rectangle(connection, target, gc, 1, &step);
        xcb_flush(connection);
    });
    ticks.start(100);
    return app.exec();
}
