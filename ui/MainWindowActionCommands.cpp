// The main window's actions and help menus: the three user actions, the volume control, the
// options dialog, the help and the about window, and what those reach of the window.
#include "ui/TMainWindow.h"

#include "controls/ClassScrollTextViewer.h"
#include "platform/ProgramStarter.h"
#include "playback/ClassModPlayer.h"
#include "settings/ClassOptions.h"
#include "ui/HelpContexts.h"
#include "ui/TAboutWindow.h"
#include "ui/THelpWindow.h"
#include "ui/TOptions.h"
#include "ui/UserActions.h"

#include <QAction>
#include <QTimer>

void TMainWindow::connectActionCommands()
{
    const std::pair<QAction*, int> userActions[] = {
        {m_form.mnuActions_User1, 1}, {m_form.mnuActions_User2, 2}, {m_form.mnuActions_User3, 3}};
    for (const auto& [item, n] : userActions) {
        connect(item, &QAction::triggered, this, [this, n = n] {
            RunUserAction(n, options().UserActionPath(n), options().UserActionSleep(n),
                          options().UserActionCloseMod(n), *this);
        });
    }
    connect(m_form.mnuActions_Volume, &QAction::triggered, this,
            [this] { StartVolumeControl(options().VolumeExe(), *this); });
    connect(m_form.mnuActions_Options, &QAction::triggered, this, [this] {
        PauseBanner();
        {
            TOptions dialog(options(), *this, this);
            dialog.exec();
        }
        ResumeBanner();
    });

    connect(m_form.mnuHelp_Contents, &QAction::triggered, this,
            [this] { THelpWindow::ShowPage(HelpContexts::kContentsPage, this); });
    connect(m_form.mnuHelp_WhatDoISee, &QAction::triggered, this,
            [this] { THelpWindow::ShowHelp(HelpContexts::kWhatDoISeeHere, this); });
    connect(m_form.mnuHelp_WhatIs, &QAction::triggered, this,
            [this] { THelpWindow::ShowHelp(HelpContexts::kWhatIsJukarium, this); });
    connect(m_form.mnuHelp_HelpOnHelp, &QAction::triggered, this,
            [this] { THelpWindow::ShowPage(HelpContexts::kHelpOnHelpPage, this); });
    connect(m_form.mnuHelp_About, &QAction::triggered, this, [this] {
        PauseBanner();
        {
            TAboutWindow about(this);
            about.exec();
        }
        ResumeBanner();
    });
}

void TMainWindow::ApplyScrollSpeed(int speed) { m_textFeed->ApplyScrollSpeed(speed); }
void TMainWindow::SetFadeOutSteps(int steps) { player().SetFadeOutSteps(steps); }
void TMainWindow::SetOutputMode(int mode) { player().SetOutputMode(mode); }
void TMainWindow::SetMixingRate(int index) { player().SetMixingRate(index); }
void TMainWindow::SetBufferSize(int index) { player().SetBufferSize(index); }
void TMainWindow::RestartAudio() { player().RestartAudio(); }
void TMainWindow::SetRenderQuality(const RenderQuality& quality) { player().SetRenderQuality(quality); }
void TMainWindow::SetSongEnd(ClassOptions::SongEnd action) { player().SetSongEnd(action); }
void TMainWindow::SetShortestSubsong(int seconds) { player().SetShortestSubsong(seconds); }
void TMainWindow::SetEvenLoudness(bool even, int targetLufs) { session().SetEvenLoudness(even, targetLufs); }

void TMainWindow::CloseModule(std::function<void()> then)
{
    player().StopThen(QString(), [this, then = std::move(then)] {
        player().CloseModule();
        then();
    });
}
void TMainWindow::RepaintNow() { repaint(); }
void TMainWindow::After(int milliseconds, std::function<void()> then)
{
    QTimer::singleShot(milliseconds, this, std::move(then));
}
bool TMainWindow::StartProgram(const QString& commandLine) { return ::StartProgram(commandLine); }
