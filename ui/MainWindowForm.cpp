#include "ui/MainWindowForm.h"

#include "controls/ControlGlyphs.h"
#include "controls/SeekBar.h"
#include "controls/TBanner.h"
#include "controls/TIEButton.h"
#include "controls/TimePanel.h"
#include "playback/ClassModPlayer.h"
#include "ui/StatusPanelLabel.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int kHintDisplayMs = 3500;
constexpr std::array<int, 10> kSlotColumns = {24, 46, 67, 88, 109, 131, 152, 173, 195, 216};
constexpr int kSlotRowTops[2] = {20, 42};
constexpr int kSlotSize = 21;

QFrame* makePanel(QWidget* parent, const char* name, const QRect& place)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(place);
    return panel;
}

// A slot or disc button: caption only, with its number as Tag.
TIEButton* makeCaptionButton(QWidget* parent, const QString& name, const QRect& place,
                             const QString& caption, int tag)
{
    auto* button = new TIEButton(parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->SetCaption(caption);
    button->SetTag(tag);
    button->SetNumGlyphs(1);
    return button;
}

// A control panel button: a glyph of two cells (hot, normal) with white as transparent colour.
TIEButton* makeGlyphButton(QWidget* parent, const char* name, const QRect& place,
                           ControlGlyph glyph, const char* hint)
{
    auto* button = new TIEButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    const int cell = place.width() > 30 ? 20 : 14;
    button->SetGlyphPainter([glyph, cell](qreal ratio) {
        return ControlGlyphs::strip(glyph, QSize(cell, cell), ratio);
    });
    button->SetTransparentColor(ControlGlyphs::transparentColor());
    button->setToolTip(QLatin1String(hint));
    button->setToolTipDuration(kHintDisplayMs);
    // A screen reader names the button by its hint, as a caption would: it shows none.
    button->setAccessibleName(QLatin1String(hint));
    return button;
}

// The main banner: lime Arial on black, 5 pixels every 100 ms, dragged by a press and move.
TBanner* makeBanner(QFrame* panel, QMenu* popup)
{
    auto* banner = new TBanner(panel);
    banner->setObjectName(QStringLiteral("banMain"));
    banner->setGeometry(panel->contentsRect());
    banner->beginLoad();
    banner->SetColor(Qt::black);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    banner->setFont(font);
    banner->SetFontColor(QColor(0x00, 0xFF, 0x00));
    banner->SetScrollInterval(100);
    banner->SetScrollPixels(5);
    banner->SetScrollText(QStringLiteral("xxx"));
    banner->SetDragMode(TDragMode::dmAutomatic);
    banner->SetPopupMenu(popup);
    banner->Loaded();
    return banner;
}

QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = QKeySequence())
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    return item;
}

