#pragma once

#include <QString>
#include <QStringList>

/// The text of a mimeapps.list (freedesktop "MIME applications associations") in which
/// desktopId comes first in the "[Default Applications]" entry of every type of mimeTypes.
///
/// - Every other line of list stays as it is, in its place: comments, blank lines, other
///   sections, other types, and text that is no "key=value" line.
/// - An entry of the type (in any number of lines of that section) becomes "desktopId;"
///   followed by the applications it named before, each once, desktopId removed from them.
/// - A type without an entry gets one after the last non-blank line of the section; a missing
///   section is added at the end of the text, after one blank line.
/// - The result ends with a line feed. For list already in that shape it is list itself.
QString WithDefaultApplication(const QString& list, const QStringList& mimeTypes,
                               const QString& desktopId);
