#include "platform/RegistryFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

bool isValidKeyPath(QStringView keyPath)
{
    if (keyPath.isEmpty())
        return true;
    qsizetype depth = 1;
    qsizetype nameLength = 0;
    for (const QChar c : keyPath) {
        if (c == u'\\') {
            if (nameLength == 0 || ++depth > kMaxKeyDepth)
                return false;
            nameLength = 0;
        } else if (++nameLength > kMaxKeyNameLength || c.category() == QChar::Other_Control) {
            return false;
        }
    }
    return nameLength > 0;
}

std::size_t CaseInsensitiveName::operator()(QStringView name) const
{
    // FNV-1a over the case-folded code points, as the comparison folds them.
    std::size_t hash = 14695981039346656037ull;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(name[i], name[i + 1]), ++i;
        hash ^= c < 0x80 ? (c >= 'A' && c <= 'Z' ? c + 32 : c) : QChar::toCaseFolded(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// --- RegistryTree

namespace {
/// Keys with fewer values are searched in a row: cheaper than a hash for each of a large
/// file's many small keys.
constexpr qsizetype kHashedValuesFrom = 16;
}  // namespace

qsizetype RegistryTree::Key::positionOf(QStringView name) const
{
    if (m_values.size() < kHashedValuesFrom) {
        for (qsizetype i = 0; i < m_values.size(); ++i) {
            if (name.compare(m_values[i].name, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
    const auto position = m_positions.find(name);
    return position == m_positions.end() ? -1 : position->second;
}

const RegistryValue* RegistryTree::Key::find(QStringView name) const
{
    const qsizetype position = positionOf(name);
    return position < 0 ? nullptr : &m_values[position].value;
}

void RegistryTree::Key::set(const QString& name, const RegistryValue& value)
{
    if (const qsizetype position = positionOf(name); position >= 0) {
        m_values[position].value = value;
        return;
    }
    m_values.append({name, value});
    if (m_values.size() == kHashedValuesFrom) {
        for (qsizetype i = 0; i < m_values.size(); ++i)
            m_positions.emplace(m_values[i].name, i);
    } else if (m_values.size() > kHashedValuesFrom) {
        m_positions.emplace(name, m_values.size() - 1);
    }
}

RegistryTree::RegistryTree() : m_keys{Key{}}, m_positions{{QString(), 0}} {}

qsizetype RegistryTree::indexOf(QStringView keyPath) const
{
    const auto position = m_positions.find(keyPath);
    return position == m_positions.end() ? -1 : position->second;
}

const RegistryTree::Key* RegistryTree::findKey(QStringView keyPath) const
{
    const qsizetype index = indexOf(keyPath);
    return index < 0 ? nullptr : &m_keys[index];
}

RegistryTree::Key& RegistryTree::ensureKey(QStringView keyPath)
{
    // Without recursion: up to the nearest existing ancestor (usually the parent), then down
    // level by level; a new level takes the case of its existing parents.
    qsizetype existing = indexOf(keyPath);
    qsizetype end = keyPath.size();
    while (existing < 0) {
        end = keyPath.lastIndexOf(u'\\', end - 1);
        existing = end < 0 ? 0 : indexOf(keyPath.first(end));
    }
    while (end < keyPath.size()) {
        const qsizetype next = keyPath.indexOf(u'\\', end + 1);
        const qsizetype nameEnd = next < 0 ? keyPath.size() : next;
        const QStringView name = keyPath.sliced(end + 1, nameEnd - end - 1);
        const QString& parentPath = m_keys[existing].path();
        m_keys.append(Key(parentPath.isEmpty() ? name.toString()
                                               : parentPath + u'\\' + name.toString()));
        existing = m_keys.size() - 1;
        m_positions.emplace(m_keys.last().path(), existing);
        end = nameEnd;
    }
    return m_keys[existing];
}

// --- The text form
//
// In names and string data, "\" and '"' are written as \\ and \" as in every export; we also
// write CR as \r and LF as \n, so that no value can ever break the line structure.
// Lines end in LF when written; LF or CR LF are read.

namespace {

void appendQuoted(QString& out, const QString& text)
{
    out += u'"';
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += u"\\\\"; break;
        case '"': out += u"\\\""; break;
        case '\r': out += u"\\r"; break;
        case '\n': out += u"\\n"; break;
        default: out += c;
        }
    }
    out += u'"';
}

void appendData(QString& out, const RegistryValue& value)
{
    switch (value.type) {
    case RegistryValue::Type::String: appendQuoted(out, value.text); return;
    case RegistryValue::Type::Dword:
        out += u"dword:";
        out += QString::number(value.number, 16).rightJustified(8, u'0');
        return;
    case RegistryValue::Type::Binary:
        out += u"hex:";
        out += QString::fromLatin1(value.bytes.toHex(','));
        return;
    }
}

/// Reads the quoted string that starts at line[pos] and moves pos past its closing quote.
std::optional<QString> readQuoted(QStringView line, qsizetype& pos)
{
    if (pos >= line.size() || line[pos] != u'"')
        return std::nullopt;
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        // Plain text up to the next quote or backslash in one piece.
        qsizetype end = pos;
        while (end < line.size() && line[end] != u'"' && line[end] != u'\\')
            ++end;
        text += line.sliced(pos, end - pos);
        pos = end;
        if (pos == line.size())
            break;
        if (line[pos] == u'"') {
            ++pos;
            return text;
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
    // Appended piece by piece: a large file is written in one pass, without temporaries.
    QString text = QStringLiteral("REGEDIT4\n\n");
    for (const RegistryTree::Key& key : tree.keys()) {
        text += u'[';
        text += rootName;
        if (!key.path().isEmpty()) {
            text += u'\\';
            text += key.path();
        }
        text += u"]\n";
        for (const RegistryTree::Value& value : key.values()) {
            if (value.name.isEmpty())
                text += u'@';
            else
                appendQuoted(text, value.name);
            text += u'=';
            appendData(text, value.value);
            text += u'\n';
        }
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

    RegistryTree tree;
    RegistryTree::Key* key = nullptr;  // values belong to the last "[key]" line
    bool header = true;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).sliced(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (std::exchange(header, false)) {
            if (line != u"REGEDIT4")
                return std::nullopt;
            continue;
        }
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
