#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Reading and extending a mimeapps.list (freedesktop "MIME applications associations").
/// Both work on the file's bytes, so that whatever is not ours survives exactly: spacing,
/// comments, CR LF line ends, text in other encodings.

/// The types of mimeTypes that have an entry in a "[Default Applications]" section of list, in
/// the order of mimeTypes. An entry counts whatever it names, even nothing: it is someone's
/// choice.
QStringList TypesWithDefault(const QByteArray& list, const QStringList& mimeTypes);

/// list with desktopId as the default application of every type of mimeTypes that has no
/// entry yet (see TypesWithDefault); entries that exist are never changed.
///
/// - The new "type=desktopId;" lines follow the last non-blank line of the first
///   "[Default Applications]" section; a missing section is added at the end of the text,
///   after one blank line.
/// - New lines end as the first line of list does (CR LF or LF); a last line without a line
///   end gets one before anything is added after it.
/// - Nothing else changes: when every type has an entry, the result is list itself.
QByteArray WithDefaultApplication(const QByteArray& list, const QStringList& mimeTypes,
                                  const QString& desktopId);
