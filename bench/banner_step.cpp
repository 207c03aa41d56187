// Cost of one banner step at the main window's banner size with a long module line: the paint,
// and on a real screen (DISPLAY set) its way to the X server. It leaves out the timer and the
// event handling around each step, which cost more: the program's CPU with the banner
// scrolling and nothing playing is what bench/cpu_share.py measures.
#include "app/XPaintsOverConnection.h"
#include "controls/TBanner.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const XPaintsOverConnection paints;  // as the program connects
    QApplication app(argc, argv);
    TBanner banner;
    banner.resize(263, 23);
    banner.SetColor(Qt::black);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    banner.setFont(font);
    banner.SetFontColor(QColor(0, 255, 0));
    banner.SetScrollPixels(5);
    banner.SetScrollText(QStringLiteral(
        "A Very Long Module Title Here || 1234 kB || 32 channels || 128 Patterns used for song || "
        "96 Patterns are different || 99 Instruments allocated"));
    banner.show();
    QCoreApplication::processEvents();

    constexpr int kSteps = 20000;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSteps; ++i)
        banner.StepScroll();
    const double microseconds = timer.nsecsElapsed() / 1000.0 / kSteps;
    std::printf("banner step on %s (263x23, %d px content): %.1f us per step, %.3f %% of one core "
                "at 10 steps/s\n",
                qPrintable(QGuiApplication::platformName()), banner.Bitmap().width(), microseconds,
                microseconds * 10 / 1e6 * 100);
    return 0;
}
