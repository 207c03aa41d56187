// Disc files: a disc loaded from any file and saved over it loads again as the same disc,
// slots, titles and disc buttons alike.
#include "FuzzSupport.h"

#include "disc/ClassDisc.h"
#include "disc/FakeDiscHost.h"
#include "platform/Registry.h"
#include "settings/ClassOptions.h"

#include <QStringList>

namespace {

/// What a disc file gives the disc: every slot's path and title, both disc buttons. As far as
/// a file carries them: a line break inside a value is saved as a blank (a line of the file
/// ends there), and a value of one blank is a cleared slot's, saved as empty.
QStringList content(const ClassDisc& disc)
{
    QStringList values;
    for (int n = 1; n <= ClassDisc::kSlotCount; ++n)
        values << disc.SlotPath(n) << disc.SlotTitle(n);
    values << disc.DiscButtonPath(1) << disc.DiscButtonPath(2);
    for (QString& value : values) {
        value.replace(u'\r', u' ');
        if (value == u" ")
            value.clear();
    }
    return values;
}

/// The disc as loaded from path; empty when it was refused.
QStringList load(const QString& path, ClassOptions& options)
{
    FakeDiscHost host;
    ClassDisc disc(host, options);
    disc.LoadFromFile(path);
    return disc.DiscFileName() == path ? content(disc) : QStringList();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Registry registry(fuzzDirectory() + QStringLiteral("/registry"));
    static ClassOptions options(registry);
    const QString path = fuzzFile(QStringLiteral("disc.jkdc"), fuzzBytes(data, size));

    FakeDiscHost host;
    ClassDisc disc(host, options);
    disc.LoadFromFile(path);
    if (disc.DiscFileName() != path)
        return 0;  // no disc file
    const QStringList loaded = content(disc);
    fuzzCheck(disc.SaveToFile(path), "a loaded disc saves over its file");
    fuzzCheck(load(path, options) == loaded, "a saved disc loads as it was");
    return 0;
}
