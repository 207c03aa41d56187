// The directory chooser, the new-directory dialog and the rename dialog, driven through their
// modal entry operations on real directories and files in a fresh temporary directory.
#include "app/PathParts.h"
#include "platform/Registry.h"
#include "settings/ClassOptions.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/TCDirectoryChoose.h"
#include "ui/TCRename.h"
#include "ui/THelpWindow.h"
#include "ui/TNewDirectory.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failures.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

template <typename T>
T* child(const QWidget& dialog, const char* name)
{
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Runs interact once the modal loop of dialog is up, then closes the dialog with close (OK or
// Cancel) unless interact has closed it already, so a failed expectation never hangs the test.
void whenShown(QDialog& dialog, std::function<void()> interact, const char* close = "btnCancel")
{
    QTimer::singleShot(0, &dialog, [&dialog, interact, close] {
        // Focus, shortcuts and clicks need the dialog active, as it is for a user.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        interact();
        if (dialog.isVisible())
            child<QPushButton>(dialog, close)->click();
    });
}

QStringList listedDirectories(const QWidget& chooser)
{
    QStringList paths;
    for (QTreeWidgetItemIterator it(child<QTreeWidget>(chooser, "Directory")); *it; ++it)
        paths.append((*it)->data(0, Qt::UserRole).toString());
    return paths;
}

QTreeWidgetItem* listedItem(const QWidget& chooser, const QString& path)
{
    for (QTreeWidgetItemIterator it(child<QTreeWidget>(chooser, "Directory")); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == path)
            return *it;
    }
    return nullptr;
}

}  // namespace

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        root = QDir(files.path()).canonicalPath();
        startDirectory = QDir::currentPath();
    }

    // chooseFrom starts the chooser in the current directory; later tests start where they like.
    void TearDown() override { QDir::setCurrent(startDirectory); }

    QString makeDirectory(const QString& name) const
    {
        const QString path = root + '/' + name;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString chooseFrom(const QString& start, int kind, std::function<void(TCDirectoryChoose&)> interact,
                       const char* close = "btnOK")
    {
        EXPECT_TRUE(QDir::setCurrent(start));
        TCDirectoryChoose chooser(options);
        whenShown(chooser, [&chooser, interact] { interact(chooser); }, close);
        const QString chosen = chooser.ChooseDirectory(kind);
        browsed = chooser.BrowsedDirectory();
        // Browsing never moves the process: a relative path must mean what it meant before.
        EXPECT_EQ(QDir::currentPath(), QDir(start).canonicalPath());
        return chosen;
    }

    QTemporaryDir files;
    QString root;
    QString startDirectory;
    QString browsed;  // where the last chooser of chooseFrom left off
    QTemporaryDir registryDirectory;
    Registry registry{registryDirectory.path()};
    ClassOptions options{registry};
    ScriptedMessageBoxes boxes;
};

// Directory chooser ------------------------------------------------------------------------

TEST_F(DialogsTest, ChooserCaptionNamesTheOperation)
{
    EXPECT_EQ(TCDirectoryChoose::CaptionFor(1), "Copy module to:");
    EXPECT_EQ(TCDirectoryChoose::CaptionFor(2), "Move module to:");
    EXPECT_EQ(TCDirectoryChoose::CaptionFor(3), "Move disc to:");
    EXPECT_EQ(TCDirectoryChoose::CaptionFor(0), "Move disc to:");
    QString shown;
    chooseFrom(root, 2, [&](TCDirectoryChoose& chooser) { shown = chooser.windowTitle(); },
               "btnCancel");
    EXPECT_EQ(shown, "Move module to:");
}

TEST_F(DialogsTest, ChooserFormHoldsItsControls)
{
    TCDirectoryChoose chooser(options);
    EXPECT_EQ(child<QComboBox>(chooser, "Drive")->geometry(), QRect(4, 4, 185, 21));
    EXPECT_EQ(child<QTreeWidget>(chooser, "Directory")->geometry(), QRect(4, 28, 185, 125));
    EXPECT_EQ(child<QPushButton>(chooser, "btnOK")->geometry(), QRect(200, 4, 75, 23));
    EXPECT_EQ(child<QPushButton>(chooser, "btnCancel")->text(), "&Cancel");
    EXPECT_EQ(child<QPushButton>(chooser, "btnCreateFolder")->text(), "C&reate folder");
    EXPECT_EQ(child<QPushButton>(chooser, "btnCreateFolder")->pos(), QPoint(200, 128));
    EXPECT_EQ(child<QGroupBox>(chooser, "grpPath")->title(), "Selected Path");
    EXPECT_EQ(child<QGroupBox>(chooser, "GroupBox1")->title(), "&Previous selected paths");
    EXPECT_EQ(child<QComboBox>(chooser, "drpPaths")->maxVisibleItems(), 10);
    EXPECT_FALSE(child<QComboBox>(chooser, "drpPaths")->isEditable());
    EXPECT_NE(child<QLabel>(chooser, "staPath"), nullptr);
}

