// The main window as the session's view: the status bar, the caption and module items, the
// banner, the information memo and the disc show what the session announces.
#include "ui/TMainWindow.h"

#include "controls/TBanner.h"
#include "controls/ClassScrollTextViewer.h"
#include "controls/SeekBar.h"
#include "controls/TIEButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

void TMainWindow::connectSession()
{
    JukeboxSession* session = m_session.get();
    session->SetDialogs(this);

    // What was announced before the window existed: a module played from the command line
    // is heard before the window is built.
    for (int n = 1; n <= ClassDisc::kSlotCount; ++n)
        showSlot(n);
    m_form.grpDisc->setTitle(session->DiscCaption());
    SetDiscButtonCaption(1, session->DiscButtonCaption(1));
    SetDiscButtonCaption(2, session->DiscButtonCaption(2));
    m_form.statusPanels[0]->setText(session->StatusText());
    m_form.statusPanels[1]->setText(session->BufferText());
    m_form.statusPanels[2]->setText(session->PositionText());
    m_form.statusPanels[3]->setText(session->TimeText());
    showSong();
    UpdateModuleControls();
    if (session->BannerSummary() == JukeboxSession::Summary::Module)
        showModuleSummary();
    else if (session->BannerSummary() == JukeboxSession::Summary::NoModule)
        ShowNoModule();
    showInfoLines(session->InfoLines());
    m_infoVisible = session->InfoViewShown();

    connect(session, &JukeboxSession::statusTextChanged, this, &TMainWindow::SetStatusText);
    // Why a module was refused, for whoever wants to know more than "Error reading".
    connect(session, &JukeboxSession::moduleLoadFailed, m_form.statusPanels[0],
            [this](const QString&, const QString& reason) { m_form.statusPanels[0]->setToolTip(reason); });
    connect(session, &JukeboxSession::bufferTextChanged, m_form.statusPanels[1], &QLabel::setText);
    connect(session, &JukeboxSession::positionTextChanged, m_form.statusPanels[2], &QLabel::setText);
    connect(session, &JukeboxSession::timeTextChanged, this, &TMainWindow::showTime);
    connect(session, &JukeboxSession::moduleLoaded, this, &TMainWindow::showSong);
    connect(session, &JukeboxSession::moduleClosed, this, &TMainWindow::showSong);
    connect(m_form.sldSeek, &SeekBar::seekRequested, this, [this](double seconds) { player().SeekTo(seconds); });
    connect(session, &JukeboxSession::modulePathChanged, this, &TMainWindow::UpdateModuleControls);
    connect(session, &JukeboxSession::moduleSummary, this, &TMainWindow::showModuleSummary);
    // The summary names the subsong that plays.
    connect(session, &JukeboxSession::subsongChanged, this, [this] {
        if (m_session->BannerSummary() == JukeboxSession::Summary::Module)
            showModuleSummary();
    });
    connect(session, &JukeboxSession::noModuleSummary, this, &TMainWindow::ShowNoModule);
    connect(session, &JukeboxSession::infoViewChanged, this, &TMainWindow::SetInfoView);
    connect(session, &JukeboxSession::infoLinesChanged, this, &TMainWindow::showInfoLines);
    connect(session, &JukeboxSession::discCaptionChanged, m_form.grpDisc, &QGroupBox::setTitle);
    connect(session, &JukeboxSession::discButtonCaptionChanged, this, &TMainWindow::SetDiscButtonCaption);
    connect(session, &JukeboxSession::slotChanged, this, &TMainWindow::showSlot);
}

void TMainWindow::showModuleSummary()
{
    const ModuleDetails details = player().Details();
    m_textFeed->ShowModuleInfo(m_session->LoadedModuleInfo(), m_session->CurrentModule(),
                               m_session->CurrentModuleTitle(), details.subsong,
                               static_cast<int>(details.subsongs.size()));
}

void TMainWindow::showTime()
{
    // Nobody sees a hidden window (in the notification area): it catches up when it shows.
    if (!isVisible())
        return;
    m_form.statusPanels[3]->setText(m_session->TimeText());
    // The seek bar moves with the time panel: once a second, and at each jump.
    m_form.sldSeek->ShowTime(player().PlayTime());
}

void TMainWindow::showSong()
{
    m_form.FitTimePanel(player().Details().durationSeconds);
    m_form.sldSeek->SetSong(player().Details().durationSeconds);
    m_form.sldSeek->ShowTime(player().PlayTime());
}

void TMainWindow::SetStatusText(const QString& text)
{
    m_form.statusPanels[0]->setToolTip(QString());
    m_form.statusPanels[0]->setText(text);
    m_form.statusPanels[0]->repaint();
}

void TMainWindow::showInfoLines(const QStringList& lines)
{
    m_form.staModInfo->setPlainText(lines.join(QLatin1Char('\n')));
}

void TMainWindow::ShowNoModule()
{
    // Closing a module must not fail on the banner: a banner that could not take the line
    // keeps what it showed.
    try {
        m_textFeed->ShowNoModule();
    } catch (const BannerContentError&) {
    }
}

void TMainWindow::SetDiscButtonCaption(int button, const QString& caption)
{
    TIEButton* discButton = button == 1 ? m_form.btnDisc1 : m_form.btnDisc2;
    discButton->SetCaption(caption);
    discButton->setAccessibleName(QStringLiteral("Disc button %1, %2").arg(button).arg(caption));
}

void TMainWindow::showSlot(int n)
{
    const JukeboxSession::SlotLook look = m_session->SlotLooks(n);
    TIEButton* button = m_form.ibtDiscNr[n - 1];
    button->setToolTip(look.hint);
    // What a sighted user reads from the number, its colour and its hint.
    button->setAccessibleName(look.assigned ? QStringLiteral("Slot %1, %2").arg(n).arg(look.hint)
                                            : QStringLiteral("Slot %1, empty").arg(n));
    button->SetAccented(look.assigned);
    QFont font = button->font();
    font.setBold(look.current);
    font.setItalic(look.current);
    button->setFont(font);
}
