#pragma once

// A real X display with a real notification area, for tests of what only a desktop shows: an
// Xvfb server with the trayer panel (an XEmbed notification area, no window manager), and
// xdotool to act on it as a user would. Header only.

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>

class NotificationAreaDisplay {
public:
    /// Longest wait for anything the desktop or a program on it is asked to do.
    static constexpr int kGuardMs = 20000;

    /// Starts Xvfb on a free display number and trayer on it; see missing().
    NotificationAreaDisplay()
    {
        for (const char* program : {"Xvfb", "trayer", "xdotool"}) {
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty()) {
                m_missing = QStringLiteral("%1 is not installed").arg(QLatin1String(program));
                return;
            }
        }
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_panel.setStandardOutputFile(QProcess::nullDevice());
        m_panel.setStandardErrorFile(QProcess::nullDevice());
        // The server picks a free number and writes it to the descriptor given.
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24",
                                                "-nolisten", "tcp"});
        QDeadlineTimer deadline(kGuardMs);
        while (!m_server.canReadLine() &&
               m_server.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        const QString number = QString::fromLatin1(m_server.readLine()).trimmed();
        if (number.isEmpty()) {
            m_missing = QStringLiteral("Xvfb did not start");
            return;
        }
        m_display = QLatin1Char(':') + number;
        m_panel.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
        m_panel.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--widthtype",
                                                 "pixel", "--width", "120", "--height", "24"});
        if (!waitFor([this] { return !panelGeometry().isEmpty(); }))
            m_missing = QStringLiteral("trayer did not show its panel");
    }

    ~NotificationAreaDisplay()
    {
        for (QProcess* process : {&m_panel, &m_server}) {
            process->kill();
            process->waitForFinished();
        }
    }

    NotificationAreaDisplay(const NotificationAreaDisplay&) = delete;
    NotificationAreaDisplay& operator=(const NotificationAreaDisplay&) = delete;

    /// Why the display cannot be used; empty when it is ready.
    const QString& missing() const { return m_missing; }

    /// base with this display, for a Qt program to show its windows there.
    QProcessEnvironment environment(QProcessEnvironment base) const
    {
        base.insert(QStringLiteral("DISPLAY"), m_display);
        base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        return base;
    }

    /// base for a jukebox in a fresh home, as a new user starts it: HOME and the XDG folders
    /// below home (a private runtime folder made there), the dummy sound driver.
    static QProcessEnvironment freshHome(QProcessEnvironment base, const QString& home)
    {
        base.insert(QStringLiteral("HOME"), home);
        base.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
        base.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
        const QString runtime = home + QStringLiteral("/runtime");
        base.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        base.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        return base;
    }

    /// Runs xdotool on this display; its output, trimmed (empty when it finds nothing).
    QString xdotool(const QStringList& arguments) const
    {
        QProcess tool;
        tool.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(kGuardMs);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    /// Mapped windows that `xdotool search` finds with criteria, e.g. {"--name", "^Editor$"}.
    QStringList visibleWindows(const QStringList& criteria) const
    {
        return xdotool(QStringList{"search", "--onlyvisible"} + criteria)
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    /// A window's frame on the screen; empty when it is gone.
    QRect geometry(const QString& window) const
    {
        QRect frame;
        const QString shell = xdotool({"getwindowgeometry", "--shell", window});
        for (const QString& line : shell.split(QLatin1Char('\n'))) {
            const QString name = line.section(QLatin1Char('='), 0, 0);
            const int value = line.section(QLatin1Char('='), 1).toInt();
            if (name == QLatin1String("X"))
                frame.moveLeft(value);
            else if (name == QLatin1String("Y"))
                frame.moveTop(value);
            else if (name == QLatin1String("WIDTH"))
                frame.setWidth(value);
            else if (name == QLatin1String("HEIGHT"))
                frame.setHeight(value);
        }
        return frame;
    }

    /// The notification area's panel; empty while trayer shows none.
    QRect panelGeometry() const
    {
        const QStringList panels = visibleWindows({"--class", "^trayer$"});
        return panels.isEmpty() ? QRect() : geometry(panels.first());
    }

    /// Clicks mouse button (1 left, 3 right) count times at a point of the screen.
    void click(const QPoint& at, int button, int count = 1) const
    {
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                 "--repeat", QString::number(count), "--delay", "60", QString::number(button)});
    }

    /// Types key (an X key name such as "e") to the window that has the keyboard.
    void key(const QString& name) const { xdotool({"key", name}); }

    /// Polls condition until it holds; false when it still does not after guardMs.
    static bool waitFor(const std::function<bool()>& condition, int guardMs = kGuardMs)
    {
        QDeadlineTimer deadline(guardMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(50);
        }
        return true;
    }

private:
    QString m_missing;
    QString m_display;
    QProcess m_server;
    QProcess m_panel;
};
