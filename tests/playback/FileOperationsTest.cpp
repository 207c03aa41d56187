// Copy, move, delete and rename of the loaded module's file, on real files.
#include "playback/ClassModPlayer.h"

#include "PlayerFixture.h"

#include "platform/TestFiles.h"
#include "platform/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Button = MessageBoxRequest::Button;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FileOperationsTest : public PlayerFixture {
protected:
    FileOperationsTest()
    {
        QDir(dir.path()).mkpath("mods");
        QDir(dir.path()).mkpath("target");
        source = dir.path() + "/mods/fly.mod";
        QFile file(source);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(5000, 'm'));
        file.close();
        library.addLoadablePath(source);
        player.LoadModule(source);
        host.statusTexts.clear();
    }

    QString target(const char* name = "fly.mod") const { return dir.path() + "/target/" + name; }

    QString source;
};

TEST_F(FileOperationsTest, CopyLeavesTheModuleWhereItIs)
{
    host.chosenDirectory = dir.path() + "/target/";
    player.CopyModuleTo();
    EXPECT_EQ(host.chooserKinds, QList<int>({1}));
    EXPECT_EQ(contents(target()), contents(source));
    EXPECT_EQ(host.statusTexts.last(), "Module copied to \"" + target() + "\"");
    EXPECT_EQ(player.ModulePath(), source);
    EXPECT_TRUE(host.changedPaths.isEmpty());
}

TEST_F(FileOperationsTest, CopyNeverReplacesAFile)
{
    QFile existing(target());
    existing.open(QIODevice::WriteOnly);
    existing.write("older");
    existing.close();
    for (const QString& directory : {dir.path() + "/target/", dir.path() + "/mods/"}) {
        host.chosenDirectory = directory;
        player.CopyModuleTo();
    }
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Can't copy module to \"" + target() + "\". This module already exists!");
    EXPECT_EQ(contents(target()), "older");
    EXPECT_EQ(contents(source).size(), 5000);
}

TEST_F(FileOperationsTest, MoveTakesTheFileAlongAndThePlayerFollows)
{
    host.chosenDirectory = dir.path() + "/target/";
    player.MoveModuleTo();
    EXPECT_EQ(host.chooserKinds, QList<int>({2}));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(contents(target()).size(), 5000);
    EXPECT_EQ(host.changedPaths, QStringList({target()}));
    EXPECT_EQ(player.ModulePath(), target());
    EXPECT_TRUE(player.Playing());
    host.chosenDirectory = dir.path() + "/mods/";  // and back again, from where it is now
    player.MoveModuleTo();
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_FALSE(QFile::exists(target()));
}

TEST_F(FileOperationsTest, MoveThatCannotCopyKeepsTheSource)
{
    host.chosenDirectory = dir.path() + "/mods/";  // its own directory
    player.MoveModuleTo();
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text, "Unexpected error! (Code #1600 - [" + source + "])");
    EXPECT_EQ(contents(source).size(), 5000);

    QFile::remove(source);  // gone behind the program's back
    host.chosenDirectory = dir.path() + "/target/";
    player.MoveModuleTo();
    EXPECT_EQ(boxes.shown.size(), 2);
    EXPECT_FALSE(QFile::exists(target()));
    EXPECT_TRUE(host.changedPaths.isEmpty());
}