TEST_F(DialogsTest, OkReturnsTheStartDirectoryWithSeparatorAndRemembersIt)
{
    const QString mods = makeDirectory("MODS");
    QString selected;
    const QString chosen = chooseFrom(mods, 1, [&](TCDirectoryChoose& chooser) {
        selected = child<QLabel>(chooser, "staPath")->text();
    });
    EXPECT_EQ(selected, mods);
    EXPECT_EQ(chosen, mods + '/');
    EXPECT_EQ(options.RecentPaths(), QStringList{mods});
    EXPECT_EQ(browsed, mods);
}

TEST_F(DialogsTest, RootReturnsOneSeparatorAndIsRememberedAsItIs)
{
    EXPECT_EQ(chooseFrom("/", 1, [](TCDirectoryChoose&) {}), "/");
    EXPECT_EQ(options.RecentPaths(), QStringList{"/"});
}

TEST_F(DialogsTest, ChoosingTheSameDirectoryAgainAddsNoSecondEntry)
{
    const QString mods = makeDirectory("MODS");
    EXPECT_EQ(chooseFrom(mods, 1, [](TCDirectoryChoose&) {}), mods + '/');
    EXPECT_EQ(chooseFrom(mods, 2, [](TCDirectoryChoose&) {}), mods + '/');
    EXPECT_EQ(options.RecentPaths(), QStringList{mods});
}

TEST_F(DialogsTest, CancelReturnsNothingAndLeavesTheRecentListAlone)
{
    const QString mods = makeDirectory("MODS");
    options.AddRecentPath(root);
    EXPECT_EQ(chooseFrom(mods, 1, [](TCDirectoryChoose&) {}, "btnCancel"), "");
    EXPECT_EQ(options.RecentPaths(), QStringList{root});
}

TEST_F(DialogsTest, ListShowsTheChainAndSubdirectoriesAndTheSelectionIsReturned)
{
    const QString a = makeDirectory("A");
    const QString b = makeDirectory("B");
    writeFile(root + "/file.mod", "not a directory");
    QStringList listed;
    QString selected;
    const QString chosen = chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        listed = listedDirectories(chooser);
        child<QTreeWidget>(chooser, "Directory")->setCurrentItem(listedItem(chooser, b));
        selected = child<QLabel>(chooser, "staPath")->text();
    });
    EXPECT_EQ(listed.first(), "/");
    EXPECT_EQ(listed.mid(listed.size() - 3), (QStringList{root, a, b}));
    EXPECT_EQ(selected, b);
    EXPECT_EQ(chosen, b + '/');
}

TEST_F(DialogsTest, DoubleClickDescendsIntoADirectory)
{
    const QString a = makeDirectory("A");
    const QString inner = makeDirectory("A/INNER");
    QStringList listed;
    const QString chosen = chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        auto* list = child<QTreeWidget>(chooser, "Directory");
        const QRect place = list->visualItemRect(listedItem(chooser, a));
        // As a user's double click: a click, then the second press that is the double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
        listed = listedDirectories(chooser);
    });
    EXPECT_EQ(listed.mid(listed.size() - 2), (QStringList{a, inner}));
    EXPECT_EQ(chosen, a + '/');
    EXPECT_EQ(browsed, a);
}

TEST_F(DialogsTest, EnterInTheListDescendsWithoutConfirming)
{
    const QString a = makeDirectory("A");
    bool stillOpen = false;
    const QString chosen = chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        auto* list = child<QTreeWidget>(chooser, "Directory");
        list->setFocus();
        list->setCurrentItem(listedItem(chooser, a));
        QTest::keyClick(list, Qt::Key_Return);
        stillOpen = chooser.isVisible();
    }, "btnCancel");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(chosen, "");
    EXPECT_EQ(browsed, a);
}

