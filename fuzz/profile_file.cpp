// Profile files: what a profile reads in memory, after the disc's keys are written into it,
// it reads again once saved and loaded. The input is the file; the values written are its
// own lines, so they hold blanks, quotes, brackets and line ends.
#include "FuzzSupport.h"

#include "platform/ProfileFile.h"

#include <QList>
#include <QStringList>

namespace {

struct Name {
    QString section;
    QString key;
};

/// The names to read: the disc file's, and up to 64 that the input's lines suggest.
QList<Name> namesToRead(const QByteArray& input)
{
    QList<Name> names = {{"GeNeRaL", "App"}, {"FiLeS", "1.File"}, {"FiLeS", "20.Desc"},
                         {"DiSCS", "First"}, {"DiSCS", "Second"}};
    QString section;
    for (const QByteArray& bytes : input.split('\n')) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(u'[') && line.contains(u']'))
            section = line.sliced(1, line.indexOf(u']') - 1);
        else if (line.contains(u'=') && names.size() < 64)
            names.append({section, line.left(line.indexOf(u'='))});
    }
    return names;
}

QStringList readAll(const ProfileFile& profile, const QList<Name>& names)
{
    QStringList values;
    for (const Name& name : names)
        values.append(profile.readString(name.section, name.key, QStringLiteral("(missing)")));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    ProfileFile profile(fuzzFile(QStringLiteral("profile.ini"), input));
    fuzzCheck(profile.load(), "a profile file loads");

    // Replaced where they are, added to their sections, or in new sections at the end.
    const QList<QByteArray> lines = input.split('\n');
    const QList<Name> written = {{"FiLeS", "1.File"}, {"FiLeS", "1.Desc"}, {"DiSCS", "First"},
                                 {"New section", "Key"}};
    for (qsizetype i = 0; i < written.size(); ++i)
        profile.writeString(written[i].section, written[i].key, QString::fromUtf8(lines.value(i)));

    const QList<Name> names = namesToRead(input) + written;
    const QStringList inMemory = readAll(profile, names);
    fuzzCheck(profile.save(), "a profile file saves");
    fuzzCheck(profile.load(), "a saved profile file loads");
    fuzzCheck(readAll(profile, names) == inMemory, "a saved profile file reads as it did in memory");
    return 0;
}
