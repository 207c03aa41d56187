#include "ui/TCDirectoryChoose.h"

#include "app/CJKMessages.h"
#include "settings/ClassOptions.h"
#include "ui/DialogParts.h"
#include "ui/F1Help.h"
#include "ui/HelpContexts.h"
#include "ui/TNewDirectory.h"
#include "ui/VisiblePlacement.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

constexpr int kCodeCannotChangeTo = 1300;
constexpr int kCodeDriveEmpty = 1310;
constexpr int kItemHeight = 16;
constexpr int kRecentRowsVisible = 10;
constexpr int kPathRole = Qt::UserRole;

QString itemPath(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kPathRole).toString() : QString();
}

// directory and its ancestors, the root first.
QStringList chainTo(const QString& directory)
{
    QStringList chain;
    QDir dir(directory);
    do
        chain.prepend(dir.absolutePath());
    while (dir.cdUp());
    return chain;
}

}  // namespace

TCDirectoryChoose::TCDirectoryChoose(ClassOptions& options, QWidget* owner)
    : QDialog(owner),
      m_options(options)
{
    InstallF1Help(this, 110100);
    DialogParts::setUpDialog(*this, "CDirectoryChoose", QSize(281, 250));
    setWindowTitle(QStringLiteral("You shouldn't see this Text..."));
    buildForm();
    move(265, 199);
    KeepWhollyOnScreen(*this);
    // F5 re-reads the list wherever the focus is in the chooser.
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    refresh->setContext(Qt::WindowShortcut);
    connect(refresh, &QShortcut::activated, this, &TCDirectoryChoose::Refresh);
}

void TCDirectoryChoose::buildForm()
{
    using namespace DialogParts;

    Drive = new QComboBox(this);
    Drive->setObjectName(QStringLiteral("Drive"));
    Drive->setGeometry(4, 4, 185, 21);
    Drive->setToolTip(QStringLiteral("Select a Drive"));
    connect(Drive, &QComboBox::activated, this,
            [this](int index) { DriveChange(Drive->itemText(index)); });

    Directory = new QTreeWidget(this);
    Directory->setObjectName(QStringLiteral("Directory"));
    Directory->setGeometry(4, 28, 185, 125);
    Directory->setToolTip(QStringLiteral("Select a Directory from here"));
    Directory->setHeaderHidden(true);
    Directory->setRootIsDecorated(false);
    Directory->setItemsExpandable(false);
    // Each level indents a little and nothing folds, so no branch arrows: a deep path still
    // fits the narrow list.
    Directory->setIndentation(8);
    Directory->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    Directory->setUniformRowHeights(true);
    connect(Directory, &QTreeWidget::currentItemChanged, this, &TCDirectoryChoose::DirectoryChange);
    connect(Directory, &QTreeWidget::itemActivated, this, &TCDirectoryChoose::directoryActivated);
    Directory->installEventFilter(this);

    btnOK = makeButton(this, "btnOK", QStringLiteral("&OK"), QPoint(200, 4));
    connect(btnOK, &QPushButton::clicked, this, [this] {
        Confirmed = true;
        accept();
    });
    btnCancel = makeButton(this, "btnCancel", QStringLiteral("&Cancel"), QPoint(200, 32));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    btnCreateFolder = makeButton(this, "btnCreateFolder", QStringLiteral("C&reate folder"),
                                 QPoint(200, 128));
    connect(btnCreateFolder, &QPushButton::clicked, this, &TCDirectoryChoose::btnCreateFolderClick);

    grpPath = makeGroup(this, "grpPath", QStringLiteral("Selected Path"), QRect(4, 160, 273, 37));
    staPath = new QLabel(grpPath);
    staPath->setObjectName(QStringLiteral("staPath"));
    staPath->setGeometry(groupContent(273, 16));
    staPath->setToolTip(QStringLiteral("Currenty selected path"));

    GroupBox1 = makeGroup(this, "GroupBox1", QStringLiteral("&Previous selected paths"),
                          QRect(4, 204, 273, 45));
    GroupBox1->setToolTip(QStringLiteral("The last 10 Paths you have selected"));
    drpPaths = new QComboBox(GroupBox1);
    drpPaths->setObjectName(QStringLiteral("drpPaths"));
    drpPaths->setGeometry(groupContent(273, 21));
    drpPaths->setMaxVisibleItems(kRecentRowsVisible);
    connect(drpPaths, &QComboBox::activated, this,
            [this](int index) { drpPathsChange(drpPaths->itemText(index)); });

    for (QWidget* control : std::initializer_list<QWidget*>{Drive, Directory, staPath, GroupBox1})
        control->setToolTipDuration(kHintDisplayMs);

    SetHelpContext(Drive, 110100);
    SetHelpContext(Directory, 110200);
    SetHelpContext(btnOK, HelpContexts::kOkButton);
    SetHelpContext(btnCancel, HelpContexts::kCancelButton);
    SetHelpContext(btnCreateFolder, 110500);
    SetHelpContext(grpPath, 110300);
    SetHelpContext(GroupBox1, 110400);
}

