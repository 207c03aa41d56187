// The main window's own drawing read back from its screenshots, in the light palette a plain
// desktop gives and in a dark one switched on while the window is open; and the marks of the
// pattern view in a dark palette whose highlight is dark too.
#include "controls/ReadableColors.h"
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "support/TestSongs.h"
#include "MainWindowMaker.h"
#include "ui/ChannelHeader.h"
#include "ui/PatternCellDelegate.h"
#include "ui/TMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// As a dark desktop theme hands it over: dark faces, light text, and the highlight that
// QPalette derives by itself (dark blue), which dark themes often leave alone.
QPalette darkPalette()
{
    const QColor face(53, 53, 53);
    return QPalette(Qt::white, face, face.lighter(150), face.darker(150), face.darker(120),
                    QColor(0xee, 0xee, 0xee), Qt::white, QColor(30, 30, 30), face);
}

// The contrast of what is drawn in image against its background: the background is the
// colour most pixels have, the text the pixel that stands out from it most.
qreal drawnContrast(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    qreal best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, ReadableColors::contrastRatio(QColor(it.key()), QColor(background)));
    return best;
}

// The inside of a control's screenshot, without its frame.
QImage inside(QWidget* widget, int frame)
{
    const QImage image = widget->grab().toImage();
    return image.copy(image.rect().adjusted(frame, frame, -frame, -frame));
}

class ReadablePaletteTest : public ::testing::Test {
protected:
    ReadablePaletteTest()
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
        module = TestSongs::write(TestSongs::toneSong(), ModuleMaker::Format::S3m, dir.path(), "fly");
    }
    ~ReadablePaletteTest() override
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
    }

    std::unique_ptr<TMainWindow> open(const QStringList& arguments = {"jukarium"})
    {
        auto window = MakeMainWindow(registry, audio, arguments);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    // Every text the window draws itself, each with the contrast it shows.
    void expectReadable(TMainWindow& window)
    {
        QCoreApplication::processEvents();
        const MainWindowForm& form = window.form();
        EXPECT_GE(drawnContrast(inside(form.ibtDiscNr[0], 2)), 4.5) << "filled slot";
        EXPECT_GE(drawnContrast(inside(form.ibtDiscNr[1], 2)), 4.5) << "empty slot";
        EXPECT_GE(drawnContrast(inside(form.btnDisc1, 2)), 4.5) << "disc button";
        EXPECT_GE(drawnContrast(inside(form.banMain, 0)), 4.5) << "banner";
        QWidget* info = form.staModInfo->viewport();
        EXPECT_GE(drawnContrast(info->grab().toImage()), 4.5) << "information view";
    }

    QTemporaryDir dir;
    QString module;
    Registry registry{dir.path() + "/registry"};
    OpenMptSdlAudio audio;
};

}  // namespace

TEST_F(ReadablePaletteTest, OwnDrawnTextStandsOutInTheLightPaletteAndAfterASwitchToADarkOne)
{
    auto window = open();
    window->disc().AssignSlot(1, module);
    ASSERT_TRUE(window->form().ibtDiscNr[0]->Accented());
    window->SetInfoView(true);
    window->form().staModInfo->setPlainText(QStringLiteral("Title: fly\nInstruments: 1"));
    for (int step = 0; step < 20; ++step)
        window->form().banMain->StepScroll();  // the tip well inside the banner
    {
        SCOPED_TRACE("light");
        expectReadable(*window);
    }
    QApplication::setPalette(darkPalette());
    {
        SCOPED_TRACE("dark");
        expectReadable(*window);
        // The slot's number is drawn anew in the dark palette's colours, not kept from before.
        EXPECT_LT(ReadableColors::relativeLuminance(
                      window->form().ibtDiscNr[1]->grab().toImage().pixelColor(3, 3)),
                  0.1);
    }
}

TEST_F(ReadablePaletteTest, PatternViewsMarksStandOutWhereTheHighlightIsAsDarkAsTheBase)
{
    QPalette dark = darkPalette();
    dark.setColor(QPalette::Highlight, QColor(0, 0, 128));
    QApplication::setPalette(dark);
    const QColor base = dark.color(QPalette::Base);
    auto window = open({"jukarium", module});
    window->form().mnuFile_PatternView->trigger();
    auto* view = window->findChild<QWidget*>("PatternView");
    auto* table = view->findChild<QTableView*>("PatternTable");
    auto* channels = view->findChild<ChannelHeader*>();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));

    // The row heard: its ground against the other rows', its text against its ground.
    auto* cells = qobject_cast<PatternCellDelegate*>(table->itemDelegate());
    ASSERT_NE(cells, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cells->heardRow() >= 0; }, 10000));
    const int heard = cells->heardRow();  // and no event moves it before the grab
    const QRect cell = table->visualRect(table->model()->index(heard, 0)).adjusted(1, 1, -1, -1);
    const QImage row = table->viewport()->grab(cell).toImage();
    EXPECT_GE(ReadableColors::contrastRatio(row.pixelColor(1, 1), base), 3.0) << "row heard";
    EXPECT_GE(drawnContrast(row), 4.5) << "text of the row heard";

    // A full meter against its ground; the mark of the channel in focus against the header.
    channels->showLevels(QList<float>(8, 1.0f));
    channels->clearFocus();
    const QImage unfocused = channels->viewport()->grab().toImage();
    EXPECT_GE(ReadableColors::contrastRatio(unfocused.pixelColor(channels->sectionSize(0) / 2, 12), base), 3.0)
        << "meter";
    channels->setFocus();
    const QImage focused = channels->viewport()->grab().toImage();
    qreal mark = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < channels->sectionSize(0); ++x) {
            if (focused.pixel(x, y) != unfocused.pixel(x, y))
                mark = std::max(mark, ReadableColors::contrastRatio(focused.pixelColor(x, y),
                                                                    unfocused.pixelColor(x, y)));
        }
    }
    EXPECT_GE(mark, 3.0) << "focus mark";
}
