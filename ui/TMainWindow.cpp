#include "ui/TMainWindow.h"
#include "app/CommandLine.h"
#include "app/PathParts.h"

#include "controls/ClassScrollTextViewer.h"
#include "controls/TBanner.h"
#include "controls/TTrayIcon.h"
#include "desktop/ModuleNotifications.h"
#include "desktop/MprisService.h"
#include "desktop/RecentFiles.h"
#include "desktop/SleepInhibitor.h"
#include "platform/Registry.h"
#include "platform/audio/SongFileBatch.h"
#include "settings/RegistryKeys.h"
#include "ui/PatternView.h"
#include "ui/SongFileProgressDialog.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStatusBar>
#include <QWindow>

#include <cstdio>

namespace {

/// Hints show half a second after the pointer rests on a control.
class HintTimingStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 500;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

TMainWindow::TMainWindow(Registry& registry, std::unique_ptr<JukeboxSession> session)
    : m_form(BuildMainWindowForm(*this)),
      m_registry(registry),
      m_session(std::move(session)),
      prwMainWindow(m_bounds, registry),
      prwMainWindowHeight(m_bounds, registry)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/jukarium/jukarium.svg")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    QFont formFont(QStringLiteral("Liberation Sans"));
    formFont.setPixelSize(11);
    setFont(formFont);

    prwMainWindow.Enabled = false;
    prwMainWindow.RegPath = RegistryKeys::kMainWindow;
    prwMainWindowHeight.Enabled = false;
    prwMainWindowHeight.RegPath = RegistryKeys::kMainWindow;
    prwMainWindowHeight.RgNameHeight = QStringLiteral("Infoheight");
    prwMainWindowHeight.SaveLeft = prwMainWindowHeight.SaveTop = prwMainWindowHeight.SaveWidth = false;
    prwMainWindowHeight.SetLeft = prwMainWindowHeight.SetTop = prwMainWindowHeight.SetWidth = false;

    // FormCreate. Reading the placement creates its key where missing: one write at most.
    UpdateModuleControls();
    m_registry.deferWrites();
    m_textFeed = std::make_unique<ClassScrollTextViewer>(*m_form.banMain, options());
    QApplication::setStyle(new HintTimingStyle);
    resize(MainWindowForm::kClientWidth, defaultHeight(false));
    connectSession();
    LoadPlacement();
    m_registry.commitWrites();
    connectCommands();
    offerDesktopServices();
}

TMainWindow::~TMainWindow()
{
    m_mediaControls.reset();
    m_notifications.reset();
    m_sleepInhibitor.reset();
    m_recentFiles.reset();
    // FormDestroy. Every setting is stored now: each settings file is written once, not once
    // per value, which would take minutes for a large one.
    m_registry.deferWrites();
    SavePlacement();
    closePatternView();
    m_textFeed.reset();
    // The session's last words (the fade-out, "Module closed") are for nobody: the window has
    // closed.
    m_session->disconnect(this);
    m_session->SetDialogs(nullptr);
    m_session.reset();
    for (const QString& file : m_registry.commitWrites())
        std::fprintf(stderr, "jukarium: cannot save the settings in %s; it keeps the earlier ones\n",
                     qPrintable(file));
}

void TMainWindow::connectCommands()
{
    connect(m_form.mnuFile_Exit, &QAction::triggered, this, &QWidget::close);
    connect(m_form.popBanner_Enabled, &QAction::triggered, this, [this] {
        m_scrollerDisabled = false;
        updateBannerScrolling();
    });
    connect(m_form.popBanner_Disabled, &QAction::triggered, this, [this] {
        m_scrollerDisabled = true;
        updateBannerScrolling();
    });
    connectPlayCommands();
    connectSubsongCommands();
    connectPatternView();
    connectDiscCommands();
    connectLibrary();
    connectFileCommands();
    connectAudioFileCommands();
    connectActionCommands();
    connectTrayAndDrop();
}

void TMainWindow::PauseBanner()
{
    ++m_bannerPauses;
    updateBannerScrolling();
}

void TMainWindow::ResumeBanner()
{
    m_bannerPauses = qMax(0, m_bannerPauses - 1);
    updateBannerScrolling();
}

