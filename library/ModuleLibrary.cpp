#include "library/ModuleLibrary.h"

#include "platform/Registry.h"
#include "settings/RegistryKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kFoldersValue = QStringLiteral("Folders");

}  // namespace

ModuleLibrary::ModuleLibrary(Registry& registry, QString databasePath, QObject* parent)
    : QObject(parent), m_registry(registry), m_databasePath(std::move(databasePath)), m_indexer(m_databasePath)
{
    connect(&m_indexer, &LibraryIndexer::progressChanged, this, [this](const IndexProgress& progress) {
        m_progress = progress;
        emit progressChanged(progress);
    });
    connect(&m_indexer, &LibraryIndexer::finished, this, [this](const IndexSummary& summary) {
        if (!summary.error.isEmpty())
            emit message(QStringLiteral("The library could not be written: %1").arg(summary.error));
        if (!summary.cancelled)
            watch(summary.walkedFolders);
        emit indexingFinished(summary);
    });
    m_changePause.setSingleShot(true);
    m_changePause.setInterval(kChangePauseMs);
    connect(&m_changePause, &QTimer::timeout, this, &ModuleLibrary::rescan);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_changePause, qOverload<>(&QTimer::start));
}

void ModuleLibrary::watch(const QList<QByteArray>& folders)
{
    if (const QStringList watched = m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    QStringList paths;
    for (const QByteArray& folder : folders.mid(0, kMaxWatchedFolders))
        paths << QFile::decodeName(folder);
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

ModuleLibrary::~ModuleLibrary() = default;

QStringList ModuleLibrary::folders() const
{
    // Kept as a JSON array of strings: any character a path may hold survives.
    const auto stored = m_registry.value(RegistryRoot::CurrentUser, RegistryKeys::kLibrary, kFoldersValue);
    QStringList folders;
    if (stored)
        for (const QJsonValue& folder : QJsonDocument::fromJson(stored->text.toUtf8()).array())
            if (!folder.toString().isEmpty())
                folders << folder.toString();
    return folders;
}

void ModuleLibrary::storeFolders(const QStringList& folders)
{
    const QByteArray json = QJsonDocument(QJsonArray::fromStringList(folders)).toJson(QJsonDocument::Compact);
    m_registry.setValue(RegistryRoot::CurrentUser, RegistryKeys::kLibrary, kFoldersValue,
                        RegistryValue::fromString(QString::fromUtf8(json)));
    emit foldersChanged(folders);
}

void ModuleLibrary::addFolder(const QString& folder)
{
    const QString clean = QFileInfo(folder).absoluteFilePath();
    QStringList list = folders();
    if (clean.isEmpty() || list.contains(clean))
        return;
    list << clean;
    storeFolders(list);
    rescan();
}

void ModuleLibrary::removeFolder(const QString& folder)
{
    QStringList list = folders();
    if (!list.removeAll(folder))
        return;
    storeFolders(list);
    if (m_indexer.running())
        m_indexer.cancel();  // the scan that ends now leaves the folder's entries; the next one removes them
    rescan();
}

bool ModuleLibrary::ensureOpen()
{
    if (!m_openTried) {
        m_openTried = true;
        if (!m_store.open(m_databasePath))
            emit message(QStringLiteral("The library file \"%1\" cannot be opened: %2")
                             .arg(m_databasePath, m_store.database().lastError()));
        else if (!m_store.setAsideMessage().isEmpty())
            emit message(m_store.setAsideMessage());
    }
    return m_store.database().isOpen();
}

void ModuleLibrary::rescan()
{
    if (m_indexer.running()) {
        // Asked again while one runs (a folder removed): once it ends, scan anew, once.
        if (!m_rescanQueued)
            connect(&m_indexer, &LibraryIndexer::finished, this, [this] {
                m_rescanQueued = false;
                rescan();
            }, Qt::SingleShotConnection);
        m_rescanQueued = true;
        return;
    }
    if (!ensureOpen())
        return;
    QList<QByteArray> paths;
    for (const QString& folder : folders())
        paths << QFile::encodeName(folder);
    m_indexer.start(paths);
    emit indexingStarted();
}

bool ModuleLibrary::resumeUnfinishedScan()
{
    if (!QFileInfo::exists(m_databasePath) || !ensureOpen() || m_store.scanComplete())
        return false;
    rescan();
    return true;
}

QList<LibraryResult> ModuleLibrary::search(const LibraryQuery& query)
{
    return ensureOpen() ? searchLibrary(m_store, query) : QList<LibraryResult>();
}

qint64 ModuleLibrary::moduleCount()
{
    return ensureOpen() ? m_store.database().integer("SELECT count(*) FROM modules", 0) : 0;
}
