// The seek bar and the time panel repaint only what a second of play changes; what the screen
// shows after each second must still be what a whole repaint shows.
#include "controls/SeekBar.h"
#include "controls/TimePanel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QImage onScreen(QWidget& widget)
{
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage repaintedWhole(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString timeText(int seconds)
{
    return QStringLiteral("%1:%2 / 2:05").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

TEST(TimeDisplayTest, EverySecondOfASongShowsAsAWholeRepaintWould)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new SeekBar;
    auto* panel = new TimePanel(timeText(0));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFixedSize(90, 18);
    layout->addWidget(bar);
    layout->addWidget(panel);
    window.resize(300, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bar->SetSong(125);
    // A short bar and a long song: the handle stays on a pixel for some seconds, then moves.
    for (int second = 1; second <= 125; ++second) {
        bar->ShowTime(second);
        panel->setText(timeText(second));
        QCoreApplication::processEvents();
        ASSERT_EQ(onScreen(*bar), repaintedWhole(*bar)) << "seek bar at " << second << " s";
        ASSERT_EQ(onScreen(*panel), repaintedWhole(*panel)) << "time panel at " << second << " s";
    }
    // A jump back, as a seek does.
    bar->ShowTime(3);
    QCoreApplication::processEvents();
    EXPECT_EQ(onScreen(*bar), repaintedWhole(*bar));
}

TEST(TimeDisplayTest, TheTimePanelLooksLikeALabel)
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* panel = new TimePanel(timeText(83));
    auto* label = new QLabel(timeText(83));
    for (QLabel* each : {static_cast<QLabel*>(panel), label}) {
        each->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        each->setAlignment(Qt::AlignCenter);
        each->setFixedSize(90, 18);
        layout->addWidget(each);
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(repaintedWhole(*panel), repaintedWhole(*label));
    // A character the panel has no glyph for is painted as a label paints it.
    panel->setText(QStringLiteral("Zeit ½"));
    label->setText(panel->text());
    EXPECT_EQ(repaintedWhole(*panel), repaintedWhole(*label));
}

}  // namespace
