// The library's database across a killed scan, and a file that is no database of ours.
#include "LibraryFixture.h"

#include "library/LibraryStore.h"
#include "library/ModuleLibrary.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

qint64 indexedCount(const QString& database)
{
    LibraryStore store;
    return store.open(database) ? store.database().integer("SELECT count(*) FROM modules", 0) : -1;
}

}  // namespace

class LibraryRecoveryTest : public LibraryFixture {};

TEST_F(LibraryRecoveryTest, AScanKilledMidwayIsFinishedByTheNextWithoutReadingAgain)
{
    constexpr int kModules = 1500;
    for (int n = 0; n < kModules; ++n) {
        const QString folder = modules() + QStringLiteral("/%1").arg(n % 30);
        QDir().mkpath(folder);
        ASSERT_FALSE(TestSongs::write(song(QStringLiteral("Song %1").arg(n), QStringLiteral("voice %1").arg(n)),
                                      ModuleMaker::Format::Mod, folder, QStringLiteral("song%1").arg(n))
                         .isEmpty());
    }
    QDir().mkpath(QFileInfo(database()).absolutePath());

    QProcess helper;
    helper.start(QStringLiteral(JK_LIBRARY_INDEX_HELPER), {database(), modules()});
    ASSERT_TRUE(helper.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(indexedCount(database()) > 0, 30000);
    helper.kill();
    ASSERT_TRUE(helper.waitForFinished());
    const qint64 kept = indexedCount(database());
    if (kept == kModules)
        GTEST_SKIP() << "the scan ended before it could be killed";

    LibraryIndexer indexer(database());
    const IndexSummary summary = scan(indexer, {QFile::encodeName(modules())});
    EXPECT_EQ(summary.progress.found, kModules);
    // What the killed scan committed is whole and is not read again.
    EXPECT_EQ(summary.added, kModules - kept);
    EXPECT_EQ(summary.updated, 0);
    EXPECT_EQ(indexedCount(database()), kModules);
    LibraryStore store;
    ASSERT_TRUE(store.open(database()));
    EXPECT_TRUE(store.scanComplete());
}

TEST_F(LibraryRecoveryTest, ADamagedOrNewerFileIsSetAsideWithOneMessage)
{
    Registry registry(m_dir.filePath(QStringLiteral("config")));
    QDir().mkpath(QFileInfo(database()).absolutePath());
    const QDir data(QFileInfo(database()).absolutePath());

    QFile damaged(database());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    {
        ModuleLibrary library(registry, database());
        QSignalSpy message(&library, &ModuleLibrary::message);
        EXPECT_EQ(library.moduleCount(), 0);
        LibraryQuery query;
        query.words = QStringLiteral("anything");
        library.search(query);
        ASSERT_EQ(message.size(), 1);
        EXPECT_TRUE(message.first().first().toString().contains(QStringLiteral("damaged")));
    }
    const QStringList aside = data.entryList({QStringLiteral("library.sqlite.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(data.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(8192, 'x'));

    {
        SqliteDatabase newer;
        ASSERT_TRUE(newer.open(database()));
        ASSERT_TRUE(newer.exec("PRAGMA user_version = 99"));
    }
    ModuleLibrary library(registry, database());
    QSignalSpy message(&library, &ModuleLibrary::message);
    EXPECT_EQ(library.moduleCount(), 0);
    ASSERT_EQ(message.size(), 1);
    EXPECT_TRUE(message.first().first().toString().contains(QStringLiteral("newer")));
    EXPECT_EQ(data.entryList({QStringLiteral("library.sqlite.newer-*")}).size(), 1);
}
