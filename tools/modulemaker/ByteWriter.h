#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace ModuleMaker {

/// Appends the fields of a binary file: little- and big-endian integers, fixed-size texts, and
/// values filled in later at a remembered offset.
class ByteWriter {
public:
    void u8(int value) { m_data.append(char(value & 0xFF)); }
    void le16(int value) { u8(value); u8(value >> 8); }
    void le32(std::uint32_t value) { le16(int(value & 0xFFFF)); le16(int(value >> 16)); }
    void be16(int value) { u8(value >> 8); u8(value); }
    /// Latin-1 text cut to size bytes and padded with NUL.
    void text(const QString& text, int size)
    {
        QByteArray bytes = text.toLatin1().left(size);
        bytes.resize(size, '\0');
        m_data.append(bytes);
    }
    void bytes(const QByteArray& bytes) { m_data.append(bytes); }
    void zeros(qsizetype count) { m_data.append(count, '\0'); }
    void alignTo(qsizetype multiple) { zeros((multiple - m_data.size() % multiple) % multiple); }

    void patchLe16(qsizetype offset, int value)
    {
        m_data[offset] = char(value & 0xFF);
        m_data[offset + 1] = char((value >> 8) & 0xFF);
    }
    void patchLe32(qsizetype offset, std::uint32_t value)
    {
        patchLe16(offset, int(value & 0xFFFF));
        patchLe16(offset + 2, int(value >> 16));
    }

    qsizetype size() const { return m_data.size(); }
    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

}  // namespace ModuleMaker
