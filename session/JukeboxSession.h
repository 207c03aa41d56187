#pragma once

#include "disc/ClassDisc.h"
#include "disc/DiscHost.h"
#include "library/ModuleLibrary.h"
#include "platform/audio/AudioLibrary.h"
#include "playback/ClassModPlayer.h"
#include "playback/PlayerHost.h"
#include "session/EvenLoudness.h"
#include "session/OutsideRequests.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class ClassOptions;
class Registry;
class SessionDialogs;

/// The jukebox without a screen: owns the options store, the module player and the disc, and
/// holds the rules between them: what a file handed over from outside opens, which slot plays,
/// what happens when a slot's song ends, and the current module's title. Every change is
/// announced once as a signal, for the window, the banner, the tray and the media controls;
/// the last value of each stays readable, so a window made later shows what was announced
/// before it. Dialogs go through SessionDialogs. GUI thread only.
class JukeboxSession : public QObject, private PlayerHost, private DiscHost {
    Q_OBJECT
public:
    /// Reads the options from registry, starts the audio library (message 1000 when no sound
    /// output opens) and shows an empty disc. registry and audio are not owned and must
    /// outlive the session; clock runs the fade-out's steps (the event loop's by default);
    /// loudness is where songs' loudness comes from (none: no song is levelled).
    JukeboxSession(Registry& registry, AudioLibrary& audio,
                   ClassModPlayer::FadeClock clock = ClassModPlayer::FadeClock(), LoudnessSource loudness = {});
    /// Stops and closes the module and the audio library, then writes the options.
    ~JukeboxSession() override;
    JukeboxSession(const JukeboxSession&) = delete;
    JukeboxSession& operator=(const JukeboxSession&) = delete;

    ClassOptions& options() { return *m_options; }
    ClassModPlayer& player() { return *m_player; }
    ClassDisc& disc() { return *m_disc; }
    /// The module library, its database in $XDG_DATA_HOME/jukarium (SessionLibrary.cpp).
    ModuleLibrary& library() { return *m_library; }

    /// After the save question, a new disc whose slots hold the modules at paths (full paths)
    /// in order, each with its title; those past the last slot are left out.
    void NewDiscFromModules(const QStringList& paths);
    /// Puts the module at path (a full path) into slot n (1 to 20) with its title, to play from
    /// its first subsong; nothing plays. Nothing for another number.
    void PutModuleInSlot(int n, const QString& path);

    /// Where the dialogs are asked; null answers them as cancelled. Not owned.
    void SetDialogs(SessionDialogs* dialogs);

    /// A file handed over by the command line, a second start, a drop or the media controls
    /// becomes the CommandFile: a module (any type libopenmpt plays) is loaded and played, a
    /// disc (".jkdc" in any case) replaces the current one without the save question; any
    /// other text only becomes the CommandFile.
    void OpenCommandFile(const QString& file, ClassModPlayer::Origin origin = ClassModPlayer::Origin::User);
    /// At the start, where the Resume option is on: opens the disc open at the last exit and
    /// loads the module loaded then, at its subsong and in its slot, stopped at its start.
    /// Files that are gone are passed over silently.
    void ResumeLastPlayed();
    /// Plays slot n's module (1 to 20) and makes the slot current, also when the module does
    /// not load (the player reports that); nothing for an empty slot or another number.
    void PlaySlot(int n, ClassModPlayer::Origin origin = ClassModPlayer::Origin::User);

    /// Whether every module plays at the same loudness, and the target (-16, -18 or -23 LUFS):
    /// stored, and heard at once where the figures are known, gliding.
    void SetEvenLoudness(bool even, int targetLufs);

    /// Requests from outside the window wait for their turn (see OutsideRequests): a file
    /// handed over (by a second start: a user's; by the media controls: from outside), a slot
    /// to play, or any other command.
    void RequestFile(const QString& file, ClassModPlayer::Origin origin);
    void RequestSlot(int n);
    void Request(std::function<void()> command);

    /// The transport commands of the desktop's media controls and of the desktop entry's
    /// actions, each in the line of outside requests. Play continues the loaded module, or
    /// plays the current slot (else the first that holds a module); Pause stops where it
    /// plays; PlayPause is the one of them that changes something; Stop goes back to the
    /// start and waits there (StoppedAtStart); PlayNeighbour plays SlotAway(step).
    void RequestPlay();
    void RequestPause();
    void RequestPlayPause();
    void RequestStop();
    void RequestNeighbour(int step);
    /// The slot step (1 or -1) away from the current one that holds a module; 0 when no other
    /// slot holds one.
    int SlotAway(int step) const;
    /// Stop was the last transport command, and play has not started since.
    bool StoppedAtStart() const { return m_stoppedAtStart; }

