// The disc file: a profile file with the sections "GeNeRaL" (identification), "FiLeS" (the
// slots, "1.File", "1.Desc" to "20.Desc") and "DiSCS" (the disc buttons).
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
        m_host.SetSlotHint(n, m_slotTitles[n - 1]);
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
