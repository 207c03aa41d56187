// Program entry: one instance per user and display. A second start hands its file (or a command
// of the desktop entry's actions) to the running instance and ends; otherwise the session
// plays the file named, and then the main window is created on it and runs until closed. A
// start with --render saves a song as an audio file on its own, without a window or an
// instance.
#include "app/CJKMessages.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/TerminationSignals.h"
#include "app/XPaintsOverConnection.h"
#include "platform/Registry.h"
#include "platform/audio/LoudnessMeter.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "RenderCommand.h"
#include "session/JukeboxSession.h"
#include "ui/QtMessageBoxes.h"
#include "ui/TMainWindow.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <cstdio>
#include <memory>

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

/// The program's folder under the XDG base directory variable, or under its default below home.
QString xdgDirectory(const char* variable, const QString& defaultBelowHome)
{
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty())
        base = QDir::homePath() + defaultBelowHome;
    return base + QStringLiteral("/jukarium");
}

QString configDirectory() { return xdgDirectory("XDG_CONFIG_HOME", QStringLiteral("/.config")); }

LoudnessSource loudnessSource()
{
    return {xdgDirectory("XDG_CACHE_HOME", QStringLiteral("/.cache")) + QStringLiteral("/loudness"), measureLoudness};
}

// What a second start hands over: its file.
QString forwardedText(const QStringList& arguments)
{
    return CommandLine::ForwardedArgument(CommandLine::RawCommandLine(arguments));
}

// Hands one of the desktop entry's commands to the running instance. Without one nothing
// starts: a command alone has nothing to act on.
int commandRunningInstance(const QString& command)
{
    const QString endpoint = SingleInstance::EndpointName(TMainWindow::kInstanceCaption);
    if (endpoint.isEmpty() || SingleInstance::HandOverOnly(endpoint, command) != SingleInstance::Delivery::NotTaken)
        return 0;
    std::fprintf(stderr, "jukarium: the running instance did not answer; nothing was handed over to it\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (CommandLine::AsksToRender(argumentsOf(argc, argv)))
        return RunRenderCommand(argumentsOf(argc, argv), configDirectory());
    // A relative file is found from the folder this start was made in, also when the running
    // instance it goes to, or the desktop's media controls, know another one.
    const QStringList given = argumentsOf(argc, argv);
    if (CommandLine::CommandOf(CommandLine::FirstArgument(given)) != CommandLine::RemoteCommand::None)
        return commandRunningInstance(CommandLine::FirstArgument(given));
    const QStringList arguments = CommandLine::WithAbsoluteFirstArgument(given, QDir::currentPath());
    const QString endpoint = SingleInstance::EndpointName(TMainWindow::kInstanceCaption);
    std::unique_ptr<SingleInstance> instance;
    if (endpoint.isEmpty()) {
        std::fprintf(stderr, "jukarium: no folder private to this user for meeting a running "
                             "instance; this start runs on its own\n");
    } else {
        bool handedOver = false;
        instance = SingleInstance::Claim(endpoint, forwardedText(arguments), &handedOver);
        if (!instance) {
            if (handedOver)
                return 0;
            std::fprintf(stderr, "jukarium: the running instance did not answer; nothing was "
                                 "handed over to it\n");
            return 1;
        }
    }

    // Sent over the X connection, the banner's repaints cost the shown window a fifth less CPU.
    auto paints = std::make_unique<XPaintsOverConnection>();
    QApplication app(argc, argv);
    paints.reset();
    QApplication::setApplicationName(QStringLiteral("jukarium"));
    // Hidden in the notification area the window is not visible, and closing a message box
    // then must not end the program: only closing the main window does.
    QApplication::setQuitOnLastWindowClosed(false);

    // Installed before the endpoint opens, as whoever finds the instance may ask it to end,
    // and before the window, so the request is honoured even while the window's creation
    // shows a message box. Open boxes close too, and a changed disc is not asked about, so
    // nothing keeps the program from ending.
    TerminationSignals termination;
    bool endRequested = false;
    QPointer<TMainWindow> mainWindow;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &app, [&] {
        endRequested = true;
        if (mainWindow)
            mainWindow->EndWithoutQuestions();  // also when hidden in the notification area
        QApplication::closeAllWindows();
    });

    if (instance && !instance->Listen())
        std::fprintf(stderr, "jukarium: cannot open %s; later starts will not find this one\n",
                     qPrintable(endpoint));
    QtMessageBoxes boxes;
    CJKMessages::SetMessageBoxes(&boxes);

    Registry registry(configDirectory());
    // A save that was killed left its temporary file, as large as the settings; nothing else
    // would ever remove it.
    registry.removeAbandonedTemporaries();
    OpenMptSdlAudio audio;
    int exitCode = 0;
    {
        // Reading the options and then the window's placement creates their keys where
        // missing: one write of the settings file at most.
        registry.deferWrites();
        auto session = std::make_unique<JukeboxSession>(registry, audio, ClassModPlayer::FadeClock(), loudnessSource());
        // The module named is heard before the window is built, which takes longer than
        // loading it.
        const QString named = CommandLine::FirstArgument(arguments);
        if (named.isEmpty())
            session->ResumeLastPlayed();
        else
            session->OpenCommandFile(named);
        TMainWindow window(registry, std::move(session));
        registry.commitWrites();
        mainWindow = &window;
        QObject::connect(&window, &TMainWindow::closed, &app, &QApplication::quit);
        if (instance) {
            QObject::connect(instance.get(), &SingleInstance::fileReceived, &window,
                             &TMainWindow::ReceiveForwardedFile);
            instance->Serve();
        }
        if (!endRequested) {
            window.show();
            exitCode = QApplication::exec();
        }
    }
    for (const QString& file : registry.setAsideFiles())
        std::fprintf(stderr, "jukarium: settings file could not be read and was kept as %s\n",
                     qPrintable(file));
    CJKMessages::SetMessageBoxes(nullptr);
    return exitCode;
}
