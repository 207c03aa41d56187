#include "controls/TTrayIcon.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// The desktop's notification area through QSystemTrayIcon. Without a notification area it
// asks nothing of the desktop and answers false.
class SystemTrayShell : public TrayShell {
public:
    QSystemTrayIcon& icon() { return m_icon; }

    bool add(const QIcon& icon, const QString& toolTip) override
    {
        if (!modify(icon, toolTip))
            return false;
        m_icon.show();
        return m_icon.isVisible();
    }

    bool modify(const QIcon& icon, const QString& toolTip) override
    {
        if (!TTrayIcon::Available())
            return false;
        // The notification area shows nothing for an empty picture; the window icon stands in.
        m_icon.setIcon(icon.isNull() ? QGuiApplication::windowIcon() : icon);
        m_icon.setToolTip(toolTip);
        return true;
    }

    bool remove() override
    {
        m_icon.hide();
        return true;
    }

private:
    QSystemTrayIcon m_icon;
};

}  // namespace

bool TTrayIcon::Available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

TTrayIcon::TTrayIcon(QObject* parent)
    : QObject(parent)
{
    auto shell = std::make_unique<SystemTrayShell>();
    // Handled once the icon's own mouse handler has returned: a command that takes the icon
    // away deletes the icon's window on XEmbed trays, which must not happen inside its event.
    connect(&shell->icon(), &QSystemTrayIcon::activated, this, &TTrayIcon::handleActivation,
            Qt::QueuedConnection);
    m_shell = std::move(shell);
}

TTrayIcon::TTrayIcon(std::unique_ptr<TrayShell> shell, QObject* parent)
    : QObject(parent)
    , m_shell(std::move(shell))
{
}

TTrayIcon::~TTrayIcon()
{
    if (m_active)
        m_shell->remove();
}

void TTrayIcon::SetActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active)
        m_shell->add(m_icon, m_toolTip);
    else
        m_shell->remove();
}

void TTrayIcon::SetIcon(const QIcon& icon)
{
    m_icon = icon;
    ModifyIcon();
}

void TTrayIcon::SetToolTip(const QString& toolTip)
{
    QString cut = toolTip.left(kMaxToolTipLength);
    if (cut.size() == kMaxToolTipLength && cut.back().isHighSurrogate())
        cut.chop(1);
    m_toolTip = cut;
    ModifyIcon();
}

void TTrayIcon::SetShowApp(bool show)
{
    m_showApp = show;
    if (m_appWindow)
        m_appWindow->setVisible(show);
}

void TTrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        emit OnClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        emit OnDblClick();
        break;
    case QSystemTrayIcon::Context: {
        const QPoint pos = QCursor::pos();
        if (m_popupMenu) {
            // A menu command may end the program and delete this icon while the menu runs.
            const QPointer<TTrayIcon> alive(this);
            m_popupMenu->exec(pos);
            if (!alive)
                return;
        }
        emit OnRightClick(pos);
        break;
    }
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void TTrayIcon::ModifyIcon()
{
    if (m_active)
        m_shell->modify(m_icon, m_toolTip);
}
