// The pattern view on the real audio library (dummy driver): what it shows of a module made
// here, mute and solo from the keyboard on the cells and the headers, and that it comes back
// where it was; on a recording one, how often the order strip plays.
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "settings/RegistryKeys.h"
#include "support/RecordingAudioLibrary.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"
#include "MainWindowMaker.h"
#include "ui/ChannelHeader.h"
#include "ui/PatternCellDelegate.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QListWidget>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// Four channels, a different note in each of rows 0 to 3; two orders of one pattern.
ModuleMaker::Song fourChannelSong()
{
    ModuleMaker::Song song;
    song.name = QStringLiteral("Four Parts");
    song.channels = 4;
    song.samples = {{QStringLiteral("Tone"), ModuleMaker::Waveform::Square, 32, 1024, true, 0, 64, 128}};
    ModuleMaker::Pattern pattern;
    for (int channel = 0; channel < 4; ++channel)
        pattern.notes.append({channel, channel, ModuleMaker::noteNumber(4, 2 * channel), 1, -1});
    song.patterns = {pattern};
    song.orders = {0, 0};
    return song;
}

class PatternViewTest : public ::testing::Test {
protected:
    PatternViewTest()
    {
        module = TestSongs::write(fourChannelSong(), ModuleMaker::Format::Xm, dir.path(), "four parts");
        window = MakeMainWindow(registry, audio, {"jukarium", module});
        window->show();
    }

    QWidget* view() const { return window->findChild<QWidget*>("PatternView"); }
    QTableView* table() const { return view()->findChild<QTableView*>("PatternTable"); }
    QString header(int channel) const
    {
        return table()->model()->headerData(channel, Qt::Horizontal).toString();
    }
    void key(Qt::Key pressed) { QTest::keyClick(table(), pressed); }

    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    OpenMptSdlAudio audio;
    ScriptedMessageBoxes boxes;
    QString module;
    std::unique_ptr<TMainWindow> window;
};

TEST_F(PatternViewTest, ShowsThePatternAndMutesAndSolosItsChannels)
{
    window->form().mnuFile_PatternView->trigger();
    ASSERT_NE(view(), nullptr);
    ASSERT_TRUE(view()->isVisible());
    QAbstractItemModel& model = *table()->model();
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.rowCount(), 64);
    // libopenmpt names the octaves as OpenMPT does: one above the XM file's count.
    EXPECT_TRUE(model.index(0, 0).data().toString().startsWith("C-5 01"));
    EXPECT_TRUE(model.index(3, 3).data().toString().startsWith("F#5 01"));
    EXPECT_TRUE(model.index(1, 0).data().toString().startsWith("..."));
    EXPECT_EQ(view()->findChild<QListWidget*>("OrderStrip")->count(), 2);

    // Space on a cell of channel 2 mutes it; S solos it; a second S lets all sound.
    table()->setCurrentIndex(model.index(5, 1));
    key(Qt::Key_Space);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({false, true, false, false}));
    EXPECT_EQ(header(1), "Channel 2, muted");
    key(Qt::Key_S);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({true, false, true, true}));
    key(Qt::Key_S);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>(4, false));
    // A click on a header mutes that channel, Escape lets every channel sound again.
    auto* channels = view()->findChild<ChannelHeader*>();
    emit channels->sectionClicked(3);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({false, false, false, true}));
    key(Qt::Key_Escape);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>(4, false));

    // The row heard is marked once the sound reaches it, without selecting it: a selection
    // would reach a screen reader with every row.
    auto* cells = qobject_cast<PatternCellDelegate*>(table()->itemDelegate());
    ASSERT_NE(cells, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cells->heardRow() >= 0; }, 10000));
    EXPECT_FALSE(table()->selectionModel()->hasSelection());
}

TEST_F(PatternViewTest, TabReachesTheHeadersWhereTheKeysWorkOnTheChannelInFocus)
{
    window->form().mnuFile_PatternView->trigger();
    view()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view()));
    auto* strip = view()->findChild<QListWidget*>("OrderStrip");
    auto* channels = view()->findChild<ChannelHeader*>();
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_Tab);
    ASSERT_TRUE(channels->hasFocus());

    QTest::keyClick(channels, Qt::Key_Right);
    QTest::keyClick(channels, Qt::Key_Right);
    QTest::keyClick(channels, Qt::Key_Space);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({false, false, true, false}));
    EXPECT_EQ(header(2), "Channel 3, muted");
    QTest::keyClick(channels, Qt::Key_Left);
    QTest::keyClick(channels, Qt::Key_S);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({true, false, true, true}));
    QTest::keyClick(channels, Qt::Key_Escape);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>(4, false));
    // Keys of the cells stay on the header.
    QTest::keyClick(channels, Qt::Key_Down);
    EXPECT_FALSE(table()->currentIndex().isValid());

    // On to the cells, on the same channel.
    QTest::keyClick(channels, Qt::Key_Tab);
    ASSERT_TRUE(table()->hasFocus());
    EXPECT_EQ(table()->currentIndex().column(), 1);
    key(Qt::Key_Space);
    EXPECT_EQ(window->player().MutedChannels(), QList<bool>({false, true, false, false}));
}

