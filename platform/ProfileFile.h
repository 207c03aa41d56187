#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// A profile (INI) file read and written with the rules that disc files rely on:
/// - section and key names match without regard to case (and without surrounding blanks);
/// - a value is the text after the first "=" of its line, with leading and trailing blanks
///   removed and then one enclosing pair of double or single quotes removed; at most 1023
///   characters of it are read;
/// - writing replaces an existing entry in its own line, adds a new key at the end of its
///   section and a new section at the end of the file; lines end in CR LF;
/// - lines that are not written (foreign sections, keys, comments) stay byte for byte.
///
/// Text is UTF-8; a line that is not valid UTF-8 is read as Latin-1.
/// The file is held in memory between load() and save(); save() writes it whole through a
/// temporary file, so the file on disk is either the old one or the new one, never half.
class ProfileFile {
public:
    /// Longest value read, in characters.
    static constexpr int kMaxValueLength = 1023;

    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }

    /// Reads the file. False (and an empty profile) when it does not exist or cannot be read,
    /// for example because the path names a directory.
    bool load();

    /// The value of key in section; fallback when the section or key is missing.
    QString readString(const QString& section, const QString& key,
                       const QString& fallback = QString()) const;

    /// Sets key in section to value, in memory.
    void writeString(const QString& section, const QString& key, const QString& value);

    /// Removes key from section, in memory; nothing where it is missing.
    void removeKey(const QString& section, const QString& key);

    /// value as it is written so that readString gives it back: between double quotes when
    /// reading would otherwise take something off (blanks or tabs at either end, an enclosing
    /// pair of quotes), as is otherwise. CR and LF become blanks all the same, as in every
    /// text written, and no more than kMaxValueLength characters are read.
    static QString readableValue(const QString& value);

    /// Writes the whole file. False when it cannot be written; the file on disk is then as
    /// it was before.
    bool save() const;

private:
    QString m_path;
    QList<QByteArray> m_lines;  // without line ends
};