    /// What was handed over last; empty when nothing was.
    const QString& CommandFile() const { return m_commandFile; }
    /// The loaded module's path: empty without one, one blank after a failed load.
    const QString& CurrentModule() const { return m_currentModule; }
    /// The trimmed song name of the loaded module, or its file name when that is blank; empty
    /// without a module.
    QString CurrentModuleTitle() const override;
    int CurrentSubsong() const override;

    /// The last texts of the status bar's panels: results, the buffer length, the position,
    /// the time.
    const QString& StatusText() const { return m_statusText; }
    const QString& BufferText() const { return m_bufferText; }
    const QString& PositionText() const { return m_positionText; }
    const QString& TimeText() const { return m_timeText; }

    /// What the banner was told last (see moduleSummary and noModuleSummary).
    enum class Summary { None, NoModule, Module };
    Summary BannerSummary() const { return m_summary; }
    /// The loaded module's record, for its summary line; empty without a module.
    const ModuleInfo& LoadedModuleInfo() const { return m_moduleInfo; }

    /// Whether the information view is open, and its lines.
    bool InfoViewShown() const { return m_infoViewShown; }
    const QStringList& InfoLines() const { return m_infoLines; }

    /// How the disc looks: its caption (the disc file's name), disc button b's caption (1 or
    /// 2), and slot n's hint, whether it holds a module and whether it is the current one.
    const QString& DiscCaption() const { return m_discCaption; }
    QString DiscButtonCaption(int b) const { return m_discButtonCaptions[b == 1 ? 0 : 1]; }
    struct SlotLook {
        QString hint;
        bool assigned = false;
        bool current = false;
    };
    SlotLook SlotLooks(int n) const { return validSlot(n) ? m_slots[n - 1] : SlotLook(); }

signals:
    /// A result or progress for the first status bar panel, to be painted at once.
    void statusTextChanged(const QString& text);
    /// The buffer length ("B:0.5") and the song position ("004/024") panels.
    void bufferTextChanged(const QString& text);
    void positionTextChanged(const QString& text);
    /// The time panel ("1:23 / 2:25"), once a second while a module plays.
    void timeTextChanged(const QString& text);
    /// The loaded module's path changed: loaded, closed (empty), a failed load (one blank),
    /// moved or renamed.
    void modulePathChanged(const QString& path);
    /// For the banner: the summary of the module at path, just loaded; or the line for no
    /// module, after every close and every load that failed.
    void moduleSummary(const ModuleInfo& info, const QString& path, const QString& title);
    void noModuleSummary();
    /// A module was loaded and plays; slot is the disc slot it was played from, 0 for none.
    void moduleLoaded(const QString& path, const QString& title, int slot);
    /// The loaded module was closed.
    void moduleClosed();
    /// path could not be loaded, for reason in the audio library's words; the status text
    /// says so already.
    void moduleLoadFailed(const QString& path, const QString& reason);
    /// The loaded module started or stopped playing.
    void playingChanged(bool playing);
    /// The play time jumped (seeking, or stopping at the start).
    void seeked();
    /// Stop went back to the start of the loaded module, which waits there.
    void stoppedAtStart();
    /// Another subsong of the loaded module plays, from its start.
    void subsongChanged();
    /// The information view opens or closes, and its lines.
    void infoViewChanged(bool shown);
    void infoLinesChanged(const QStringList& lines);
    /// The disc's caption, a disc button's caption (button 1 or 2), and a slot's look.
    void discCaptionChanged(const QString& caption);
    /// The disc file name was read, or written, whole.
    void discLoaded(const QString& name);
    void discSaved(const QString& name);
    void discButtonCaptionChanged(int button, const QString& caption);
    void slotChanged(int slot);

private:
    static bool validSlot(int n) { return n >= 1 && n <= ClassDisc::kSlotCount; }

