#include "support/RecordingAudioLibrary.h"

#include <algorithm>

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

void RecordingAudioLibrary::close() { record(QStringLiteral("close")); }

ModuleHandle RecordingAudioLibrary::loadModule(const QString& fileName)
{
    m_calls.append(QStringLiteral("loadModule ") + fileName);
    return m_loadablePaths.contains(fileName) ? m_nextHandle++ : 0;
}

void RecordingAudioLibrary::playModule(ModuleHandle module, int)
{
    record(QStringLiteral("playModule"), {qint64(module)});
}

void RecordingAudioLibrary::stopModule(ModuleHandle module)
{
    record(QStringLiteral("stopModule"), {qint64(module)});
}

void RecordingAudioLibrary::freeModule(ModuleHandle module)
{
    record(QStringLiteral("freeModule"), {qint64(module)});
}

void RecordingAudioLibrary::setMusicVolume(int volume)
{
    record(QStringLiteral("setMusicVolume"), {volume});
    m_volume = volume;
}

void RecordingAudioLibrary::getModuleInfo(ModuleHandle module, ModuleInfo* info)
{
    record(QStringLiteral("getModuleInfo"), {qint64(module)});
    *info = isGiven(module) ? m_moduleInfo : ModuleInfo();
}

void RecordingAudioLibrary::getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info)
{
    record(QStringLiteral("getInstrumentInfo"), {qint64(module), index});
    *info = InstrumentInfo();
    if (isGiven(module) && index >= 0 && index < m_instrumentNames.size())
        copyText(m_instrumentNames[index].toLatin1(), info->name);
}

void RecordingAudioLibrary::getPlayStatus(PlayStatus* status)
{
    record(QStringLiteral("getPlayStatus"));
    *status = PlayStatus();
    status->position = m_position;
}

void RecordingAudioLibrary::setPosition(int position)
{
    record(QStringLiteral("setPosition"), {position});
    m_position = static_cast<quint32>(position);
}
