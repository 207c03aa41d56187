// The main window as the desktop's media controls see it.
#include "ui/TMainWindow.h"

#include "desktop/ModuleNotifications.h"
#include "desktop/MprisService.h"

#include <QDBusConnection>

void TMainWindow::offerMediaControls()
{
    // Without a session bus the jukebox simply has no media controls, nor notifications.
    m_mediaControls = MprisService::Offer(QDBusConnection::sessionBus(), *m_session, *this);
    if (QDBusConnection::sessionBus().isConnected())
        m_notifications = std::make_unique<ModuleNotifications>(QDBusConnection::sessionBus(), *m_session,
                                                                [this] { return isActiveWindow(); });
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