TEST_F(DialogsTest, KeyboardAloneBrowsesFromTheListAndAnotherStartFollowsWhereItLeftOff)
{
    const QString a = makeDirectory("A");
    const QString inner = makeDirectory("A/INNER");
    QString focused;
    QString selectedByKeys;
    const QString chosen = chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        QWidget* focus = QApplication::focusWidget();
        focused = focus ? focus->objectName() : QString();
        QTest::keyClick(focus, Qt::Key_Down);  // from the browsed directory to "A"
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Down);  // to "INNER"
        selectedByKeys = chooser.SelectedDirectory();
        chooser.DriveChange("/");  // another drive, and back to a previous path
        chooser.drpPathsChange(a);
    });
    EXPECT_EQ(focused, "Directory");
    EXPECT_EQ(selectedByKeys, inner);
    EXPECT_EQ(chosen, a + '/');
    EXPECT_EQ(browsed, a);

    // The owner hands the place on; the process's current directory stays where it was.
    TCDirectoryChoose next(options);
    next.SetStartDirectory(browsed);
    QString selected;
    whenShown(next, [&] { selected = next.SelectedDirectory(); });
    next.ChooseDirectory(1);
    EXPECT_EQ(selected, a);
    EXPECT_EQ(QDir::currentPath(), root);
}

TEST_F(DialogsTest, F5ShowsADirectoryCreatedBehindTheChoosersBack)
{
    const QString late = root + "/LATE";
    bool listedBefore = true;
    bool listedAfter = false;
    chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        ASSERT_TRUE(QDir().mkdir(late));
        listedBefore = listedDirectories(chooser).contains(late);
        QTest::keyClick(child<QComboBox>(chooser, "drpPaths"), Qt::Key_F5);
        listedAfter = listedDirectories(chooser).contains(late);
    }, "btnCancel");
    EXPECT_FALSE(listedBefore);
    EXPECT_TRUE(listedAfter);
}

TEST_F(DialogsTest, F5KeepsTheSelectionAndDropsADeletedDirectory)
{
    const QString keep = makeDirectory("KEEP");
    const QString gone = makeDirectory("GONE");
    QString selected;
    QStringList listed;
    chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        child<QTreeWidget>(chooser, "Directory")->setCurrentItem(listedItem(chooser, keep));
        ASSERT_TRUE(QDir(gone).removeRecursively());
        chooser.Refresh();
        selected = chooser.SelectedDirectory();
        listed = listedDirectories(chooser);
    }, "btnCancel");
    EXPECT_EQ(selected, keep);
    EXPECT_FALSE(listed.contains(gone));
}

TEST_F(DialogsTest, DeletedPreviousPathGives1300AndDisablesBrowsingUntilAWorkingOne)
{
    const QString mods = makeDirectory("MODS");
    const QString gone = makeDirectory("GONE");
    options.AddRecentPath(gone);
    options.AddRecentPath(mods);
    ASSERT_TRUE(QDir(gone).removeRecursively());

    const QString chosen = chooseFrom(root, 3, [&](TCDirectoryChoose& chooser) {
        auto* paths = child<QComboBox>(chooser, "drpPaths");
        EXPECT_EQ(paths->count(), 2);
        EXPECT_EQ(paths->currentIndex(), -1);
        emit paths->activated(0);
        EXPECT_FALSE(chooser.BrowsingEnabled());
        EXPECT_TRUE(child<QWidget>(chooser, "Directory")->isHidden());
        EXPECT_TRUE(child<QWidget>(chooser, "grpPath")->isHidden());
        EXPECT_FALSE(child<QWidget>(chooser, "btnOK")->isEnabled());
        EXPECT_FALSE(child<QWidget>(chooser, "btnCreateFolder")->isEnabled());
        EXPECT_TRUE(child<QWidget>(chooser, "Drive")->isEnabled());
        EXPECT_TRUE(paths->isEnabled());

        emit paths->activated(1);
        EXPECT_TRUE(chooser.BrowsingEnabled());
        EXPECT_FALSE(child<QWidget>(chooser, "Directory")->isHidden());
        EXPECT_FALSE(child<QWidget>(chooser, "grpPath")->isHidden());
        EXPECT_TRUE(child<QWidget>(chooser, "btnCreateFolder")->isEnabled());
        EXPECT_EQ(child<QLabel>(chooser, "staPath")->text(), mods);
    });
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Can't change to \"" + gone + "\". Maybe this path doesn't exist any longer.");
    EXPECT_EQ(chosen, mods + '/');
    EXPECT_EQ(browsed, mods);
}

TEST_F(DialogsTest, EmptyPreviousPathDisablesBrowsingWithoutMessage)
{
    chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        chooser.drpPathsChange(QString());
        EXPECT_FALSE(chooser.BrowsingEnabled());
    }, "btnCancel");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(DialogsTest, DriveListShowsTheVolumeOfTheStartDirectory)
{
    QString drive;
    QStringList drives;
    chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        auto* list = child<QComboBox>(chooser, "Drive");
        drive = list->currentText();
        for (int i = 0; i < list->count(); ++i)
            drives.append(list->itemText(i));
    }, "btnCancel");
    EXPECT_EQ(drive, QStorageInfo(root).rootPath());
    EXPECT_TRUE(drives.contains("/"));
}

