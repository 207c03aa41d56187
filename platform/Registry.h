#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class RegistryTree;

/// The four roots of the registry.
enum class RegistryRoot { CurrentUser, ClassesRoot, LocalMachine, Users };

/// One registry value: a string (REG_SZ), an unsigned 32-bit number (REG_DWORD) or bytes
/// (REG_BINARY). Only the member of its type is meaningful.
struct RegistryValue {
    enum class Type { String, Dword, Binary };

    Type type = Type::String;
    QString text;
    quint32 number = 0;
    QByteArray bytes;

    static RegistryValue fromString(const QString& text);
    static RegistryValue fromDword(quint32 number);
    static RegistryValue fromBinary(const QByteArray& bytes);

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

/// A registry of our own: one text file per root in the registry export format
/// ("REGEDIT4", "[key]" lines, "name"="text", "name"=dword:0000000a, "name"=hex:01,02,
/// @= for the default value) inside one directory.
///
/// Key paths use "\" between levels ("Software\Vorn Inc.\Jukarium\1.0"); an empty key path is
/// the root itself. Key and value names compare without regard to case and keep the case they
/// were created with. An empty value name is the key's default value.
///
/// Every change is written at once, the whole file through a temporary file that replaces it,
/// so a crash never leaves half a file; between deferWrites() and commitWrites() changes stay
/// in memory and each changed file is written once at the end. A file changed on disk by someone else is read again
/// before the next access. A file that cannot be parsed is renamed aside (to "<file>.bad",
/// never overwriting an earlier one) and the root starts empty.
///
/// GUI thread only; not shared between threads.
class Registry {
public:
    /// directory: where the root files live; created with its parents on the first write.
    explicit Registry(QString directory);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    /// Full path of the file that holds root.
    QString filePath(RegistryRoot root) const;

    /// Creates keyPath with its missing parents. False when the file cannot be written.
    bool createKey(RegistryRoot root, const QString& keyPath);

    bool keyExists(RegistryRoot root, const QString& keyPath) const;

    /// The value, or nothing when the key or the value does not exist.
    std::optional<RegistryValue> value(RegistryRoot root, const QString& keyPath,
                                       const QString& name) const;

    /// Sets a value, creating the key and its parents. False when the file cannot be written;
    /// the registry then holds what it held before.
    bool setValue(RegistryRoot root, const QString& keyPath, const QString& name,
                  const RegistryValue& value);

    /// From now on changes stay in memory (and setValue/createKey succeed) until the matching
    /// commitWrites(). For many changes at once, such as every setting at exit: a large file is
    /// then written once, not once per value. Pairs nest; the outermost commit writes.
    void deferWrites();

    /// Ends one deferWrites(). The outermost writes each root changed since then once, and
    /// changes are written at once again. The files that could not be written; they keep what
    /// they held, and their roots keep the changes in memory only.
    QStringList commitWrites();

    /// Files that could not be parsed and were set aside during this object's life.
    QStringList setAsideFiles() const;

    /// Removes the temporary files that writes of the root files left in the directory when
    /// their process ended before finishing (a kill, a power failure); those of writes still
    /// under way, in this or another process, stay. For the program's start. The number removed.
    int removeAbandonedTemporaries() const;

private:
    struct Hive;
    Hive& hive(RegistryRoot root) const;  // read again when its file has changed
    /// Writes tree as the file of root, whose hive is current; false on failure.
    bool writeFile(RegistryRoot root, Hive& current, const RegistryTree& tree) const;
    /// Applies edit to root: in memory while writes are deferred, else to a copy that replaces
    /// current's tree once its file is written. False, and no change, on failure.
    bool change(RegistryRoot root, Hive& current, const std::function<void(RegistryTree&)>& edit);

    QString m_directory;
    mutable std::unique_ptr<Hive> m_hives[4];
    mutable QStringList m_setAside;
    int m_deferDepth = 0;  // deferWrites() calls not yet committed
};
