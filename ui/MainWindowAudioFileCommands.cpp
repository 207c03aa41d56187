// The main window's commands that save songs as audio files: the loaded module (its subsong
// that plays, or each into a file of its own) and every slot of the disc. The choices are
// asked for here, on the GUI thread; the work runs in a SongFileBatch on a worker thread while
// the music goes on, shown in a progress dialog.
#include "ui/TMainWindow.h"

#include "app/CJKMessages.h"
#include "disc/ClassDisc.h"
#include "platform/audio/SongFileBatch.h"
#include "playback/ClassModPlayer.h"
#include "ui/FileDialogColumns.h"
#include "ui/SaveAsAudioDialog.h"
#include "ui/SongFileProgressDialog.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

/// Files named in a question at most; the rest are counted.
constexpr int kNamesListed = 8;
/// Characters of a title kept in a file name, well below the file system's 255 bytes.
constexpr int kTitleKept = 100;

/// title as a file name: without "/" (a folder) and control characters, not hidden, not
/// empty.
QString fileNameOf(const QString& title, const QString& fallback)
{
    QString name;
    for (const QChar c : title.left(kTitleKept))
        name += c == u'/' || c.category() == QChar::Other_Control ? QChar(u'_') : c;
    name = name.trimmed();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return name.isEmpty() ? fallback : name;
}

/// The targets of tasks that name files already there, as a list for message 30200.
QStringList existingTargets(const QList<SongFileTask>& tasks)
{
    QStringList names;
    for (const SongFileTask& task : tasks) {
        if (QFileInfo::exists(task.job.target) || QFileInfo(task.job.target).isSymLink())
            names.append(QFileInfo(task.job.target).fileName());
    }
    return names;
}

}  // namespace

void TMainWindow::connectAudioFileCommands()
{
    connect(m_form.mnuFile_SaveAsAudio, &QAction::triggered, this, [this] {
        PauseBanner();
        saveModuleAsAudio();
        ResumeBanner();
    });
    connect(m_form.mnuDisc_SaveAllAsAudio, &QAction::triggered, this, [this] {
        PauseBanner();
        saveSlotsAsAudio();
        ResumeBanner();
    });
}

void TMainWindow::updateAudioFileItems()
{
    // One batch at a time: its progress dialog is the place to follow or stop it.
    m_form.mnuFile_SaveAsAudio->setEnabled(!m_songFiles && m_session->CurrentModule().size() > 1);
    m_form.mnuDisc_SaveAllAsAudio->setEnabled(!m_songFiles);
}

std::optional<SaveAsAudioChoice> TMainWindow::chooseAudioSaving(const QString& subsongText, int subsongs)
{
    SaveAsAudioDialog dialog(m_audioChoice, options().PlaybackQuality(), subsongText, subsongs, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    m_audioChoice = dialog.choice();
    return m_audioChoice;
}

SongFileJob TMainWindow::audioJob(const SaveAsAudioChoice& choice)
{
    SongFileJob job;
    job.format = choice.format;
    job.quality = options().PlaybackQuality();
    job.song.timesPlayed = choice.timesPlayed;
    job.song.fadeSeconds = choice.fadeSeconds;
    return job;
}

void TMainWindow::saveModuleAsAudio()
{
    if (!player().HasModule())
        return;
    const QString module = player().ModulePath();
    const ModuleDetails details = player().Details();
    const QList<int> shown = player().ShownSubsongs();
    const QStringList subsongTexts = ClassModPlayer::SubsongTexts(details.subsongs);
    const std::optional<SaveAsAudioChoice> choice =
        chooseAudioSaving(subsongTexts.value(details.subsong), int(shown.size()));
    if (!choice)
        return;

    const AudioFileType& type = audioFileType(choice->format);
    const QString extension = QLatin1String(type.extension);
    const QString folder = m_audioDirectory.isEmpty() ? QFileInfo(module).absolutePath() : m_audioDirectory;
    QFileDialog dialog(this, QStringLiteral("Save as audio file"),
                       folder + u'/' + fileNameOf(player().ModuleTitle(), QStringLiteral("song")) + u'.' + extension,
                       QStringLiteral("%1 (*.%2)").arg(QLatin1String(type.name), extension));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Each subsong goes into a file of its own beside the name chosen, asked about below.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, choice->eachSubsong);
    FitFileDialogColumns(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString target = dialog.selectedFiles().constFirst();
    m_audioDirectory = QFileInfo(target).absolutePath();

    QList<SongFileTask> tasks;
    SongFileTask task{module, audioJob(*choice)};
    task.job.tags.title = player().ModuleTitle();
    if (!choice->eachSubsong) {
        task.job.target = target;
        task.job.song.subsong = details.subsong;
        task.job.existing = WholeFileWriter::Existing::Replace;  // the file dialog asked
        tasks.append(task);
    } else {
        const QFileInfo chosen(target);
        for (const int subsong : shown) {
            SongFileTask each = task;
            const QString name = details.subsongs.value(subsong).name;
            const QString label = name.isEmpty() ? QString::number(subsong + 1)
                                                 : QStringLiteral("%1 %2").arg(subsong + 1).arg(name);
            each.job.target = chosen.absolutePath() + u'/'
                              + fileNameOf(chosen.completeBaseName() + QStringLiteral(" - ") + label,
                                           QStringLiteral("song"))
                              + u'.' + extension;
            each.job.song.subsong = subsong;
            each.job.tags.title = QStringLiteral("%1 (%2)").arg(player().ModuleTitle(), label);
            each.job.tags.trackNumber = subsong + 1;
            tasks.append(each);
        }
        if (!mayReplace(tasks))
            return;
    }
    startSongFiles(std::move(tasks));
}

void TMainWindow::saveSlotsAsAudio()
{
    QList<int> filledSlots;
    for (int n = 1; n <= ClassDisc::kSlotCount; ++n) {
        if (!disc().SlotModulePath(n).isEmpty())
            filledSlots.append(n);
    }
    if (filledSlots.isEmpty()) {
        CJKMessages::Show(20200);
        return;
    }
    const std::optional<SaveAsAudioChoice> choice = chooseAudioSaving(QString(), 0);
    if (!choice)
        return;
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Save all slots as audio files in"), m_audioDirectory,
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty())
        return;
    m_audioDirectory = folder;

    const QString album = disc().DiscFileName() == ClassDisc::kNoDiscLoaded
                              ? QString()
                              : QFileInfo(disc().DiscFileName()).completeBaseName();
    const QString extension = QLatin1String(audioFileType(choice->format).extension);
    QList<SongFileTask> tasks;
    for (const int n : filledSlots) {
        const QString module = disc().SlotModulePath(n);
        SongFileTask task{module, audioJob(*choice)};
        QString title = disc().SlotTitle(n).trimmed();
        if (title.isEmpty())
            title = QFileInfo(module).fileName();
        task.job.target = QDir(folder).filePath(QStringLiteral("%1 - %2.%3")
                                                    .arg(n, 2, 10, QLatin1Char('0'))
                                                    .arg(fileNameOf(title, QStringLiteral("slot")), extension));
        task.job.song.subsong = disc().SlotSubsong(n);
        task.job.tags.title = title;
        task.job.tags.album = album;
        task.job.tags.trackNumber = n;
        tasks.append(task);
    }
    if (!mayReplace(tasks))
        return;
    startSongFiles(std::move(tasks));
}

