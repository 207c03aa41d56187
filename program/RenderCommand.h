#pragma once

#include <QStringList>

/// "jukarium --render OUTPUT MODULE [--subsong K]": saves the song as an audio file without a
/// window, with the stored playback quality, played once with the fade-out of a song that
/// loops. Never starts or talks to a running instance. Reports on standard error and returns
/// the exit status: 0 when the file is written whole, 1 when it is not (nothing is left
/// behind), 2 for arguments it cannot take. SIGINT, SIGTERM and SIGHUP stop it the same way.
int RunRenderCommand(const QStringList& arguments, const QString& configDirectory);
