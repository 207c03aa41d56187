// The main window in the notification area (hide, restore and the tray menu) and files
// dropped on the window.
#include "ui/TMainWindow.h"

#include "controls/TDragAcceptFiles.h"
#include "controls/TIEButton.h"
#include "controls/TTrayIcon.h"
#include "playback/ClassModPlayer.h"

#include <QAction>
#include <QApplication>

void TMainWindow::connectTrayAndDrop()
{
    TrayIcon = new TTrayIcon(this);
    TrayIcon->SetIcon(windowIcon());
    TrayIcon->SetToolTip(windowTitle());
    TrayIcon->SetApplicationWindow(this);
    TrayIcon->SetPopupMenu(m_form.popTrayIcon);
    // Desktops on Linux restore a window from its notification-area icon with one click.
    connect(TrayIcon, &TTrayIcon::OnClick, this, &TMainWindow::TrayIconDblClick);
    connect(TrayIcon, &TTrayIcon::OnDblClick, this, &TMainWindow::TrayIconDblClick);
    connect(m_form.btnHide2Tray, &QAbstractButton::clicked, this, &TMainWindow::btnHide2TrayClick);
    connect(m_form.popTrayIcon_Show, &QAction::triggered, this, &TMainWindow::TrayIconDblClick);
    connect(m_form.popTrayIcon_ContPlay, &QAction::triggered, this, [this] { player().ContinuePlaying(); });
    connect(m_form.popTrayIcon_Stop, &QAction::triggered, this, [this] { player().StopPlaying(); });
    // Restored first, so the close question comes up over a visible window; the tray's menu
    // opens while a box is open too, so it waits for that box to close.
    connect(m_form.popTrayIcon_Exit, &QAction::triggered, this, [this] {
        m_session->Request([this] {
            TrayIconDblClick();
            close();
        });
    });

    drgFile = new TDragAcceptFiles(this);
    connect(drgFile, &TDragAcceptFiles::OnDrop, this, &TMainWindow::drgFileDrop);
}

void TMainWindow::btnHide2TrayClick()
{
    TrayIcon->SetToolTip(windowTitle());
    if (!TTrayIcon::Available()) {
        showMinimized();  // which rests the banner
        return;
    }
    m_hiddenInTray = true;
    updateBannerScrolling();
    TrayIcon->SetShowApp(false);
    TrayIcon->SetActive(true);
    hide();
    showPatternView(false);  // with the window; open again when the window is
}

void TMainWindow::TrayIconDblClick()
{
    m_hiddenInTray = false;
    TrayIcon->SetActive(false);
    TrayIcon->SetShowApp(true);
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    BringToFront();
    showPatternView(m_form.mnuFile_PatternView->isChecked());
    updateBannerScrolling();
}

void TMainWindow::drgFileDrop()
{
    drgFile->SetEnabled(false);
    m_session->OpenCommandFile(drgFile->DroppedFiles().value(0));
    drgFile->SetEnabled(true);
    BringToFront();
}
