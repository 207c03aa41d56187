#include "settings/CRegistryStatus.h"

CRegistryStatus::CRegistryStatus(Registry& registry, MessageSink showMessage)
    : m_registry(registry), m_showMessage(std::move(showMessage))
{
}

std::optional<RegistryRoot> CRegistryStatus::GetKeyStart(const QString& path) const
{
    const QString prefix = path.left(4);
    if (prefix == u"HKCU")
        return RegistryRoot::CurrentUser;
    if (prefix == u"HKCR")
        return RegistryRoot::ClassesRoot;
    if (prefix == u"HKLM")
        return RegistryRoot::LocalMachine;
    if (prefix == u"HKUS")
        return RegistryRoot::Users;
    if (m_showMessage)
        m_showMessage(QStringLiteral("GetKeyStart says: BAD Argument of ") + prefix);
    return std::nullopt;
}

QString CRegistryStatus::GetKeyPath(const QString& path)
{
    const QString rest = path.mid(5);
    const qsizetype lastSeparator = rest.lastIndexOf(u'\\');
    return lastSeparator < 0 ? QString() : rest.left(lastSeparator);
}

QString CRegistryStatus::GetValueName(const QString& path)
{
    const QString keyPath = GetKeyPath(path);
    if (keyPath.isEmpty() || path.size() < 5)
        return QString();
    // Past the prefix, its separator, the key path and the backslash after it.
    return path.mid(keyPath.size() + 6);
}

bool CRegistryStatus::WriteValue(const QString& path, const QByteArray& data, int kind,
                                 qsizetype length)
{
    const std::optional<RegistryRoot> root = GetKeyStart(path);
    if (!root)
        return false;
    const QByteArray bytes = data.left(length);
    const RegistryValue value = kind == kStringKind
                                    ? RegistryValue::fromString(QString::fromUtf8(bytes))
                                    : RegistryValue::fromBinary(bytes);
    return m_registry.setValue(*root, GetKeyPath(path), GetValueName(path), value);
}

bool CRegistryStatus::WriteString(const QString& path, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return WriteValue(path, bytes, kStringKind, bytes.size());
}
