// The module information view of the player: instruments, the module's song message, the
// module's MDZ file and the FILE_ID.DIZ of its directory.
#include "playback/ClassModPlayer.h"
#include "app/PathParts.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "playback/ModuleDescriptions.h"
#include "playback/PlayerHost.h"

#include <QRegularExpression>

namespace {

// Adds a section: a line of one blank when a section came before it, the header, the lines
// and the end line.
void addSection(QStringList& lines, bool afterSection, const QString& header,
                const QStringList& sectionLines)
{
    if (afterSection)
        lines << QStringLiteral(" ");
    lines << header << sectionLines << QStringLiteral("[-=end=-]");
}

// One line per instrument (or sample where the module has no instruments), numbered from 1.
QStringList instrumentLines(AudioLibrary& library, ModuleHandle module)
{
    ModuleInfo info;
    library.getModuleInfo(module, &info);
    QStringList lines;
    for (quint32 i = 0; i < info.instrumentCount; ++i) {
        InstrumentInfo instrument;
        library.getInstrumentInfo(module, static_cast<int>(i), &instrument);
        lines << ClassModPlayer::PositionText(static_cast<int>(i) + 1) + QStringLiteral(": ") +
                     NameText(instrument.name);
    }
    return lines;
}

// The lines of the module's own song message; none when it has none. Trackers end lines in
// CR, CR LF or LF; the line ends and blanks after the last line are no part of it.
QStringList messageLines(AudioLibrary& library, ModuleHandle module)
{
    ModuleDetails details;
    library.getModuleDetails(module, &details);
    static const QRegularExpression kTrailingSpace(QStringLiteral("\\s+$"));
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    const QString message = details.message.remove(kTrailingSpace);
    return message.isEmpty() ? QStringList() : message.split(kLineEnd);
}

// Adds a description file's section when the file exists.
void addDescription(QStringList& lines, bool afterSection, const QString& header,
                    const QString& wantedPath)
{
    const QString path = ModuleDescriptions::FindIgnoringCase(wantedPath);
    if (path.isEmpty())
        return;
    addSection(lines, afterSection, header,
               ModuleDescriptions::ReadTextFile(path).split(QLatin1String("\r\n")));
}

}  // namespace

QStringList ClassModPlayer::InfoLines() const
{
    QStringList lines;
    // Each section after the first is set off by a blank line.
    const auto add = [&lines](const QString& header, const QStringList& sectionLines) {
        addSection(lines, !lines.isEmpty(), header, sectionLines);
    };
    // Only while modules are levelled and this one's figures are known.
    if (m_level && m_level->loudness)
        add(QStringLiteral("-=] Loudness [=-"), {LevelText(*m_level->loudness, m_level->gainDb)});
    // Only a module of several songs has this section: others show what they always did.
    const QList<Subsong> subsongs = Details().subsongs;
    if (subsongs.size() > 1)
        add(QStringLiteral("-=] %1 subsongs [=-").arg(subsongs.size()), SubsongTexts(subsongs));
    const QStringList instruments = instrumentLines(m_library, m_module);
    if (!instruments.isEmpty())
        add(QStringLiteral("-=] Instruments [=-"), instruments);
    const QStringList message = messageLines(m_library, m_module);
    if (!message.isEmpty())
        add(QStringLiteral("-=] Song message [=-"), message);
    const QString base = ModuleDescriptions::BasePath(m_modulePath);
    addDescription(lines, !lines.isEmpty(), QStringLiteral("-=] MDZ file [=-"), base + QStringLiteral(".MDZ"));
    addDescription(lines, !lines.isEmpty(), QStringLiteral("-=] FILE_ID.DIZ [=-"),
                   PathParts::DirectoryPart(base) + QStringLiteral("FILE_ID.DIZ"));
    return lines;
}

void ClassModPlayer::ToggleInfos()
{
    if (m_infosShown) {
        CloseInfos();
    } else if (HasModule()) {
        m_infosShown = true;
        ShowInfos();
    }
}

void ClassModPlayer::CloseInfos()
{
    m_host.SetInfoView(false);
    m_host.SetStatusText(QStringLiteral("Infos closed"));
    m_infosShown = false;
}

void ClassModPlayer::ShowInfos()
{
    if (!m_infosShown)
        return;
    m_host.SetStatusText(QStringLiteral("Searching for infos..."));
    QStringList lines;
    {
        ScreenCursor::HourglassScope working;
        lines = InfoLines();
        m_host.SetInfoLines(lines);
    }
    if (!lines.isEmpty()) {
        m_host.SetStatusText(QStringLiteral("Displaying infos"));
        m_host.SetInfoView(true);
        m_infosShown = true;
    } else {
        m_host.SetStatusText(QStringLiteral("No infos found"));
        m_host.SetInfoView(false);
        CJKMessages::Show(3400, m_modulePath);
        m_infosShown = false;
    }
}
