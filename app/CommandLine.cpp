#include "app/CommandLine.h"

namespace {
QString withoutLastCharacter(const QString& text) { return text.left(text.size() - 1); }
}  // namespace

namespace CommandLine {

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

QString FirstArgument(const QStringList& arguments) { return arguments.value(1); }

}  // namespace CommandLine