void TMainWindow::updateBannerScrolling()
{
    const bool seen = !m_hiddenInTray && !isMinimized();
    m_form.banMain->SetScrollEnabled(seen && m_bannerPauses == 0 && !m_scrollerDisabled);
    m_form.banMain->update();
}

void TMainWindow::UpdateModuleControls()
{
    const QString module = m_session->CurrentModule();
    const bool loaded = module.size() > 1;
    for (QAction* item : m_form.moduleItems())
        item->setEnabled(loaded);
    updateAudioFileItems();
    setWindowTitle(loaded ? PathParts::FileNamePart(module).toUpper() +
                                QStringLiteral(" - ") + kInstanceCaption
                          : kInstanceCaption);
    if (TrayIcon)
        TrayIcon->SetToolTip(windowTitle());
}

void TMainWindow::SetInfoView(bool flag)
{
    SavePlacement();
    m_infoVisible = flag;
    LoadPlacement();
}

int TMainWindow::defaultHeight(bool infoView) const
{
    const int client = infoView ? MainWindowForm::kClientHeight : MainWindowForm::kCompactClientHeight;
    return menuBar()->sizeHint().height() + client;
}

void TMainWindow::LoadPlacement()
{
    if (!m_infoVisible)
        resize(width(), defaultHeight(false));
    prwMainWindow.Restore();
    if (m_infoVisible) {
        // With no "Infoheight" stored yet the window keeps its height, only never so low that
        // the memo would be squeezed to nothing.
        if (height() < defaultHeight(true))
            resize(width(), defaultHeight(true));
        prwMainWindowHeight.Restore();
    }
    // A height stored by a version with fewer rows would hide the lowest of them.
    if (height() < defaultHeight(false))
        resize(width(), defaultHeight(false));
    m_form.staModInfo->setVisible(m_infoVisible);
    if (isVisible())
        keepOnScreen();
}

void TMainWindow::SavePlacement()
{
    prwMainWindow.SaveHeight = false;
    prwMainWindow.Save();
    prwMainWindow.SaveHeight = true;
    if (m_infoVisible)
        prwMainWindowHeight.Save();
    else
        prwMainWindow.Save();
}

void TMainWindow::BringToFront()
{
    if (isHidden())
        return;
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TMainWindow::ReceiveForwardedFile(const QString& text)
{
    // The desktop entry's actions act where the jukebox is, without raising it.
    switch (CommandLine::CommandOf(text)) {
    case CommandLine::RemoteCommand::PlayPause:
        m_session->RequestPlayPause();
        return;
    case CommandLine::RemoteCommand::Next:
        m_session->RequestNeighbour(1);
        return;
    case CommandLine::RemoteCommand::Stop:
        m_session->RequestStop();
        return;
    case CommandLine::RemoteCommand::None:
        break;
    }
    m_session->RequestFile(text, ClassModPlayer::Origin::Forwarded);
    BringToFront();
}

void TMainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Nobody sees a minimised window's banner: it rests like one hidden away.
    if (event->type() == QEvent::WindowStateChange)
        updateBannerScrolling();
}

void TMainWindow::showEvent(QShowEvent* event)
{
    keepOnScreen();  // here, where the frame around the window is known
    QMainWindow::showEvent(event);
    showTime();
}

void TMainWindow::keepOnScreen()
{
    // A place stored on a screen that is gone (an unplugged monitor), or a size stored at a
    // smaller scale factor, would show the window where nobody sees it, or only part of it:
    // it comes up wholly on the nearest screen instead, while the stored place and size are
    // kept for when that screen is back.
    m_bounds.keepWhollyOnScreen();
}

void TMainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainWindow::FormResize()
{
    m_form.Panel1->resize(centralWidget()->width(), m_form.Panel1->height());
    QPlainTextEdit* memo = m_form.staModInfo;
    const int memoTop = centralWidget()->y() + memo->y();
    const int gap = static_cast<int>(logicalDpiY() * 0.05);
    memo->resize(memo->width(), qMax(0, m_form.StatusBar->y() - memoTop - gap));
}
