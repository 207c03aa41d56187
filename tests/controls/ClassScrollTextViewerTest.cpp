#include "controls/ClassScrollTextViewer.h"
#include "controls/TBanner.h"
#include "platform/Registry.h"
#include "platform/audio/AudioLibrary.h"
#include "settings/ClassOptions.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

ModuleInfo moduleInfo(const char* songName, quint32 songLength, quint32 patterns,
                      quint32 instruments, quint32 channels)
{
    ModuleInfo info;
    std::memcpy(info.songName.data(), songName, std::min<size_t>(std::strlen(songName), 32));
    info.songLength = songLength;
    info.patternCount = patterns;
    info.instrumentCount = instruments;
    info.channelCount = channels;
    return info;
}

}  // namespace

class ClassScrollTextViewerTest : public ::testing::Test {
protected:
    QString writeModuleFile(const QString& name, qint64 bytes)
    {
        const QString path = dir.path() + "/" + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(bytes, 'm'));
        return path;
    }

    QTemporaryDir dir;
    Registry registry{dir.path() + "/registry"};
    ClassOptions options{registry};
    TBanner banner;
};

TEST_F(ClassScrollTextViewerTest, StartsWithATipAtTheStoredSpeed)
{
    options.SetScrollSpeed(0);
    ClassScrollTextViewer feed(banner, options);
    EXPECT_TRUE(banner.ScrollText().startsWith("Tip: "));
    bool known = false;
    for (int index = 0; index < 9; ++index)
        known |= banner.ScrollText() == ClassScrollTextViewer::TipText(index);
    EXPECT_TRUE(known) << qPrintable(banner.ScrollText());
    EXPECT_TRUE(banner.ScrollEnabled());
    EXPECT_EQ(banner.ScrollInterval(), 100);
    EXPECT_EQ(banner.ScrollPixels(), 3);
}

TEST_F(ClassScrollTextViewerTest, SpeedsOutsideTheTableAreFastestAndStoredNormalised)
{
    ClassScrollTextViewer feed(banner, options);
    const struct { int speed, pixels, stored; } table[] = {
        {0, 3, 0}, {1, 5, 1}, {2, 10, 2}, {3, 15, 3}, {7, 15, 3}, {-1, 15, 3}};
    for (const auto& row : table) {
        banner.SetScrollInterval(999);
        feed.ApplyScrollSpeed(row.speed);
        EXPECT_EQ(banner.ScrollInterval(), 100);
        EXPECT_EQ(banner.ScrollPixels(), row.pixels) << row.speed;
        EXPECT_EQ(options.ScrollSpeed(), row.stored) << row.speed;
    }
}

TEST_F(ClassScrollTextViewerTest, SummaryLineOfAModule)
{
    ClassScrollTextViewer feed(banner, options);
    const QString path = writeModuleFile("night.xm", 268000);
    feed.ShowModuleInfo(moduleInfo("  Night Drive \t", 42, 38, 15, 4), path, "Night Drive");
    EXPECT_EQ(banner.ScrollText(),
              "Night Drive || 261 kB || 4 channels || 42 Patterns used for song || "
              "38 Patterns are different || 15 Instruments allocated");
}

TEST_F(ClassScrollTextViewerTest, SizesRoundDownAndAnUnreadableFileCountsNothing)
{
    ClassScrollTextViewer feed(banner, options);
    feed.ShowModuleInfo(moduleInfo("", 1, 1, 1, 4), writeModuleFile("SONG.MOD", 1023), "SONG.MOD");
    EXPECT_TRUE(banner.ScrollText().startsWith("SONG.MOD || 0 kB ||"));
    feed.ShowModuleInfo(moduleInfo("x", 1, 1, 1, 4), dir.path() + "/gone.xm", "x");
    EXPECT_TRUE(banner.ScrollText().startsWith("x || 0 kB ||"));
}

TEST_F(ClassScrollTextViewerTest, UserStoppedBannerStaysStoppedWhileItsTextChanges)
{
    ClassScrollTextViewer feed(banner, options);
    banner.SetScrollEnabled(false);
    feed.ShowModuleInfo(moduleInfo("Tune", 1, 1, 1, 4), writeModuleFile("tune.s3m", 10), "Tune");
    EXPECT_FALSE(banner.ScrollEnabled());
    feed.ShowNoModule();
    EXPECT_FALSE(banner.ScrollEnabled());
    EXPECT_EQ(banner.ScrollText(), "> No module loaded <");
    banner.SetScrollEnabled(true);
    EXPECT_FALSE(banner.Bitmap().isNull());
}
