// The tray icon against a recording notification area: tooltip cut, add and remove, state
// carried to the next add, the application window, the click mapping and the right-click order.
// The drop target with real drag and drop events on its owner widget.
#include "controls/TDragAcceptFiles.h"
#include "controls/TTrayIcon.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Tray icon ------------------------------------------------------------------------------------

struct ShellCalls {
    int adds = 0;
    int modifies = 0;
    int removes = 0;
    QString toolTip;  // of the last add or modify
    QIcon icon;       // of the last add or modify
};

class RecordingShell : public TrayShell {
public:
    explicit RecordingShell(ShellCalls& calls) : m_calls(calls) {}
    bool add(const QIcon& icon, const QString& toolTip) override
    {
        ++m_calls.adds;
        return record(icon, toolTip);
    }
    bool modify(const QIcon& icon, const QString& toolTip) override
    {
        ++m_calls.modifies;
        return record(icon, toolTip);
    }
    bool remove() override
    {
        ++m_calls.removes;
        return true;
    }

private:
    bool record(const QIcon& icon, const QString& toolTip)
    {
        m_calls.icon = icon;
        m_calls.toolTip = toolTip;
        return true;
    }
    ShellCalls& m_calls;
};

QIcon redIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

class TrayIconTest : public ::testing::Test {
protected:
    ShellCalls calls;
    TTrayIcon tray{std::make_unique<RecordingShell>(calls)};
};

}  // namespace

TEST_F(TrayIconTest, StartsInactiveWithoutAskingTheShell)
{
    EXPECT_FALSE(tray.Active());
    EXPECT_TRUE(tray.ShowApp());
    EXPECT_TRUE(tray.ToolTip().isEmpty());
    EXPECT_TRUE(tray.Icon().isNull());
    EXPECT_EQ(tray.PopupMenu(), nullptr);
    EXPECT_EQ(calls.adds + calls.modifies + calls.removes, 0);
}

TEST_F(TrayIconTest, ToolTipKeepsItsFirst62Characters)
{
    const QString seventy = QString("0123456789").repeated(7);
    tray.SetToolTip(seventy);
    EXPECT_EQ(tray.ToolTip(), seventy.left(62));

    const QString sixtyTwo = QString(62, QChar('x'));
    tray.SetToolTip(sixtyTwo);
    EXPECT_EQ(tray.ToolTip(), sixtyTwo);

    // A character outside the basic plane straddling the limit goes as a whole.
    const QString straddling = QString(61, QChar('x')) + QString::fromUtf8("\xF0\x9F\x8E\xB5") + "y";
    tray.SetToolTip(straddling);
    EXPECT_EQ(tray.ToolTip(), QString(61, QChar('x')));
}

TEST_F(TrayIconTest, ActiveAddsAndRemovesOncePerChange)
{
    tray.SetActive(true);
    tray.SetActive(true);
    EXPECT_TRUE(tray.Active());
    EXPECT_EQ(calls.adds, 1);

    tray.SetActive(false);
    tray.SetActive(false);
    EXPECT_FALSE(tray.Active());
    EXPECT_EQ(calls.removes, 1);

    tray.SetActive(true);
    EXPECT_EQ(calls.adds, 2);
}

TEST_F(TrayIconTest, WritesWhileInactiveAreStoredAndCarriedByTheNextAdd)
{
    const QString caption = QString("Vorn Jukarium - ").append(QString(60, QChar('m')));
    tray.SetToolTip(caption);
    tray.SetIcon(redIcon());
    EXPECT_EQ(calls.modifies, 0);

    tray.SetActive(true);
    EXPECT_EQ(calls.toolTip, caption.left(62));
    EXPECT_EQ(calls.icon.cacheKey(), tray.Icon().cacheKey());
}

TEST_F(TrayIconTest, WritesWhileActiveModifyAtOnce)
{
    tray.SetActive(true);
    tray.SetToolTip("Vorn Jukarium");
    EXPECT_EQ(calls.modifies, 1);
    EXPECT_EQ(calls.toolTip, "Vorn Jukarium");

    tray.SetIcon(redIcon());
    EXPECT_EQ(calls.modifies, 2);
    EXPECT_FALSE(calls.icon.isNull());
}

TEST(TrayIconLifetime, DestructionRemovesOnlyAnIconThatIsThere)
{
    ShellCalls calls;
    {
        TTrayIcon tray{std::make_unique<RecordingShell>(calls)};
    }
    EXPECT_EQ(calls.removes, 0);
    {
        TTrayIcon tray{std::make_unique<RecordingShell>(calls)};
        tray.SetActive(true);
    }
    EXPECT_EQ(calls.removes, 1);
}

