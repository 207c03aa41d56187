// Every file the program writes is whole or untouched, also when the volume fills up and the
// file is small enough to sit in a write buffer; every file it reads may turn out to be a pipe
// or a device, which must never block it.
#include "platform/FileCopy.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "platform/RegularFile.h"

#include "TestFiles.h"
#include "TmpfsMount.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr auto kUser = RegistryRoot::CurrentUser;
const QString kKey = QStringLiteral("Software\\Vorn Inc.\\Jukarium\\1.0");

class FullVolumeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_mount = std::make_unique<TmpfsMount>(volume(), "64k");
        if (!m_mount->isMounted())
            GTEST_SKIP() << "cannot mount a tmpfs here";
    }

    QString volume() const { return m_temp.path() + "/volume"; }

    /// Takes every free byte, so that even a one-byte file cannot be written.
    void fill()
    {
        QFile filler(volume() + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (int chunk : {4096, 1}) {
            while (filler.write(QByteArray(chunk, 'f')) == chunk) {
            }
        }
    }

    QStringList filesOnVolume() const
    {
        return QDir(volume()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir m_temp;
    std::unique_ptr<TmpfsMount> m_mount;
};

TEST_F(FullVolumeTest, SmallSettingsKeepTheOldFileAndReportTheFailure)
{
    Registry registry(volume());
    ASSERT_TRUE(registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("10")));
    const QByteArray before = readBytes(registry.filePath(kUser));
    fill();

    EXPECT_FALSE(registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("5")));
    registry.deferWrites();
    EXPECT_TRUE(registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("7")));
    EXPECT_EQ(registry.commitWrites(), QStringList{registry.filePath(kUser)});

    EXPECT_EQ(readBytes(registry.filePath(kUser)), before);
    EXPECT_EQ(filesOnVolume(), QStringList({"HKEY_CURRENT_USER.reg", "filler"}));
    EXPECT_EQ(Registry(volume()).value(kUser, kKey, "Fadeout"), RegistryValue::fromString("10"));
}

TEST_F(FullVolumeTest, SmallProfileAndSmallCopyFailWithoutATrace)
{
    const QString disc = volume() + "/d.jkdc";
    ASSERT_TRUE(writeBytes(disc, "[S]\r\nkey=old\r\n"));
    const QString module = m_temp.path() + "/song.mod";
    ASSERT_TRUE(writeBytes(module, QByteArray(200, 'm')));
    fill();

    ProfileFile profile(disc);
    ASSERT_TRUE(profile.load());
    profile.writeString("S", "key", "new");
    EXPECT_FALSE(profile.save());
    EXPECT_FALSE(FileCopy::CopyWithoutOverwrite(module, volume() + "/song.mod"));

    EXPECT_EQ(readBytes(disc), "[S]\r\nkey=old\r\n");
    EXPECT_EQ(filesOnVolume(), QStringList({"d.jkdc", "filler"}));
}

class NonRegularFileTest : public ::testing::Test {
protected:
    QString fifo(const QString& name)
    {
        const QString path = m_temp.path() + u'/' + name;
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }

    QTemporaryDir m_temp;
};

// A blocked open() would hang here until the test's time runs out.
TEST_F(NonRegularFileTest, PipesAndDirectoriesAreRefusedWithoutBlocking)
{
    for (const QString& path : {fifo("x.jkdc"), m_temp.path()}) {
        EXPECT_EQ(RegularFile::ReadAll(path), std::nullopt) << qPrintable(path);
        EXPECT_EQ(RegularFile::Size(path), 0) << qPrintable(path);
        EXPECT_FALSE(ProfileFile(path).load()) << qPrintable(path);
        EXPECT_FALSE(FileCopy::CopyWithoutOverwrite(path, m_temp.path() + "/copy")) << qPrintable(path);
    }
    EXPECT_FALSE(QFileInfo::exists(m_temp.path() + "/copy"));
}

// "menu.mod%00.xm" from a media player's address decodes to a name that passes the check of
// its extension, while the system would open the part before the NUL.
TEST_F(NonRegularFileTest, ANameWithANulInItNamesNoFile)
{
    const QString module = m_temp.path() + "/menu.mod";
    QFile file(module);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("M.K.") == 4);
    file.close();
    const QString planted = module + QChar(0) + ".xm";
    EXPECT_EQ(RegularFile::ReadAll(planted), std::nullopt);
    EXPECT_EQ(RegularFile::Size(planted), 0);
    QFile opened;
    EXPECT_FALSE(RegularFile::OpenForReading(opened, planted));
    EXPECT_TRUE(RegularFile::ReadAll(module).has_value());
}

TEST_F(NonRegularFileTest, APipeAsSettingsFileIsSetAsideAndTheDefaultsHold)
{
    Registry registry(m_temp.path());
    const QString pipe = fifo("HKEY_CURRENT_USER.reg");
    ASSERT_EQ(pipe, registry.filePath(kUser));

    EXPECT_EQ(registry.value(kUser, kKey, "Fadeout"), std::nullopt);
    EXPECT_EQ(registry.setAsideFiles(), QStringList{pipe + ".bad"});
    EXPECT_TRUE(registry.setValue(kUser, kKey, "Fadeout", RegistryValue::fromString("10")));
    EXPECT_TRUE(QFileInfo(pipe).isFile());
}

TEST(DeepKeyTest, KeysDeeperThanTheRegistryAllowsMakeTheFileBadNotTheProgramCrash)
{
    QTemporaryDir temp;
    Registry registry(temp.path());
    const auto keyLine = [](int depth) {
        QByteArray line = "[HKEY_CURRENT_USER";
        for (int level = 0; level < depth; ++level)
            line += "\\a";
        return line + "]\n\"v\"=\"1\"\n";
    };
    ASSERT_TRUE(writeBytes(registry.filePath(kUser), "REGEDIT4\n\n" + keyLine(512)));
    EXPECT_EQ(registry.value(kUser, QStringList(512, "A").join('\\'), "v"),
              RegistryValue::fromString("1"));

    ASSERT_TRUE(writeBytes(registry.filePath(kUser), "REGEDIT4\n\n" + keyLine(100000)));
    EXPECT_FALSE(registry.keyExists(kUser, "a"));
    EXPECT_EQ(registry.setAsideFiles(), QStringList{registry.filePath(kUser) + ".bad"});
}

}  // namespace