TEST_F(PatternViewTest, TheKeyboardsCellStaysThroughPatternsOfOtherLengths)
{
    // The four parts, then a short pattern with a note in row 0 of channel 3 only.
    ModuleMaker::Song song = fourChannelSong();
    ModuleMaker::Pattern shortPattern;
    shortPattern.rows = 16;
    shortPattern.notes.append({0, 2, ModuleMaker::noteNumber(5, 0), 1, -1});
    song.patterns.append(shortPattern);
    song.orders = {0, 1};
    window->form().mnuFile_PatternView->trigger();
    HandOver(*window, TestSongs::write(song, ModuleMaker::Format::Xm, dir.path(), "two lengths"));
    QAbstractItemModel& model = *table()->model();
    auto* strip = view()->findChild<QListWidget*>("OrderStrip");
    ASSERT_TRUE(QTest::qWaitFor([&] { return strip->count() == 2 && strip->item(1)->text() == "001: 1"; }));
    ASSERT_EQ(model.rowCount(), 64);
    table()->setCurrentIndex(model.index(20, 2));

    window->player().PlayFromOrder(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 16; }, 10000));
    EXPECT_TRUE(model.index(0, 2).data().toString().startsWith("C-6 01"));
    EXPECT_TRUE(model.index(0, 0).data().toString().startsWith("..."));
    EXPECT_EQ(table()->currentIndex().column(), 2);
    // Round again, to the longer one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 64; }, 10000));
    EXPECT_TRUE(model.index(3, 3).data().toString().startsWith("F#5 01"));
    EXPECT_EQ(table()->currentIndex().column(), 2);
}

TEST_F(PatternViewTest, OpensAgainWhereItWasAtTheNextStart)
{
    window->form().mnuFile_PatternView->trigger();
    view()->setGeometry(120, 140, 500, 360);
    const QRect placed = view()->geometry();
    // Ended as a termination signal ends the program: every window closes.
    window->EndWithoutQuestions();
    QApplication::closeAllWindows();
    window.reset();
    EXPECT_EQ(registry.value(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, "Open")->number, 1u);

    window = MakeMainWindow(registry, audio, {"jukarium", module});
    window->show();
    ASSERT_NE(view(), nullptr);
    EXPECT_TRUE(window->form().mnuFile_PatternView->isChecked());
    EXPECT_EQ(view()->size(), placed.size());
    // Closed by its title bar, it stays closed.
    view()->close();
    EXPECT_FALSE(window->form().mnuFile_PatternView->isChecked());
    window.reset();
    EXPECT_EQ(registry.value(RegistryRoot::CurrentUser, RegistryKeys::kPatternView, "Open")->number, 0u);
}

// Each frame repaints only the rows and meters that change: what the screen shows must still
// be what a whole repaint shows, row after row as the song plays.
TEST_F(PatternViewTest, EveryRowShowsAsAWholeRepaintWould)
{
    window->form().mnuFile_PatternView->trigger();
    QTableView& pattern = *table();
    auto* cells = qobject_cast<PatternCellDelegate*>(pattern.itemDelegate());
    ASSERT_NE(cells, nullptr);
    const auto onScreen = [](QWidget& widget) {
        const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto repaintedWhole = [](QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    for (int rowsSeen = 0, lastRow = -1; rowsSeen < 6;) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return cells->heardRow() != lastRow; }, 10000));
        lastRow = cells->heardRow();
        ++rowsSeen;
        QCoreApplication::processEvents();
        ASSERT_EQ(onScreen(*view()), repaintedWhole(*view())) << "at row " << lastRow;
    }
}

// A style on which a click activates an item, as some desktops set it.
class ClickActivates : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

TEST(PatternViewOrders, EnterAClickAndADoubleClickPlayFromAnOrderOnceEachOnEveryStyle)
{
    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    RecordingAudioLibrary audio;
    ScriptedMessageBoxes boxes;
    const QString module =
        TestSongs::write(fourChannelSong(), ModuleMaker::Format::Xm, dir.path(), "four parts");
    audio.addLoadablePath(module);
    audio.setModuleInfo(RecordingAudioLibrary::makeModuleInfo("Four Parts", 2, 1, 1, 4));
    auto window = MakeMainWindow(registry, audio, {"jukarium", module});
    window->show();
    window->form().mnuFile_PatternView->trigger();
    auto* strip = window->findChild<QListWidget*>("OrderStrip");
    ASSERT_EQ(strip->count(), 2);
    const auto plays = [&] {
        return audio.calls().filter(QRegularExpression("^setPosition ")).join(", ").toStdString();
    };
    const auto at = [&](int order) { return strip->visualItemRect(strip->item(order)).center(); };

    ClickActivates clickActivates;
    for (QStyle* style : {strip->style(), static_cast<QStyle*>(&clickActivates)}) {
        SCOPED_TRACE(style == &clickActivates ? "a click activates" : "a double click activates");
        strip->setStyle(style);
        audio.clearCalls();
        QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, at(1));
        EXPECT_EQ(plays(), "setPosition 1");

        audio.clearCalls();
        QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, at(0));
        QTest::mouseDClick(strip->viewport(), Qt::LeftButton, {}, at(0));
        EXPECT_EQ(plays(), "setPosition 0");

        audio.clearCalls();
        strip->setFocus();
        strip->setCurrentRow(1);
        QTest::keyClick(strip, Qt::Key_Return);
        EXPECT_EQ(plays(), "setPosition 1");
    }
    strip->setStyle(nullptr);
}

}  // namespace