    // What the player and the disc tell, and ask, their owner.
    void SetStatusText(const QString& text) override;
    void SetBufferText(const QString& text) override;
    void SetPositionText(const QString& text) override;
    void SetTimeText(const QString& text) override;
    void SetModulePath(const QString& path) override;
    void ShowModuleInfo(const ModuleInfo& info, const QString& path) override;
    void ShowNoModule() override;
    void ForgetCurrentSlot() override;
    bool PlaysDiscSlot() const override;
    void PlayNextSlot() override;
    void QueuedModuleFollows() override;
    QString ChooseDirectory(int kind) override;
    QString RenameModuleDialog(const QString& path) override;
    void ModulePathChanged(const QString& path) override;
    void SetInfoView(bool visible) override;
    void SetInfoLines(const QStringList& lines) override;
    void DiscLoaded(const QString& name) override { emit discLoaded(name); }
    void DiscSaved(const QString& name) override { emit discSaved(name); }
    void SetDiscCaption(const QString& caption) override;
    void SetDiscButtonCaption(int button, const QString& caption) override;
    void SetSlotHint(int slot, const QString& hint) override;
    void SetSlotAssigned(int slot, bool assigned) override;
    void SetSlotCurrent(int slot, bool current) override;
    void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) override;
    void ShowDiscButtonMenu(int x, int y, bool clearEnabled) override;
    QString ChooseDiscFile(const QString& startDirectory) override;
    QString ChooseSaveDiscFile() override;
    std::optional<SongLevel> SongLevelOf(const QString& path, int subsong) override;

    /// Levels again, and measures the disc's slots ahead in slot order, once the event loop turns.
    void updateLevels();
    void scheduleMeasureAhead();
    void measureAhead();

    /// Makes the library and goes on with a scan the last run of the program left unfinished.
    void makeLibrary(Registry& registry);
    /// The module's title as the library or its file tells, else its file name.
    static QString moduleTitle(const QString& path);

    /// The player hears whether its module is now a slot's, which decides its song's end.
    void updateEndRule();
    void announceModuleChange();
    void playSlotNow(int n, ClassModPlayer::Origin origin);
    void play();
    /// Slot n becomes the current one with the module that change loads or adopts.
    void changeToSlot(int n, const std::function<void()>& change);
    /// The song of a slot's module ended: the next slot whose module can be read plays.
    void playThrough();
    /// Once the event loop turns, updateFollowOn() looks again; many changes look once.
    void scheduleFollowOn();
    /// What follows the song that plays without a gap, queued: playing every subsong, the next
    /// subsong of the module; where a slot's module plays and its song's end plays the next
    /// slot, the module of the next slot that can be read, at its subsong; otherwise nothing.
    void updateFollowOn();
    /// Queues the next shown subsong of the loaded module, slot's (0: none) to follow; after
    /// the last, the first again for a module that is no slot's. False where none is queued.
    bool followWithNextSubsong(int slot);
    /// The status text for slots passed over because their modules could not be read.
    static QString skippedSlotsText(const QList<int>& skipped, const QString& reason);

    SessionDialogs* m_dialogs = nullptr;
    std::unique_ptr<ClassOptions> m_options;
    std::unique_ptr<ClassModPlayer> m_player;
    std::unique_ptr<ClassDisc> m_disc;
    std::unique_ptr<EvenLoudness> m_evenLoudness;
    QTimer m_measureAheadCheck;
    std::unique_ptr<ModuleLibrary> m_library;
    OutsideRequests m_outsideRequests;
    int m_loadingSlot = 0;  // the slot whose module loads now, 0 for none
    /// What is queued to follow (see updateFollowOn): the slot (0: none) and the module's path
    /// and subsong, with the slots before it that could not be read, and why the last of them
    /// could not.
    struct FollowingSong {
        int slot = 0;
        QString path;
        int subsong = 0;
        QList<int> skipped;
        QString reason;
    };
    /// Queues song to follow unless it is queued already; false, with the reason in whyNot
    /// (unless null), where its module cannot be read.
    bool follow(const FollowingSong& song, QString* whyNot);
    FollowingSong m_following;
    QTimer m_followOnCheck;
    QString m_lastLoadError;  // the audio library's reason for the last failed load
    bool m_stoppedAtStart = false;

    QString m_commandFile;
    QString m_currentModule;
    QString m_statusText;
    QString m_bufferText;
    QString m_positionText;
    QString m_timeText;
    Summary m_summary = Summary::None;
    ModuleInfo m_moduleInfo;
    bool m_infoViewShown = false;
    QStringList m_infoLines;
    QString m_discCaption;
    QString m_discButtonCaptions[2];
    std::array<SlotLook, ClassDisc::kSlotCount> m_slots;
};