TEST_F(DialogsTest, UnreachableDriveGives1310AndAWorkingDriveEnablesAgain)
{
    const QString unmounted = root + "/unmounted";
    bool enabledAfterFailure = true;
    QString selectedAfterRoot;
    chooseFrom(root, 1, [&](TCDirectoryChoose& chooser) {
        chooser.DriveChange(unmounted);
        enabledAfterFailure = child<QWidget>(chooser, "btnOK")->isEnabled();
        chooser.DriveChange("/");
        selectedAfterRoot = chooser.SelectedDirectory();
    }, "btnCancel");
    EXPECT_FALSE(enabledAfterFailure);
    EXPECT_EQ(selectedAfterRoot, "/");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text,
              "Unable to access drive \"" + unmounted + "\". This drive seems to be empty.");
    EXPECT_EQ(browsed, "/");
}

TEST_F(DialogsTest, CreatingAFolderSelectsIt)
{
    const QString mods = makeDirectory("MODS");
    QString parentShown;
    QString selected;
    const QString chosen = chooseFrom(mods, 1, [&](TCDirectoryChoose& chooser) {
        QTimer::singleShot(0, &chooser, [&chooser, &parentShown] {
            auto* dialog = chooser.findChild<TNewDirectory*>();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Create new Directory");
            parentShown = child<QLabel>(*dialog, "Label1")->text();
            child<QLineEdit>(*dialog, "ediDirectory")->setText("NEW");
            child<QPushButton>(*dialog, "btnOK")->click();
        });
        child<QPushButton>(chooser, "btnCreateFolder")->click();
        selected = child<QLabel>(chooser, "staPath")->text();
    });
    EXPECT_EQ(parentShown, mods);
    EXPECT_TRUE(QFileInfo(mods + "/NEW").isDir());
    EXPECT_EQ(selected, mods + "/NEW");
    EXPECT_EQ(chosen, mods + "/NEW/");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Help -----------------------------------------------------------------------------------

TEST_F(DialogsTest, F1ShowsTheTopicOfTheFocusedControlInEachDialog)
{
    TCDirectoryChoose chooser(options);
    TNewDirectory newDirectory;
    TCRename rename;
    const struct {
        QDialog* dialog;
        const char* control;
        const char* topic;
    } cases[] = {
        {&chooser, "Drive", "directory-chooser.html#drive"},
        {&chooser, "Directory", "directory-chooser.html#directory"},
        {&chooser, "btnCreateFolder", "directory-chooser.html#create-folder"},
        {&chooser, "drpPaths", "directory-chooser.html#previous-paths"},
        {&chooser, "btnOK", "buttons.html#ok"},
        {&newDirectory, "ediDirectory", "new-directory.html#name"},
        {&newDirectory, "btnCancel", "buttons.html#cancel"},
        {&rename, "ediName", "rename.html#new-name"},
    };
    for (const auto& [dialog, name, topic] : cases) {
        SCOPED_TRACE(name);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([d = dialog] { return QApplication::activeWindow() == d; }));
        child<QWidget>(*dialog, name)->setFocus();
        QTest::keyClick(dialog, Qt::Key_F1);
        ASSERT_NE(THelpWindow::Instance(), nullptr);
        EXPECT_EQ(THelpWindow::Instance()->CurrentPage(), topic);
    }
    delete THelpWindow::Instance();
}

// New directory ----------------------------------------------------------------------------

class NewDirectoryTest : public DialogsTest {
protected:
    QString create(const QString& parent, const QString& name, const char* close = "btnOK")
    {
        TNewDirectory dialog;
        whenShown(dialog, [&] {
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            child<QLineEdit>(dialog, "ediDirectory")->setText(name);
        }, close);
        return dialog.CreateDirectoryDialog(parent);
    }

    QString focused;
};

TEST_F(NewDirectoryTest, OkCreatesTheDirectoryAndReturnsItsPath)
{
    EXPECT_EQ(create(root, "NEW"), root + "/NEW");
    EXPECT_TRUE(QFileInfo(root + "/NEW").isDir());
    EXPECT_EQ(focused, "ediDirectory");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(NewDirectoryTest, ParentEndingInSeparatorGetsNoSecondOne)
{
    EXPECT_EQ(TNewDirectory::JoinPath("/", "NEW"), "/NEW");
    EXPECT_EQ(TNewDirectory::JoinPath("/mods", "NEW"), "/mods/NEW");
    EXPECT_EQ(create(root + '/', "NEW"), root + "/NEW");
}

TEST_F(NewDirectoryTest, EmptyNameGives1400WithTheFullPath)
{
    EXPECT_EQ(create(root, ""), "");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text, "Unable to create directory \"" + root + "/\"! Please retry.");
}

