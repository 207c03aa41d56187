// The main window's playing commands: opening modules with a multiple selection and browsing
// it, play, stop, close, press-and-hold fast-forward and rewind, and the information view.
#include "ui/TMainWindow.h"
#include "app/PathParts.h"

#include "app/CJKMessages.h"
#include "controls/TIEButton.h"
#include "platform/audio/ModuleTypes.h"
#include "playback/ClassModPlayer.h"
#include "settings/ClassOptions.h"
#include "ui/F1Help.h"
#include "ui/FileDialogColumns.h"
#include "ui/HelpContexts.h"

#include <QAction>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

constexpr int kStepRepeatMs = 50;

QStringList chooseModulesInDialog(QWidget* owner, const QString& startDirectory)
{
    QFileDialog dialog(owner, QStringLiteral("Open Module"), startDirectory);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialogColumns(dialog);
    InstallF1Help(&dialog, HelpContexts::kOpenModule);
    // First every type libopenmpt plays, then the classic three as they always were.
    dialog.setNameFilters({QStringLiteral("All Module Types (%1)").arg(ModuleTypes::NamePatterns()),
                           QStringLiteral("All Modules (*.mod *.s3m *.xm)"),
                           QStringLiteral("ProTracker Modules (*.mod)"),
                           QStringLiteral("ScreamTracker Modules (*.s3m)"),
                           QStringLiteral("FastTracker Modules (*.xm)"),
                           QStringLiteral("All Files (*)")});
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

}  // namespace

void TMainWindow::connectPlayCommands()
{
    m_chooseModules = [this](const QString& start) { return chooseModulesInDialog(this, start); };
    connect(m_form.mnuFile_Open, &QAction::triggered, this, &TMainWindow::mnuFile_OpenClick);
    connect(m_form.btnOpenFile, &QAbstractButton::clicked, this, &TMainWindow::mnuFile_OpenClick);
    connect(m_form.mnuFile_Close, &QAction::triggered, this, &TMainWindow::mnuFile_CloseClick);
    connect(m_form.btnCloseFile, &QAbstractButton::clicked, this, &TMainWindow::mnuFile_CloseClick);
    connect(m_form.btnPlay, &QAbstractButton::clicked, this, [this] { player().ContinuePlaying(); });
    connect(m_form.btnStop, &QAbstractButton::clicked, this, [this] { player().StopPlaying(); });
    connect(m_form.btnShowModuleInfo, &QAbstractButton::clicked, this, [this] { player().ToggleInfos(); });
    connect(m_form.btnLastModule, &QAbstractButton::clicked, this, [this] { browseSelection(-1); });
    connect(m_form.btnNextModule, &QAbstractButton::clicked, this, [this] { browseSelection(+1); });
    // The menu items of these buttons click them: one path for both.
    const std::pair<QAction*, TIEButton*> itemButtons[] = {
        {m_form.mnuFile_Play, m_form.btnPlay},
        {m_form.mnuFile_Stop, m_form.btnStop},
        {m_form.mnuFile_PreviousModule, m_form.btnLastModule},
        {m_form.mnuFile_NextModule, m_form.btnNextModule}};
    for (const auto& [item, button] : itemButtons)
        connect(item, &QAction::triggered, button, &QAbstractButton::click);

    timFFWPress.setObjectName(QStringLiteral("timFFWPress"));
    timREVPress.setObjectName(QStringLiteral("timREVPress"));
    for (QTimer* repeat : {&timFFWPress, &timREVPress})
        repeat->setInterval(kStepRepeatMs);
    connect(&timFFWPress, &QTimer::timeout, this, [this] { stepAndRepeat(timFFWPress, true); });
    connect(&timREVPress, &QTimer::timeout, this, [this] { stepAndRepeat(timREVPress, false); });
    m_form.btnFastForward->installEventFilter(this);
    m_form.btnRewind->installEventFilter(this);
    // Pressed without a held button or key: a screen reader's press, which steps once.
    for (TIEButton* button : {m_form.btnFastForward, m_form.btnRewind}) {
        const bool forward = button == m_form.btnFastForward;
        connect(button, &QAbstractButton::pressed, this, [this, forward] {
            if (!m_stepHeld)
                forward ? player().StepForward() : player().StepBack();
        });
    }
}

void TMainWindow::mnuFile_OpenClick()
{
    const QStringList files = m_chooseModules(options().OpenModulePath());
    if (files.isEmpty())
        return;
    const QString& first = files.first();
    options().SetOpenModulePath(PathParts::DirectoryPart(first));
    m_selection = files;
    m_browsingSelection = false;
    m_selectionIndex = 1;
    repaint();  // the closed dialog leaves no trace while the module loads
    OpenFromSelection(1);
}

void TMainWindow::mnuFile_CloseClick()
{
    player().CloseModule();
    UpdateModuleControls();
}

void TMainWindow::browseSelection(int step)
{
    m_browsingSelection = true;
    m_selectionIndex += step;
    OpenFromSelection(m_selectionIndex);
}

void TMainWindow::OpenFromSelection(int n)
{
    const int count = static_cast<int>(m_selection.size());
    if (count == 0)
        return;
    if (count == 1) {
        if (CurrentModule() != m_selection.first())
            player().LoadModule(m_selection.first());
        else if (m_browsingSelection)
            CJKMessages::Show(20100);
        m_selectionIndex = 1;
        return;
    }
    // Past either end the first or last file stays, without restarting it.
    const int index = qBound(1, n, count);
    if (index == n || CurrentModule() != m_selection.at(index - 1))
        player().LoadModule(m_selection.at(index - 1));
    m_selectionIndex = index;
}

void TMainWindow::stepAndRepeat(QTimer& repeat, bool forward)
{
    // The repeat is off during the step: a step without a module shows its message in a
    // modal run, where a running repeat would show the next one behind it.
    repeat.stop();
    const bool stepped = forward ? player().StepForward() : player().StepBack();
    if (stepped)
        repeat.start();
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (filterDiscButtonEvent(watched, event))
        return true;
    const bool forward = watched == m_form.btnFastForward;
    if (!forward && watched != m_form.btnRewind)
        return QMainWindow::eventFilter(watched, event);
    QTimer& repeat = forward ? timFFWPress : timREVPress;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_stepHeld = true;
        stepAndRepeat(repeat, forward);
        break;
    case QEvent::MouseButtonRelease:
        m_stepHeld = false;
        repeat.stop();
        break;
    case QEvent::MouseMove: {
        // Leaving by the left or top edge stops stepping; right or bottom does not.
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        if (at.x() < 0 || at.y() < 0)
            repeat.stop();
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return filterStepKey(repeat, forward, static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut:
        m_stepHeld = false;
        repeat.stop();  // the key's release goes elsewhere now
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainWindow::filterStepKey(QTimer& repeat, bool forward, QKeyEvent* key)
{
    const bool space = key->key() == Qt::Key_Space;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if ((!space && !enter) || key->modifiers() & ~Qt::KeypadModifier)
        return false;
    // A held key is the held mouse button: one step at the press, the repeat until release.
    // The key's own auto-repeat is left out, as the timer sets the pace.
    if (!key->isAutoRepeat()) {
        m_stepHeld = key->type() == QEvent::KeyPress;
        if (m_stepHeld)
            stepAndRepeat(repeat, forward);
        else
            repeat.stop();
    }
    // Space goes on to the button, which shows itself held down; Enter would go on to the
    // window.
    return enter;
}
