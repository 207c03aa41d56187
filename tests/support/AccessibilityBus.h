#pragma once

// What a screen reader sees of a program, for tests: a private session bus with the desktop's
// accessibility bus on it (at-spi-bus-launcher, which starts the AT-SPI registry), and the
// program's accessibility tree read through AT-SPI by atspi_tree.py, as Orca reads it.
// Header only.

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

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

private:
    bool runReader(QProcess& reader, const QStringList& arguments) const
    {
        reader.setProcessEnvironment(environment(QProcessEnvironment::systemEnvironment()));
        reader.setStandardErrorFile(QProcess::nullDevice());
        reader.start(m_python, QStringList{QStringLiteral(JK_ATSPI_TREE_SCRIPT)} + arguments);
        return reader.waitForFinished(kGuardMs) && reader.exitCode() == 0;
    }

    static constexpr const char* kLauncher = "/usr/libexec/at-spi-bus-launcher";

    QString m_missing;
    QString m_python;
    QString m_address;
    QProcess m_bus;
    QProcess m_launcher;
};
