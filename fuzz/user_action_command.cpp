// A user action's command line: whatever the line and the module's path, the module goes in
// as exactly one argument. The input is the command line, a NUL and the module's long path;
// a second NUL after it gives the module a short form.
#include "FuzzSupport.h"

#include "app/CJKMessages.h"
#include "platform/ProgramStarter.h"
#include "ui/UserActions.h"

#include <QStringList>

namespace {

// Stands where the module goes, to split the line as its user wrote it. A character the
// splitter treats as text, removed from the input first.
constexpr QChar kMarker(0xE000);

// Free of every character ShortPathName leaves out.
const QString kShortForm = QStringLiteral("/run/user/0/jukarium-short/1a2b3c4d-Song_One.xm");

/// The words of the line as written, with the module in the place of the first %1.
QStringList expectedWords(const QString& line, const QString& module)
{
    QStringList words = SplitCommandLine(CJKMessages::InsertArgument(line, kMarker));
    for (QString& word : words)
        word.replace(kMarker, module);
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QList<QByteArray> parts = fuzzBytes(data, size).split('\0');
    const QString line = QString::fromUtf8(parts.value(0)).remove(kMarker);
    const QString longPath = QString::fromUtf8(parts.value(1)).remove(kMarker);
    const QString shortForm = parts.size() > 2 && !longPath.isEmpty() ? kShortForm : QString();

    const std::optional<QString> expanded =
        ExpandUserActionCommand(line, longPath, [&](const QString&) { return shortForm; });
    if (!line.contains(QLatin1String("%1"))) {
        fuzzCheck(expanded == line, "a line without %1 stays as it is");
        return 0;
    }
    if (!expanded) {
        fuzzCheck(longPath.contains(u'"') && shortForm.isEmpty(),
                  "only a path with a double quote and no short form starts nothing");
        return 0;
    }
    if (longPath.isEmpty())
        return 0;  // no module: a bare %1 gives no argument
    const QStringList words = SplitCommandLine(*expanded);
    fuzzCheck(words == expectedWords(line, longPath)
                  || (!shortForm.isEmpty() && words == expectedWords(line, shortForm)),
              "the module is one argument, in the place of the first %1");
    return 0;
}
