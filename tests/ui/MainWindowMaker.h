#pragma once

#include "app/CommandLine.h"
#include "session/JukeboxSession.h"
#include "ui/TMainWindow.h"

#include <QCoreApplication>

#include <memory>

/// The main window as the program makes it: first the session, which opens the file of the
/// command line (arguments, program first), then the window on that session.
inline std::unique_ptr<TMainWindow> MakeMainWindow(Registry& registry, AudioLibrary& audio,
                                                   const QStringList& arguments = {"jukarium"})
{
    auto session = std::make_unique<JukeboxSession>(registry, audio);
    session->OpenCommandFile(CommandLine::FirstArgument(arguments));
    return std::make_unique<TMainWindow>(registry, std::move(session));
}

/// A second start hands file over, and the window opens it in its turn.
inline void HandOver(TMainWindow& window, const QString& file)
{
    window.ReceiveForwardedFile(file);
    QCoreApplication::processEvents();
}
