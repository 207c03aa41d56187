#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class JukeboxSession;

/// A desktop notification for each module that starts while nobody looks at the window, by
/// org.freedesktop.Notifications on the session bus: the module's title, the artist where
/// known, and the slot with the disc's name ("Slot 4 · Album"), with the program's icon. Each
/// replaces the one before (replaces_id), so there is one bubble at a time; it is transient
/// and names the desktop entry. None for a module started from the window itself, none while
/// the window is active, none while the "Notify" option is off. Without a notification
/// service nothing shows and nothing waits. GUI thread only.
class ModuleNotifications : public QObject {
    Q_OBJECT
public:
    static inline const QString kService = QStringLiteral("org.freedesktop.Notifications");

    /// Whether the main window is the active one now.
    using WindowActive = std::function<bool()>;

    /// Listens to session, which must outlive this object, and notifies on bus.
    ModuleNotifications(QDBusConnection bus, JukeboxSession& session, WindowActive windowActive);

private:
    struct Bubble {
        QString summary;
        QString body;
    };
    void moduleLoaded(const QString& title, int slot);
    /// Shows bubble in place of the one shown last; one call at a time, so each knows the
    /// bubble it replaces, and of those that wait only the latest is shown.
    void show(const Bubble& bubble);

    QDBusConnection m_bus;
    JukeboxSession& m_session;
    WindowActive m_windowActive;
    bool m_markup = false;  // the service reads the body as markup
    uint m_shown = 0;       // the id of the bubble shown last; 0 for none
    bool m_showing = false;  // a bubble waits for the service's answer
    std::optional<Bubble> m_waiting;  // the latest bubble to show after it
};
