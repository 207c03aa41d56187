// File operations on the loaded module: copy, move, delete and rename. The module keeps
// playing from memory through copy, move and rename.
#include "playback/ClassModPlayer.h"

#include "app/CJKMessages.h"
#include "app/PathParts.h"
#include "platform/FileCopy.h"
#include "playback/PlayerHost.h"

#include <QFile>

namespace {

constexpr int kCopyChooser = 1;
constexpr int kMoveChooser = 2;

}  // namespace

QString ClassModPlayer::ChooseFileTarget(int chooserKind)
{
    if (!HasModule())
        return QString();
    const QString directory = m_host.ChooseDirectory(chooserKind);
    return directory.isEmpty() ? QString() : directory + PathParts::FileNamePart(m_modulePath);
}

void ClassModPlayer::CopyModuleTo()
{
    const QString target = ChooseFileTarget(kCopyChooser);
    if (target.isEmpty())
        return;
    const FileCopy::CopyResult copied = FileCopy::CopyWithoutOverwrite(m_modulePath, target);
    if (copied)
        m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Module copied to \"%1\""), target));
    else if (copied.outcome == FileCopy::CopyResult::Outcome::TargetTaken)
        CJKMessages::Show(1500, target);
    else
        CJKMessages::Show(1510, target, copied.reason);
}

void ClassModPlayer::MoveModuleTo()
{
    const QString target = ChooseFileTarget(kMoveChooser);
    if (target.isEmpty())
        return;
    const FileCopy::CopyResult copied = FileCopy::CopyWithoutOverwrite(m_modulePath, target);
    if (copied.outcome == FileCopy::CopyResult::Outcome::TargetTaken) {
        CJKMessages::Show(1600, target);  // no text of its own: the catalogue's fallback
        return;
    }
    if (!copied) {
        CJKMessages::Show(1610, target, copied.reason);
        return;
    }
    m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Module moved to \"%1\""), target));
    QFile::remove(m_modulePath);  // a source that stays is no loss: the copy is complete
    m_modulePath = target;        // later copies, moves and reloads act on the file where it is
    m_host.ModulePathChanged(target);
}

void ClassModPlayer::DeleteModule()
{
    if (!HasModule())
        return;
    if (CJKMessages::Ask(30100, m_modulePath) != CJKMessages::AnswerYes)
        return;
    const QString path = m_modulePath;
    // The file goes first, while the disc still knows the slot it came from, so that slot is
    // cleared; the module plays from memory until it is closed.
    const bool deleted = QFile::remove(path);
    if (deleted)
        m_host.ModulePathChanged(QString());
    StopThen(QString(), [this, path, deleted] {
        FreeModule();
        if (deleted)
            m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Module \"%1\" deleted..."), path));
        else
            CJKMessages::Show(1700, path);
    });
}

void ClassModPlayer::RenameModule()
{
    if (!HasModule())
        return;
    const QString newPath = m_host.RenameModuleDialog(m_modulePath);
    if (newPath.isEmpty())
        return;
    m_modulePath = newPath;
    m_host.ModulePathChanged(newPath);
    m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Module renamed to \"%1\""), newPath));
}
