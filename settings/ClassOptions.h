#pragma once

#include "platform/audio/RenderQuality.h"
#include "settings/OptionsTable.h"

#include <QString>
#include <QStringList>

#include <array>

class Registry;

/// Every user setting of the program. Reads all values from the registry when created and
/// writes them all back when destroyed; in between they live in memory only. Where each value is
/// stored, its default and the numbers it accepts are its row of the options table
/// (OptionsTable.h): stored numbers a row does not accept read as its default (and are written
/// back so at exit); numbers set in memory are kept as given.
/// GUI thread only.
class ClassOptions {
public:
    static constexpr int kRecentPathsMax = OptionsTable::kRecentPaths.count;

    /// What happens when a module's song ends, as stored (OptionsTable::kAtTheEnd).
    enum class SongEnd { RepeatIt = 0, PlayNextSlot = 1, Stop = 2, PlayEverySubsong = 3 };
    /// Whether a slot's module gives way to the next slot when action ends its song.
    static bool GoesToNextSlot(SongEnd action)
    {
        return action == SongEnd::PlayNextSlot || action == SongEnd::PlayEverySubsong;
    }

    /// registry: the program's registry, which must outlive the store.
    explicit ClassOptions(Registry& registry);
    /// Writes every value back, then registers the running program as the handler of module
    /// and disc files (WriteFileLinks) when an application object exists.
    ~ClassOptions();
    ClassOptions(const ClassOptions&) = delete;
    ClassOptions& operator=(const ClassOptions&) = delete;

    /// Start directory of the module open dialog.
    QString OpenModulePath() const { return m_openModulePath; }
    void SetOpenModulePath(const QString& path) { m_openModulePath = path; }
    /// Start directory of the disc open dialog.
    QString OpenDiscPath() const { return m_openDiscPath; }
    void SetOpenDiscPath(const QString& path) { m_openDiscPath = path; }

    /// User action n (1 to 3): its command line, whether to wait one second first and whether
    /// to close the module first. Other numbers read as the defaults and change nothing.
    QString UserActionPath(int n) const;
    void SetUserActionPath(int n, const QString& commandLine);
    bool UserActionSleep(int n) const;
    void SetUserActionSleep(int n, bool sleep);
    bool UserActionCloseMod(int n) const;
    void SetUserActionCloseMod(int n, bool close);

    /// Output format 0 to 3 (8 bit mono, 8 bit stereo, 16 bit mono, 16 bit stereo).
    int PlaybackMode() const { return m_playbackMode; }
    void SetPlaybackMode(int mode) { m_playbackMode = mode; }
    /// Mixing rate index 0 to 4 (11200, 22000, 32000, 38000, 44100 Hz).
    int PlaybackFrequency() const { return m_playbackFrequency; }
    void SetPlaybackFrequency(int index) { m_playbackFrequency = index; }
    /// Buffer length index: index x 100 + 300 milliseconds.
    int PlaybackBuffer() const { return m_playbackBuffer; }
    void SetPlaybackBuffer(int index) { m_playbackBuffer = index; }
    /// Banner speed index 0 to 3.
    int ScrollSpeed() const { return m_scrollSpeed; }
    void SetScrollSpeed(int speed) { m_scrollSpeed = speed; }
    /// Fade-out length in steps of 100 ms; 0 switches fading off.
    int Fadeout() const { return m_fadeout; }
    void SetFadeout(int steps) { m_fadeout = steps; }
    /// Volume of all output in percent, 0 to 100, as the desktop's media controls set it.
    int OutputVolume() const { return m_outputVolume; }
    void SetOutputVolume(int percent) { m_outputVolume = percent; }
    /// What happens when the playing module's song ends.
    SongEnd AtTheEnd() const { return m_atTheEnd; }
    void SetAtTheEnd(SongEnd action) { m_atTheEnd = action; }
    /// Whether a module that starts while the window is not in use shows a notification.
    bool Notify() const { return m_notify; }
    void SetNotify(bool notify) { m_notify = notify; }
    /// Whether the next start opens the disc and loads the module of the last exit.
    bool Resume() const { return m_resume; }
    void SetResume(bool resume) { m_resume = resume; }
    /// What was open at the last exit (OptionsTable::kLastDisc and the rows after it).
    struct LastPlayed {
        QString disc;    ///< the disc file; empty for none
        QString module;  ///< the module loaded; empty for none
        int subsong = 0;
        int slot = 0;    ///< the disc slot it was loaded from; 0 for none
    };
    const LastPlayed& Last() const { return m_last; }
    void SetLast(const LastPlayed& last) { m_last = last; }

    /// How modules sound; stored values outside RenderQuality's ranges read as its defaults.
    const RenderQuality& PlaybackQuality() const { return m_playbackQuality; }
    void SetPlaybackQuality(const RenderQuality& quality) { m_playbackQuality = quality; }
    /// The playback quality stored in registry, read without a store and without writing
    /// anything: for a start that renders a song and opens no window.
    static RenderQuality StoredPlaybackQuality(Registry& registry);
    /// Subsongs shorter than this many seconds are hidden (the menu, playing through).
    int ShortestSubsong() const { return m_shortestSubsong; }
    void SetShortestSubsong(int seconds) { m_shortestSubsong = seconds; }

    /// Whether every module plays at the same loudness, and the target, -16, -18 or -23 LUFS.
    bool EvenLoudness() const { return m_evenLoudness; }
    void SetEvenLoudness(bool even) { m_evenLoudness = even; }
    int LoudnessTarget() const { return m_loudnessTarget; }
    void SetLoudnessTarget(int lufs) { m_loudnessTarget = lufs; }

    /// Program started by the volume command; empty means the desktop's own mixer.
    QString VolumeExe() const { return m_volumeExe; }
    void SetVolumeExe(const QString& commandLine) { m_volumeExe = commandLine; }

    /// Target directories chosen lately, oldest first, at most ten. The list itself.
    QStringList& RecentPaths() { return m_recentPaths; }
    /// Appends directory unless an entry equal to it in upper case exists; past ten entries
    /// the second entry goes (the first stays).
    void AddRecentPath(const QString& directory);

private:
    /// Calls visit(row, value) for every row of the options table with the member that holds
    /// its value (see OptionStorage), in the order the rows are read and written.
    template <typename Self, typename Visit>
    static void forEachValue(Self& self, Visit&& visit);
    void read();
    void write() const;

    Registry& m_registry;
    // All read from their rows when created.
    QString m_openModulePath;
    QString m_openDiscPath;
    std::array<QString, OptionsTable::kUserActionCount> m_userActionPaths;  // action n at n - 1
    std::array<bool, OptionsTable::kUserActionCount> m_userActionSleep;
    std::array<bool, OptionsTable::kUserActionCount> m_userActionCloseMod;
    QStringList m_recentPaths;
    int m_playbackMode;
    int m_playbackFrequency;
    int m_playbackBuffer;
    int m_scrollSpeed;
    int m_fadeout;
    QString m_volumeExe;
    int m_outputVolume;
    SongEnd m_atTheEnd;
    bool m_notify;
    bool m_resume;
    LastPlayed m_last;
    RenderQuality m_playbackQuality;
    int m_shortestSubsong;
    bool m_evenLoudness;
    int m_loudnessTarget;
};
