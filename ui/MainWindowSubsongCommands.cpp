// The subsongs of the loaded module: the menu that lists them and the steps between them.
#include "ui/TMainWindow.h"

#include <QAction>
#include <QMenu>

void TMainWindow::connectSubsongCommands()
{
    connect(m_form.mnuFile_Subsong, &QMenu::aboutToShow, this, &TMainWindow::fillSubsongMenu);
    connect(m_form.mnuFile_PreviousSubsong, &QAction::triggered, this, [this] { player().StepSubsong(-1); });
    connect(m_form.mnuFile_NextSubsong, &QAction::triggered, this, [this] { player().StepSubsong(1); });
    connect(m_session.get(), &JukeboxSession::moduleLoaded, this, &TMainWindow::updateSubsongItems);
    connect(m_session.get(), &JukeboxSession::moduleClosed, this, &TMainWindow::updateSubsongItems);
    connect(m_session.get(), &JukeboxSession::subsongChanged, this, &TMainWindow::updateSubsongItems);
    connect(m_session.get(), &JukeboxSession::subsongChanged, this, &TMainWindow::showSong);
    // A new shortest length may show or hide subsongs.
    connect(&player(), &ClassModPlayer::songEndChanged, this, &TMainWindow::updateSubsongItems);
    updateSubsongItems();
}

void TMainWindow::updateSubsongItems()
{
    const QList<int> shown = player().ShownSubsongs();
    const qsizetype at = shown.indexOf(player().Details().subsong);
    m_form.mnuFile_Subsong->setEnabled(shown.size() > 1);
    m_form.mnuFile_PreviousSubsong->setEnabled(at > 0);
    m_form.mnuFile_NextSubsong->setEnabled(at + 1 < shown.size());
}

void TMainWindow::fillSubsongMenu()
{
    QMenu* menu = m_form.mnuFile_Subsong;
    menu->clear();
    const ModuleDetails details = player().Details();
    const QStringList texts = ClassModPlayer::SubsongTexts(details.subsongs);
    for (int index : player().ShownSubsongs()) {
        // An ampersand of a name is shown, not taken for a shortcut key.
        QAction* item = menu->addAction(QString(texts[index]).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setChecked(index == details.subsong);
        connect(item, &QAction::triggered, this, [this, index] { player().SelectSubsong(index); });
    }
}
