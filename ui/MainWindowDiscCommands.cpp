// The main window's disc commands: the disc menu and buttons, the slot and disc buttons with
// their menus, assigning the current module by dropping the banner on a slot, and the dialogs
// the session asks for.
#include "ui/TMainWindow.h"

#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "disc/ClassDisc.h"
#include "ui/F1Help.h"
#include "ui/FileDialogColumns.h"
#include "ui/HelpContexts.h"
#include "ui/TCDirectoryChoose.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

const QString kDiscFilters = QStringLiteral("Jukarium Discs (*.jkdc);;All Files (*)");

bool hasLocalFile(const QMimeData* data)
{
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

void TMainWindow::connectDiscCommands()
{
    connect(m_form.mnuDisc_New, &QAction::triggered, this, [this] { disc().NewDisc(); });
    connect(m_form.mnuDisc_Open, &QAction::triggered, this, [this] { disc().OpenDisc(); });
    connect(m_form.btnOpenDisc, &QAbstractButton::clicked, this, [this] { disc().OpenDisc(); });
    connect(m_form.mnuDisc_Save, &QAction::triggered, this, [this] { disc().SaveDisc(); });
    connect(m_form.mnuDisc_SaveAs, &QAction::triggered, this, [this] { disc().SaveDiscAs(); });
    connect(m_form.mnuDisc_MoveAllTo, &QAction::triggered, this, [this] { disc().MoveAllTo(); });
    connect(m_form.mnuDisc_Close, &QAction::triggered, this, [this] { disc().CloseDisc(); });
    connect(m_form.btnCloseDisc, &QAbstractButton::clicked, this, [this] { disc().CloseDisc(); });
    connect(m_form.mnuDisc_PreviousSlot, &QAction::triggered, this,
            [this] { m_session->PlaySlot(disc().NeighbourSlot(-1)); });
    connect(m_form.mnuDisc_NextSlot, &QAction::triggered, this,
            [this] { m_session->PlaySlot(disc().NeighbourSlot(+1)); });

    for (TIEButton* slot : m_form.ibtDiscNr) {
        connect(slot, &QAbstractButton::clicked, this, [this, slot] { m_session->PlaySlot(slot->Tag()); });
        slot->setAcceptDrops(true);
        slot->installEventFilter(this);
    }
    for (TIEButton* button : {m_form.btnDisc1, m_form.btnDisc2}) {
        connect(button, &QAbstractButton::clicked, this,
                [this, button] { disc().OpenDiscButton(button->Tag()); });
        button->installEventFilter(this);
    }
    connect(m_form.popDiscNrButtons_Assign, &QAction::triggered, this,
            [this] { disc().AssignPopupSlot(CurrentModule()); });
    connect(m_form.popDiscNrButtons_Clear, &QAction::triggered, this, [this] { disc().ClearPopupSlot(); });
    connect(m_form.popDiscDiscButtons_BrowseDisc, &QAction::triggered, this,
            [this] { disc().BrowseDiscButton(); });
    connect(m_form.popDiscDiscButtons_Clear, &QAction::triggered, this,
            [this] { disc().ClearDiscButton(); });
}

bool TMainWindow::filterDiscButtonEvent(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<TIEButton*>(watched);
    if (!button || button->parentWidget() != m_form.grpDisc)
        return false;
    const bool isSlot = button != m_form.btnDisc1 && button != m_form.btnDisc2;
    const auto showMenu = [this, button, isSlot](const QPoint& at) {
        if (isSlot)
            disc().ShowSlotMenu(button->Tag(), at.x(), at.y());
        else
            disc().ShowDiscButtonMenu(button->Tag(), at.x(), at.y());
    };
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        showMenu(button->mapToGlobal(mouse->position().toPoint()));
        return true;
    }
    case QEvent::KeyPress: {
        // The menu key and Shift+F10 open the menu under the focused button.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!menuKey && !shiftF10)
            return false;
        showMenu(button->mapToGlobal(QPoint(0, button->height())));
        return true;
    }
    case QEvent::ContextMenu:
        // The menu key's own context menu event (X11 sends one after the key): the key press
        // has opened the menu already.
        return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // A slot takes the banner only while a module is loaded, and files (from a file
        // manager or the library) at any time.
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const bool banner = TBanner::isBannerDrag(drag->mimeData()) && CurrentModule().size() > 1;
        if (isSlot && (banner || hasLocalFile(drag->mimeData())))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (isSlot && dropFilesOnSlot(button->Tag(), drop->mimeData())) {
            drop->acceptProposedAction();
            return true;
        }
        if (!isSlot || !TBanner::isBannerDrag(drop->mimeData()) || CurrentModule().size() <= 1)
            return false;
        drop->acceptProposedAction();
        disc().AssignSlot(button->Tag(), CurrentModule());
        return true;
    }
    default:
        return false;
    }
}

bool TMainWindow::dropFilesOnSlot(int n, const QMimeData* data)
{
    if (!hasLocalFile(data))
        return false;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && n <= ClassDisc::kSlotCount)
            m_session->PutModuleInSlot(n++, url.toLocalFile());
    return true;
}

void TMainWindow::EndWithoutQuestions()
{
    m_ending = true;
    close();
}

void TMainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_ending && disc().QuerySave()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    emit closed();
}

void TMainWindow::ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled)
{
    m_form.popDiscNrButtons_Assign->setEnabled(assignEnabled);
    m_form.popDiscNrButtons_Clear->setEnabled(clearEnabled);
    m_form.popDiscNrButtons->exec(QPoint(x, y));
}

void TMainWindow::ShowDiscButtonMenu(int x, int y, bool clearEnabled)
{
    m_form.popDiscDiscButtons_Clear->setEnabled(clearEnabled);
    m_form.popDiscDiscButtons->exec(QPoint(x, y));
}

bool TMainWindow::Answering() const
{
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
}

QString TMainWindow::ChooseDiscFile(const QString& startDirectory)
{
    QFileDialog dialog(this, QStringLiteral("Open Disc"), startDirectory, kDiscFilters);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialogColumns(dialog);
    InstallF1Help(&dialog, HelpContexts::kOpenDisc);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString TMainWindow::ChooseSaveDiscFile()
{
    QFileDialog dialog(this, QStringLiteral("Save Disc as"), QString(), kDiscFilters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialogColumns(dialog);
    InstallF1Help(&dialog, HelpContexts::kSaveDiscAs);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString TMainWindow::ChooseDirectory(int kind)
{
    TCDirectoryChoose chooser(options(), this);
    chooser.SetStartDirectory(m_chooserDirectory);
    const QString chosen = chooser.ChooseDirectory(kind);
    m_chooserDirectory = chooser.BrowsedDirectory();
    return chosen;
}
