#pragma once

#include "platform/audio/AudioLibrary.h"
#include "playback/PlayerHost.h"
#include "settings/ClassOptions.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <utility>

class PlayerHost;

/// The program's only player of tracker modules: starts and stops the audio library, loads
/// one module at a time, plays it, stops it with a fade-out, continues it, steps its song
/// position and closes it, and shows what it does through its host. It also keeps the
/// module information view. GUI thread only. The fade-out runs on the clock of the event
/// loop: the window answers while it runs, and what is asked meanwhile waits for its end.
class ClassModPlayer : public QObject {
    Q_OBJECT
public:
    /// Calls step after a number of milliseconds: the clock of the fade-out's steps, a timer
    /// of the event loop by default.
    using FadeClock = std::function<void(int milliseconds, std::function<void()> step)>;
    /// Who asked for a module: a user at the window hears of a failure in a box; a request
    /// from outside (the media controls, a disc playing through) reads it in the status bar,
    /// as nobody may be there to answer a box.
    /// Forwarded is a user's file that a second start handed over: a user's as far as boxes go,
    /// but not started from the window.
    enum class Origin { User, Forwarded, Outside };

    /// Starts the audio library with the stored sound options (message 1000 when no sound
    /// output opens; the player stays usable). library, options and host are not owned.
    ClassModPlayer(AudioLibrary& library, ClassOptions& options, PlayerHost& host,
                   FadeClock clock = FadeClock());
    /// Stops at once (no fade-out: ending must not wait) and closes the module and the
    /// library; tells the host's text feed nothing.
    ~ClassModPlayer() override;

    /// Fades out and closes any module, then loads and plays path from its subsong (from 0; the
    /// first where the module has no such subsong). When it cannot be loaded, a status text
    /// says so, and message 1100 for a user.
    void LoadModule(const QString& path, Origin origin = Origin::User, int subsong = 0);
    /// Loads the module at path as LoadModule does, from outside, but does not play it: it
    /// waits at the start of subsong until ContinuePlaying.
    void LoadModuleStopped(const QString& path, int subsong);
    /// Loads the module at path, quietly, to follow the loaded one from its subsong on the same
    /// output without a gap where its song ends without repeating; the host hears of it then
    /// (PlayerHost::QueuedModuleFollows). Replaces what was queued before. False, with the audio
    /// library's reason in whyNot, when it cannot be read.
    bool QueueModule(const QString& path, int subsong, QString* whyNot);
    /// The queued module's subsong; 0 when none is queued.
    int QueuedSubsong() const { return m_queuedSubsong; }
    /// Frees the queued module: play stops where the song ends, as without one.
    void DropQueuedModule();
    /// The queued module's path; empty when none is queued.
    const QString& QueuedModulePath() const { return m_queuedPath; }
    /// The queued module, which plays already, becomes the loaded one, and the one before
    /// goes; nothing when none is queued.
    void AdoptQueuedModule();
    /// Plays the loaded, stopped module again; nothing otherwise. During a fade-out, after it.
    void ContinuePlaying();
    /// Fades out over FadeOutSteps x 100 ms and stops; the module stays loaded.
    void StopPlaying();
    /// Stops and frees the module.
    void CloseModule();
    /// Runs then once play has stopped: at once when nothing plays or fading is off, after the
    /// fade-out otherwise (starting it). Only the latest request waits for a fade-out: the one
    /// it replaces is dropped, and named in the status bar where it names a file (name).
    void StopThen(const QString& name, std::function<void()> then);
    bool Fading() const { return m_fading; }
    /// One song position forward or back from the last polled one, within the orders of the
    /// subsong that plays. False (after message
    /// 20000) when no module is loaded, so repeating callers can stop.
    bool StepForward();
    bool StepBack();
    /// Plays from order position order, where it belongs to the subsong that plays.
    void PlayFromOrder(int order);
    /// True with a module; otherwise shows message 20000 and returns false.
    bool HasModule();

    /// Sound options: each hands its value to the library and stores the value back.
    void SetOutputMode(int mode);      // 0 to 3; any other value is 16 bit stereo (3)
    void SetMixingRate(int index);     // 0 to 4; any other value is 44100 Hz (4)
    void SetBufferSize(int index);     // index x 100 + 300 ms
    void SetFadeOutSteps(int steps);   // 100 ms steps, 0 = no fading
    /// Closes and restarts the library with the stored options and reloads the module.
    void RestartAudio();

    /// Opens or closes the module information view.
    void ToggleInfos();

