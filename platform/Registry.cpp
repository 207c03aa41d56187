#include "platform/Registry.h"

#include "platform/RegistryFile.h"
#include "platform/RegularFile.h"
#include "platform/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

RegistryValue RegistryValue::fromString(const QString& text)
{
    RegistryValue value;
    value.text = text;
    return value;
}

RegistryValue RegistryValue::fromDword(quint32 number)
{
    RegistryValue value;
    value.type = Type::Dword;
    value.number = number;
    return value;
}

RegistryValue RegistryValue::fromBinary(const QByteArray& bytes)
{
    RegistryValue value;
    value.type = Type::Binary;
    value.bytes = bytes;
    return value;
}

namespace {

constexpr RegistryRoot kRoots[] = {RegistryRoot::CurrentUser, RegistryRoot::ClassesRoot,
                                   RegistryRoot::LocalMachine, RegistryRoot::Users};

QString rootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryRoot::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryRoot::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case RegistryRoot::Users: return QStringLiteral("HKEY_USERS");
    }
    return {};
}

/// Tells one version of a file from the next: a program that rewrites it moves its time or size.
struct FileStamp {
    bool exists = false;
    QDateTime modified;
    qint64 size = -1;

    static FileStamp of(const QString& path)
    {
        const QFileInfo info(path);
        return {info.exists(), info.lastModified(), info.size()};
    }
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// Renames a file that cannot be parsed to "<path>.bad", or ".bad.1", ".bad.2", ... when
/// that is taken. The new path, or empty when the file could not be renamed.
QString setAside(const QString& path)
{
    for (int n = 0;; ++n) {
        const QString target = path + ".bad" + (n == 0 ? QString() : "." + QString::number(n));
        if (!QFileInfo::exists(target))
            return QFile::rename(path, target) ? target : QString();
    }
}

/// The value as a file gives it back: only the member of its type.
RegistryValue normalised(const RegistryValue& value)
{
    switch (value.type) {
    case RegistryValue::Type::String: return RegistryValue::fromString(value.text);
    case RegistryValue::Type::Dword: return RegistryValue::fromDword(value.number);
    case RegistryValue::Type::Binary: return RegistryValue::fromBinary(value.bytes);
    }
    return value;
}

}  // namespace

struct Registry::Hive {
    RegistryTree tree;
    FileStamp stamp;  // of the file that tree was read from or written to
    bool blocked = false;  // a bad file could not be set aside: never write over it; retry later
    bool unwritten = false;  // changed while writes are deferred
};

Registry::Registry(QString directory) : m_directory(std::move(directory)) {}

Registry::~Registry() = default;

QString Registry::filePath(RegistryRoot root) const
{
    return m_directory + u'/' + rootName(root) + ".reg";
}

Registry::Hive& Registry::hive(RegistryRoot root) const
{
    std::unique_ptr<Hive>& hive = m_hives[int(root)];
    const QString path = filePath(root);
    // Changes not yet written win over whatever happened to the file meanwhile.
    if (hive && hive->unwritten)
        return *hive;
    const FileStamp stamp = FileStamp::of(path);
    if (hive && !hive->blocked && hive->stamp == stamp)
        return *hive;

    hive = std::make_unique<Hive>();
    hive->stamp = stamp;
    if (!stamp.exists)
        return *hive;
    std::optional<RegistryTree> tree;
    if (const std::optional<QByteArray> data = RegularFile::ReadAll(path))
        tree = RegistryFile::read(rootName(root), *data);
    if (tree) {
        hive->tree = std::move(*tree);
        return *hive;
    }
    // The root starts empty, and the bad file stays for the user to look at.
    const QString aside = setAside(path);
    hive->blocked = aside.isEmpty();
    if (!hive->blocked) {
        m_setAside.append(aside);
        hive->stamp = FileStamp::of(path);
    }
    return *hive;
}

bool Registry::writeFile(RegistryRoot root, Hive& current, const RegistryTree& tree) const
{
    const QString path = filePath(root);
    if (!QDir().mkpath(m_directory)
        || !WholeFileWriter::writeFile(path, RegistryFile::write(rootName(root), tree)))
        return false;
    current.stamp = FileStamp::of(path);
    return true;
}

bool Registry::change(RegistryRoot root, Hive& current,
                      const std::function<void(RegistryTree&)>& edit)
{
    if (current.blocked)
        return false;
    if (m_deferDepth > 0) {
        edit(current.tree);
        current.unwritten = true;
        return true;
    }
    RegistryTree tree = current.tree;
    edit(tree);
    if (!writeFile(root, current, tree))
        return false;
    current.tree = std::move(tree);
    return true;
}

void Registry::deferWrites()
{
    ++m_deferDepth;
}

QStringList Registry::commitWrites()
{
    QStringList failed;
    if (m_deferDepth == 0 || --m_deferDepth > 0)
        return failed;
    for (RegistryRoot root : kRoots) {
        Hive* current = m_hives[int(root)].get();
        if (!current || !current->unwritten)
            continue;
        current->unwritten = false;
        if (!writeFile(root, *current, current->tree))
            failed.append(filePath(root));
    }
    return failed;
}

bool Registry::createKey(RegistryRoot root, const QString& keyPath)
{
    if (!isValidKeyPath(keyPath))
        return false;
    Hive& current = hive(root);
    if (current.tree.findKey(keyPath))
        return !current.blocked;
    return change(root, current, [&](RegistryTree& tree) { tree.ensureKey(keyPath); });
}

bool Registry::keyExists(RegistryRoot root, const QString& keyPath) const
{
    return hive(root).tree.findKey(keyPath) != nullptr;
}

std::optional<RegistryValue> Registry::value(RegistryRoot root, const QString& keyPath,
                                             const QString& name) const
{
    const RegistryTree::Key* key = hive(root).tree.findKey(keyPath);
    const RegistryValue* found = key ? key->find(name) : nullptr;
    return found ? std::optional(*found) : std::nullopt;
}

bool Registry::setValue(RegistryRoot root, const QString& keyPath, const QString& name,
                        const RegistryValue& value)
{
    // A NUL would end the string in the Windows registry, and it cannot be written to the file.
    const QChar nul(0);
    if (!isValidKeyPath(keyPath) || name.contains(nul)
        || (value.type == RegistryValue::Type::String && value.text.contains(nul)))
        return false;
    Hive& current = hive(root);
    const RegistryValue wanted = normalised(value);
    const RegistryTree::Key* key = current.tree.findKey(keyPath);
    const RegistryValue* old = key ? key->find(name) : nullptr;
    if (old && *old == wanted)
        return !current.blocked;
    return change(root, current,
                  [&](RegistryTree& tree) { tree.ensureKey(keyPath).set(name, wanted); });
}

QStringList Registry::setAsideFiles() const
{
    return m_setAside;
}

int Registry::removeAbandonedTemporaries() const
{
    int removed = 0;
    for (RegistryRoot root : kRoots)
        removed += WholeFileWriter::removeAbandonedTemporaries(filePath(root));
    return removed;
}
