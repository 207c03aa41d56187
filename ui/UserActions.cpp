#include "ui/UserActions.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "platform/ProgramStarter.h"
#include "platform/ShortPath.h"

#include <QStandardPaths>

#include <memory>

namespace {
const QString kPlaceholder = QStringLiteral("%1");
const QString kQuotedPlaceholder = QStringLiteral("\"%1\"");
// Volume controls that open a window of their own, PulseAudio's and PipeWire's first as they
// reach every stream; each is a command line, found by its first word on the PATH.
const QStringList kDesktopMixers = {
    QStringLiteral("pavucontrol"), QStringLiteral("pavucontrol-qt"), QStringLiteral("pwvucontrol"),
    QStringLiteral("gnome-control-center sound"), QStringLiteral("kmix")};
constexpr int kSleepMs = 1000;

// The long path as it goes in where the placeholder stands, between the user's quotes or not,
// to be read back as one argument; none when it holds a double quote, which would end or open
// a quoted stretch and let the file's name add arguments.
std::optional<QString> longPathWord(const QString& longPath, bool betweenQuotes)
{
    if (longPath.contains(u'"'))
        return std::nullopt;
    return betweenQuotes ? longPath : CommandLineWord(longPath);
}

}  // namespace

std::optional<QString> ExpandUserActionCommand(
    const QString& commandLine, const QString& longPath,
    const std::function<QString(const QString&)>& shortPath)
{
    const qsizetype at = commandLine.indexOf(kPlaceholder);
    if (at < 0)
        return commandLine;
    const bool betweenQuotes = commandLine.left(at).count(u'"') % 2 == 1;
    const std::optional<QString> longWord = longPathWord(longPath, betweenQuotes);
    if (longWord && commandLine.contains(kQuotedPlaceholder))
        return CJKMessages::InsertArgument(commandLine, *longWord);
    const QString shortForm = shortPath(longPath);
    if (!shortForm.isEmpty())
        return CJKMessages::InsertArgument(commandLine, shortForm);
    // No alias: the long path still names the module, where it can.
    if (!longWord)
        return std::nullopt;
    return CJKMessages::InsertArgument(commandLine, *longWord);
}

namespace {

void startUserAction(const QString& commandLine, const QString& longPath, UserActionHost& host)
{
    const std::optional<QString> expanded =
        ExpandUserActionCommand(commandLine, longPath, ShortPathName);
    if (!expanded) {
        CJKMessages::Show(3300, CJKMessages::InsertArgument(commandLine, longPath));
        return;
    }
    if (!host.StartProgram(*expanded)) {
        CJKMessages::Show(3300, *expanded);
        return;
    }
    host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Executed \"%1\""), *expanded));
}

}  // namespace

void RunUserAction(int n, const QString& commandLine, bool sleepFirst, bool closeFirst,
                   UserActionHost& host)
{
    // Held by each step still to come, so the hourglass shows until the last has run.
    const auto hourglass = std::make_shared<ScreenCursor::HourglassScope>();
    host.RepaintNow();
    if (commandLine.isEmpty()) {
        CJKMessages::Show(3200, QString::number(n));
        return;
    }
    // Taken before closing, which empties CurrentModule.
    const QString longPath = host.CurrentModule();
    auto start = [hourglass, commandLine, longPath, &host] { startUserAction(commandLine, longPath, host); };
    auto pauseThenStart = [hourglass, sleepFirst, start, &host] {
        if (!sleepFirst) {
            start();
            return;
        }
        host.SetStatusText(QStringLiteral("Sleeping for 1 second..."));
        host.RepaintNow();
        host.After(kSleepMs, start);
    };
    if (closeFirst)
        host.CloseModule(pauseThenStart);
    else
        pauseThenStart();
}

const QStringList& DesktopMixers()
{
    return kDesktopMixers;
}

QString VolumeCommand(const QString& stored)
{
    if (!stored.isEmpty())
        return stored;
    for (const QString& mixer : kDesktopMixers) {
        if (!QStandardPaths::findExecutable(SplitCommandLine(mixer).constFirst()).isEmpty())
            return mixer;
    }
    return QString();
}

void StartVolumeControl(const QString& stored, UserActionHost& host)
{
    const QString command = VolumeCommand(stored);
    if (command.isEmpty()) {
        QStringList names;
        for (const QString& mixer : kDesktopMixers)
            names.append(SplitCommandLine(mixer).constFirst());
        CJKMessages::Show(3500, names.join(QStringLiteral(", ")));
        return;
    }
    if (!host.StartProgram(command))
        CJKMessages::Show(3300, command);
}
