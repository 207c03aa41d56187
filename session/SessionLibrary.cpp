// The session's side of the module library: where its database lives, and the modules it
// hands to the disc.
#include "session/JukeboxSession.h"

#include "app/PathParts.h"
#include "library/ModuleReader.h"

#include <QFile>
#include <QStandardPaths>

void JukeboxSession::makeLibrary(Registry& registry)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    m_library = std::make_unique<ModuleLibrary>(registry, data + QStringLiteral("/jukarium/library.sqlite"));
    // A scan cut off by the end of the program (or a kill) goes on where it stopped.
    m_library->resumeUnfinishedScan();
}

QString JukeboxSession::moduleTitle(const QString& path)
{
    // Reading the module's header and patterns costs a few milliseconds and renders nothing.
    const QString title = readModuleRecord(QFile::encodeName(path)).title;
    return title.isEmpty() ? PathParts::FileNamePart(path) : title;
}

void JukeboxSession::NewDiscFromModules(const QStringList& paths)
{
    QList<std::pair<QString, QString>> modules;
    for (const QString& path : paths.mid(0, ClassDisc::kSlotCount))
        modules.append({path, moduleTitle(path)});
    m_disc->NewDiscWith(modules);
}

void JukeboxSession::PutModuleInSlot(int n, const QString& path)
{
    if (validSlot(n))
        m_disc->PutModule(n, path, moduleTitle(path));
}
