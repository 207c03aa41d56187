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

namespace {
const QString kRender = QStringLiteral("--render");
const QString kSubsong = QStringLiteral("--subsong");
}  // namespace

bool AsksToRender(const QStringList& arguments)
{
    return arguments.mid(1).contains(kRender);
}

std::optional<RenderArguments> ParseRender(const QStringList& arguments, QString* error)
{
    QString ignored;
    QString& why = error ? *error : ignored;
    RenderArguments render;
    bool outputGiven = false;
    bool subsongGiven = false;
    for (qsizetype n = 1; n < arguments.size(); ++n) {
        const QString& argument = arguments.at(n);
        if (argument == kRender || argument == kSubsong) {
            bool& given = argument == kRender ? outputGiven : subsongGiven;
            if (given) {
                why = argument + QStringLiteral(" given twice");
                return std::nullopt;
            }
            if (n + 1 >= arguments.size()) {
                why = argument + (argument == kRender ? QStringLiteral(" needs the audio file to write")
                                                      : QStringLiteral(" needs a subsong number"));
                return std::nullopt;
            }
            given = true;
            const QString& value = arguments.at(++n);
            if (argument == kRender) {
                render.output = value;
            } else {
                bool number = false;
                render.subsong = value.toInt(&number);
                if (!number || render.subsong < 1) {
                    why = QStringLiteral("--subsong needs a number from 1, not \"%1\"").arg(value);
                    return std::nullopt;
                }
            }
        } else if (argument.startsWith(QLatin1String("--"))) {
            why = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        } else if (!render.module.isEmpty()) {
            why = QStringLiteral("one module at a time: \"%1\" is one too many").arg(argument);
            return std::nullopt;
        } else {
            render.module = argument;
        }
    }
    if (render.output.isEmpty() || render.module.isEmpty()) {
        why = QStringLiteral("usage: jukarium --render OUTPUT MODULE [--subsong K]");
        return std::nullopt;
    }
    why.clear();
    return render;
}

}  // namespace CommandLine
