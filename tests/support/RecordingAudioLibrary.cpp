#include "support/RecordingAudioLibrary.h"

#include <algorithm>
#include <utility>

namespace {

template <std::size_t N>
void copyText(const QByteArray& text, std::array<char, N>& target)
{
    target.fill('\0');
    std::copy_n(text.constData(), std::min<qsizetype>(text.size(), N), target.begin());
}

}  // namespace

ModuleInfo RecordingAudioLibrary::makeModuleInfo(const QByteArray& songName, quint32 songLength,
                                                 quint32 patternCount, quint32 instrumentCount,
                                                 quint32 channelCount)
{
    ModuleInfo info;
    copyText(songName, info.songName);
    info.songLength = songLength;
    info.patternCount = patternCount;
    info.instrumentCount = instrumentCount;
    info.channelCount = channelCount;
    return info;
}

void RecordingAudioLibrary::record(const QString& name, std::initializer_list<qint64> arguments)
{
    QString line = name;
    for (qint64 argument : arguments)
        line += QLatin1Char(' ') + QString::number(argument);
    m_calls.append(line);
}

void RecordingAudioLibrary::startup() { record(QStringLiteral("startup")); }

void RecordingAudioLibrary::setOption(int option, int value)
{
    record(QStringLiteral("setOption"), {option, value});
}

bool RecordingAudioLibrary::init()
{
    record(QStringLiteral("init"));
    return m_initResult;
}

void RecordingAudioLibrary::startBackgroundPlay(int rate)
{
    record(QStringLiteral("startBackgroundPlay"), {rate});
}

void RecordingAudioLibrary::stopBackgroundPlay() { record(QStringLiteral("stopBackgroundPlay")); }

void RecordingAudioLibrary::close()
{
    record(QStringLiteral("close"));
    m_firstValidHandle = m_nextHandle;
    m_played = 0;
    m_queued = 0;
}

ModuleHandle RecordingAudioLibrary::loadModule(const QString& fileName)
{
    m_calls.append(QStringLiteral("loadModule ") + fileName);
    const bool loadable = m_loadablePaths.contains(fileName);
    m_loadError = loadable ? QString() : m_refusalReason;
    return loadable ? m_nextHandle++ : 0;
}

void RecordingAudioLibrary::playModule(ModuleHandle module, int)
{
    record(QStringLiteral("playModule"), {qint64(module)});
    m_songEnded = false;
    m_queued = 0;
    if (isLoaded(module))
        m_played = module;
}

void RecordingAudioLibrary::queueModule(ModuleHandle module)
{
    record(QStringLiteral("queueModule"), {qint64(module)});
    m_queued = isLoaded(module) && module != m_played ? module : 0;
}

void RecordingAudioLibrary::setSongEnded(bool ended)
{
    if (ended && m_queued != 0) {
        m_played = std::exchange(m_queued, 0);
        m_position = 0;
        m_playTime = 0;
        return;
    }
    m_songEnded = ended;
}

void RecordingAudioLibrary::stopModule(ModuleHandle module)
{
    record(QStringLiteral("stopModule"), {qint64(module)});
}

void RecordingAudioLibrary::freeModule(ModuleHandle module)
{
    record(QStringLiteral("freeModule"), {qint64(module)});
    if (!isLoaded(module))
        return;
    m_freed.insert(module);
    if (module == m_queued)
        m_queued = 0;
    if (module == m_played)
        m_played = 0;
}

void RecordingAudioLibrary::setMusicVolume(int volume)
{
    record(QStringLiteral("setMusicVolume"), {volume});
    m_volume = volume;
}

void RecordingAudioLibrary::getModuleInfo(ModuleHandle module, ModuleInfo* info)
{
    record(QStringLiteral("getModuleInfo"), {qint64(module)});
    if (!info)
        return;
    *info = isLoaded(module) ? m_moduleInfo : ModuleInfo();
}

void RecordingAudioLibrary::getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info)
{
    record(QStringLiteral("getInstrumentInfo"), {qint64(module), index});
    if (!info)
        return;
    *info = InstrumentInfo();
    if (isLoaded(module) && index >= 0 && index < m_instrumentNames.size())
        copyText(m_instrumentNames[index].toLatin1(), info->name);
}

void RecordingAudioLibrary::getPlayStatus(PlayStatus* status)
{
    record(QStringLiteral("getPlayStatus"));
    if (!status)
        return;
    *status = PlayStatus();
    if (m_played != 0) {
        status->module = m_played;
        status->position = m_position;
        status->seconds = m_playTime;
        status->songEnded = m_songEnded;
    }
}

void RecordingAudioLibrary::setPosition(int position)
{
    record(QStringLiteral("setPosition"), {position});
    m_songEnded = false;
    if (m_played != 0)
        m_position = static_cast<quint32>(position);
}

void RecordingAudioLibrary::getModuleDetails(ModuleHandle module, ModuleDetails* details)
{
    record(QStringLiteral("getModuleDetails"), {qint64(module)});
    if (!details)
        return;
    *details = isLoaded(module) ? m_moduleDetails : ModuleDetails();
    const int subsong = m_subsongs.value(module);
    if (isLoaded(module) && subsong < details->subsongs.size()) {
        details->subsong = subsong;
        details->durationSeconds = details->subsongs[subsong].seconds;
    }
}

double RecordingAudioLibrary::getPlayTime()
{
    record(QStringLiteral("getPlayTime"));
    return m_played != 0 ? m_playTime : 0;
}

void RecordingAudioLibrary::setPlayTime(double seconds)
{
    record(QStringLiteral("setPlayTime"), {qRound64(seconds * 1000)});
    m_songEnded = false;
    if (m_played != 0)
        m_playTime = seconds;
}

void RecordingAudioLibrary::selectSubsong(ModuleHandle module, int index)
{
    record(QStringLiteral("selectSubsong"), {qint64(module), index});
    if (!isLoaded(module) || index < 0 || index >= m_moduleDetails.subsongs.size())
        return;
    m_subsongs[module] = index;
    if (module == m_played) {
        m_position = 0;
        m_playTime = 0;
        m_songEnded = false;
    }
}

void RecordingAudioLibrary::setOutputGain(double gain)
{
    record(QStringLiteral("setOutputGain"), {qRound64(gain * 100)});
    m_outputGain = gain;
}

void RecordingAudioLibrary::setModuleGain(ModuleHandle module, double decibels)
{
    record(QStringLiteral("setModuleGain"), {qint64(module), qRound64(decibels * 10)});
}

void RecordingAudioLibrary::setRenderQuality(const RenderQuality& quality)
{
    record(QStringLiteral("setRenderQuality"), {quality.interpolationTaps, quality.stereoSeparation,
                                                quality.amigaResampler ? 1 : 0, quality.volumeRamping});
}

void RecordingAudioLibrary::setRepeat(bool repeat)
{
    record(QStringLiteral("setRepeat"), {repeat ? 1 : 0});
    m_repeat = repeat;
}

void RecordingAudioLibrary::watchHeard(bool watch)
{
    record(QStringLiteral("watchHeard"), {watch ? 1 : 0});
}

void RecordingAudioLibrary::getHeardStatus(HeardStatus* status)
{
    record(QStringLiteral("getHeardStatus"), {});
    if (status)
        *status = HeardStatus();
}

void RecordingAudioLibrary::setChannelMuted(ModuleHandle module, int channel, bool muted)
{
    record(QStringLiteral("setChannelMuted"), {qint64(module), channel, muted ? 1 : 0});
}
