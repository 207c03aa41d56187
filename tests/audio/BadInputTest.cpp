// Files that are no module, or damaged ones, and paths of every kind: each gives handle 0 or
// a module that plays; nothing crashes, hangs or leaks (run under the address sanitizer too).
#include "support/TestSongs.h"
#include "platform/audio/ModuleFile.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "platform/audio/OutputRenderer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cstring>
#include <random>
#include <sys/stat.h>

using ModuleMaker::Format;

namespace {

class BadInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_audio.init());  // the dummy device renders whatever plays meanwhile
        m_audio.startBackgroundPlay(0);
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    /// Loads path; when it loads, uses every call on it and renders a second of it at 8-bit
    /// mono (the cheapest format). Returns whether it loaded.
    bool loadAndPlay(const QString& path)
    {
        const ModuleHandle module = m_audio.loadModule(path);
        if (module == 0) {
            EXPECT_FALSE(m_audio.loadError().isEmpty()) << path.toStdString();
            EXPECT_FALSE(loadModuleFile(path)) << path.toStdString();
            return false;
        }
        EXPECT_EQ(m_audio.loadError(), QString()) << path.toStdString();
        ModuleInfo info;
        m_audio.getModuleInfo(module, &info);
        for (quint32 index = 0; index <= std::min(info.instrumentCount, 300u); ++index) {
            InstrumentInfo instrument;
            m_audio.getInstrumentInfo(module, int(index), &instrument);
        }
        m_audio.playModule(module, 0);
        m_audio.setPosition(int(info.songLength) - 1);
        PlayStatus status;
        m_audio.getPlayStatus(&status);
        EXPECT_LE(status.position, std::max(info.songLength, 1u) - 1) << path.toStdString();
        m_audio.stopModule(module);
        m_audio.freeModule(module);

        const auto loaded = loadModuleFile(path);
        EXPECT_TRUE(loaded) << path.toStdString();
        if (loaded) {
            OutputRenderer renderer(OutputFormat{11200, 1, 1}, 512);
            std::vector<std::uint8_t> bytes(11200);
            renderer.render(loaded->module.get(), bytes.data(), bytes.size());
        }
        return true;
    }

    QTemporaryDir m_dir;
    OpenMptSdlAudio m_audio;
};

QByteArray toneModule(Format format) { return ModuleMaker::make(TestSongs::toneSong(), format); }

TEST_F(BadInputTest, TruncatedModulesLoadOrAreRefused)
{
    for (Format format : {Format::Mod, Format::S3m, Format::Xm}) {
        const QByteArray whole = toneModule(format);
        for (qsizetype length : {qsizetype(0), qsizetype(1), qsizetype(4), qsizetype(17), qsizetype(60),
                                 qsizetype(1084), whole.size() - 1}) {
            loadAndPlay(writeFile(QStringLiteral("cut.bin"), whole.left(length)));
        }
        for (int step = 1; step < 40; ++step)
            loadAndPlay(writeFile(QStringLiteral("cut.bin"), whole.left(whole.size() * step / 40)));
    }
    EXPECT_FALSE(loadAndPlay(writeFile(QStringLiteral("empty.xm"), {})));
}

TEST_F(BadInputTest, BitFlippedModulesLoadOrAreRefused)
{
    std::mt19937 random(20240);
    int loaded = 0;
    for (Format format : {Format::Mod, Format::S3m, Format::Xm}) {
        const QByteArray whole = toneModule(format);
        for (int variant = 0; variant < 80; ++variant) {
            QByteArray damaged = whole;
            // Half the variants hit the headers, where the counts and offsets are.
            const qsizetype range = variant % 2 == 0 ? std::min<qsizetype>(whole.size(), 1200) : whole.size();
            const int flips = 1 + int(random() % 8);
            for (int flip = 0; flip < flips; ++flip)
                damaged[random() % range] ^= char(1 << (random() % 8));
            loaded += loadAndPlay(writeFile(QStringLiteral("flipped.bin"), damaged));
        }
    }
    EXPECT_GT(loaded, 0);  // most flips leave a module that still plays
}

