#pragma once

#include <array>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QWidget;
class SeekBar;
class TBanner;
class TIEButton;

/// The controls, menus and popup menus of the main window, as its form lays them out
/// (positions in pixels of a 96 dpi design). The window owns them all through Qt parenting.
struct MainWindowForm {
    static constexpr int kClientWidth = 430;
    static constexpr int kClientHeight = 290;        // with the information memo
    static constexpr int kCompactClientHeight = 205;  // without it
    static constexpr int kStatusBarHeight = 21;
    /// The status bar keeps 3 px above its panels and 2 below. A panel of a fixed size
    /// repaints alone when its text changes, not the whole status bar with the window behind.
    static constexpr int kStatusPanelHeight = kStatusBarHeight - 5;
    static constexpr int kBufferPanelWidth = 40;
    static constexpr int kPositionPanelWidth = 70;
    /// At least; wider for songs of an hour or more (FitTimePanel).
    static constexpr int kTimePanelWidth = 84;

    /// The time panel as wide as the widest text it shows for a song of lengthSeconds.
    void FitTimePanel(double lengthSeconds) const;

    QFrame* Panel1 = nullptr;
    QFrame* panBanner = nullptr;
    TBanner* banMain = nullptr;
    QGroupBox* grpDisc = nullptr;
    std::array<TIEButton*, 20> ibtDiscNr{};  // slot n at n - 1; Tag n
    TIEButton* btnDisc1 = nullptr;
    TIEButton* btnDisc2 = nullptr;
    QFrame* panControls = nullptr;
    TIEButton* btnOpenFile = nullptr;
    TIEButton* btnCloseFile = nullptr;
    TIEButton* btnHide2Tray = nullptr;
    TIEButton* btnOpenDisc = nullptr;
    TIEButton* btnCloseDisc = nullptr;
    TIEButton* btnShowModuleInfo = nullptr;
    TIEButton* btnPlay = nullptr;
    TIEButton* btnStop = nullptr;
    TIEButton* btnLastModule = nullptr;
    TIEButton* btnRewind = nullptr;
    TIEButton* btnFastForward = nullptr;
    TIEButton* btnNextModule = nullptr;
    TIEButton* btnCopyFile = nullptr;
    TIEButton* btnMoveFile = nullptr;
    TIEButton* btnDeleteFile = nullptr;
    SeekBar* sldSeek = nullptr;
    QPlainTextEdit* staModInfo = nullptr;
    QStatusBar* StatusBar = nullptr;
    std::array<QLabel*, 4> statusPanels{};  // message, buffer length, song position, time

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Open = nullptr;
    QAction* mnuFile_Close = nullptr;
    QAction* mnuFile_Play = nullptr;
    QAction* mnuFile_Stop = nullptr;
    QAction* mnuFile_PreviousModule = nullptr;
    QAction* mnuFile_NextModule = nullptr;
    QMenu* mnuFile_Subsong = nullptr;  // one item per subsong, made as it opens
    QAction* mnuFile_PreviousSubsong = nullptr;
    QAction* mnuFile_NextSubsong = nullptr;
    QAction* mnuFile_PatternView = nullptr;
    QAction* mnuFile_CopyTo = nullptr;
    QAction* mnuFile_MoveTo = nullptr;
    QAction* mnuFile_Rename = nullptr;
    QAction* mnuFile_Delete = nullptr;
    QAction* mnuFile_SaveAsAudio = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QMenu* mnuDisc = nullptr;
    QAction* mnuDisc_New = nullptr;
    QAction* mnuDisc_Open = nullptr;
    QAction* mnuDisc_Save = nullptr;
    QAction* mnuDisc_SaveAs = nullptr;
    QAction* mnuDisc_MoveAllTo = nullptr;
    QAction* mnuDisc_SaveAllAsAudio = nullptr;
    QAction* mnuDisc_Library = nullptr;
    QAction* mnuDisc_Close = nullptr;
    QAction* mnuDisc_PreviousSlot = nullptr;
    QAction* mnuDisc_NextSlot = nullptr;
    QMenu* mnuActions = nullptr;
    QAction* mnuActions_User1 = nullptr;
    QAction* mnuActions_User2 = nullptr;
    QAction* mnuActions_User3 = nullptr;
    QAction* mnuActions_Volume = nullptr;
    QAction* mnuActions_Options = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelp_Contents = nullptr;
    QAction* mnuHelp_WhatDoISee = nullptr;
    QAction* mnuHelp_WhatIs = nullptr;
    QAction* mnuHelp_HelpOnHelp = nullptr;
    QAction* mnuHelp_About = nullptr;

    QMenu* popDiscNrButtons = nullptr;
    QAction* popDiscNrButtons_Assign = nullptr;
    QAction* popDiscNrButtons_Clear = nullptr;
    QMenu* popDiscDiscButtons = nullptr;
    QAction* popDiscDiscButtons_BrowseDisc = nullptr;
    QAction* popDiscDiscButtons_Clear = nullptr;
    QMenu* popBanner = nullptr;
    QAction* popBanner_Enabled = nullptr;
    QAction* popBanner_Disabled = nullptr;
    QMenu* popTrayIcon = nullptr;
    QAction* popTrayIcon_Show = nullptr;
    QAction* popTrayIcon_ContPlay = nullptr;
    QAction* popTrayIcon_Stop = nullptr;
    QAction* popTrayIcon_Exit = nullptr;

    /// The eight menu items that act on the loaded module.
    std::array<QAction*, 8> moduleItems() const;
};

/// Creates every control and menu of the form on window.
MainWindowForm BuildMainWindowForm(QMainWindow& window);
