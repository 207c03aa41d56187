#include "app/CommandLine.h"

#include <QDir>

namespace {
QString withoutLastCharacter(const QString& text) { return text.left(text.size() - 1); }
}  // namespace

namespace CommandLine {

RemoteCommand CommandOf(const QString& argument)
{
    if (argument == QLatin1String("--play-pause"))
        return RemoteCommand::PlayPause;
    if (argument == QLatin1String("--next"))
        return RemoteCommand::Next;
    if (argument == QLatin1String("--stop"))
        return RemoteCommand::Stop;
    return RemoteCommand::None;
}

QString RawCommandLine(const QStringList& arguments)
{
    auto quoted = [](const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); };
    QString raw = quoted(arguments.value(0));
    if (arguments.size() > 1)
        raw += QLatin1Char(' ') + quoted(arguments.at(1));
    return raw;
}

QString ForwardedArgument(const QString& rawCommandLine)
{
    const qsizetype group = rawCommandLine.indexOf(QLatin1String("\" \""));
    if (group >= 0)
        return withoutLastCharacter(rawCommandLine.mid(group + 3));
    const qsizetype blank = rawCommandLine.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        return withoutLastCharacter(rawCommandLine.mid(blank + 2));
    return QString();
}

QStringList WithAbsoluteFirstArgument(const QStringList& arguments,
                                      const QString& workingDirectory)
{
    QStringList resolved = arguments;
    if (resolved.size() > 1 && !resolved.at(1).isEmpty() && QDir::isRelativePath(resolved.at(1)))
        resolved[1] = QDir(workingDirectory).absoluteFilePath(resolved.at(1));
    return resolved;
}

QString FirstArgument(const QStringList& arguments) { return arguments.value(1); }

}  // namespace CommandLine
