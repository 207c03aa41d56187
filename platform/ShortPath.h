#pragma once

#include <QString>

/// The short form of a path: a name for the same file that a program receives as one argument
/// of a command line split at blanks, without quotes and without any character that a shell or
/// a command-line splitter treats specially (white space, control characters, quotes, and
/// ; $ ` | & < > ( ) * ? ! \).
///
/// - A path free of those characters is its own short form and comes back as given.
/// - Otherwise the short form is an alias: a symbolic link to the file's absolute path in
///   $XDG_RUNTIME_DIR/jukarium-short/ (or, without a usable runtime directory,
///   QDir::tempPath()/jukarium-short-<uid>/), a directory created owner-only. The link is named
///   by a stable hash of the absolute path and the file's own name with every such character
///   replaced by "_", so it keeps the extension (".xm") and is the same in every run. A link
///   that already points at the file is reused; anything else under that name is replaced.
/// - Empty when the file does not exist or no alias can be made; the caller then falls back.
///
/// Aliases stay until the runtime directory is cleared (at logout) or the temporary directory
/// is cleaned. Thread: any, but not concurrently for the same path.
QString ShortPathName(const QString& path);