bool TMainWindow::mayReplace(QList<SongFileTask>& tasks)
{
    const QStringList existing = existingTargets(tasks);
    if (!existing.isEmpty()) {
        QStringList listed = existing.mid(0, kNamesListed);
        if (existing.size() > kNamesListed)
            listed.append(QStringLiteral("and %1 more").arg(existing.size() - kNamesListed));
        if (CJKMessages::Ask(30200, listed.join(u'\n')) != CJKMessages::AnswerYes)
            return false;
    }
    for (SongFileTask& task : tasks)
        task.job.existing = WholeFileWriter::Existing::Replace;
    return true;
}

void TMainWindow::startSongFiles(QList<SongFileTask> tasks)
{
    m_songFiles = std::make_unique<SongFileBatch>(std::move(tasks));
    m_songFileProgress = std::make_unique<SongFileProgressDialog>(int(m_songFiles->tasks().size()), this);
    SongFileBatch* batch = m_songFiles.get();
    SongFileProgressDialog* progress = m_songFileProgress.get();
    connect(progress, &SongFileProgressDialog::cancelRequested, batch, &SongFileBatch::cancel);
    connect(batch, &SongFileBatch::fileStarted, progress, [batch, progress](int index) {
        progress->showFile(index, QFileInfo(batch->tasks().at(index).job.target).fileName());
    });
    connect(batch, &SongFileBatch::progressed, progress,
            [progress](int, double fraction) { progress->showProgress(fraction); });
    connect(batch, &SongFileBatch::fileFinished, this, [this, batch](int index, const SongFileResult& result) {
        const QString target = batch->tasks().at(index).job.target;
        if (result.outcome == SongFileResult::Outcome::Written)
            ++m_songFilesWritten;
        else if (result.outcome == SongFileResult::Outcome::Failed)
            m_songFileFailures.append({target, result.reason});
    });
    connect(batch, &SongFileBatch::finished, this, &TMainWindow::finishSongFiles);
    m_songFilesWritten = 0;
    m_songFileFailures.clear();
    updateAudioFileItems();
    progress->show();
    batch->start();
}

void TMainWindow::finishSongFiles()
{
    const int files = int(m_songFiles->tasks().size());
    const QString folder = QFileInfo(m_songFiles->tasks().constFirst().job.target).absolutePath();
    // Later: this runs in a signal of the batch.
    m_songFiles.release()->deleteLater();
    m_songFileProgress.reset();
    updateAudioFileItems();
    if (m_songFilesWritten == files)
        SetStatusText(QStringLiteral("Saved %1 audio file(s) in %2").arg(files).arg(folder));
    else
        SetStatusText(QStringLiteral("Saved %1 of %2 audio files in %3").arg(m_songFilesWritten).arg(files).arg(folder));
    // The first failure says why; a full volume would fail every file after it the same way.
    if (!m_songFileFailures.isEmpty())
        CJKMessages::Show(1800, m_songFileFailures.constFirst().first, m_songFileFailures.constFirst().second);
}
