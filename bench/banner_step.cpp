// Cost of one banner step at the main window's banner size with a long module line.
// Target: far below the 100 ms step interval (the whole program stays under 0.7 % of a core).
#include "controls/TBanner.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    std::printf("banner step (263x23, %d px content): %.1f us per step, %.3f %% of one core at "
                "10 steps/s\n",
                banner.Bitmap().width(), microseconds, microseconds * 10 / 1e6 * 100);
    return 0;
}
