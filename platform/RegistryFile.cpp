#include "platform/RegistryFile.h"

#include <QStringDecoder>

#include <algorithm>

bool isValidKeyPath(QStringView keyPath)
{
    if (keyPath.isEmpty())
        return true;
    if (keyPath.count(u'\\') >= kMaxKeyDepth)
        return false;
    const auto names = keyPath.split(u'\\');
    return std::none_of(names.begin(), names.end(), [](QStringView name) {
        return name.isEmpty() || name.size() > kMaxKeyNameLength
            || std::any_of(name.begin(), name.end(),
                           [](QChar c) { return c.category() == QChar::Other_Control; });
    });
}

// --- RegistryTree

namespace {
QString folded(QStringView name) { return name.toString().toCaseFolded(); }
}  // namespace

const RegistryValue* RegistryTree::Key::find(QStringView name) const
{
    const auto position = m_positions.constFind(folded(name));
    return position == m_positions.cend() ? nullptr : &m_values[*position].value;
}

void RegistryTree::Key::set(const QString& name, const RegistryValue& value)
{
    const QString key = folded(name);
    if (const auto position = m_positions.constFind(key); position != m_positions.cend()) {
        m_values[*position].value = value;
        return;
    }
    m_positions.insert(key, m_values.size());
    m_values.append({name, value});
}

RegistryTree::RegistryTree() : m_keys{Key{}}, m_positions{{QString(), 0}} {}

qsizetype RegistryTree::indexOf(QStringView keyPath) const
{
    return m_positions.value(folded(keyPath), -1);
}

const RegistryTree::Key* RegistryTree::findKey(QStringView keyPath) const
{
    const qsizetype index = indexOf(keyPath);
    return index < 0 ? nullptr : &m_keys[index];
}

RegistryTree::Key& RegistryTree::ensureKey(QStringView keyPath)
{
    if (const qsizetype index = indexOf(keyPath); index >= 0)
        return m_keys[index];
    // Level by level from the top, without recursion; a new level takes the case of its
    // existing parents.
    qsizetype parent = 0;  // the root
    qsizetype end = -1;
    do {
        end = keyPath.indexOf(u'\\', end + 1);
        const QStringView prefix = end < 0 ? keyPath : keyPath.first(end);
        qsizetype index = indexOf(prefix);
        if (index < 0) {
            const QString& parentPath = m_keys[parent].path();
            const QStringView name = prefix.sliced(prefix.lastIndexOf(u'\\') + 1);
            m_keys.append(Key(parentPath.isEmpty() ? name.toString() : parentPath + u'\\' + name.toString()));
            index = m_keys.size() - 1;
            m_positions.insert(folded(prefix), index);
        }
        parent = index;
    } while (end >= 0);
    return m_keys[parent];
}

// --- The text form
//
// In names and string data, "\" and '"' are written as \\ and \" as in every export; we also
// write CR as \r and LF as \n, so that no value can ever break the line structure.
// Lines end in LF when written; LF or CR LF are read.

namespace {

QString quoted(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += u"\\\\"; break;
        case '"': out += u"\\\""; break;
        case '\r': out += u"\\r"; break;
        case '\n': out += u"\\n"; break;
        default: out += c;
        }
    }
    return out + u'"';
}

QString dataText(const RegistryValue& value)
{
    switch (value.type) {
    case RegistryValue::Type::String: return quoted(value.text);
    case RegistryValue::Type::Dword:
        return QStringLiteral("dword:%1").arg(value.number, 8, 16, QChar(u'0'));
    case RegistryValue::Type::Binary: return "hex:" + QString::fromLatin1(value.bytes.toHex(','));
    }
    return {};
}

/// Reads the quoted string that starts at line[pos] and moves pos past its closing quote.
std::optional<QString> readQuoted(QStringView line, qsizetype& pos)
{
    if (pos >= line.size() || line[pos] != u'"')
        return std::nullopt;
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return text;
        }
        if (c != u'\\') {
            text += c;
            continue;
        }
        if (++pos == line.size())
            return std::nullopt;
        switch (line[pos].unicode()) {
        case '\\': text += u'\\'; break;
        case '"': text += u'"'; break;
        case 'r': text += u'\r'; break;
        case 'n': text += u'\n'; break;
        default: return std::nullopt;
        }
    }
    return std::nullopt;  // no closing quote
}

