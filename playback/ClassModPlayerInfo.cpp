// The module information view of the player: instruments, the module's MDZ file and the
// FILE_ID.DIZ of its directory.
#include "playback/ClassModPlayer.h"
#include "app/PathParts.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "playback/ModuleDescriptions.h"
#include "playback/PlayerHost.h"

namespace {

const QString kSectionEnd = QStringLiteral("[-=end=-]");

// Adds a description file's section when the file exists; true when it did.
bool addDescription(QStringList& lines, bool afterSection, const QString& header,
                    const QString& wantedPath)
{
    const QString path = ModuleDescriptions::FindIgnoringCase(wantedPath);
    if (path.isEmpty())
        return false;
    if (afterSection)
        lines << QStringLiteral(" ");
    lines << header;
    lines << ModuleDescriptions::ReadTextFile(path).split(QLatin1String("\r\n"));
    lines << kSectionEnd;
    return true;
}

}  // namespace

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
    bool sectionShown = false;
    bool anythingFound = false;
    QStringList lines;
    {
        ScreenCursor::HourglassScope working;
        ModuleInfo info;
        m_library.getModuleInfo(m_module, &info);
        if (info.instrumentCount > 0) {
            lines << QStringLiteral("-=] Instruments [=-");
            for (quint32 i = 0; i < info.instrumentCount; ++i) {
                InstrumentInfo instrument;
                m_library.getInstrumentInfo(m_module, static_cast<int>(i), &instrument);
                lines << PositionText(static_cast<int>(i) + 1) + QStringLiteral(": ") +
                             NameText(instrument.name);
            }
            lines << kSectionEnd;
            sectionShown = anythingFound = true;
        }
        const QString base = ModuleDescriptions::BasePath(m_modulePath);
        if (addDescription(lines, sectionShown, QStringLiteral("-=] MDZ file [=-"),
                           base + QStringLiteral(".MDZ")))
            sectionShown = anythingFound = true;
        const QString directory = PathParts::DirectoryPart(base);
        if (addDescription(lines, sectionShown, QStringLiteral("-=] FILE_ID.DIZ [=-"),
                           directory + QStringLiteral("FILE_ID.DIZ")))
            anythingFound = true;
        m_host.SetInfoLines(lines);
    }
    if (anythingFound) {
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
