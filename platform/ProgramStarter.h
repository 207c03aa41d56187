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

/// text as it is written into a command line so that SplitCommandLine reads it back whole:
/// between double quotes when it holds a blank or a tab, otherwise as is (so empty text stays
/// empty, no word at all). Text holding a double quote cannot be written so, as there is no
/// escape; it comes back as is and the caller must not rely on it staying one word.
QString CommandLineWord(const QString& text);

/// Starts the program of a command line with the remaining words as its arguments: detached
/// (it runs on its own, nobody waits for it) and without a shell, so no word is ever
/// interpreted. The program is found as Windows finds it:
/// - a line that starts with "/" may name a program whose path holds blanks without quotes
///   (`/home/me/my tools/ua.sh %1`): the longest run of its leading blank-separated words,
///   before any double quote, that names an executable regular file is the program, and the
///   rest of the line, split by SplitCommandLine, gives its arguments. The longest, not the
///   first as Windows takes: every longer candidate lies in the program's own folder, whereas
///   a shorter one ("/home/me/my") lies in a folder above it, where a stranger might plant a
///   program (the "C:\Program.exe" hijack);
/// - otherwise, and when no such run exists, the first word of SplitCommandLine is the program;
///   a name without "/" is looked up on the PATH, one with "/" is taken as a path. Relative
///   lines are not searched, as the working directory is not the user's choice.
/// False when nothing was started: empty line, program missing, not an executable file, or the
/// system refused to run it. Such a failure is what a Windows start reports as "31 or less".
/// GUI thread (any thread that may create a QProcess).
bool StartProgram(const QString& commandLine);
