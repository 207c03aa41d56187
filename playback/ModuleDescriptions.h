#pragma once

#include <QString>

/// The description files found beside a module: "<name>.MDZ" and "FILE_ID.DIZ".
namespace ModuleDescriptions {

/// Lines of a description file shown at most; longer files end in "...File truncated...".
constexpr int kMaxLines = 200;

/// path without the extension of its file name ("/m/a.b.mod" gives "/m/a.b"); path itself
/// when the name has no dot or is empty.
QString BasePath(const QString& path);

/// The existing file whose name equals path's file name without regard to case, in path's
/// directory (path itself when it exists as written); empty when there is none.
QString FindIgnoringCase(const QString& path);

/// The text of a DOS text file, decoded from code page 437, lines joined by CR LF. Lines end
/// in CR LF or LF; a Ctrl-Z ends the text (what follows it is metadata, not text). The first
/// kMaxLines lines, then "...File truncated..." when there are more. A missing file gives
/// "Can't find file "<path>"", an unreadable one "Error while reading file..".
QString ReadTextFile(const QString& path);

}  // namespace ModuleDescriptions
