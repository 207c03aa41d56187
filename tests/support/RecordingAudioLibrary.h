#pragma once

#include "platform/audio/AudioLibrary.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>

/// An audio library for tests of its callers: records every call but loadError(), which only
/// answers, as one line of text, in order, and answers from a script instead of playing.
///
/// The lines are the method name and its arguments, separated by blanks:
/// "startup", "setOption 2 10", "init", "startBackgroundPlay 0", "stopBackgroundPlay",
/// "close", "loadModule /a b.xm", "playModule 1", "queueModule 2", "stopModule 1", "freeModule 1",
/// "setMusicVolume 64", "getModuleInfo 1", "getInstrumentInfo 1 0", "getPlayStatus",
/// "setPosition 3", "getModuleDetails 1", "getPlayTime", "setPlayTime 1500" (milliseconds),
/// "selectSubsong 1 2",
/// "setOutputGain 50" (percent), "setModuleGain 1 -35" (module, tenths of a dB), "setRenderQuality 8 100 0 -1" (taps, separation, Amiga
/// resampler, ramping), "setRepeat 1", "watchHeard 1", "getHeardStatus", "setChannelMuted 1 2 1"
/// (module, channel, muted).
///
/// Script: init() returns initResult (default true); loadModule() gives the next handle (1,
/// 2, ...) for a path made loadable and 0 for any other, for which loadError() then gives
/// the load error set (default "no module"); getModuleInfo() gives moduleInfo for
/// any handle it gave; getInstrumentInfo() the instrument names, empty past their end;
/// getPlayStatus() the module played last, the current position, which setPosition() also
/// sets, and whether the song ended (setSongEnded; playing or moving the module takes it back
/// into its song; where a module is queued, it follows on instead, at position 0); getModuleDetails()
/// moduleDetails for any handle it gave, with the subsong selectSubsong() chose for it and
/// that subsong's length; getPlayTime() the play time setPlayTime() set last; getHeardStatus()
/// nothing heard.
/// Handles, instrument indexes and "the module played last" follow the edge cases of
/// AudioLibrary exactly, as the real library does.
///
/// GUI thread only, like the real library.
class RecordingAudioLibrary final : public AudioLibrary {
public:
    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

    void setInitResult(bool result) { m_initResult = result; }
    void addLoadablePath(const QString& path) { m_loadablePaths.insert(path); }
    /// What loadError() tells after a load of a path not made loadable.
    void setLoadError(const QString& reason) { m_refusalReason = reason; }
    void setModuleInfo(const ModuleInfo& info) { m_moduleInfo = info; }
    /// Names as Latin-1 text, cut to 32 bytes.
    void setInstrumentNames(const QStringList& names) { m_instrumentNames = names; }
    void setCurrentPosition(quint32 position) { m_position = position; }
    void setModuleDetails(const ModuleDetails& details) { m_moduleDetails = details; }
    void setSongEnded(bool ended);

    /// The last volume set (by setMusicVolume), 64 at first.
    int volume() const { return m_volume; }
    /// The last output gain set, 1.0 at first.
    double outputGain() const { return m_outputGain; }
    /// Whether songs repeat, as set last; true at first.
    bool repeats() const { return m_repeat; }

    /// A ModuleInfo filled in one call, for scripts.
    static ModuleInfo makeModuleInfo(const QByteArray& songName, quint32 songLength,
                                     quint32 patternCount, quint32 instrumentCount,
                                     quint32 channelCount);

    void startup() override;
    void setOption(int option, int value) override;
    bool init() override;
    void startBackgroundPlay(int rate) override;
    void stopBackgroundPlay() override;
    void close() override;
    ModuleHandle loadModule(const QString& fileName) override;
    QString loadError() const override { return m_loadError; }
    void playModule(ModuleHandle module, int unused) override;
    void queueModule(ModuleHandle module) override;
    void stopModule(ModuleHandle module) override;
    void freeModule(ModuleHandle module) override;
    void setMusicVolume(int volume) override;
    void getModuleInfo(ModuleHandle module, ModuleInfo* info) override;
    void getInstrumentInfo(ModuleHandle module, int index, InstrumentInfo* info) override;
    void getPlayStatus(PlayStatus* status) override;
    void setPosition(int position) override;
    void getModuleDetails(ModuleHandle module, ModuleDetails* details) override;
    double getPlayTime() override;
    void setPlayTime(double seconds) override;
    void selectSubsong(ModuleHandle module, int index) override;
    void setOutputGain(double gain) override;
    void setModuleGain(ModuleHandle module, double decibels) override;
    void setRenderQuality(const RenderQuality& quality) override;
    void setRepeat(bool repeat) override;
    void watchHeard(bool watch) override;
    void getHeardStatus(HeardStatus* status) override;
    void setChannelMuted(ModuleHandle module, int channel, bool muted) override;

private:
    void record(const QString& name, std::initializer_list<qint64> arguments = {});
    /// Given, and neither freed nor from before close().
    bool isLoaded(ModuleHandle module) const
    {
        return module >= m_firstValidHandle && module < m_nextHandle && !m_freed.contains(module);
    }

    QStringList m_calls;
    bool m_initResult = true;
    QSet<QString> m_loadablePaths;
    QString m_refusalReason = QStringLiteral("no module");
    QString m_loadError;  // of the last loadModule()
    ModuleInfo m_moduleInfo;
    QStringList m_instrumentNames;
    quint32 m_position = 0;
    int m_volume = 64;
    ModuleDetails m_moduleDetails;
    double m_playTime = 0;
    double m_outputGain = 1.0;
    bool m_songEnded = false;
    bool m_repeat = true;
    ModuleHandle m_nextHandle = 1;
    ModuleHandle m_firstValidHandle = 1;  // handles before it are from before close()
    QSet<ModuleHandle> m_freed;
    ModuleHandle m_played = 0;  // the module played last, 0 for none
    ModuleHandle m_queued = 0;  // follows it at its song's end, 0 for none
    QHash<ModuleHandle, int> m_subsongs;  // as selected; 0 for a handle not named
};
