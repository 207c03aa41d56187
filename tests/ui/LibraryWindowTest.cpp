// The module library from the user's side: a folder indexed, a search typed, a result played,
// results dragged onto slots and saved on a disc.
#include "controls/TIEButton.h"
#include "disc/ClassDisc.h"
#include "platform/Registry.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestSongs.h"
#include "ui/LibraryResultsModel.h"
#include "ui/LibraryWindow.h"
#include "MainWindowMaker.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

ModuleMaker::Song song(const QString& title, const QString& sampleName)
{
    ModuleMaker::Song s = TestSongs::toneSong();
    s.name = title;
    s.samples[0].name = sampleName;
    return s;
}

}  // namespace

TEST(LibraryWindowTest, AnIndexedFolderIsSearchedAsTypedPlayedAndPutOnADisc)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("collection"));
    for (int n = 0; n < 40; ++n) {
        const QString sub = folder + QStringLiteral("/%1").arg(n % 4);
        QDir().mkpath(sub);
        TestSongs::write(song(QStringLiteral("Tune %1").arg(n), QStringLiteral("pad %1").arg(n)),
                         ModuleMaker::Format::Xm, sub, QStringLiteral("tune%1").arg(n));
    }
    const QString zephyr = TestSongs::write(song(QStringLiteral("Breeze"), QStringLiteral("Zephyrine lead")),
                                            ModuleMaker::Format::It, folder, QStringLiteral("breeze"));
    // ProTracker's texts are Latin-1 to libopenmpt (the others' are code page 437).
    const QString accented = TestSongs::write(song(QStringLiteral("Café Olé"), QStringLiteral("strings")),
                                              ModuleMaker::Format::Mod, folder, QStringLiteral("cafe"));
    QFile broken(folder + QStringLiteral("/broken.mod"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("this is no module at all");
    broken.close();
    // A file name that is no valid UTF-8 keeps its bytes.
    const QByteArray oddName = QFile::encodeName(folder) + "/odd\xff name.xm";
    ASSERT_TRUE(QFile::copy(zephyr, QFile::decodeName(QFile::encodeName(folder) + "/copy.xm")));
    ASSERT_EQ(::rename((QFile::encodeName(folder) + "/copy.xm").constData(), oddName.constData()), 0);

    Registry registry(dir.filePath(QStringLiteral("registry")));
    OpenMptSdlAudio audio;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TMainWindow> window = MakeMainWindow(registry, audio);
    window->player().SetFadeOutSteps(0);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    JukeboxSession& session = window->session();

    window->findChild<QAction*>(QStringLiteral("mnuDisc_Library"))->trigger();
    auto* library = window->findChild<LibraryWindow*>();
    ASSERT_NE(library, nullptr);
    QSignalSpy finished(&session.library(), &ModuleLibrary::indexingFinished);
    session.library().addFolder(folder);
    // Opening the window scanned no folder yet; the folder's scan follows that one.
    const auto lastScan = [&] { return finished.isEmpty() ? IndexSummary() : finished.last().first().value<IndexSummary>(); };
    QTRY_VERIFY_WITH_TIMEOUT(lastScan().progress.found == 44 && !session.library().indexing(), 60000);
    EXPECT_EQ(lastScan().unreadable, 1);
    EXPECT_EQ(lastScan().progress.indexed, 44);

    auto* search = library->findChild<QLineEdit*>(QStringLiteral("edtSearch"));
    auto* table = library->findChild<QTableView*>(QStringLiteral("tblResults"));
    auto* results = qobject_cast<LibraryResultsModel*>(table->model());
    // Three letters of a sample name, any case, find the two modules that hold it.
    QTest::keyClicks(search, QStringLiteral("ZEP"));
    QTRY_COMPARE(results->rowCount(), 2);
    QList<QByteArray> paths{results->result(0).path, results->result(1).path};
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (QList<QByteArray>{QFile::encodeName(zephyr), oddName}));
    for (int row = 0; row < 2; ++row)
        EXPECT_TRUE(results->result(row).match.contains(QStringLiteral("[Zephyrine]")));

    // Enter plays the first result.
    table->sortByColumn(LibraryResultsModel::File, Qt::AscendingOrder);
    ASSERT_EQ(results->result(0).path, QFile::encodeName(zephyr));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(session.CurrentModule(), zephyr);
    EXPECT_TRUE(session.player().Playing());

    // Accents and case fold; a module libopenmpt refuses is found by its name, marked.
    search->setText(QStringLiteral("cafe OLE"));
    library->searchNow();
    ASSERT_EQ(results->rowCount(), 1);
    EXPECT_EQ(results->result(0).path, QFile::encodeName(accented));
    search->setText(QStringLiteral("broken"));
    library->searchNow();
    ASSERT_EQ(results->rowCount(), 1);
    EXPECT_NE(results->result(0).state, 0);

    // Three results dragged onto slot 1 fill slots 1 to 3; the saved disc names them.
    search->setText(QStringLiteral("tune"));
    library->searchNow();
    table->sortByColumn(LibraryResultsModel::Title, Qt::AscendingOrder);
    ASSERT_GE(results->rowCount(), 3);
    std::unique_ptr<QMimeData> dragged(
        results->mimeData({results->index(0, 0), results->index(1, 0), results->index(2, 0)}));
    auto* slot1 = window->findChild<TIEButton*>(QStringLiteral("ibtDiscNr1"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(slot1, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, dragged.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(slot1, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(session.CurrentModule(), zephyr);  // dropping on a slot plays nothing
    const QString disc = dir.filePath(QStringLiteral("found.jkdc"));
    ASSERT_TRUE(session.disc().SaveToFile(disc));
    QFile saved(disc);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(session.disc().SlotPath(row + 1), QFile::decodeName(results->result(row).path));
        EXPECT_TRUE(text.contains(results->result(row).path)) << text.constData();
        EXPECT_EQ(session.disc().SlotTitle(row + 1), results->result(row).title);
    }
    ::unlink(oddName.constData());  // which the temporary folder cannot name to remove it
}
