#include "controls/ClassScrollTextViewer.h"

#include "controls/TBanner.h"
#include "platform/RegularFile.h"
#include "platform/audio/AudioLibrary.h"
#include "settings/ClassOptions.h"

#include <QRandomGenerator>

namespace {

constexpr int kTipCount = 9;
const char* const kTips[kTipCount] = {
    "Drag from here to the Disc-buttons to assign a module",
    "Select \"Disc\" -\"Move all to..\" to move a disc with all included modules to a directory",
    "If the playback \"hang\" sometimes, you should increase the size of the buffer "
    "(\"Actions\"-\"Options\")",
    "To assign a module with a number (1-20) of a disc, just right-click on the button and "
    "select \"Assign current module\"",
    "If you stop a module, it's still in memory. If you choose \"Close Module\" it's removed "
    "from memory",
    "Use \"User Actions\" to start any program you wish to. To assign \"User Actions\" select "
    "\"Actions\"-\"Options\"",
    "You can open many file at one time and browse them with the \"|<\" \">|\" buttons. See "
    "Help in \"Open Module\" for details.",
    "If you got many modules you should create directory for every group/composer/style...",
    "You may disable the fadeout-function by selecting \"0 ms\" as fadeout-time (\"Actions\" - "
    "\"Options\")",
};

}  // namespace

ClassScrollTextViewer::ClassScrollTextViewer(TBanner& banner, ClassOptions& options)
    : m_banner(banner), m_options(options)
{
    ApplyScrollSpeed(m_options.ScrollSpeed());
    m_banner.SetScrollText(TipText(QRandomGenerator::global()->bounded(kTipCount)));
}

QString ClassScrollTextViewer::TipText(int index)
{
    return QStringLiteral("Tip: ") + QString::fromLatin1(kTips[qBound(0, index, kTipCount - 1)]);
}

void ClassScrollTextViewer::ApplyScrollSpeed(int speed)
{
    static constexpr quint16 kPixels[4] = {3, 5, 10, 15};
    const int stored = (speed >= 0 && speed <= 2) ? speed : 3;
    m_banner.SetScrollInterval(100);
    m_banner.SetScrollPixels(kPixels[stored]);
    m_options.SetScrollSpeed(stored);
}

void ClassScrollTextViewer::ShowNoModule()
{
    showKeepingScrollState(QStringLiteral("> No module loaded <"));
}

void ClassScrollTextViewer::ShowModuleInfo(const ModuleInfo& info, const QString& path,
                                           const QString& title, int subsong, int subsongCount)
{
    const QString separator = QStringLiteral(" ||");
    QString line = title + separator + QStringLiteral(" %1 kB").arg(RegularFile::Size(path) / 1024) +
                         separator + QStringLiteral(" %1 channels").arg(info.channelCount) +
                         separator + QStringLiteral(" %1 Patterns used for song").arg(info.songLength) +
                         separator + QStringLiteral(" %1 Patterns are different").arg(info.patternCount) +
                         separator + QStringLiteral(" %1 Instruments allocated").arg(info.instrumentCount);
    if (subsongCount > 1)
        line += separator + QStringLiteral(" Subsong %1 of %2").arg(subsong + 1).arg(subsongCount);
    showKeepingScrollState(line);
}

void ClassScrollTextViewer::showKeepingScrollState(const QString& text)
{
    const bool scrolling = m_banner.ScrollEnabled();
    m_banner.SetScrollText(text);
    m_banner.SetScrollEnabled(scrolling);
}
