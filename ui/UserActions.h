#pragma once

#include "ui/UserActionHost.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

/// The command line of a user action with the module put in for the first "%1", always as
/// exactly one argument of the line split by SplitCommandLine, so that whoever named the file
/// cannot add arguments of their own:
/// - when the line contains "%1" between double quotes anywhere, the long path goes in: as is
///   where the %1 stands between the user's quotes, otherwise quoted (CommandLineWord);
/// - otherwise, and when the long path holds a double quote (which would end or open a quoted
///   stretch, and there is no escape), shortPath(longPath) goes in, which needs no quotes;
/// - when that comes back empty (the file is gone, or no alias can be made) the long path goes
///   in as above, so the program still hears which module was meant and reports the missing
///   file itself; a long path with a double quote cannot, and the result is std::nullopt:
///   start nothing;
/// - an empty long path (no module) gives no argument for a bare %1 and "" for "%1";
/// - only the first %1 is replaced; a line without %1 comes back unchanged and shortPath is
///   not called.
std::optional<QString> ExpandUserActionCommand(
    const QString& commandLine, const QString& longPath,
    const std::function<QString(const QString&)>& shortPath);

/// Runs user action n (1 to 3) with its three settings as read from the options store just
/// now: the command line, "sleep one second before" and "close the module before".
/// Shows the hourglass throughout. An empty command line shows message 3200 with n and does
/// nothing else. Otherwise the current module's path is taken, the module closed if asked, one
/// second waited if asked (status "Sleeping for 1 second..."), both on the event loop's clock
/// and so after this returns, the line expanded with the
/// module's short form (ShortPathName) and started: status "Executed "<line>"" on success,
/// message 3300 with the expanded line on failure. A module that cannot go in as one argument
/// starts nothing: message 3300 names the line with the long path put in, for the user to
/// read. The started program is not watched.
void RunUserAction(int n, const QString& commandLine, bool sleepFirst, bool closeFirst,
                   UserActionHost& host);

/// The volume controls looked for when none is stored, in order: command lines of programs
/// that open a window of their own (pavucontrol, pavucontrol-qt, pwvucontrol,
/// gnome-control-center sound, kmix), as a terminal mixer would show nothing without one.
const QStringList& DesktopMixers();

/// The command line of the "Volume" command: the stored one when it is not empty, run as is;
/// otherwise the first of DesktopMixers() whose program is on the PATH; empty when none is.
QString VolumeCommand(const QString& stored);

/// Runs the "Volume" command with the stored command line. When there is none and no desktop
/// mixer is installed it shows message 3500 naming the programs looked for; a start that
/// fails shows message 3300 with the line.
void StartVolumeControl(const QString& stored, UserActionHost& host);