TEST_F(NewDirectoryTest, ExistingDirectoryOrMissingIntermediateGives1400)
{
    makeDirectory("OLD");
    EXPECT_EQ(create(root, "OLD"), "");
    EXPECT_EQ(create(root, "MISSING/NEW"), "");
    EXPECT_FALSE(QFileInfo::exists(root + "/MISSING"));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_TRUE(boxes.shown[1].request.text.contains(root + "/MISSING/NEW"));
}

TEST_F(NewDirectoryTest, CancelCreatesNothing)
{
    EXPECT_EQ(create(root, "NEW", "btnCancel"), "");
    EXPECT_FALSE(QFileInfo::exists(root + "/NEW"));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

// Rename -----------------------------------------------------------------------------------

class RenameTest : public DialogsTest {
protected:
    QString rename(const QString& path, const QString& name, const char* close = "btnOK")
    {
        TCRename dialog;
        whenShown(dialog, [&] {
            shownDirectory = child<QLabel>(dialog, "ediPath")->text();
            shownName = child<QLineEdit>(dialog, "ediName")->text();
            child<QLineEdit>(dialog, "ediName")->setText(name);
        }, close);
        return dialog.RenameModuleDialog(path);
    }

    QString shownDirectory;
    QString shownName;
};

TEST_F(RenameTest, PathPartsSplitAtTheLastSeparator)
{
    EXPECT_EQ(PathParts::DirectoryPart("/mods/FLY.MOD"), "/mods/");
    EXPECT_EQ(PathParts::FileNamePart("/mods/FLY.MOD"), "FLY.MOD");
    EXPECT_EQ(PathParts::DirectoryPart("/FLY.MOD"), "/");
    EXPECT_EQ(PathParts::FileNamePart("/mods/"), "");
}

TEST_F(RenameTest, RenamesAndReturnsTheNewPath)
{
    const QString mods = makeDirectory("MODS");
    writeFile(mods + "/FLY.MOD", "fly");
    EXPECT_EQ(rename(mods + "/FLY.MOD", "SKY.MOD"), mods + "/SKY.MOD");
    EXPECT_EQ(shownDirectory, mods + '/');
    EXPECT_EQ(shownName, "FLY.MOD");
    EXPECT_FALSE(QFileInfo::exists(mods + "/FLY.MOD"));
    EXPECT_EQ(readFile(mods + "/SKY.MOD"), "fly");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(RenameTest, NameOfAnExistingFileFailsAndLeavesBothFiles)
{
    const QString mods = makeDirectory("MODS");
    writeFile(mods + "/FLY.MOD", "fly");
    writeFile(mods + "/SKY.MOD", "sky");
    EXPECT_EQ(rename(mods + "/FLY.MOD", "SKY.MOD"), "");
    EXPECT_EQ(readFile(mods + "/FLY.MOD"), "fly");
    EXPECT_EQ(readFile(mods + "/SKY.MOD"), "sky");
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(RenameTest, UnchangedOrEmptyNameFails)
{
    writeFile(root + "/FLY.MOD", "fly");
    EXPECT_EQ(rename(root + "/FLY.MOD", "FLY.MOD"), "");
    EXPECT_EQ(rename(root + "/FLY.MOD", ""), "");
    EXPECT_EQ(readFile(root + "/FLY.MOD"), "fly");
}

TEST_F(RenameTest, NameWithSeparatorFailsInsteadOfMovingTheFile)
{
    const QString other = makeDirectory("OTHER");
    writeFile(root + "/FLY.MOD", "fly");
    EXPECT_EQ(rename(root + "/FLY.MOD", "OTHER/FLY.MOD"), "");
    EXPECT_EQ(readFile(root + "/FLY.MOD"), "fly");
    EXPECT_FALSE(QFileInfo::exists(other + "/FLY.MOD"));
}

TEST_F(RenameTest, CancelKeepsTheName)
{
    writeFile(root + "/FLY.MOD", "fly");
    EXPECT_EQ(rename(root + "/FLY.MOD", "SKY.MOD", "btnCancel"), "");
    EXPECT_EQ(readFile(root + "/FLY.MOD"), "fly");
    EXPECT_FALSE(QFileInfo::exists(root + "/SKY.MOD"));
}
