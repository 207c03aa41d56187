// The banner's steps on a real X server (an Xvfb of this program's own, Qt's xcb platform,
// once at the normal scale and once at twice it): what the screen shows after each step is
// what the banner paints, also after a window over it has gone.
#include "app/XPaintsOverConnection.h"
#include "controls/BannerFrame.h"
#include "controls/BannerOnXServer.h"
#include "controls/TBanner.h"

#include "support/TestEnvironment.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What the X server shows of widget, at the screen's resolution.
QImage shownPixels(const QWidget& widget)
{
    const QWidget* const top = widget.window();
    const QPoint at = widget.mapTo(top, QPoint());
    return top->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage paintedPixels(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

class BannerOnXServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(400, 120);
        banner.setGeometry(20, 30, 263, 23);
        banner.SetColor(Qt::black);
        banner.SetFontColor(QColor(0, 255, 0));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        banner.setFont(font);
        banner.SetScrollPixels(5);
        banner.SetScrollInterval(0);  // steps only when the test takes them
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Steps the banner times times, comparing the screen with the banner's paint after each.
    void expectStepsShownAsPainted(int times)
    {
        for (int i = 0; i < times; ++i) {
            banner.StepScroll();
            ASSERT_EQ(shownPixels(banner), paintedPixels(banner)) << "step " << i << " at " << banner.ScrollPos();
        }
    }

    QWidget window;
    TBanner banner{&window};
};

/// An X server of this program's own: Xvfb on a display number it picks itself.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int pipe[2];
        if (::pipe(pipe) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            ::close(pipe[0]);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDERR_FILENO);
            const std::string descriptor = std::to_string(pipe[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", descriptor.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        char digit = 0;
        while (m_pid > 0 && ::read(pipe[0], &digit, 1) == 1 && digit != '\n')
            m_display += digit;
        ::close(pipe[0]);
    }

    ~PrivateXServer()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    /// ":N", empty when the server did not start.
    QString display() const { return m_display.empty() ? QString() : QStringLiteral(":") + QString::fromStdString(m_display); }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

}  // namespace

TEST_F(BannerOnXServerTest, EveryKindOfStepShowsAsTheBannerPaintsIt)
{
    banner.SetScrollText(QStringLiteral("Entering from the right || 1234 kB || 8 channels"));
    expectStepsShownAsPainted(40);
    banner.SetNoGap(true);  // copies edge to edge, more than one at a time
    expectStepsShownAsPainted(40);
    banner.SetLines({QStringLiteral("first line"), QStringLiteral("second line")});
    banner.SetScrollDirection(TScrollDirection::sdBottomToTop);
    expectStepsShownAsPainted(20);
    banner.SetColor(QColor(10, 20, 200));  // a new background around the same content
    expectStepsShownAsPainted(5);
}

TEST_F(BannerOnXServerTest, AWindowThatCoveredTheBannerLeavesItAsPainted)
{
    banner.SetScrollText(QStringLiteral("Under another window for a while"));
    expectStepsShownAsPainted(30);  // the text well inside
    QWidget cover;
    cover.setGeometry(QRect(window.mapToGlobal(banner.geometry().center()), QSize(120, 60)));
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    for (int i = 0; i < 7; ++i)
        banner.StepScroll();
    cover.hide();
    // The server tells Qt what the cover hid, and Qt shows its own copy of it again.
    EXPECT_TRUE(QTest::qWaitFor([this] { return shownPixels(banner) == paintedPixels(banner); }));
    expectStepsShownAsPainted(3);
}

TEST(BannerOnXServer, DrawsAStepOnAnOrdinaryWindow)
{
    QWidget window;
    window.resize(200, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const qreal ratio = window.devicePixelRatio();
    QImage content(QSize(90, 20) * ratio, QImage::Format_RGB32);
    content.fill(QColor(200, 0, 0));
    for (int x = 0; x < content.width(); x += 3)
        content.setPixelColor(x, x % content.height(), QColor(0, 0, 255));
    content.setDevicePixelRatio(ratio);
    const QRect area(10, 15, 120, 30);
    const QList<BannerGeometry::Blit> copies = {{QRect(5, 0, 60, 20), QRect(0, 5, 60, 20)},
                                                {QRect(0, 0, 50, 20), QRect(70, 5, 50, 20)}};
    BannerOnXServer server;
    ASSERT_TRUE(server.draw(window.windowHandle(), area, qRgb(0, 90, 0), content, copies));

    QImage expected(window.size() * ratio, QImage::Format_RGB32);
    expected.setDevicePixelRatio(ratio);
    BannerFrame::compose(expected, area, qRgb(0, 90, 0), content, copies);
    const QRect device(area.topLeft() * ratio, area.size() * ratio);
    const QImage shown = window.screen()->grabWindow(window.winId(), area.x(), area.y(), area.width(), area.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.copy(0, 0, device.width(), device.height()), expected.copy(device));
}

int main(int argc, char** argv)
{
    TestEnvironment::setUp();
    const PrivateXServer server;
    if (server.display().isEmpty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return EXIT_FAILURE;
    }
    qputenv("DISPLAY", server.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    const XPaintsOverConnection paints;  // as the program connects
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