QString TCDirectoryChoose::ChooseDirectory(int kind)
{
    setWindowTitle(CaptionFor(kind));
    drpPaths->clear();
    drpPaths->addItems(m_options.RecentPaths());
    drpPaths->setCurrentIndex(-1);
    Confirmed = false;
    staPath->clear();
    fillDrives();
    // A start directory deleted behind our back cannot be listed: then the user picks a
    // drive or a previous path first.
    SetBrowsingEnabled(Browse(m_start.isEmpty() ? QDir::currentPath() : m_start));
    // Where a keyboard user chooses: the list, not the drive above it.
    (m_browsingEnabled ? static_cast<QWidget*>(Directory) : Drive)->setFocus();

    exec();
    if (!Confirmed)
        return QString();
    const QString directory = SelectedDirectory();
    m_options.AddRecentPath(directory);
    return WithFinalSeparator(directory);
}

QString TCDirectoryChoose::CaptionFor(int kind)
{
    switch (kind) {
    case kCopyModule:
        return QStringLiteral("Copy module to:");
    case kMoveModule:
        return QStringLiteral("Move module to:");
    default:
        return QStringLiteral("Move disc to:");
    }
}

QString TCDirectoryChoose::WithFinalSeparator(const QString& directory)
{
    return directory.endsWith(QLatin1Char('/')) ? directory : directory + QLatin1Char('/');
}

QString TCDirectoryChoose::SelectedDirectory() const
{
    const QString selected = itemPath(Directory->currentItem());
    return selected.isEmpty() ? m_browsed : selected;
}

void TCDirectoryChoose::SetBrowsingEnabled(bool enabled)
{
    m_browsingEnabled = enabled;
    Directory->setVisible(enabled);
    grpPath->setVisible(enabled);
    btnOK->setEnabled(enabled);
    btnCreateFolder->setEnabled(enabled);
}

void TCDirectoryChoose::DriveChange(const QString& root)
{
    const bool entered = Browse(root);
    SetBrowsingEnabled(entered);
    if (!entered)
        CJKMessages::Show(kCodeDriveEmpty, root);
}

void TCDirectoryChoose::drpPathsChange(const QString& text)
{
    if (text.isEmpty()) {
        SetBrowsingEnabled(false);
        return;
    }
    const bool entered = Browse(text);
    SetBrowsingEnabled(entered);
    if (!entered)
        CJKMessages::Show(kCodeCannotChangeTo, text);
}

void TCDirectoryChoose::Refresh()
{
    readDirectory(SelectedDirectory());
}

void TCDirectoryChoose::btnCreateFolderClick()
{
    QString created;
    {
        TNewDirectory dialog(this);
        created = dialog.CreateDirectoryDialog(SelectedDirectory());
    }
    if (!created.isEmpty())
        Browse(created);
}

bool TCDirectoryChoose::Browse(const QString& directory)
{
    // What entering would need: a directory that may be searched.
    const QFileInfo entry(directory);
    if (directory.isEmpty() || !entry.isDir() || !entry.isExecutable())
        return false;
    m_browsed = entry.canonicalFilePath();
    selectDriveOf(m_browsed);
    readDirectory(m_browsed);
    return true;
}

void TCDirectoryChoose::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots.append(volume.rootPath());
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    Drive->clear();
    Drive->addItems(roots);
}

void TCDirectoryChoose::selectDriveOf(const QString& directory)
{
    const QString root = QStorageInfo(directory).rootPath();
    int index = Drive->findText(root);
    if (index < 0) {  // mounted since the list was read
        Drive->addItem(root);
        index = Drive->count() - 1;
    }
    Drive->setCurrentIndex(index);
}

// Lists the chain from the root down to the browsed directory, then its subdirectories
// (hidden ones left out), and selects selection where listed, else the browsed directory.
void TCDirectoryChoose::readDirectory(const QString& selection)
{
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto addItem = [&](QTreeWidgetItem* parent, const QString& path, const QIcon& icon) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Directory);
        const QString name = QDir(path).dirName();
        item->setText(0, name.isEmpty() ? path : name);
        item->setIcon(0, icon);
        item->setData(0, kPathRole, path);
        item->setSizeHint(0, QSize(-1, kItemHeight));
        return item;
    };

    const QSignalBlocker quiet(Directory);  // one DirectoryChange for the whole re-read
    Directory->clear();
    QTreeWidgetItem* browsed = nullptr;
    for (const QString& path : chainTo(m_browsed))
        browsed = addItem(browsed, path, openIcon);
    const QDir dir(m_browsed);
    const QStringList children =
        dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    QTreeWidgetItem* selected = browsed;
    for (const QString& child : children)
        addItem(browsed, dir.absoluteFilePath(child), closedIcon);
    for (QTreeWidgetItemIterator it(Directory); *it; ++it) {
        if (itemPath(*it) == selection)
            selected = *it;
    }
    Directory->expandAll();
    Directory->setCurrentItem(selected);
    Directory->scrollToItem(selected);
    DirectoryChange();
}

void TCDirectoryChoose::DirectoryChange()
{
    staPath->setText(SelectedDirectory());
}

// Enter in the list descends into the selected directory and goes no further: the list
// would pass it on to the dialog, whose default button would confirm at the same time.
bool TCDirectoryChoose::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Directory && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            directoryActivated(Directory->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TCDirectoryChoose::directoryActivated(QTreeWidgetItem* item)
{
    // A directory deleted behind our back cannot be entered; the re-read drops it.
    if (!Browse(itemPath(item)))
        Refresh();
}
