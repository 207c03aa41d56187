// The disc file: a profile file with the sections "GeNeRaL" (identification), "FiLeS" (the
// slots, "1.File", "1.Desc" to "20.Desc", and "N.Subsong" for a slot that plays another
// subsong than the first) and "DiSCS" (the disc buttons).
#include "disc/ClassDisc.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "disc/DiscHost.h"
#include "app/PathParts.h"
#include "platform/ProfileFile.h"

#include <QFileInfo>

namespace {

const QString kGeneral = QStringLiteral("GeNeRaL");
const QString kFiles = QStringLiteral("FiLeS");
const QString kDiscs = QStringLiteral("DiSCS");
const QString kApp = QStringLiteral("Vorn Jukarium");
const QString kDesc = QStringLiteral("Jukarium Disc file");

QString fileKey(int n) { return QString::number(n) + QStringLiteral(".File"); }
QString descKey(int n) { return QString::number(n) + QStringLiteral(".Desc"); }
QString subsongKey(int n) { return QString::number(n) + QStringLiteral(".Subsong"); }

/// Subsongs are numbered from 1 in the file, from 0 in memory. Far more than any module holds
/// counts as damage.
constexpr int kMostSubsongs = 9999;

/// The subsong (from 0) a slot's stored number names; 0 (the first) for a missing, invalid or
/// out-of-range one.
int storedSubsong(const QString& stored)
{
    bool number = false;
    const int subsong = stored.toInt(&number);
    return number && subsong >= 1 && subsong <= kMostSubsongs ? subsong - 1 : 0;
}

/// Empty slot values (nothing, or the blank of a cleared slot) are written as one blank so that
/// every key keeps a visible value; reading removes the blank again. Any other value reads back
/// as held, also a title with blanks at its ends or in quotes and a path ending in a blank.
QString writtenSlotValue(const QString& value)
{
    return value.isEmpty() || value == u" " ? QStringLiteral(" ") : ProfileFile::readableValue(value);
}

}  // namespace

bool ClassDisc::SaveToFile(const QString& name)
{
    const QString target = PathParts::IsDiscPath(name) ? name : name + QStringLiteral(".jkdc");

    // All keys are set in memory and the file is written once, whole, through a temporary
    // file: a failed save (full volume, read-only folder) leaves the old file intact instead
    // of half a disc. Loading first keeps the foreign sections and keys of an existing file;
    // one that exists but cannot be read is never replaced.
    ProfileFile profile(target);
    bool ok = profile.load() || !QFileInfo::exists(target);
    if (ok) {
        profile.writeString(kGeneral, QStringLiteral("App"), kApp);
        profile.writeString(kGeneral, QStringLiteral("Desc"), kDesc);
        profile.writeString(kGeneral, QStringLiteral("Ver"), QStringLiteral("1.0"));
        for (int n = 1; n <= kSlotCount; ++n) {
            profile.writeString(kFiles, fileKey(n), writtenSlotValue(m_slotPaths[n - 1]));
            profile.writeString(kFiles, descKey(n), writtenSlotValue(m_slotTitles[n - 1]));
            // Only where it is not the first, so that a disc without subsongs stays as it was.
            if (m_slotSubsongs[n - 1] > 0)
                profile.writeString(kFiles, subsongKey(n), QString::number(m_slotSubsongs[n - 1] + 1));
            else
                profile.removeKey(kFiles, subsongKey(n));
        }
        // Disc buttons as held: "(no disc selected)", a disc's path, or empty when the file
        // they were loaded from had none.
        profile.writeString(kDiscs, QStringLiteral("First"), ProfileFile::readableValue(m_discButtonPaths[0]));
        profile.writeString(kDiscs, QStringLiteral("Second"), ProfileFile::readableValue(m_discButtonPaths[1]));
        ok = profile.save();
    }
    if (!ok) {
        CJKMessages::Show(3100, target);
        return false;
    }
    m_discFileName = target;
    m_changed = false;
    m_host.DiscSaved(target);
    m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Disc \"%1\" sucessfully saved"),
                                                     PathParts::FileNamePart(target)));
    return true;
}

void ClassDisc::LoadFromFile(const QString& name)
{
    ClearAll();  // the old disc is gone whether or not this one loads

    ProfileFile profile(name);
    if (!profile.load() || profile.readString(kGeneral, QStringLiteral("App")) != kApp
        || profile.readString(kGeneral, QStringLiteral("Desc")) != kDesc) {
        m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Cannot read \"%1\""), name));
        CJKMessages::Show(3000, name);
        return;
    }

    ScreenCursor::HourglassScope hourglass;
    for (int n = 1; n <= kSlotCount; ++n) {
        m_slotPaths[n - 1] = profile.readString(kFiles, fileKey(n));
        m_slotTitles[n - 1] = profile.readString(kFiles, descKey(n));
        m_slotSubsongs[n - 1] = assigned(n) ? storedSubsong(profile.readString(kFiles, subsongKey(n))) : 0;
        m_host.SetSlotHint(n, SlotHint(n));
        if (!m_slotPaths[n - 1].isEmpty())
            m_host.SetSlotAssigned(n, true);
    }
    m_discButtonPaths[0] = profile.readString(kDiscs, QStringLiteral("First"));
    m_discButtonPaths[1] = profile.readString(kDiscs, QStringLiteral("Second"));

    m_discFileName = name;
    RefreshDisplay();
    m_changed = false;
    m_host.DiscLoaded(name);
    m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Disc \"%1\" succesfully loaded"),
                                                     PathParts::FileNamePart(name)));
}
