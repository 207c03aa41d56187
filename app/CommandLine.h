#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// The program's command line: one optional file, a module or a disc; one of the commands of
/// the desktop entry's actions, for the running instance; or a song to save as an audio file
/// without a window.
namespace CommandLine {

/// What the desktop entry's actions ask of the running instance.
enum class RemoteCommand { None, PlayPause, Next, Stop };

/// The command that argument names exactly ("--play-pause", "--next", "--stop"), else None.
/// A start hands such an argument over as it is; the running instance reads the text it gets
/// the same way (a file it gets is always an absolute path, never one of these).
RemoteCommand CommandOf(const QString& argument);

/// A song to save as an audio file: "--render OUTPUT MODULE [--subsong K]", in any order
/// after the program.
struct RenderArguments {
    QString output;   // the audio file; its extension names the format
    QString module;
    int subsong = 1;  // from 1, as the subsong menu numbers them
};

/// Whether the arguments (the program first) ask for a render: "--render" among them. Such a
/// start opens no window and never meets a running instance.
bool AsksToRender(const QStringList& arguments);

/// The render the arguments ask for; nothing, with why in error (unless null), where one is
/// missing, repeated or unknown.
std::optional<RenderArguments> ParseRender(const QStringList& arguments, QString* error);

/// The raw command line in the form the file associations use: the program quoted, and when
/// there is an argument, a blank and the first argument quoted. Further arguments are ignored.
QString RawCommandLine(const QStringList& arguments);

/// The text a second start hands to the running instance, taken from the raw command line:
/// - with a quote-blank-quote group, everything after the first such group less its last
///   character (the closing quote);
/// - otherwise, with a blank, everything from the second character after the first blank on,
///   less its last character;
/// - otherwise empty.
QString ForwardedArgument(const QString& rawCommandLine);

/// arguments with the first argument made absolute against workingDirectory when it is a
/// relative path; a running instance would resolve it against its own working directory.
QStringList WithAbsoluteFirstArgument(const QStringList& arguments,
                                      const QString& workingDirectory);

/// The running instance's own file: the first argument after the program, or empty.
QString FirstArgument(const QStringList& arguments);

}  // namespace CommandLine
