#pragma once

// What a screen reader sees of a program, for tests: a private session bus with the desktop's
// accessibility bus on it (at-spi-bus-launcher, which starts the AT-SPI registry), and the
// program's accessibility tree read through AT-SPI by atspi_tree.py, as Orca reads it, and
// what the program tells a screen reader as it runs (Listener). Header only.

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <memory>

#ifndef JK_ATSPI_TREE_SCRIPT
#error "JK_ATSPI_TREE_SCRIPT names tests/support/atspi_tree.py"
#endif

class AccessibilityBus {
public:
    static constexpr int kGuardMs = 20000;

    /// One object of a program's accessibility tree.
    struct Node {
        QString role;  // AT-SPI's role name: "push button", "label", "menu item", ...
        QString name;
        bool focused = false;
    };

    /// Starts the buses with display's environment (the launcher shows its address on the
    /// display, as in a desktop session); see missing().
    explicit AccessibilityBus(const QProcessEnvironment& display)
    {
        // The system's Python: the AT-SPI bindings are Debian packages, not in a private one.
        m_python = QStringLiteral("/usr/bin/python3");
        QProcess probe;
        probe.start(m_python, {"-c", "import gi; gi.require_version('Atspi', '2.0')"});
        if (!QFileInfo(QLatin1String(kLauncher)).isExecutable() ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
            !probe.waitForFinished(kGuardMs) || probe.exitCode() != 0) {
            m_missing = QStringLiteral("needs dbus-daemon, at-spi2-core, python3-gi and "
                                       "gir1.2-atspi-2.0 (scripts/install-deps)");
            return;
        }
        m_bus.setProcessEnvironment(display);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        QDeadlineTimer deadline(kGuardMs);
        while (!m_bus.canReadLine() && m_bus.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        m_address = QString::fromLatin1(m_bus.readLine()).trimmed();
        if (m_address.isEmpty()) {
            m_missing = QStringLiteral("dbus-daemon did not start");
            return;
        }
        m_launcher.setProcessEnvironment(environment(display));
        m_launcher.setStandardOutputFile(QProcess::nullDevice());
        m_launcher.setStandardErrorFile(QProcess::nullDevice());
        m_launcher.start(QLatin1String(kLauncher), {"--launch-immediately"});
        if (!m_launcher.waitForStarted(kGuardMs))
            m_missing = QStringLiteral("at-spi-bus-launcher did not start");
    }

    ~AccessibilityBus()
    {
        // The launcher ends its accessibility bus, and the registry with it, on the way out.
        m_launcher.terminate();
        if (!m_launcher.waitForFinished(kGuardMs))
            m_launcher.kill();
        m_bus.kill();
        m_bus.waitForFinished();
    }

    AccessibilityBus(const AccessibilityBus&) = delete;
    AccessibilityBus& operator=(const AccessibilityBus&) = delete;

    /// Why the buses cannot be used; empty when they are ready.
    const QString& missing() const { return m_missing; }

    /// base on this session bus, for a Qt program that shows itself to screen readers.
    QProcessEnvironment environment(QProcessEnvironment base) const
    {
        base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
        base.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
        // As when a screen reader runs: no desktop setting here switches the bridge on.
        base.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        return base;
    }

    /// The tree of the program named application (its Qt application name); empty while it
    /// is not on the bus.
    QList<Node> tree(const QString& application) const
    {
        QProcess reader;
        QList<Node> nodes;
        if (!runReader(reader, {application}))
            return nodes;
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() == 3)
                nodes.append({fields[0], fields[1], fields[2] == QLatin1String("1")});
        }
        return nodes;
    }

    /// Presses the push button named button of application as a screen reader does; false
    /// when there is none.
    bool press(const QString& application, const QString& button) const
    {
        QProcess reader;
        return runReader(reader, {application, QStringLiteral("--press"), button});
    }

    /// What a screen reader is told of one program as it runs: the focus moving, selections
    /// changing, names changing.
    class Listener {
    public:
        struct Event {
            QString type;  // as AT-SPI names it: "focus:", "object:state-changed:focused", ...
            int detail = 0;  // for a state: 1 set, 0 cleared
            QString role;
            QString name;
        };

        ~Listener()
        {
            m_reader.kill();
            m_reader.waitForFinished();
        }

        /// Whether it listens; false when the listener did not start.
        bool listening() const { return m_listening; }

        /// Every event told since the start or the last forget(), oldest first.
        const QList<Event>& heard()
        {
            while (m_reader.waitForReadyRead(10)) {
            }
            while (m_reader.canReadLine()) {
                const QString line = QString::fromUtf8(m_reader.readLine()).chopped(1);
                const QStringList fields = line.split(QLatin1Char('\t'));
                if (fields.size() == 4)
                    m_heard.append({fields[0], fields[1].toInt(), fields[2], fields[3]});
            }
            return m_heard;
        }
        void forget()
        {
            heard();
            m_heard.clear();
        }

        /// The name of the object the focus went to last; empty when it went nowhere yet.
        QString focused()
        {
            QString name;
            for (const Event& event : heard()) {
                if (event.type == QLatin1String("object:state-changed:focused") && event.detail == 1)
                    name = event.name;
            }
            return name;
        }

    private:
        friend class AccessibilityBus;
        Listener(const AccessibilityBus& bus, const QString& application)
        {
            bus.startReader(m_reader, {application, QStringLiteral("--listen")});
            QDeadlineTimer deadline(kGuardMs);
            while (!m_reader.canReadLine() && m_reader.waitForReadyRead(int(deadline.remainingTime()))) {
            }
            m_listening = m_reader.readLine().trimmed() == "listening";
        }

        QProcess m_reader;
        bool m_listening = false;
        QList<Event> m_heard;
    };

    /// Starts listening to the program named application (its Qt application name), which
    /// need not run yet.
    std::unique_ptr<Listener> listen(const QString& application) const
    {
        return std::unique_ptr<Listener>(new Listener(*this, application));
    }

private:
    void startReader(QProcess& reader, const QStringList& arguments) const
    {
        reader.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
        reader.setStandardErrorFile(QProcess::nullDevice());
        reader.start(m_python, QStringList{QStringLiteral(JK_ATSPI_TREE_SCRIPT)} + arguments);
    }

    bool runReader(QProcess& reader, const QStringList& arguments) const
    {
        startReader(reader, arguments);
        return reader.waitForFinished(kGuardMs) && reader.exitCode() == 0;
    }

    static constexpr const char* kLauncher = "/usr/libexec/at-spi-bus-launcher";

    QString m_missing;
    QString m_python;
    QString m_address;
    QProcess m_bus;
    QProcess m_launcher;
};
