#include "ui/UserActions.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "platform/ShortPath.h"

namespace {
const QString kPlaceholder = QStringLiteral("%1");
const QString kQuotedPlaceholder = QStringLiteral("\"%1\"");
const QString kDefaultMixer = QStringLiteral("pavucontrol");
constexpr int kSleepMs = 1000;
}  // namespace

QString ExpandUserActionCommand(const QString& commandLine, const QString& longPath,
                                const std::function<QString(const QString&)>& shortPath)
{
    if (commandLine.contains(kQuotedPlaceholder))
        return CJKMessages::InsertArgument(commandLine, longPath);
    if (!commandLine.contains(kPlaceholder))
        return commandLine;
    const QString shortForm = shortPath(longPath);
    return CJKMessages::InsertArgument(commandLine, shortForm.isEmpty() ? longPath : shortForm);
}

void RunUserAction(int n, const QString& commandLine, bool sleepFirst, bool closeFirst,
                   UserActionHost& host)
{
    const ScreenCursor::HourglassScope hourglass;
    host.RepaintNow();
    if (commandLine.isEmpty()) {
        CJKMessages::Show(3200, QString::number(n));
        return;
    }
    // Taken before closing, which empties CurrentModule.
    const QString longPath = host.CurrentModule();
    if (closeFirst)
        host.CloseModule();
    if (sleepFirst) {
        host.SetStatusText(QStringLiteral("Sleeping for 1 second..."));
        host.RepaintNow();
        host.Sleep(kSleepMs);
    }
    const QString expanded = ExpandUserActionCommand(commandLine, longPath, ShortPathName);
    if (!host.StartProgram(expanded)) {
        CJKMessages::Show(3300, expanded);
        return;
    }
    host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Executed \"%1\""), expanded));
}

QString VolumeCommand(const QString& stored)
{
    return stored.isEmpty() ? kDefaultMixer : stored;
}