    /// File operations on the loaded module's file (message 20000 without one). Copy and move
    /// never replace an existing file; a move deletes the source only after a complete copy.
    /// A name already taken shows message 1500 (copy) or 1600 (move) with the target; any other
    /// failure 1510 or 1610 with the target and the system's reason (a full volume, no right
    /// to write).
    /// After a move or rename the player follows the file; the slot of a deleted file is
    /// cleared.
    void CopyModuleTo();
    void MoveModuleTo();
    void DeleteModule();
    void RenameModule();

    const QString& ModulePath() const { return m_modulePath; }
    /// The trimmed song name of the loaded module, or its file name when that is blank; empty
    /// without a module.
    const QString& ModuleTitle() const { return m_moduleTitle; }
    /// Who had the loaded module loaded; Outside for one that followed on by itself.
    Origin LoadedOrigin() const { return m_loadedOrigin; }
    /// The title of the module at path whose record is info, as ModuleTitle gives it.
    static QString TitleOf(const ModuleInfo& info, const QString& path);
    bool Playing() const { return m_playing; }
    bool AudioStarted() const { return m_audioStarted; }
    bool InfosShown() const { return m_infosShown; }
    int Position() const { return m_position; }
    int SongLength() const { return m_songLength; }
    int FadeOutSteps() const { return m_fadeOutSteps; }

    // Listening to a part of the music (ClassModPlayerChannels.cpp). Mutes belong to the
    // loaded module: every channel sounds again when another loads or follows on, and the
    // file never changes.
    /// One entry per channel of the loaded module, whether it is muted; empty without one.
    const QList<bool>& MutedChannels() const { return m_mutedChannels; }
    /// Mutes a sounding channel (from 0), or lets a muted one sound again.
    void ToggleChannelMute(int channel);
    /// Lets channel alone sound; where it does already, every channel sounds again.
    void SoloChannel(int channel);
    void UnmuteAllChannels();
    /// What is heard now of the module that plays, while watched (AudioLibrary::watchHeard).
    void WatchHeard(bool watch) { m_library.watchHeard(watch); }
    HeardStatus Heard() const;

    // For the desktop's media controls (ClassModPlayerMedia.cpp).
    /// Details of the loaded module; empty without one.
    ModuleDetails Details() const;
    /// Seconds into the loaded module's song; 0 without one.
    double PlayTime() const;
    /// Jumps to seconds into the loaded module's song (within its length); emits seeked.
    void SeekTo(double seconds);
    /// Plays subsong index (from 0) of the loaded module from its start, which makes its
    /// length the song's; emits subsongChanged. Nothing for another index or without a module.
    void SelectSubsong(int index);
    /// Selects the shown subsong step (-1 or 1) from the one that plays; nothing past either end.
    void StepSubsong(int step);
    /// The subsongs (indexes from 0) that the menu offers and playing through plays: those
    /// at least as long as the shortest shown (an option), and the one that plays; every one
    /// where none is that long. Empty without a module.
    QList<int> ShownSubsongs() const;
    /// Subsongs shorter than seconds are hidden from now on; stored as an option.
    void SetShortestSubsong(int seconds);
    /// Stops with the fade-out and returns to the start, so that playing begins it again.
    void StopAtStart();
    /// Volume of all output in percent (0 to 100); stored as an option.
    int OutputVolume() const;
    void SetOutputVolume(int percent);

    // Every module at the same loudness (ClassModPlayerLoudness.cpp).
    /// Asks the host for the level of the loaded and the queued module's songs again
    /// (PlayerHost::SongLevelOf) and gives each its gain where it changed, gliding where it
    /// sounds; the information view shows the loaded one's figures. The host calls it whenever
    /// a level may have changed: a song measured, the target or the quality changed.
    void UpdateLevels();
    /// The loaded module's level as applied; none while it is not known.
    const std::optional<SongLevel>& Level() const { return m_level; }
    /// The information view's line of level: "Loudness: -21.4 LUFS, peak -3.2 dBTP, gain +3.4 dB".
    static QString LevelText(const Loudness& loudness, double gainDb);

    // For the listener (ClassModPlayerListening.cpp); each is stored as an option.
    /// How modules sound from the next buffer on, also the one playing.
    void SetRenderQuality(const RenderQuality& quality);
    /// What happens when the song of the playing module ends: it repeats; the next slot of
    /// the disc plays, where the module is a slot's (otherwise it repeats); or play stops,
    /// and playing again starts it from its start.
    void SetSongEnd(ClassOptions::SongEnd action);
    /// Tells the library whether the module repeats at its end, as the rule and the host's
    /// PlaysDiscSlot decide now; the host calls it whenever that answer may have changed.
    void UpdateEndRule();

