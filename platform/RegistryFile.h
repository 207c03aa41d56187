#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

/// True for "" (the root) and for names joined by single "\", none of them empty and none
/// holding a control character, which would break the "[key]" line of the file.
bool isValidKeyPath(QStringView keyPath);

/// The keys and values of one registry root, in the order they were created.
/// Key paths are relative to the root; the root itself ("") always exists. Key paths and value
/// names compare without regard to case and keep the case they were created with.
class RegistryTree {
public:
    struct Value {
        QString name;  // empty for the default value
        RegistryValue value;
        friend bool operator==(const Value&, const Value&) = default;
    };

    struct Key {
        QString path;
        QList<Value> values;  // in creation order

        /// The value called name, or nullptr.
        const RegistryValue* find(QStringView name) const;
        /// Sets the value called name; a new value keeps the case of name.
        void set(const QString& name, const RegistryValue& value);
        friend bool operator==(const Key&, const Key&) = default;
    };

    RegistryTree();

    /// Every key, parents before their children.
    const QList<Key>& keys() const { return m_keys; }

    /// The key at keyPath, or nullptr.
    const Key* findKey(QStringView keyPath) const;

    /// The key at keyPath, created with its missing parents when needed. keyPath must be
    /// valid (isValidKeyPath). The reference lasts until the next key is created.
    Key& ensureKey(QStringView keyPath);

    friend bool operator==(const RegistryTree&, const RegistryTree&) = default;

private:
    qsizetype indexOf(QStringView keyPath) const;

    QList<Key> m_keys;
};

/// The text form of one root: the registry export format "REGEDIT4", UTF-8.
namespace RegistryFile {

/// The file for tree, whose root is called rootName ("HKEY_CURRENT_USER").
QByteArray write(const QString& rootName, const RegistryTree& tree);

/// The tree that data holds, or nothing when data is not a well-formed file of rootName.
std::optional<RegistryTree> read(const QString& rootName, const QByteArray& data);

}  // namespace RegistryFile
