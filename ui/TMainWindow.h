#pragma once

#include "desktop/MediaWindow.h"
#include "session/JukeboxSession.h"
#include "session/SessionDialogs.h"
#include "ui/OptionsTarget.h"
#include "ui/UserActionHost.h"
#include "settings/TPersWindow.h"
#include "ui/MainWindowForm.h"
#include "ui/SaveAsAudioDialog.h"
#include "ui/WidgetBounds.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QKeyEvent;
class TDragAcceptFiles;
class TTrayIcon;
class ClassScrollTextViewer;
class ModuleNotifications;
class MprisService;
class PatternView;
class RecentFiles;
class SleepInhibitor;
class LibraryWindow;
class QMimeData;
class Registry;
class SongFileBatch;
class SongFileProgressDialog;
struct SongFileJob;
struct SongFileTask;

/// The program's main window: shows what the session announces (status bar, caption, banner,
/// disc, information view) and hands every user command to the session's player, disc and
/// options, or to a dialog. It owns the banner text feed and the media controls, and the
/// session it shows. GUI thread only.
class TMainWindow : public QMainWindow,
                    public SessionDialogs,
                    public OptionsTarget,
                    public UserActionHost,
                    public MediaWindow {
    Q_OBJECT
public:
    static inline const QString kInstanceCaption = QStringLiteral("Vorn Jukarium");

    /// Shows the module open dialog starting in a directory; returns the chosen files in
    /// the dialog's order, empty when cancelled.
    using ModuleFileChooser = std::function<QStringList(const QString& startDirectory)>;

    /// Shows session as it is now and from then on; registry (for the placement) must outlive
    /// the window. The session is owned from here on.
    TMainWindow(Registry& registry, std::unique_ptr<JukeboxSession> session);
    /// Saves the placement, then releases the banner text feed and the session, whose options
    /// store is written last.
    ~TMainWindow() override;

    /// Status bar panel 0, painted at once.
    void SetStatusText(const QString& text) override;
    /// The loaded module's path: length 0 or 1 means none.
    QString CurrentModule() const override { return m_session->CurrentModule(); }

    // SessionDialogs
    QString ChooseDirectory(int kind) override;
    QString RenameModuleDialog(const QString& path) override;
    void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) override;
    void ShowDiscButtonMenu(int x, int y, bool clearEnabled) override;
    QString ChooseDiscFile(const QString& startDirectory) override;
    QString ChooseSaveDiscFile() override;
    bool Answering() const override;

    // OptionsTarget (SetStatusText as above)
    void ApplyScrollSpeed(int speed) override;
    void SetFadeOutSteps(int steps) override;
    void SetOutputMode(int mode) override;
    void SetMixingRate(int index) override;
    void SetBufferSize(int index) override;
    void RestartAudio() override;
    void SetRenderQuality(const RenderQuality& quality) override;
    void SetSongEnd(ClassOptions::SongEnd action) override;
    void SetShortestSubsong(int seconds) override;
    void SetEvenLoudness(bool even, int targetLufs) override;

    // UserActionHost (CurrentModule and SetStatusText as above)
    void CloseModule(std::function<void()> then) override;
    void RepaintNow() override;
    void After(int milliseconds, std::function<void()> then) override;
    bool StartProgram(const QString& commandLine) override;

    /// Rest the banner around a modal dialog, in pairs. It scrolls again when the last dialog
    /// has ended, unless the user switched the scroller off or the window is minimised or
    /// hidden in the notification area.
    void PauseBanner();
    void ResumeBanner();
    /// Shows or hides the information memo, each view with its own stored height.
    void SetInfoView(bool flag);
    /// Makes the window the active one and raises it; a hidden window stays hidden.
    void BringToFront();

    /// Closes the window without the question about a changed disc, whose changes are lost:
    /// a polite request to end (as at logout) is honoured at once, as nobody may be there to
    /// answer.
    void EndWithoutQuestions();

    /// A second start handed over text: the session opens it in its turn (JukeboxSession::
    /// RequestFile), and the window comes to the front; or it runs the command the text names
    /// (CommandLine::CommandOf), and the window stays where it is.
    void ReceiveForwardedFile(const QString& text);

    // MediaWindow (MainWindowMediaControls.cpp)
    void RaiseWindow() override;
    void QuitWindow() override;
    void OpenFile(const QString& path) override;

    /// Replaces the module open dialog (tests script the user's choice with it).
    void SetModuleFileChooser(ModuleFileChooser chooser) { m_chooseModules = std::move(chooser); }

    bool InfoVisible() const { return m_infoVisible; }
    bool ScrollerDisabled() const { return m_scrollerDisabled; }
    int SelectionIndex() const { return m_selectionIndex; }
    const MainWindowForm& form() const { return m_form; }
    JukeboxSession& session() { return *m_session; }
    ClassOptions& options() { return m_session->options(); }
    ClassModPlayer& player() { return m_session->player(); }
    ClassDisc& disc() { return m_session->disc(); }

