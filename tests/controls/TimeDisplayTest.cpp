// The time panel paints itself as a label would.
#include "controls/TimePanel.h"

#include <QHBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage repaintedWhole(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString timeText(int seconds)
{
    return QStringLiteral("%1:%2 / 2:05").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
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
