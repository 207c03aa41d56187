#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

/// Writes registry values named by one registry path, such as "HKCR\.MOD\" or
/// "HKCU\Software\Test\Level", instead of a root, a key and a value name given apart.
///
/// A registry path has three parts:
/// - the root prefix, its first four characters: "HKCU", "HKCR", "HKLM" or "HKUS", compared
///   case-sensitively. The fifth character is the separator and is skipped unread.
/// - the key path: from the sixth character up to, not including, the last backslash. It may
///   hold backslashes of its own and may be empty (the root itself).
/// - the value name: the text after the last backslash; empty means the key's default value.
///   A path without a key path ("HKCU\Name") has an empty value name as well, so the write
///   goes to the default value of the root.
///
/// Only writing is offered. A base class: the file type associations derive from it.
/// GUI thread only.
class CRegistryStatus {
public:
    /// Shows a plain message box with the text; returns when it is closed.
    using MessageSink = std::function<void(const QString& text)>;

    /// WriteValue kind of a string value; every other kind stores binary data.
    static constexpr int kStringKind = 1;

    virtual ~CRegistryStatus() = default;
    CRegistryStatus(const CRegistryStatus&) = delete;
    CRegistryStatus& operator=(const CRegistryStatus&) = delete;

    /// The root named by the prefix of path. For any other prefix shows
    /// "GetKeyStart says: BAD Argument of " followed by the four prefix characters and
    /// returns nothing.
    std::optional<RegistryRoot> GetKeyStart(const QString& path) const;
    /// The key path of path; empty for the root.
    static QString GetKeyPath(const QString& path);
    /// The value name of path; empty for the default value.
    static QString GetValueName(const QString& path);

    /// Writes the first length bytes of data as the value of path: a string value (read as
    /// UTF-8) for kind 1, binary data for any other kind. The key and its parents are created
    /// when missing. False when the prefix is unknown or the registry cannot be written.
    bool WriteValue(const QString& path, const QByteArray& data, int kind, qsizetype length);
    /// Writes text as the string value of path.
    bool WriteString(const QString& path, const QString& text);

protected:
    /// registry: must outlive this object. showMessage: where the bad-prefix message goes;
    /// empty drops it.
    CRegistryStatus(Registry& registry, MessageSink showMessage);

private:
    Registry& m_registry;
    MessageSink m_showMessage;
};
