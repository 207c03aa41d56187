#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <unordered_map>

/// Key names are at most this long, and paths at most this deep, as in the Windows registry.
/// A file beyond them is no registry file: it is set aside rather than loaded.
inline constexpr qsizetype kMaxKeyNameLength = 255;
inline constexpr qsizetype kMaxKeyDepth = 512;

/// True for "" (the root) and for at most kMaxKeyDepth names joined by single "\", none of
/// them empty, longer than kMaxKeyNameLength or holding a control character, which would break
/// the "[key]" line of the file.
bool isValidKeyPath(QStringView keyPath);

/// Hashing and comparing names without regard to case, for lookups by QStringView that
/// allocate nothing.
struct CaseInsensitiveName {
    using is_transparent = void;
    std::size_t operator()(QStringView name) const;
    bool operator()(QStringView a, QStringView b) const
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
};

/// The keys and values of one registry root, in the order they were created.
/// Key paths are relative to the root; the root itself ("") always exists. Key paths and value
/// names compare without regard to case and keep the case they were created with.
/// Lookups are hashed, so a file of millions of lines loads in linear time.
class RegistryTree {
public:
    struct Value {
        QString name;  // empty for the default value
        RegistryValue value;
        friend bool operator==(const Value&, const Value&) = default;
    };

    class Key {
    public:
        explicit Key(QString path = {}) : m_path(std::move(path)) {}

        const QString& path() const { return m_path; }
        /// In creation order.
        const QList<Value>& values() const { return m_values; }

        /// The value called name, or nullptr.
        const RegistryValue* find(QStringView name) const;
        /// Sets the value called name; a new value keeps the case of name.
        void set(const QString& name, const RegistryValue& value);

        friend bool operator==(const Key& a, const Key& b)
        {
            return a.m_path == b.m_path && a.m_values == b.m_values;
        }

    private:
        qsizetype positionOf(QStringView name) const;  // in m_values, or -1

        QString m_path;
        QList<Value> m_values;
        // In m_values by name, once there are many.
        std::unordered_map<QString, qsizetype, CaseInsensitiveName, CaseInsensitiveName> m_positions;
    };

    RegistryTree();

    /// Every key, parents before their children.
    const QList<Key>& keys() const { return m_keys; }

    /// The key at keyPath, or nullptr.
    const Key* findKey(QStringView keyPath) const;

    /// The key at keyPath, created with its missing parents when needed. keyPath must be
    /// valid (isValidKeyPath). The reference lasts until the next key is created.
    Key& ensureKey(QStringView keyPath);

    friend bool operator==(const RegistryTree& a, const RegistryTree& b) { return a.m_keys == b.m_keys; }

private:
    qsizetype indexOf(QStringView keyPath) const;

    QList<Key> m_keys;
    // In m_keys by path; the map's keys share the text of the keys' paths.
    std::unordered_map<QString, qsizetype, CaseInsensitiveName, CaseInsensitiveName> m_positions;
};

/// The text form of one root: the registry export format "REGEDIT4", UTF-8.
namespace RegistryFile {

/// The file for tree, whose root is called rootName ("HKEY_CURRENT_USER").
QByteArray write(const QString& rootName, const RegistryTree& tree);

/// The tree that data holds, or nothing when data is not a well-formed file of rootName.
std::optional<RegistryTree> read(const QString& rootName, const QByteArray& data);

}  // namespace RegistryFile