QMenu* makeMenu(QWidget* owner, const char* name, const QString& caption = QString())
{
    auto* menu = new QMenu(caption, owner);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void buildControls(MainWindowForm& form, QWidget* client)
{
    form.Panel1 = new QFrame(client);
    form.Panel1->setObjectName(QStringLiteral("Panel1"));
    form.Panel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    form.Panel1->setGeometry(0, 0, MainWindowForm::kClientWidth, 2);

    form.panBanner = makePanel(client, "panBanner", QRect(4, 4, 265, 25));
    form.banMain = makeBanner(form.panBanner, form.popBanner);

    form.grpDisc = new QGroupBox(QStringLiteral("(no disc)"), client);
    form.grpDisc->setObjectName(QStringLiteral("grpDisc"));
    form.grpDisc->setGeometry(4, 36, 265, 121);
    for (int slot = 1; slot <= 20; ++slot) {
        const QRect place(kSlotColumns[(slot - 1) % 10], kSlotRowTops[(slot - 1) / 10], kSlotSize,
                          kSlotSize);
        form.ibtDiscNr[slot - 1] = makeCaptionButton(
            form.grpDisc, QStringLiteral("ibtDiscNr%1").arg(slot), place, QString::number(slot), slot);
    }
    form.btnDisc1 = makeCaptionButton(form.grpDisc, QStringLiteral("btnDisc1"),
                                      QRect(24, 76, 213, 17), QStringLiteral("(no disc)"), 1);
    form.btnDisc2 = makeCaptionButton(form.grpDisc, QStringLiteral("btnDisc2"),
                                      QRect(24, 96, 213, 17), QStringLiteral("(no disc)"), 2);

    form.panControls = makePanel(client, "panControls", QRect(277, 4, 149, 153));
    QWidget* controls = form.panControls;
    auto control = [controls](const char* name, int left, int top, int width, int height,
                              ControlGlyph glyph, const char* hint) {
        return makeGlyphButton(controls, name, QRect(left, top, width, height), glyph, hint);
    };
    using G = ControlGlyph;
    form.btnOpenFile = control("btnOpenFile", 4, 8, 45, 33, G::Open, "Open module");
    form.btnCloseFile = control("btnCloseFile", 52, 8, 45, 33, G::Close, "Close module");
    form.btnHide2Tray = control("btnHide2Tray", 100, 8, 45, 33, G::HideToTray, "Hide To Tray");
    form.btnOpenDisc = control("btnOpenDisc", 4, 44, 45, 33, G::OpenDisc, "Open disc");
    form.btnCloseDisc = control("btnCloseDisc", 52, 44, 45, 33, G::CloseDisc, "Close disc");
    form.btnShowModuleInfo = control("btnShowModuleInfo", 100, 44, 45, 33, G::Information, "Show information");
    form.btnPlay = control("btnPlay", 4, 80, 22, 29, G::Play, "Play");
    form.btnStop = control("btnStop", 28, 80, 22, 29, G::Stop, "Stop");
    form.btnLastModule = control("btnLastModule", 52, 80, 22, 29, G::Previous, "Previous module");
    form.btnRewind = control("btnRewind", 76, 80, 22, 29, G::Rewind, "Rewind");
    form.btnFastForward = control("btnFastForward", 100, 80, 22, 29, G::Forward, "Forward");
    form.btnNextModule = control("btnNextModule", 123, 80, 22, 29, G::Next, "Next module");
    form.btnCopyFile = control("btnCopyFile", 4, 112, 45, 29, G::Copy, "Copy module");
    form.btnMoveFile = control("btnMoveFile", 52, 112, 45, 29, G::Move, "Move module");
    form.btnDeleteFile = control("btnDeleteFile", 100, 112, 45, 29, G::Delete, "Delete module");

    // Under the disc and the control panel, over their whole width.
    form.sldSeek = new SeekBar(client);
    form.sldSeek->setObjectName(QStringLiteral("sldSeek"));
    form.sldSeek->setGeometry(4, 161, 422, 18);

    form.staModInfo = new QPlainTextEdit(client);
    form.staModInfo->setObjectName(QStringLiteral("staModInfo"));
    form.staModInfo->setGeometry(4, 184, 421, 82);
    form.staModInfo->setReadOnly(true);
    form.staModInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    form.staModInfo->setBackgroundRole(QPalette::Window);
    form.staModInfo->hide();
    // The banner's stop comes after the control buttons and the seek bar, and the focus
    // starts on slot 1.
    QWidget::setTabOrder(form.sldSeek, form.banMain);
    form.ibtDiscNr[0]->setFocus();
}

void buildStatusBar(MainWindowForm& form, QMainWindow& window)
{
    form.StatusBar = new QStatusBar(&window);
    form.StatusBar->setObjectName(QStringLiteral("StatusBar"));
    form.StatusBar->setFixedHeight(MainWindowForm::kStatusBarHeight);
    form.StatusBar->setSizeGripEnabled(false);
    const QString initial[4] = {QString(), QStringLiteral("B:1000"), QStringLiteral("001/002"),
                                QStringLiteral("0:00 / 0:00")};
    for (int panel = 0; panel < 4; ++panel) {
        // Panel 0 elides a long message rather than widen the window; panel 3 repaints
        // every second.
        QLabel* label = nullptr;
        if (panel == 0)
            label = new StatusPanelLabel(initial[panel], form.StatusBar);
        else if (panel == 3)
            label = new TimePanel(initial[panel], form.StatusBar);
        else
            label = new QLabel(initial[panel], form.StatusBar);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(panel));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        form.statusPanels[panel] = label;
    }
    form.statusPanels[1]->setFixedSize(MainWindowForm::kBufferPanelWidth, MainWindowForm::kStatusPanelHeight);
    form.statusPanels[2]->setFixedSize(MainWindowForm::kPositionPanelWidth, MainWindowForm::kStatusPanelHeight);
    form.statusPanels[3]->setFixedHeight(MainWindowForm::kStatusPanelHeight);
    form.FitTimePanel(0);
    form.statusPanels[3]->setAlignment(Qt::AlignCenter);
    // Panel 0 takes whatever the other two leave.
    form.StatusBar->addWidget(form.statusPanels[0], 1);
    form.StatusBar->addPermanentWidget(form.statusPanels[1]);
    form.StatusBar->addPermanentWidget(form.statusPanels[2]);
    form.StatusBar->addPermanentWidget(form.statusPanels[3]);
    window.setStatusBar(form.StatusBar);
}

