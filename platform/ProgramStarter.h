#pragma once

#include <QString>
#include <QStringList>

/// Splits a command line into program and arguments the simple Windows way:
/// - blanks and tabs outside double quotes separate arguments; runs of them count as one;
/// - a double quote opens or closes a quoted stretch, in which blanks are ordinary text; the
///   quotes themselves are dropped, so `a"b c"d` is the one argument `ab cd` and `""` is one
///   empty argument; a quote left open runs to the end of the line;
/// - there is no escape: a backslash is ordinary text and a doubled quote inside quotes simply
///   closes and reopens the stretch (it never yields a literal quote).
/// An empty or all-blank line gives an empty list.
QStringList SplitCommandLine(const QString& commandLine);

/// Starts the program of a command line, split by SplitCommandLine, with the remaining words
/// as its arguments: detached (it runs on its own, nobody waits for it) and without a shell,
/// so no word is ever interpreted. A program name without "/" is looked up on the PATH.
/// False when nothing was started: empty line, program missing, not an executable file, or the
/// system refused to run it. Such a failure is what a Windows start reports as "31 or less".
/// GUI thread (any thread that may create a QProcess).
bool StartProgram(const QString& commandLine);