TEST_F(TrayIconTest, ShowAppShowsAndHidesTheApplicationWindowOnEveryWrite)
{
    QWidget window;
    window.show();
    tray.SetApplicationWindow(&window);

    tray.SetShowApp(false);
    EXPECT_FALSE(tray.ShowApp());
    EXPECT_FALSE(window.isVisible());

    tray.SetShowApp(true);
    EXPECT_TRUE(window.isVisible());

    // The same value again still acts: a window hidden behind the icon's back comes back.
    window.hide();
    tray.SetShowApp(true);
    EXPECT_TRUE(window.isVisible());
}

TEST(TrayIconSystem, WithoutNotificationAreaActiveKeepsTheWrittenValue)
{
    // The test platform has no notification area: the desktop refuses, the state stays.
    ASSERT_FALSE(TTrayIcon::Available());
    TTrayIcon tray;
    tray.SetToolTip("Vorn Jukarium");
    tray.SetActive(true);
    EXPECT_TRUE(tray.Active());
    EXPECT_EQ(tray.ToolTip(), "Vorn Jukarium");
    tray.SetActive(false);
    EXPECT_FALSE(tray.Active());
}

// Mouse actions ------------------------------------------------------------------------------

struct ActivationCase {
    QSystemTrayIcon::ActivationReason reason;
    int clicks;
    int doubleClicks;
    int rightClicks;
};

void PrintTo(const ActivationCase& c, std::ostream* os)
{
    *os << "reason " << int(c.reason);
}

class TrayIconActivationTest : public ::testing::TestWithParam<ActivationCase> {};

TEST_P(TrayIconActivationTest, EachReasonFiresItsEventOnly)
{
    ShellCalls calls;
    TTrayIcon tray{std::make_unique<RecordingShell>(calls)};
    QSignalSpy clicks(&tray, &TTrayIcon::OnClick);
    QSignalSpy doubleClicks(&tray, &TTrayIcon::OnDblClick);
    QSignalSpy rightClicks(&tray, &TTrayIcon::OnRightClick);

    tray.handleActivation(GetParam().reason);

    EXPECT_EQ(clicks.count(), GetParam().clicks);
    EXPECT_EQ(doubleClicks.count(), GetParam().doubleClicks);
    EXPECT_EQ(rightClicks.count(), GetParam().rightClicks);
}

INSTANTIATE_TEST_SUITE_P(Reasons, TrayIconActivationTest,
                         ::testing::Values(ActivationCase{QSystemTrayIcon::Trigger, 1, 0, 0},
                                           ActivationCase{QSystemTrayIcon::DoubleClick, 0, 1, 0},
                                           ActivationCase{QSystemTrayIcon::Context, 0, 0, 1},
                                           ActivationCase{QSystemTrayIcon::MiddleClick, 0, 0, 0},
                                           ActivationCase{QSystemTrayIcon::Unknown, 0, 0, 0}));

TEST_F(TrayIconTest, RightClickRunsTheMenuToItsEndBeforeTheEvent)
{
    QMenu menu;
    menu.addAction("Exit");
    tray.SetPopupMenu(&menu);
    QStringList order;
    QObject::connect(&menu, &QMenu::aboutToShow, [&] {
        order << "menu shown";
        // Closed from the menu's own event loop, as a user would.
        QMetaObject::invokeMethod(&menu, &QMenu::close, Qt::QueuedConnection);
    });
    QObject::connect(&menu, &QMenu::aboutToHide, [&] { order << "menu closed"; });
    QObject::connect(&tray, &TTrayIcon::OnRightClick, [&] { order << "right click"; });

    tray.handleActivation(QSystemTrayIcon::Context);

    EXPECT_EQ(order, QStringList({"menu shown", "menu closed", "right click"}));
}

// Drop target --------------------------------------------------------------------------------

namespace {

class DropTargetTest : public ::testing::Test {
protected:
    DropTargetTest()
    {
        for (const char* name : {"b.mod", "a.s3m", "c d.xm", "disc.jkdc"}) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::WriteOnly);
        }
    }

    QString path(const char* name) const { return QDir(dir.path()).absoluteFilePath(name); }
    QUrl url(const char* name) const { return QUrl::fromLocalFile(path(name)); }

    static std::unique_ptr<QMimeData> dragData(const QList<QUrl>& urls)
    {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    }

    // A drag as the window delivers it: enter, then optionally a move or the drop, then a
    // leave unless dropped (Qt forgets its drop target only at a leave or drop). Answers whether
    // the last event came back accepted as a copy.
    bool drag(const QMimeData& data, QEvent::Type last = QEvent::DragEnter,
              Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
    {
        QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        bool copied = send(enter);
        if (last == QEvent::DragMove) {
            QDragMoveEvent move(QPoint(6, 6), actions, &data, Qt::LeftButton, Qt::NoModifier);
            copied = send(move);
        } else if (last == QEvent::Drop) {
            QDropEvent dropped(QPointF(6, 6), actions, &data, Qt::LeftButton, Qt::NoModifier);
            copied = send(dropped);
        }
        if (last != QEvent::Drop || !enter.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(&owner, &leave);
        }
        return copied;
    }
    bool drop(const QMimeData& data) { return drag(data, QEvent::Drop); }

    bool send(QDropEvent& event)
    {
        event.ignore();
        QCoreApplication::sendEvent(&owner, &event);
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    }

    QTemporaryDir dir;
    QWidget owner;
    TDragAcceptFiles* target = new TDragAcceptFiles(&owner);  // owned by owner
    QSignalSpy drops{target, &TDragAcceptFiles::OnDrop};
};

}  // namespace