signals:
    /// The user (or a polite request to end) closed the window and the disc question let it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Shows what the session announced before the window existed, and all it announces
    /// from now on.
    void connectSession();
    void ShowNoModule();
    void showInfoLines(const QStringList& lines);
    /// The seek bar for the song of the module loaded now, or for none.
    void showSong();
    /// The time panel and the seek bar, as the session tells the time; nothing while hidden.
    void showTime();
    /// The banner's summary of the loaded module, with the subsong that plays.
    void showModuleSummary();
    void SetDiscButtonCaption(int button, const QString& caption);
    /// Slot button n: its hint; its font colour (the active-caption colour when it holds a
    /// module, the window-text colour otherwise); bold italic when it is the current slot.
    void showSlot(int n);
    void connectCommands();
    void connectPlayCommands();
    // Subsong commands (MainWindowSubsongCommands.cpp).
    void connectSubsongCommands();
    /// The pattern view: opened and closed from the module menu, open again at the next start
    /// where it was open at exit.
    void connectPatternView();
    /// Shows or hides the pattern view (made when first shown); the menu's tick stays.
    void showPatternView(bool shown);
    /// Closes the pattern view, keeping whether it was open for the next start.
    void closePatternView();
    /// The subsong items enabled where there is a subsong to go to.
    void updateSubsongItems();
    /// One checkable item per subsong of the loaded module, the one that plays checked.
    void fillSubsongMenu();
    void connectDiscCommands();
    /// The library window: opened from the disc menu (MainWindowLibrary.cpp).
    void connectLibrary();
    void showLibrary();
    /// Files dropped on slot n fill it and the slots after it; true when any was a file.
    bool dropFilesOnSlot(int n, const QMimeData* data);
    void connectFileCommands();
    // Saving songs as audio files (MainWindowAudioFileCommands.cpp).
    void connectAudioFileCommands();
    /// The save items enabled where there is something to save and no saving runs.
    void updateAudioFileItems();
    /// The save-as-audio dialog; nothing when cancelled. subsongText and subsongs as
    /// SaveAsAudioDialog takes them.
    std::optional<SaveAsAudioChoice> chooseAudioSaving(const QString& subsongText, int subsongs);
    /// A job as choice says, with the playback quality; target, subsong and tags to be set.
    SongFileJob audioJob(const SaveAsAudioChoice& choice);
    void saveModuleAsAudio();
    void saveSlotsAsAudio();
    /// Asks whether the files of tasks that exist already may be replaced (message 30200); true,
    /// with every task allowed to replace, when none exists or the user agrees.
    bool mayReplace(QList<SongFileTask>& tasks);
    /// Runs tasks on a worker thread, with the progress dialog.
    void startSongFiles(QList<SongFileTask> tasks);
    /// The batch has ended: the status bar says what was saved, a box why a file was not.
    void finishSongFiles();
    void connectActionCommands();
    void connectTrayAndDrop();
    void offerDesktopServices();
    /// Hides to the notification area, or minimises where the desktop has none, so the
    /// window can never be lost.
    void btnHide2TrayClick();
    /// Back from the notification area: a click or double-click on the icon, or its menu.
    void TrayIconDblClick();
    void drgFileDrop();
    /// Slot and disc buttons: right-button menus and drops of the banner onto slots.
    bool filterDiscButtonEvent(QObject* watched, QEvent* event);
    /// Scrolls the banner exactly while it is seen, no dialog rests it and the user wants it.
    void updateBannerScrolling();
    void UpdateModuleControls();
    void LoadPlacement();
    /// Shows a window placed off every screen on the nearest one, wholly.
    void keepOnScreen();
    void SavePlacement();
    void FormResize();
    int defaultHeight(bool infoView) const;

    // Playing commands
    void mnuFile_OpenClick();
    void mnuFile_CloseClick();
    void OpenFromSelection(int n);
    void browseSelection(int step);
    /// Press-and-hold stepping, at the press and at every tick of repeat: one step, and the
    /// next tick only after a step that worked, until release.
    void stepAndRepeat(QTimer& repeat, bool forward);
    /// Space or Enter held on fast-forward or rewind steps as the held mouse button does;
    /// true when the key goes no further.
    bool filterStepKey(QTimer& repeat, bool forward, QKeyEvent* key);

    MainWindowForm m_form;
    WidgetBounds m_bounds{*this};
    Registry& m_registry;
    std::unique_ptr<JukeboxSession> m_session;
    std::unique_ptr<ClassScrollTextViewer> m_textFeed;
    std::unique_ptr<MprisService> m_mediaControls;
    std::unique_ptr<ModuleNotifications> m_notifications;
    std::unique_ptr<SleepInhibitor> m_sleepInhibitor;
    std::unique_ptr<RecentFiles> m_recentFiles;
    std::unique_ptr<PatternView> m_patternView;  // made when first opened
    LibraryWindow* m_libraryWindow = nullptr;    // a child window, made when first opened
    TTrayIcon* TrayIcon = nullptr;
    TDragAcceptFiles* drgFile = nullptr;
    TPersWindow prwMainWindow;
    TPersWindow prwMainWindowHeight;
    QTimer timFFWPress{this};
    QTimer timREVPress{this};
    /// A mouse button or Space holds fast-forward or rewind down, stepping already.
    bool m_stepHeld = false;
    ModuleFileChooser m_chooseModules;
    QString m_chooserDirectory;  // where the directory chooser left off; empty at first
    QStringList m_selection;
    int m_selectionIndex = 0;
    bool m_browsingSelection = false;
    bool m_infoVisible = false;
    bool m_scrollerDisabled = false;
    int m_bannerPauses = 0;  // modal dialogs open that rest the banner
    bool m_hiddenInTray = false;
    bool m_ending = false;
    SaveAsAudioChoice m_audioChoice;  // as chosen last, offered again
    QString m_audioDirectory;         // where audio files were saved last; empty at first
    std::unique_ptr<SongFileBatch> m_songFiles;  // the saving that runs; null when none
    std::unique_ptr<SongFileProgressDialog> m_songFileProgress;
    int m_songFilesWritten = 0;
    QList<std::pair<QString, QString>> m_songFileFailures;  // target, reason
};