TEST_F(BadInputTest, RandomBytesAreRefused)
{
    std::mt19937 random(7);
    for (int size : {1, 2, 16, 100, 600, 1084, 2000, 4096, 10000, 70000}) {
        QByteArray bytes(size, '\0');
        for (char& byte : bytes)
            byte = char(random());
        EXPECT_FALSE(loadAndPlay(writeFile(QStringLiteral("random.xm"), bytes))) << size;
    }
}

TEST_F(BadInputTest, WhatIsNoRegularFileIsRefusedWithoutReading)
{
    const QString module = writeFile(QStringLiteral("real.xm"), toneModule(Format::Xm));
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.xm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = m_dir.filePath(QStringLiteral("huge.xm"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(toneModule(Format::Xm));
        ASSERT_TRUE(file.resize(kMaxModuleFileBytes + 1));  // sparse: costs no disk
    }
    const QString dangling = m_dir.filePath(QStringLiteral("dangling.xm"));
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("gone.xm")), dangling));

    for (const QString& path : {m_dir.path(), fifo, huge, dangling, QStringLiteral("/dev/zero"),
                                m_dir.filePath(QStringLiteral("missing.xm")), QString(),
                                QStringLiteral("relative/missing.xm")}) {
        EXPECT_EQ(m_audio.loadModule(path), 0u) << path.toStdString();
        EXPECT_EQ(m_audio.loadError(), path == huge ? QStringLiteral("file larger than 64 MiB")
                                                    : QStringLiteral("no regular file that can be read"))
            << path.toStdString();
    }

    const QString link = m_dir.filePath(QStringLiteral("link.xm"));
    ASSERT_TRUE(QFile::link(module, link));
    EXPECT_TRUE(loadAndPlay(link));
}

// What the user is told is libopenmpt's own reason, not a guess of ours.
TEST_F(BadInputTest, DataLibopenmptRefusesIsRefusedInItsWords)
{
    const QByteArray cut = toneModule(Format::Xm).left(60);
    std::string refusal;
    try {
        std::ostream nowhere(nullptr);
        openmpt::module module(cut.constData(), std::size_t(cut.size()), nowhere);
    } catch (const std::exception& thrown) {
        refusal = thrown.what();
    }
    ASSERT_FALSE(refusal.empty());
    EXPECT_EQ(m_audio.loadModule(writeFile(QStringLiteral("cut.xm"), cut)), 0u);
    EXPECT_TRUE(m_audio.loadError().endsWith(QString::fromStdString(refusal))) << m_audio.loadError().toStdString();

    EXPECT_EQ(m_audio.loadModule(writeFile(QStringLiteral("empty.xm"), {})), 0u);
    EXPECT_EQ(m_audio.loadError(), QStringLiteral("empty file"));
}

TEST_F(BadInputTest, OddPathNamesLoadLikeAnyOther)
{
    const QByteArray module = toneModule(Format::Mod);
    const QStringList names = {
        QStringLiteral("with blanks .mod"),
        QStringLiteral("\"quoted\" 'both' .mod"),
        QStringLiteral("Ünïcödé ♫ 音楽.mod"),
        QStringLiteral("$(touch pwned); `ls` & | > < * ? [a].mod"),
        QStringLiteral("-starts-with-dash.mod"),
        QStringLiteral("new\nline.mod"),
        QStringLiteral("back\\slash%1%s.mod"),
    };
    QDir(m_dir.path()).mkdir(QStringLiteral("dir with blanks"));
    for (const QString& name : names) {
        const QString path = writeFile(QStringLiteral("dir with blanks/") + name, module);
        const ModuleHandle handle = m_audio.loadModule(path);
        EXPECT_NE(handle, 0u) << name.toStdString();
        ModuleInfo info;
        m_audio.getModuleInfo(handle, &info);
        EXPECT_EQ(QByteArray(info.songName.data(), strnlen(info.songName.data(), 32)),
                  TestSongs::kToneSongName) << name.toStdString();
        m_audio.freeModule(handle);
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("pwned")));
}

}  // namespace
