#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class JukeboxSession;

/// Adds the modules and discs the session opens to the desktop's recently used files, the
/// XBEL list ($XDG_DATA_HOME/recently-used.xbel) that the file dialogs of every program offer.
/// GUI thread only.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    /// Adds the disc and module session has open already, and each it opens from now on;
    /// session must outlive this object. The list is the file at xbelPath.
    RecentFiles(QString xbelPath, JukeboxSession& session);

    /// The list's place for this user: recently-used.xbel in $XDG_DATA_HOME (an absolute one),
    /// else in ~/.local/share.
    static QString UsersList();

    /// Adds path (absolute, of mimeType), used by this program at now, to the list at xbelPath:
    /// its bookmark is made, or its times brought up to now and this program's count raised.
    /// Everything else in the list stays as other programs wrote it. The list is written whole
    /// (WholeFileWriter); a list that cannot be read as XBEL is left alone. False when nothing
    /// was written.
    static bool Add(const QString& xbelPath, const QString& path, const QString& mimeType, const QDateTime& now);

private:
    QString m_xbelPath;
};