void buildMainMenu(MainWindowForm& form, QMainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    form.mnuFile = makeMenu(bar, "mnuFile", QStringLiteral("&File"));
    form.mnuFile_Open = addItem(form.mnuFile, "mnuFile_Open", "&Open module...", Qt::CTRL | Qt::Key_O);
    form.mnuFile_Close = addItem(form.mnuFile, "mnuFile_Close", "&Close module");
    form.mnuFile->addSeparator()->setObjectName(QStringLiteral("N15"));
    // Playing from the keyboard. Space stays with the focused button, and Ctrl+S with saving.
    form.mnuFile_Play = addItem(form.mnuFile, "mnuFile_Play", "P&lay", Qt::CTRL | Qt::Key_P);
    form.mnuFile_Stop = addItem(form.mnuFile, "mnuFile_Stop", "S&top", Qt::CTRL | Qt::Key_T);
    form.mnuFile_PreviousModule = addItem(form.mnuFile, "mnuFile_PreviousModule", "Pre&vious module",
                                          Qt::ALT | Qt::Key_Left);
    form.mnuFile_NextModule = addItem(form.mnuFile, "mnuFile_NextModule", "&Next module",
                                      Qt::ALT | Qt::Key_Right);
    form.mnuFile_Subsong = makeMenu(form.mnuFile, "mnuFile_Subsong", QStringLiteral("S&ubsong"));
    form.mnuFile->addMenu(form.mnuFile_Subsong);
    form.mnuFile_PreviousSubsong = addItem(form.mnuFile, "mnuFile_PreviousSubsong", "Previous su&bsong",
                                           Qt::CTRL | Qt::Key_Left);
    form.mnuFile_NextSubsong = addItem(form.mnuFile, "mnuFile_NextSubsong", "Next subson&g",
                                       Qt::CTRL | Qt::Key_Right);
    form.mnuFile_PatternView = addItem(form.mnuFile, "mnuFile_PatternView", "P&attern view",
                                       Qt::CTRL | Qt::SHIFT | Qt::Key_P);
    form.mnuFile_PatternView->setCheckable(true);
    form.mnuFile->addSeparator()->setObjectName(QStringLiteral("N1"));
    form.mnuFile_CopyTo = addItem(form.mnuFile, "mnuFile_CopyTo", "Co&py To...", Qt::CTRL | Qt::Key_C);
    form.mnuFile_MoveTo = addItem(form.mnuFile, "mnuFile_MoveTo", "&Move To...", Qt::CTRL | Qt::Key_M);
    form.mnuFile_Rename = addItem(form.mnuFile, "mnuFile_Rename", "&Rename...", Qt::CTRL | Qt::Key_R);
    form.mnuFile_Delete = addItem(form.mnuFile, "mnuFile_Delete", "&Delete", Qt::CTRL | Qt::Key_D);
    form.mnuFile_SaveAsAudio = addItem(form.mnuFile, "mnuFile_SaveAsAudio", "&Save as audio file...");
    form.mnuFile->addSeparator()->setObjectName(QStringLiteral("N2"));
    form.mnuFile_Exit = addItem(form.mnuFile, "mnuFile_Exit", "&Exit");
    bar->addMenu(form.mnuFile);

    form.mnuDisc = makeMenu(bar, "mnuDisc", QStringLiteral("&Disc"));
    form.mnuDisc_New = addItem(form.mnuDisc, "mnuDisc_New", "&New disc");
    form.mnuDisc_Open = addItem(form.mnuDisc, "mnuDisc_Open", "&Open disc...");
    form.mnuDisc->addSeparator()->setObjectName(QStringLiteral("N5"));
    form.mnuDisc_Save = addItem(form.mnuDisc, "mnuDisc_Save", "&Save disc");
    form.mnuDisc_SaveAs = addItem(form.mnuDisc, "mnuDisc_SaveAs", "S&ave disc As...");
    form.mnuDisc_MoveAllTo = addItem(form.mnuDisc, "mnuDisc_MoveAllTo", "&Move all to...");
    form.mnuDisc_SaveAllAsAudio = addItem(form.mnuDisc, "mnuDisc_SaveAllAsAudio",
                                          "Save all slots as a&udio files...");
    form.mnuDisc_Library = addItem(form.mnuDisc, "mnuDisc_Library", "&Library...", Qt::CTRL | Qt::Key_L);
    form.mnuDisc->addSeparator()->setObjectName(QStringLiteral("N4"));
    form.mnuDisc_Close = addItem(form.mnuDisc, "mnuDisc_Close", "&Close disc");
    form.mnuDisc->addSeparator()->setObjectName(QStringLiteral("N16"));
    form.mnuDisc_PreviousSlot = addItem(form.mnuDisc, "mnuDisc_PreviousSlot", "Pre&vious slot",
                                        Qt::CTRL | Qt::Key_PageUp);
    form.mnuDisc_NextSlot = addItem(form.mnuDisc, "mnuDisc_NextSlot", "Ne&xt slot",
                                    Qt::CTRL | Qt::Key_PageDown);
    bar->addMenu(form.mnuDisc);

    form.mnuActions = makeMenu(bar, "mnuActions", QStringLiteral("&Actions"));
    form.mnuActions_User1 = addItem(form.mnuActions, "mnuActions_User1", "User Action 1", Qt::Key_F10);
    form.mnuActions_User2 = addItem(form.mnuActions, "mnuActions_User2", "User Action 2", Qt::Key_F11);
    form.mnuActions_User3 = addItem(form.mnuActions, "mnuActions_User3", "User Action 3", Qt::Key_F12);
    form.mnuActions->addSeparator()->setObjectName(QStringLiteral("N9"));
    form.mnuActions_Volume = addItem(form.mnuActions, "mnuActions_Volume", "&Volume", Qt::CTRL | Qt::Key_V);
    form.mnuActions->addSeparator()->setObjectName(QStringLiteral("N14"));
    form.mnuActions_Options = addItem(form.mnuActions, "mnuActions_Options", "&Options");
    bar->addMenu(form.mnuActions);

    form.mnuHelp = makeMenu(bar, "mnuHelp", QStringLiteral("&Help"));
    form.mnuHelp_Contents = addItem(form.mnuHelp, "mnuHelp_Contents", "&Contents");
    form.mnuHelp_WhatDoISee = addItem(form.mnuHelp, "mnuHelp_WhatDoISee", "&What do I see here?", Qt::Key_F1);
    form.mnuHelp_WhatIs = addItem(form.mnuHelp, "mnuHelp_WhatIs", "Wha&t is Jukarium?");
    form.mnuHelp->addSeparator()->setObjectName(QStringLiteral("N3"));
    form.mnuHelp_HelpOnHelp = addItem(form.mnuHelp, "mnuHelp_HelpOnHelp", "&Help on Help");
    form.mnuHelp->addSeparator()->setObjectName(QStringLiteral("N10"));
    form.mnuHelp_About = addItem(form.mnuHelp, "mnuHelp_About", "&About");
    bar->addMenu(form.mnuHelp);
}