    /// n in decimal with leading zeros to at least three digits.
    static QString PositionText(int n);
    /// Seconds played of a song of length seconds, as "1:23 / 2:25": minutes and seconds, with
    /// hours in front of both where the length reaches an hour ("0:05:09 / 1:02:03").
    static QString TimeText(double played, double length);
    /// Seconds as "1:28", or with hours ("1:02:03") where hours is true.
    static QString ClockText(double seconds, bool hours);
    /// Each subsong as its number from 1, its name where it has one, and its length:
    /// "2: Boss theme (1:28)", "3 (0:04)"; lengths with hours where one reaches an hour.
    static QStringList SubsongTexts(const QList<Subsong>& subsongs);
    /// The status text for a request to open name that was dropped for a later one.
    static QString SkippedText(const QString& name);

signals:
    /// A module was loaded or closed.
    void moduleChanged();
    /// The loaded module started or stopped playing.
    void playingChanged();
    /// The play time jumped: SeekTo, StopAtStart, a step back, or the song repeating.
    void seeked();
    /// path could not be loaded, for reason in the audio library's words.
    void loadFailed(const QString& path, const QString& reason);
    /// Another subsong of the loaded module plays.
    void subsongChanged();
    /// What happens at the end of a song was changed (SetSongEnd, SetShortestSubsong).
    void songEndChanged();
    /// How modules sound was changed (SetRenderQuality).
    void renderQualityChanged();
    /// A channel was muted or let sound again (not when a module loads or closes, which
    /// moduleChanged tells).
    void channelMutesChanged();

private:
    void LoadNow(const QString& path, Origin origin, int subsong, bool play = true);
    /// Shows the module just made the loaded one, from path, and whether it plays.
    void ShowStarted(const QString& path, bool playing = true);
    void StopNow();
    /// The order positions of the subsong that plays: its first, and the end (one past its
    /// last).
    std::pair<int, int> SubsongOrders() const;
    void FreeModule();
    void BeginFade();
    void ScheduleFadeStep();
    void FadeStep();
    /// Stops and closes at once, forgetting a fade-out and what waits for it.
    void StopAudioNow();
    void ApplyStoredOutputVolume();
    void ApplyStoredRenderQuality();
    /// The song ended without repeating: play stops there by itself.
    void SongEnded();
    /// The loaded module's file name in a directory chosen for a copy or move; empty without
    /// a module (message 20000) or when the chooser was cancelled.
    QString ChooseFileTarget(int chooserKind);
    void StartAudio();
    void ApplyOptions();
    void PollPosition();
    void ShowPosition();
    /// The time panel, where its whole seconds changed since it was shown last (always).
    void ShowTime(bool always = false);
    void ShowInfos();
    void CloseInfos();
    /// The lines of the information view; none when nothing is known.
    QStringList InfoLines() const;
    /// Gives module (0: none) the level the host tells for subsong of path, where it is known
    /// and differs from applied, which it then becomes.
    void ApplyLevel(ModuleHandle module, const QString& path, int subsong, std::optional<SongLevel>& applied);

    AudioLibrary& m_library;
    ClassOptions& m_options;
    PlayerHost& m_host;
    FadeClock m_fadeClock;
    QTimer m_positionTimer{this};
    ModuleHandle m_module = 0;
    ModuleHandle m_queued = 0;  // follows m_module (QueueModule)
    QList<bool> m_mutedChannels;  // of m_module
    /// Gives each channel the mute wanted, where it differs; emits channelMutesChanged.
    void SetMutedChannels(const QList<bool>& wanted);
    QString m_queuedPath;
    int m_queuedSubsong = 0;
    std::optional<SongLevel> m_level;        // of m_module, as applied
    std::optional<SongLevel> m_queuedLevel;  // of m_queued, as applied
    bool m_audioStarted = false;
    bool m_playing = false;
    bool m_infosShown = false;
    bool m_destroying = false;
    bool m_repeat = true;  // as the library was told last
    QString m_modulePath;
    QString m_moduleTitle;
    Origin m_loadedOrigin = Origin::User;
    int m_songLength = 0;
    int m_position = 0;
    double m_playTime = 0;  // seconds into the song at the last poll
    double m_songSeconds = 0;  // the length of the song
    std::pair<qint64, qint64> m_timeShown;  // whole seconds played and long, as shown last
    int m_fadeOutSteps = 10;
    bool m_fading = false;
    int m_fadeStepsLeft = 0;
    int m_fadeVolumeStep = 0;
    int m_fadeRun = 0;  // counts fade-outs, so a step of one cut short finds it gone
    std::function<void()> m_afterFade;
    QString m_afterFadeName;
};
