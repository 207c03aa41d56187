#include "settings/ClassOptions.h"

#include "platform/Registry.h"
#include "settings/CLassFileLinks.h"
#include "settings/OptionStorage.h"
#include "settings/RegistryKeys.h"

#include <QCoreApplication>

namespace {

bool isUserAction(int n)
{
    return n >= 1 && n <= OptionsTable::kUserActionCount;
}

/// The rows of the playback quality, for the store and for StoredPlaybackQuality().
template <typename Quality, typename Visit>
void visitPlaybackQuality(Quality& quality, Visit&& visit)
{
    using namespace OptionsTable;
    visit(kInterpolation, quality.interpolationTaps);
    visit(kStereoSeparation, quality.stereoSeparation);
    visit(kAmigaResampler, quality.amigaResampler);
    visit(kVolumeRamping, quality.volumeRamping);
}

}  // namespace

ClassOptions::ClassOptions(Registry& registry) : m_registry(registry)
{
    read();
}

ClassOptions::~ClassOptions()
{
    write();
    // The running program file is known only through the application object.
    if (QCoreApplication::instance())
        WriteFileLinks(m_registry, QCoreApplication::applicationFilePath());
}

QString ClassOptions::UserActionPath(int n) const
{
    return isUserAction(n) ? m_userActionPaths[n - 1] : QString();
}

void ClassOptions::SetUserActionPath(int n, const QString& commandLine)
{
    if (isUserAction(n))
        m_userActionPaths[n - 1] = commandLine;
}

bool ClassOptions::UserActionSleep(int n) const
{
    return isUserAction(n) ? m_userActionSleep[n - 1] : OptionsTable::kUserActionSleep.defaultValue;
}

void ClassOptions::SetUserActionSleep(int n, bool sleep)
{
    if (isUserAction(n))
        m_userActionSleep[n - 1] = sleep;
}

bool ClassOptions::UserActionCloseMod(int n) const
{
    return isUserAction(n) ? m_userActionCloseMod[n - 1]
                           : OptionsTable::kUserActionCloseMod.defaultValue;
}

void ClassOptions::SetUserActionCloseMod(int n, bool close)
{
    if (isUserAction(n))
        m_userActionCloseMod[n - 1] = close;
}

void ClassOptions::AddRecentPath(const QString& directory)
{
    const QString wanted = directory.toUpper();
    for (const QString& entry : std::as_const(m_recentPaths)) {
        if (entry.toUpper() == wanted)
            return;
    }
    m_recentPaths.append(directory);
    if (m_recentPaths.size() > kRecentPathsMax)
        m_recentPaths.removeAt(1);
}

template <typename Self, typename Visit>
void ClassOptions::forEachValue(Self& self, Visit&& visit)
{
    using namespace OptionsTable;
    visit(kOpenModulePath, self.m_openModulePath);
    visit(kOpenDiscPath, self.m_openDiscPath);
    visit(kUserActionPath, self.m_userActionPaths);
    visit(kUserActionSleep, self.m_userActionSleep);
    visit(kUserActionCloseMod, self.m_userActionCloseMod);
    visit(kRecentPaths, self.m_recentPaths);
    visit(kPlaybackMode, self.m_playbackMode);
    visit(kPlaybackFrequency, self.m_playbackFrequency);
    visit(kPlaybackBuffer, self.m_playbackBuffer);
    visit(kScrollSpeed, self.m_scrollSpeed);
    visit(kFadeout, self.m_fadeout);
    visit(kVolumeExe, self.m_volumeExe);
    visit(kOutputVolume, self.m_outputVolume);
    visit(kAtTheEnd, self.m_atTheEnd);
    visit(kNotify, self.m_notify);
    visit(kResume, self.m_resume);
    visit(kLastDisc, self.m_last.disc);
    visit(kLastModule, self.m_last.module);
    visit(kLastSubsong, self.m_last.subsong);
    visit(kLastSlot, self.m_last.slot);
    visitPlaybackQuality(self.m_playbackQuality, visit);
    visit(kShortestSubsong, self.m_shortestSubsong);
    visit(kEvenLoudness, self.m_evenLoudness);
    visit(kLoudnessTarget, self.m_loudnessTarget);
}

RenderQuality ClassOptions::StoredPlaybackQuality(Registry& registry)
{
    RenderQuality quality;
    const OptionStorage storage(registry);
    visitPlaybackQuality(quality, [&storage](const auto& row, auto& value) { storage.read(row, value); });
    return quality;
}

void ClassOptions::read()
{
    m_registry.createKey(RegistryRoot::CurrentUser, RegistryKeys::kOptions);
    const OptionStorage storage(m_registry);
    forEachValue(*this, [&storage](const auto& row, auto& value) { storage.read(row, value); });
}

void ClassOptions::write() const
{
    // All values in one write of the file. A failure is reported by whoever deferred the
    // writes of the whole exit; the store itself reports nothing.
    m_registry.deferWrites();
    const OptionStorage storage(m_registry);
    forEachValue(*this,
                 [&storage](const auto& row, const auto& value) { storage.write(row, value); });
    m_registry.commitWrites();
}
