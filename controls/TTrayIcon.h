#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>

/// What the tray icon asks of the desktop's notification area. The real one drives a
/// QSystemTrayIcon; tests pass a recording fake. Each call answers whether the desktop took it.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    /// Put the icon into the notification area with this picture and tooltip.
    virtual bool add(const QIcon& icon, const QString& toolTip) = 0;
    /// Change the picture and tooltip of the icon that is there.
    virtual bool modify(const QIcon& icon, const QString& toolTip) = 0;
    /// Take the icon out of the notification area.
    virtual bool remove() = 0;
};

/// One icon in the desktop's notification area, with its tooltip, a popup menu and click
/// signals, and control over whether the application's window is shown.
///
/// The icon is in the notification area exactly while Active is true. Picture and tooltip
/// written while it is there change it at once; written while it is not, they are stored and
/// carried by the next add. A refusal by the desktop changes nothing here: Active keeps the
/// written value.
///
/// On Linux the application's task-bar entry is its main window, so ShowApp shows or hides
/// the window given to SetApplicationWindow.
///
/// There is no single-instance check here: the program keeps to one instance by itself.
/// GUI thread only.
class TTrayIcon : public QObject {
    Q_OBJECT

public:
    /// Most characters of ToolTip; longer texts are cut.
    static constexpr int kMaxToolTipLength = 62;

    /// Whether the desktop has a notification area now. Without one, Active may still be
    /// written but nothing shows.
    static bool Available();

    /// On the desktop's notification area (QSystemTrayIcon, used only when Available()).
    /// Not active, ShowApp true, no tooltip, empty icon, no menu, no application window.
    explicit TTrayIcon(QObject* parent = nullptr);
    /// On the given shell (not null), for tests.
    explicit TTrayIcon(std::unique_ptr<TrayShell> shell, QObject* parent = nullptr);
    /// Takes the icon out of the notification area when it is there.
    ~TTrayIcon() override;

    /// The icon is in the notification area. A write that differs adds (true) or removes
    /// (false) the icon; writing the current value does nothing.
    bool Active() const { return m_active; }
    void SetActive(bool active);

    /// The picture (copied). Empty at first; the notification area then shows the
    /// application's window icon.
    const QIcon& Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon);

    /// Tooltip text, at most kMaxToolTipLength characters: a longer text is cut to its first
    /// kMaxToolTipLength (one fewer where that would split a surrogate pair). Empty at first.
    const QString& ToolTip() const { return m_toolTip; }
    void SetToolTip(const QString& toolTip);

    /// The application's window is shown. Every write, also of the current value, shows (true)
    /// or hides (false) the application window, when there is one. True at first, with no
    /// action until written.
    bool ShowApp() const { return m_showApp; }
    void SetShowApp(bool show);

    /// The window ShowApp shows and hides; not owned, may be null (ShowApp is then only stored).
    QWidget* ApplicationWindow() const { return m_appWindow; }
    void SetApplicationWindow(QWidget* window) { m_appWindow = window; }

    /// Menu popped up at the cursor on a right click; not owned, may be null (no menu).
    QMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }

    /// Where the notification area's mouse actions arrive: Trigger is a click, DoubleClick a
    /// double-click, Context a right click; others are ignored. A right click runs PopupMenu
    /// (modal) first and emits OnRightClick after the menu has closed. The notification area's
    /// actions arrive through the event loop, never inside the icon's own event, so any handler
    /// may take the icon away (Active false).
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

signals:
    /// Left click on the icon. A double-click emits OnClick first, then OnDblClick.
    void OnClick();
    /// Left double-click on the icon.
    void OnDblClick();
    /// Right click on the icon, with the cursor's screen position at the click; after the
    /// popup menu, if any, has closed.
    void OnRightClick(const QPoint& globalPos);

private:
    /// Sends picture and tooltip to the notification area when the icon is there.
    void ModifyIcon();

    std::unique_ptr<TrayShell> m_shell;
    QIcon m_icon;
    QString m_toolTip;
    QPointer<QWidget> m_appWindow;
    QPointer<QMenu> m_popupMenu;
    bool m_active = false;
    bool m_showApp = true;
};