TEST_F(DropTargetTest, StartsEnabledWithAnEmptyList)
{
    EXPECT_TRUE(target->Enabled());
    EXPECT_TRUE(owner.acceptDrops());
    EXPECT_TRUE(target->DroppedFiles().isEmpty());
}

TEST_F(DropTargetTest, AcceptsDragsCarryingALocalFileAsCopy)
{
    EXPECT_TRUE(drag(*dragData({url("b.mod")})));
    EXPECT_TRUE(drag(*dragData({url("b.mod")}), QEvent::DragMove));
    EXPECT_TRUE(drag(*dragData({QUrl("https://example.org/a.mod"), url("a.s3m")})));
}

TEST_F(DropTargetTest, RefusesDragsWithoutLocalFilesOrWithoutCopy)
{
    EXPECT_FALSE(drag(*dragData({QUrl("https://example.org/a.mod")})));
    QMimeData text;
    text.setText("/tmp/b.mod");
    EXPECT_FALSE(drag(text));
    // Accepting a move would make the file manager delete its file.
    EXPECT_FALSE(drag(*dragData({url("b.mod")}), QEvent::DragEnter, Qt::MoveAction));
}

TEST_F(DropTargetTest, ThreeFilesAreListedInTheDragsOrder)
{
    EXPECT_TRUE(drop(*dragData({url("b.mod"), url("a.s3m"), url("c d.xm")})));
    EXPECT_EQ(drops.count(), 1);
    EXPECT_EQ(target->DroppedFiles(), QStringList({path("b.mod"), path("a.s3m"), path("c d.xm")}));
}

TEST_F(DropTargetTest, NextDropReplacesTheList)
{
    drop(*dragData({url("b.mod"), url("a.s3m"), url("c d.xm")}));
    drop(*dragData({url("disc.jkdc")}));
    EXPECT_EQ(drops.count(), 2);
    EXPECT_EQ(target->DroppedFiles(), QStringList({path("disc.jkdc")}));
}

TEST_F(DropTargetTest, OtherUrlsAreLeftOutAndDuplicatesKept)
{
    drop(*dragData({QUrl("https://example.org/x.mod"), url("a.s3m"), url("a.s3m")}));
    EXPECT_EQ(target->DroppedFiles(), QStringList({path("a.s3m"), path("a.s3m")}));
}

TEST_F(DropTargetTest, DropWithoutLocalFilesIsNotTaken)
{
    drop(*dragData({url("b.mod")}));
    EXPECT_FALSE(drop(*dragData({QUrl("https://example.org/x.mod")})));
    EXPECT_EQ(drops.count(), 1);
    EXPECT_EQ(target->DroppedFiles(), QStringList({path("b.mod")}));
}

TEST_F(DropTargetTest, DisabledOwnerRefusesDropsAndHasNoFilter)
{
    target->SetEnabled(false);
    EXPECT_FALSE(target->Enabled());
    EXPECT_FALSE(owner.acceptDrops());

    // Even with drops let in by hand, nothing of the component is left to take them.
    owner.setAcceptDrops(true);
    EXPECT_FALSE(drag(*dragData({url("b.mod")})));
    EXPECT_FALSE(drop(*dragData({url("b.mod")})));
    EXPECT_EQ(drops.count(), 0);

    target->SetEnabled(true);
    EXPECT_TRUE(drop(*dragData({url("b.mod")})));
    EXPECT_EQ(drops.count(), 1);
}

TEST_F(DropTargetTest, SwitchingOffAndOnInsideOnDropLeavesOneFilter)
{
    QObject::connect(target, &TDragAcceptFiles::OnDrop, [this] {
        target->SetEnabled(false);
        target->SetEnabled(true);
    });

    EXPECT_TRUE(drop(*dragData({url("b.mod")})));
    EXPECT_EQ(drops.count(), 1);
    EXPECT_TRUE(owner.acceptDrops());

    EXPECT_TRUE(drop(*dragData({url("a.s3m")})));
    EXPECT_EQ(drops.count(), 2);
    EXPECT_EQ(target->DroppedFiles(), QStringList({path("a.s3m")}));
}

TEST(DropTargetLifetime, DeletedComponentLeavesTheOwnerRefusingDrops)
{
    QWidget owner;
    auto* target = new TDragAcceptFiles(&owner);
    delete target;
    EXPECT_FALSE(owner.acceptDrops());
}
