#pragma once

#include "library/LibraryIndexer.h"
#include "support/TestSongs.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/// A fresh folder for modules and a library file beside it.
class LibraryFixture : public ::testing::Test {
protected:
    QString modules() const { return m_dir.filePath(QStringLiteral("modules")); }
    QString database() const { return m_dir.filePath(QStringLiteral("data/library.sqlite")); }

    /// A song of its own: title, artist in the message, and two named samples.
    static ModuleMaker::Song song(const QString& title, const QString& sampleName, int orders = 1)
    {
        ModuleMaker::Song s = TestSongs::toneSong();
        s.name = title;
        s.samples[0].name = sampleName;
        s.samples[1].name = QStringLiteral("plain");
        s.orders = s.orders.mid(0, orders);
        return s;
    }

    /// Runs a scan of folders to its end and returns how it ended.
    static IndexSummary scan(LibraryIndexer& indexer, const QList<QByteArray>& folders)
    {
        QSignalSpy finished(&indexer, &LibraryIndexer::finished);
        indexer.start(folders);
        EXPECT_TRUE(finished.wait(60000));
        return finished.isEmpty() ? IndexSummary() : finished.first().first().value<IndexSummary>();
    }

    QTemporaryDir m_dir;
};