void buildPopupMenus(MainWindowForm& form, QWidget* owner)
{
    form.popDiscNrButtons = makeMenu(owner, "popDiscNrButtons");
    form.popDiscNrButtons_Assign = addItem(form.popDiscNrButtons, "popDiscNrButtons_Assign", "&Assign current Module");
    form.popDiscNrButtons_Clear = addItem(form.popDiscNrButtons, "popDiscNrButtons_Clear", "&Clear assigned Module");
    form.popDiscNrButtons->addSeparator()->setObjectName(QStringLiteral("N7"));
    addItem(form.popDiscNrButtons, "Exit2", "Ca&ncel");

    form.popDiscDiscButtons = makeMenu(owner, "popDiscDiscButtons");
    form.popDiscDiscButtons_BrowseDisc = addItem(form.popDiscDiscButtons, "popDiscDiscButtons_BrowseDisc", "&Browse Disc...");
    form.popDiscDiscButtons_Clear = addItem(form.popDiscDiscButtons, "popDiscDiscButtons_Clear", "&Clear assigned Disc");
    form.popDiscDiscButtons->addSeparator()->setObjectName(QStringLiteral("N6"));
    addItem(form.popDiscDiscButtons, "Exit3", "Ca&ncel");

    form.popBanner = makeMenu(owner, "popBanner");
    form.popBanner_Enabled = addItem(form.popBanner, "popBanner_Enabled", "E&nable Scroller");
    form.popBanner_Disabled = addItem(form.popBanner, "popBanner_Disabled", "&Disabled Scroller");
    form.popBanner->addSeparator()->setObjectName(QStringLiteral("N8"));
    addItem(form.popBanner, "popBanner_Exit", "Ca&ncel");

    form.popTrayIcon = makeMenu(owner, "popTrayIcon");
    form.popTrayIcon_Show = addItem(form.popTrayIcon, "popTrayIcon_Show", "&Show Jukarium");
    form.popTrayIcon->addSeparator()->setObjectName(QStringLiteral("N12"));
    form.popTrayIcon_ContPlay = addItem(form.popTrayIcon, "popTrayIcon_ContPlay", "&Continue Playback");
    form.popTrayIcon_Stop = addItem(form.popTrayIcon, "popTrayIcon_Stop", "S&top current Module");
    form.popTrayIcon->addSeparator()->setObjectName(QStringLiteral("N11"));
    addItem(form.popTrayIcon, "Cancel1", "Ca&ncel");
    form.popTrayIcon->addSeparator()->setObjectName(QStringLiteral("N13"));
    form.popTrayIcon_Exit = addItem(form.popTrayIcon, "popTrayIcon_Exit", "&Exit");
}

}  // namespace

std::array<QAction*, 8> MainWindowForm::moduleItems() const
{
    return {mnuFile_Close,    mnuFile_CopyTo,   mnuFile_MoveTo,   mnuFile_Rename,
            mnuFile_Delete,   mnuActions_User1, mnuActions_User2, mnuActions_User3};
}

void MainWindowForm::FitTimePanel(double lengthSeconds) const
{
    QLabel* panel = statusPanels[3];
    // Both times as wide as the length (digits are as wide as each other), with the frame and
    // a margin either side.
    const QString widest = ClassModPlayer::TimeText(lengthSeconds, lengthSeconds);
    const int width = panel->fontMetrics().horizontalAdvance(widest) + 2 * panel->frameWidth() + 8;
    panel->setFixedWidth(std::max(kTimePanelWidth, width));
}

MainWindowForm BuildMainWindowForm(QMainWindow& window)
{
    MainWindowForm form;
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("ClientArea"));
    window.setCentralWidget(client);
    buildPopupMenus(form, &window);  // first: the banner takes its popup menu
    buildControls(form, client);
    buildStatusBar(form, window);
    buildMainMenu(form, window);
    return form;
}
