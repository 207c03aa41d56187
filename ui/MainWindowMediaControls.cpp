// The main window as the desktop's media controls see it.
#include "ui/TMainWindow.h"

#include "desktop/ModuleNotifications.h"
#include "desktop/MprisService.h"
#include "desktop/RecentFiles.h"
#include "desktop/SleepInhibitor.h"

#include <QDBusConnection>

void TMainWindow::offerDesktopServices()
{
    // Without a session bus the jukebox simply has no media controls, nor notifications.
    m_mediaControls = MprisService::Offer(QDBusConnection::sessionBus(), *m_session, *this);
    if (QDBusConnection::sessionBus().isConnected())
        m_notifications = std::make_unique<ModuleNotifications>(QDBusConnection::sessionBus(), *m_session,
                                                                [this] { return isActiveWindow(); });
    m_recentFiles = std::make_unique<RecentFiles>(RecentFiles::UsersList(), *m_session);
    m_sleepInhibitor =
        std::make_unique<SleepInhibitor>(QDBusConnection::systemBus(), QDBusConnection::sessionBus(), *m_session);
}

void TMainWindow::RaiseWindow()
{
    TrayIconDblClick();
}

void TMainWindow::QuitWindow()
{
    // Restored first, as "Exit" in the tray menu does, so a question shows over the window.
    TrayIconDblClick();
    close();
}

void TMainWindow::OpenFile(const QString& path)
{
    m_session->RequestFile(path, ClassModPlayer::Origin::Outside);
    BringToFront();
}