TEST_F(FileOperationsTest, CopyAndMoveOntoAFullVolumeSayWhyAndLeaveNothingBehind)
{
    TmpfsMount small(dir.path() + "/target", "4k");
    if (!small.isMounted())
        GTEST_SKIP() << "cannot mount a small volume here";
    host.chosenDirectory = dir.path() + "/target/";
    player.CopyModuleTo();
    player.MoveModuleTo();
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Can't copy module to \"" + target() + "\".\r\n\r\nNo space left on device.");
    EXPECT_EQ(boxes.shown[1].request.text,
              "Can't move module to \"" + target() + "\".\r\n\r\nNo space left on device.");
    EXPECT_EQ(contents(source).size(), 5000);
    EXPECT_TRUE(QDir(dir.path() + "/target").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(FileOperationsTest, CopyAndMoveIntoAReadOnlyFolderKeepTheSource)
{
    TmpfsMount readOnly(dir.path() + "/target", "1m");
    if (!readOnly.isMounted() || !readOnly.makeReadOnly())
        GTEST_SKIP() << "cannot mount a read-only volume here";
    host.chosenDirectory = dir.path() + "/target/";
    player.CopyModuleTo();
    player.MoveModuleTo();
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(boxes.shown[0].request.text.endsWith("Read-only file system."))
        << qPrintable(boxes.shown[0].request.text);
    EXPECT_TRUE(boxes.shown[1].request.text.startsWith("Can't move module to"));
    EXPECT_EQ(contents(source).size(), 5000);
    EXPECT_EQ(player.ModulePath(), source);
}

// In a folder that others write to, such as /tmp, a link under the module's name would put the
// copy where whoever planted it chose.
TEST_F(FileOperationsTest, CopyAndMoveOntoAPlantedLinkAreRefused)
{
    QDir(dir.path()).mkpath("elsewhere");
    const QString planted = dir.path() + "/elsewhere/fly.mod";
    ASSERT_TRUE(makeLink(planted, target()));
    host.chosenDirectory = dir.path() + "/target/";
    player.CopyModuleTo();
    player.MoveModuleTo();

    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Can't copy module to \"" + target() + "\". This module already exists!");
    EXPECT_EQ(boxes.shown[1].request.text, "Unexpected error! (Code #1600 - [" + target() + "])");
    EXPECT_FALSE(QFileInfo::exists(planted));
    EXPECT_EQ(QFileInfo(target()).symLinkTarget(), planted);
    EXPECT_EQ(QDir(dir.path() + "/target").entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"fly.mod"});
    EXPECT_EQ(contents(source).size(), 5000);
    EXPECT_EQ(player.ModulePath(), source);
}

TEST_F(FileOperationsTest, DeleteAsksFirst)
{
    boxes.answers = {Button::Cancel};
    player.DeleteModule();
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_TRUE(player.Playing());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.buttons, MessageBoxRequest::Buttons::OkCancel);

    boxes.answers = {Button::Ok};
    player.DeleteModule();
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(host.changedPaths, QStringList({QString()}));  // while the slot is still known
    EXPECT_EQ(host.statusTexts.mid(host.statusTexts.size() - 2),
              QStringList({"Module closed", "Module \"" + source + "\" deleted..."}));
    EXPECT_TRUE(player.ModulePath().isEmpty());
}

TEST_F(FileOperationsTest, FailedDeleteIsReportedAndTheModuleStaysClosed)
{
    QFile::remove(source);
    boxes.answers = {Button::Ok};
    player.DeleteModule();
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[1].request.text, "Can't delete \"" + source + "\". Unexpected error.");
    EXPECT_TRUE(player.ModulePath().isEmpty());
    EXPECT_TRUE(host.changedPaths.isEmpty());
}

TEST_F(FileOperationsTest, RenameFollowsTheNewName)
{
    player.RenameModule();  // cancelled
    EXPECT_TRUE(host.changedPaths.isEmpty());
    host.renameResult = dir.path() + "/mods/sky.mod";
    player.RenameModule();
    EXPECT_EQ(host.renamed, QStringList({source, source}));
    EXPECT_EQ(player.ModulePath(), host.renameResult);
    EXPECT_EQ(host.changedPaths, QStringList({host.renameResult}));
    EXPECT_EQ(host.statusTexts.last(), "Module renamed to \"" + host.renameResult + "\"");
}

TEST_F(FileOperationsTest, WithoutAModuleOnlyAsksForOne)
{
    player.CloseModule();
    player.CopyModuleTo();
    player.MoveModuleTo();
    player.DeleteModule();
    player.RenameModule();
    EXPECT_EQ(boxes.shown.size(), 4);
    EXPECT_TRUE(host.chooserKinds.isEmpty());
    EXPECT_TRUE(host.renamed.isEmpty());
}
