// The main window's file commands on the loaded module: copy, move, rename and delete, each
// with the banner resting while its dialogs and messages are up.
#include "ui/TMainWindow.h"

#include "controls/TIEButton.h"
#include "playback/ClassModPlayer.h"
#include "ui/TCRename.h"

#include <QAction>

void TMainWindow::connectFileCommands()
{
    using Operation = void (ClassModPlayer::*)();
    auto withBannerResting = [this](Operation operation) {
        return [this, operation] {
            PauseBanner();
            (player().*operation)();
            ResumeBanner();
        };
    };
    connect(m_form.mnuFile_CopyTo, &QAction::triggered, this, withBannerResting(&ClassModPlayer::CopyModuleTo));
    connect(m_form.btnCopyFile, &QAbstractButton::clicked, this, withBannerResting(&ClassModPlayer::CopyModuleTo));
    connect(m_form.mnuFile_MoveTo, &QAction::triggered, this, withBannerResting(&ClassModPlayer::MoveModuleTo));
    connect(m_form.btnMoveFile, &QAbstractButton::clicked, this, withBannerResting(&ClassModPlayer::MoveModuleTo));
    connect(m_form.mnuFile_Rename, &QAction::triggered, this, withBannerResting(&ClassModPlayer::RenameModule));
    connect(m_form.mnuFile_Delete, &QAction::triggered, this, withBannerResting(&ClassModPlayer::DeleteModule));
    connect(m_form.btnDeleteFile, &QAbstractButton::clicked, this, withBannerResting(&ClassModPlayer::DeleteModule));
}

QString TMainWindow::RenameModuleDialog(const QString& path)
{
    TCRename dialog(this);
    return dialog.RenameModuleDialog(path);
}
