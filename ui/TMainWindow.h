#pragma once

#include "desktop/MediaWindow.h"
#include "disc/DiscHost.h"
#include "playback/PlayerHost.h"
#include "ui/OptionsTarget.h"
#include "ui/UserActionHost.h"
#include "settings/TPersWindow.h"
#include "ui/MainWindowForm.h"
#include "ui/WidgetBounds.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class AudioLibrary;
class ClassDisc;
class TDragAcceptFiles;
class TTrayIcon;
class ClassModPlayer;
class ClassOptions;
class ClassScrollTextViewer;
class MprisService;
class Registry;

/// The program's main window and hub. Creating it builds the working objects (options store,
/// banner text feed, player, disc model); every user command is a short handler that
/// forwards to one of them. The working objects call back through the operations below.
/// GUI thread only.
class TMainWindow : public QMainWindow,
                    public PlayerHost,
                    public DiscHost,
                    public OptionsTarget,
                    public UserActionHost,
                    public MediaWindow {
    Q_OBJECT
public:
    static inline const QString kInstanceCaption = QStringLiteral("Vorn Jukarium");

    /// Shows the module open dialog starting in a directory; returns the chosen files in
    /// the dialog's order, empty when cancelled.
    using ModuleFileChooser = std::function<QStringList(const QString& startDirectory)>;

    /// registry and audio must outlive the window. arguments: the program's command line,
    /// program first.
    TMainWindow(Registry& registry, AudioLibrary& audio, const QStringList& arguments);
    /// Saves the placement, then releases the working objects, the options store last.
    ~TMainWindow() override;

    // PlayerHost
    void SetStatusText(const QString& text) override;
    void SetBufferText(const QString& text) override;
    void SetPositionText(const QString& text) override;
    void SetModulePath(const QString& path) override;
    QString CommandFile() const override { return m_commandFile; }
    void ShowModuleInfo(const ModuleInfo& info, const QString& path) override;
    void ShowNoModule() override;
    void ForgetCurrentSlot() override;
    bool PlaysDiscSlot() const override;
    void PlayNextSlot() override;
    /// Shows or hides the information memo, each view with its own stored height.
    void SetInfoView(bool flag) override;
    void SetInfoLines(const QStringList& lines) override;
    QString RenameModuleDialog(const QString& path) override;
    void ModulePathChanged(const QString& path) override;

    // DiscHost (SetStatusText, CommandFile and SetModulePath as above)
    QString CurrentModule() const override { return m_currentModule; }
    bool LoadModule(const QString& path) override;
    QString CurrentModuleTitle() const override;
    void SetDiscCaption(const QString& caption) override;
    void SetDiscButtonCaption(int button, const QString& caption) override;
    void SetSlotHint(int slot, const QString& hint) override;
    void SetSlotAssigned(int slot, bool assigned) override;
    void SetSlotCurrent(int slot, bool current) override;
    void ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled) override;
    void ShowDiscButtonMenu(int x, int y, bool clearEnabled) override;
    QString ChooseDiscFile(const QString& startDirectory) override;
    QString ChooseSaveDiscFile() override;
    QString ChooseDirectory(int kind) override;

    // OptionsTarget (SetStatusText as above)
    void ApplyScrollSpeed(int speed) override;
    void SetFadeOutSteps(int steps) override;
    void SetOutputMode(int mode) override;
    void SetMixingRate(int index) override;
    void SetBufferSize(int index) override;
    void RestartAudio() override;
    void SetRenderQuality(const RenderQuality& quality) override;
    void SetSongEnd(ClassOptions::SongEnd action) override;

    // UserActionHost (CurrentModule and SetStatusText as above)
    void CloseModule() override;
    void RepaintNow() override;
    void Sleep(int milliseconds) override;
    bool StartProgram(const QString& commandLine) override;

    /// Rest the banner around a modal dialog, in pairs. It scrolls again when the last dialog
    /// has ended, unless the user switched the scroller off or the window is minimised or
    /// hidden in the notification area.
    void PauseBanner();
    void ResumeBanner();
    /// Makes the window the active one and raises it; a hidden window stays hidden.
    void BringToFront();

    /// A second start handed over text: it becomes CommandFile, is opened if it names a
    /// module or a disc, and the window comes to the front.
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
    ClassOptions& options() { return *m_options; }
    ClassModPlayer& player() { return *m_player; }
    ClassDisc& disc() { return *m_disc; }

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
    void connectCommands();
    void connectPlayCommands();
    void connectDiscCommands();
    void connectFileCommands();
    void connectActionCommands();
    void connectTrayAndDrop();
    void offerMediaControls();
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

    MainWindowForm m_form;
    WidgetBounds m_bounds{*this};
    Registry& m_registry;
    std::unique_ptr<ClassOptions> m_options;
    std::unique_ptr<ClassScrollTextViewer> m_textFeed;
    std::unique_ptr<ClassModPlayer> m_player;
    std::unique_ptr<ClassDisc> m_disc;
    std::unique_ptr<MprisService> m_mediaControls;
    TTrayIcon* TrayIcon = nullptr;
    TDragAcceptFiles* drgFile = nullptr;
    TPersWindow prwMainWindow;
    TPersWindow prwMainWindowHeight;
    QTimer timFFWPress{this};
    QTimer timREVPress{this};
    ModuleFileChooser m_chooseModules;
    QStringList m_selection;
    int m_selectionIndex = 0;
    bool m_browsingSelection = false;
    QString m_commandFile;
    QString m_currentModule;
    bool m_infoVisible = false;
    bool m_scrollerDisabled = false;
    int m_bannerPauses = 0;  // modal dialogs open that rest the banner
    bool m_hiddenInTray = false;
};
