// Moving a disc with all its modules into one directory: every check first, then copy all,
// then delete all, so that no run ever loses a module.
#include "disc/ClassDisc.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "disc/DiscHost.h"
#include "app/PathParts.h"
#include "platform/FileCopy.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

/// The directory chooser's kind for "Move disc to:".
constexpr int kMoveDiscChooser = 3;

/// Free bytes of the volume that holds directory; -1 when they cannot be determined.
qint64 freeBytes(const QString& directory)
{
    const QStorageInfo volume(directory);
    return volume.isValid() ? volume.bytesAvailable() : -1;
}

bool isSameFile(const QString& a, const QString& b)
{
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

}  // namespace

bool ClassDisc::HasNameClash() const
{
    for (int a = 1; a <= kSlotCount; ++a) {
        for (int b = a + 1; b <= kSlotCount; ++b) {
            if (!assigned(a) || !assigned(b))
                continue;
            const QString name = PathParts::FileNamePart(ResolvePath(m_slotPaths[a - 1])).toUpper();
            if (name.size() > 1
                && name == PathParts::FileNamePart(ResolvePath(m_slotPaths[b - 1])).toUpper())
                return true;
        }
    }
    return false;
}

void ClassDisc::MoveAllTo()
{
    if (m_changed || m_discFileName == kNoDiscLoaded) {
        CJKMessages::Show(3600);
        return;
    }

    m_host.SetStatusText(QStringLiteral("Calculating size..."));
    QList<int> assignedSlots;  // in slot order
    qint64 totalSize = 0;
    for (int n = 1; n <= kSlotCount; ++n) {
        if (assigned(n)) {
            assignedSlots.append(n);
            totalSize += RegularFile::Size(ResolvePath(m_slotPaths[n - 1]));
        }
    }
    if (totalSize <= 0) {
        m_host.SetStatusText(QStringLiteral("Error \"Move all to\""));
        return;
    }

    m_host.SetStatusText(QStringLiteral("Checking modules..."));
    if (HasNameClash()) {
        CJKMessages::Show(3700);
        return;
    }

    QString directory = m_host.ChooseDirectory(kMoveDiscChooser);
    if (directory.isEmpty())
        return;
    if (!directory.endsWith(u'/'))
        directory += u'/';
    // The disc file is saved there at the end; another disc under its name would be lost. A
    // link there, also one that leads nowhere, is someone's too: the save would not follow it.
    const QString movedDiscFile = directory + PathParts::FileNamePart(m_discFileName);
    const QFileInfo movedDisc(movedDiscFile);
    if ((movedDisc.exists() || movedDisc.isSymLink()) && !isSameFile(movedDiscFile, m_discFileName)) {
        CJKMessages::Show(3900, directory);
        return;
    }
    if (freeBytes(directory) < totalSize) {
        CJKMessages::Show(3800, directory);
        return;
    }

    // Copy all; a failed copy takes back the ones made, the last first, and changes nothing.
    QStringList sources;
    QStringList created;
    {
        ScreenCursor::HourglassScope hourglass;
        for (int n : assignedSlots) {
            const QString source = ResolvePath(m_slotPaths[n - 1]);
            m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Moving %1"), source));
            const QString target = directory + PathParts::FileNamePart(source);
            if (!FileCopy::CopyWithoutOverwrite(source, target))
                break;
            sources.append(source);
            created.append(target);
        }
        if (created.size() < assignedSlots.size()) {
            for (qsizetype i = created.size() - 1; i >= 0; --i)
                QFile::remove(created[i]);
        }
    }
    if (created.size() < assignedSlots.size()) {
        CJKMessages::Show(3900, directory);
        return;
    }

    // Every copy is complete: only now do the originals go. A source that cannot be deleted
    // stays where it is while the disc names the copy.
    for (qsizetype i = 0; i < assignedSlots.size(); ++i) {
        QFile::remove(sources[i]);
        m_slotPaths[assignedSlots[i] - 1] = PathParts::FileNamePart(sources[i]);
    }
    m_changed = true;  // so that a failed save below leaves the disc counted as unsaved

    // The disc is written at its new place before the old file goes, so a failed save keeps
    // the old disc file instead of leaving none.
    const QString oldDiscFile = m_discFileName;
    m_discFileName = movedDiscFile;
    if (SaveToFile(m_discFileName) && !isSameFile(oldDiscFile, m_discFileName))
        QFile::remove(oldDiscFile);

    m_host.SetStatusText(QStringLiteral("All modules&disc moved"));
    CJKMessages::Show(21000, directory);
}