bool isHex(QStringView digits)
{
    return std::all_of(digits.begin(), digits.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    });
}

/// The value written after the "=" of a value line.
std::optional<RegistryValue> readData(QStringView data)
{
    if (data.startsWith(u'"')) {
        qsizetype pos = 0;
        const auto text = readQuoted(data, pos);
        if (!text || pos != data.size())
            return std::nullopt;
        return RegistryValue::fromString(*text);
    }
    if (data.startsWith(u"dword:")) {
        const QStringView digits = data.sliced(6);
        if (digits.size() != 8 || !isHex(digits))
            return std::nullopt;
        return RegistryValue::fromDword(digits.toUInt(nullptr, 16));
    }
    if (data.startsWith(u"hex:")) {
        QByteArray bytes;
        if (data.size() > 4) {
            for (QStringView digits : data.sliced(4).split(u',')) {
                if (digits.size() != 2 || !isHex(digits))
                    return std::nullopt;
                bytes += char(digits.toUInt(nullptr, 16));
            }
        }
        return RegistryValue::fromBinary(bytes);
    }
    return std::nullopt;
}

bool readValueLine(QStringView line, RegistryTree::Key& key)
{
    qsizetype pos = 1;
    QString name;  // "@" stands for the default value
    if (!line.startsWith(u'@')) {
        pos = 0;
        const auto quotedName = readQuoted(line, pos);
        if (!quotedName)
            return false;
        name = *quotedName;
    }
    if (pos >= line.size() || line[pos] != u'=')
        return false;
    const auto value = readData(line.sliced(pos + 1));
    if (value)
        key.set(name, *value);
    return value.has_value();
}

/// The key path of a "[rootName\path]" line.
std::optional<QStringView> readKeyLine(const QString& rootName, QStringView line)
{
    if (!line.endsWith(u']'))
        return std::nullopt;
    const QStringView full = line.sliced(1, line.size() - 2);
    if (full.compare(rootName, Qt::CaseInsensitive) == 0)
        return QStringView();
    if (!full.startsWith(rootName, Qt::CaseInsensitive) || full.size() <= rootName.size() + 1
        || full[rootName.size()] != u'\\')
        return std::nullopt;
    const QStringView path = full.sliced(rootName.size() + 1);
    return isValidKeyPath(path) ? std::optional(path) : std::nullopt;
}

}  // namespace

QByteArray RegistryFile::write(const QString& rootName, const RegistryTree& tree)
{
    QString text = QStringLiteral("REGEDIT4\n\n");
    for (const RegistryTree::Key& key : tree.keys()) {
        text += u'[' + rootName + (key.path().isEmpty() ? QString() : u'\\' + key.path()) + "]\n";
        for (const RegistryTree::Value& value : key.values())
            text += (value.name.isEmpty() ? QStringLiteral("@") : quoted(value.name)) + u'='
                    + dataText(value.value) + u'\n';
        text += u'\n';
    }
    return text.toUtf8();
}

std::optional<RegistryTree> RegistryFile::read(const QString& rootName, const QByteArray& data)
{
    if (data.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(data);
    if (utf8.hasError())
        return std::nullopt;

    QList<QStringView> lines = QStringView(text).split(u'\n');
    for (QStringView& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    if (lines.first() != u"REGEDIT4")
        return std::nullopt;

    RegistryTree tree;
    RegistryTree::Key* key = nullptr;  // values belong to the last "[key]" line
    for (QStringView line : lines.sliced(1)) {
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const auto path = readKeyLine(rootName, line);
            if (!path)
                return std::nullopt;
            key = &tree.ensureKey(*path);
        } else if (!key || !readValueLine(line, *key)) {
            return std::nullopt;
        }
    }
    return tree;
}
