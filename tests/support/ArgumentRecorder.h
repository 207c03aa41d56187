#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>

/// A small program for tests of program starts: a shell script in a directory of the test's
/// that writes the arguments it receives, one a line, into a file beside it. The file appears
/// whole (written aside, then renamed), so a poll never sees half of it.
class ArgumentRecorder {
public:
    /// Writes the script into directory, which must be free of quotes.
    explicit ArgumentRecorder(const QString& directory)
        : m_program(directory + "/record-arguments"), m_output(directory + "/arguments.txt")
    {
        QFile script(m_program);
        script.open(QIODevice::WriteOnly);
        const QString text =
            QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.part' && mv '%1.part' '%1'\n");
        script.write(text.arg(m_output).toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }

    /// The script's path, for a command line.
    const QString& program() const { return m_program; }

    /// The arguments of the script's run, once it has written them; the single word "(no run)"
    /// when it has not within a generous guard, which only ever ends a failing test.
    QStringList arguments() const
    {
        const QDeadlineTimer guard(30000);
        while (!QFile::exists(m_output) && !guard.hasExpired())
            QThread::msleep(10);
        QFile file(m_output);
        if (!file.open(QIODevice::ReadOnly))
            return {QStringLiteral("(no run)")};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        lines.removeLast();  // after the last line end
        return lines;
    }

private:
    QString m_program;
    QString m_output;
};
