#include "session/JukeboxSession.h"

#include "app/PathParts.h"
#include "session/SessionDialogs.h"
#include "settings/ClassOptions.h"

#include <QFileInfo>

JukeboxSession::JukeboxSession(Registry& registry, AudioLibrary& audio, ClassModPlayer::FadeClock clock,
                               LoudnessSource loudness)
    : m_outsideRequests([this](const QString& text) { SetStatusText(text); })
{
    m_options = std::make_unique<ClassOptions>(registry);
    m_evenLoudness = std::make_unique<EvenLoudness>(*m_options, std::move(loudness));
    m_player = std::make_unique<ClassModPlayer>(audio, *m_options, static_cast<PlayerHost&>(*this),
                                                std::move(clock));
    m_disc = std::make_unique<ClassDisc>(static_cast<DiscHost&>(*this), *m_options);
    m_measureAheadCheck.setSingleShot(true);
    m_measureAheadCheck.setInterval(0);
    connect(&m_measureAheadCheck, &QTimer::timeout, this, &JukeboxSession::measureAhead);
    connect(m_evenLoudness.get(), &EvenLoudness::songMeasured, m_player.get(), &ClassModPlayer::UpdateLevels);
    connect(m_player.get(), &ClassModPlayer::renderQualityChanged, this, &JukeboxSession::updateLevels);
    scheduleMeasureAhead();
    makeLibrary(registry);
    m_followOnCheck.setSingleShot(true);
    m_followOnCheck.setInterval(0);
    connect(&m_followOnCheck, &QTimer::timeout, this, &JukeboxSession::updateFollowOn);
    connect(m_player.get(), &ClassModPlayer::moduleChanged, this, &JukeboxSession::announceModuleChange);
    connect(m_player.get(), &ClassModPlayer::playingChanged, this, [this] {
        if (m_player->Playing())
            m_stoppedAtStart = false;
        scheduleFollowOn();
        emit playingChanged(m_player->Playing());
    });
    connect(m_player.get(), &ClassModPlayer::songEndChanged, this, &JukeboxSession::scheduleFollowOn);
    connect(m_player.get(), &ClassModPlayer::seeked, this, &JukeboxSession::seeked);
    connect(m_player.get(), &ClassModPlayer::subsongChanged, this, [this] {
        scheduleFollowOn();  // the next subsong is another
        emit subsongChanged();
    });
    connect(m_player.get(), &ClassModPlayer::loadFailed, this,
            [this](const QString& path, const QString& reason) {
                m_lastLoadError = reason;
                emit moduleLoadFailed(path, reason);
            });
}

JukeboxSession::~JukeboxSession()
{
    // Kept for the next start's Resume, as at the exit.
    const QString disc = m_disc->DiscFileName();
    const bool loaded = m_currentModule.size() > 1;
    m_options->SetLast({disc == ClassDisc::kNoDiscLoaded ? QString() : disc, loaded ? m_currentModule : QString(),
                        loaded ? CurrentSubsong() : 0, m_disc->CurrentSlotAssigned() ? m_disc->CurrentSlot() : 0});
    // The player goes first: its close still tells the disc of the closed module.
    // Its signals are nobody's business any more.
    m_player->disconnect(this);
    m_player.reset();
    m_disc.reset();
    m_evenLoudness.reset();
    m_options.reset();
}

void JukeboxSession::SetDialogs(SessionDialogs* dialogs)
{
    m_dialogs = dialogs;
    m_outsideRequests.SetAnswering(dialogs ? OutsideRequests::Answering([dialogs] { return dialogs->Answering(); })
                                           : OutsideRequests::Answering());
}

void JukeboxSession::OpenCommandFile(const QString& file, ClassModPlayer::Origin origin)
{
    m_commandFile = file;
    if (file.isEmpty())
        return;
    if (PathParts::IsModulePath(file))
        m_player->LoadModule(file, origin);
    else if (PathParts::IsDiscPath(file))
        m_disc->LoadFromFile(file);  // replaces a changed disc without asking: the user chose it
}

void JukeboxSession::SetEvenLoudness(bool even, int targetLufs)
{
    m_options->SetEvenLoudness(even);
    m_options->SetLoudnessTarget(targetLufs);
    updateLevels();
}

void JukeboxSession::updateLevels()
{
    m_player->UpdateLevels();
    scheduleMeasureAhead();
}

void JukeboxSession::scheduleMeasureAhead()
{
    m_measureAheadCheck.start();
}

void JukeboxSession::measureAhead()
{
    QList<std::pair<QString, int>> songs;
    for (int n = 1; n <= ClassDisc::kSlotCount; ++n) {
        const QString path = m_disc->SlotModulePath(n);
        if (!path.isEmpty())
            songs.append({path, m_disc->SlotSubsong(n)});
    }
    m_evenLoudness->MeasureAhead(songs);
}

std::optional<SongLevel> JukeboxSession::SongLevelOf(const QString& path, int subsong)
{
    return m_evenLoudness->LevelOf(path, subsong);
}

void JukeboxSession::ResumeLastPlayed()
{
    if (!m_options->Resume())
        return;
    const ClassOptions::LastPlayed last = m_options->Last();
    if (!last.disc.isEmpty() && QFileInfo(last.disc).isFile())
        m_disc->LoadFromFile(last.disc);
    if (last.module.isEmpty() || !QFileInfo(last.module).isFile())
        return;
    const auto load = [this, &last] { m_player->LoadModuleStopped(last.module, last.subsong); };
    if (validSlot(last.slot) && m_disc->SlotModulePath(last.slot) == last.module)
        changeToSlot(last.slot, load);
    else
        load();
    m_stoppedAtStart = true;
}

void JukeboxSession::RequestFile(const QString& file, ClassModPlayer::Origin origin)
{
    const bool opensModule = PathParts::IsModulePath(file);
    m_outsideRequests.Submit(opensModule ? OutsideRequests::Kind::ModuleChange : OutsideRequests::Kind::Command,
                             opensModule ? file : QString(),
                             [this, file, origin] { OpenCommandFile(file, origin); });
}

void JukeboxSession::RequestSlot(int n)
{
    m_outsideRequests.Submit(OutsideRequests::Kind::ModuleChange, m_disc->SlotModulePath(n),
                             [this, n] { PlaySlot(n, ClassModPlayer::Origin::Outside); });
}

void JukeboxSession::Request(std::function<void()> command)
{
    m_outsideRequests.Submit(OutsideRequests::Kind::Command, QString(), std::move(command));
}

void JukeboxSession::PlaySlot(int n, ClassModPlayer::Origin origin)
{
    const QString path = m_disc->SlotModulePath(n);
    if (path.isEmpty())
        return;
    m_player->StopThen(path, [this, n, origin] { playSlotNow(n, origin); });
}

void JukeboxSession::playSlotNow(int n, ClassModPlayer::Origin origin)
{
    // The slot may have changed during the fade-out.
    const QString path = m_disc->SlotModulePath(n);
    if (path.isEmpty())
        return;
    // Reports its own failure; the slot is current anyway.
    changeToSlot(n, [this, &path, origin, n] { m_player->LoadModule(path, origin, m_disc->SlotSubsong(n)); });
}

void JukeboxSession::changeToSlot(int n, const std::function<void()>& change)
{
    // While it changes, the module counts as the slot's: its song's end is decided by the
    // rule for slots from its first note on, and it is announced as the slot's.
    m_loadingSlot = n;
    m_disc->ForgetCurrentSlot();
    change();
    m_loadingSlot = 0;
    m_disc->SetCurrentSlot(n);
}

QString JukeboxSession::CurrentModuleTitle() const
{
    return m_player->ModuleTitle();
}

int JukeboxSession::CurrentSubsong() const
{
    return m_player->Details().subsong;
}

void JukeboxSession::announceModuleChange()
{
    if (m_player->ModulePath().isEmpty())
        emit moduleClosed();
    else
        emit moduleLoaded(m_player->ModulePath(), m_player->ModuleTitle(), m_loadingSlot);
}

void JukeboxSession::updateEndRule()
{
    // A slot's module that loads applies the rule itself; the one before it keeps its own
    // through its fade-out.
    if (m_player && m_loadingSlot == 0)
        m_player->UpdateEndRule();
    scheduleFollowOn();
}

void JukeboxSession::scheduleFollowOn()
{
    m_followOnCheck.start();
}

void JukeboxSession::updateFollowOn()
{
    const ClassOptions::SongEnd rule = m_options->AtTheEnd();
    const bool following = m_player->Playing() && !m_player->Fading();
    const int current = m_disc->CurrentSlotAssigned() ? m_disc->CurrentSlot() : 0;
    // A slot given a subsong plays only that one.
    const bool everySubsong = following && rule == ClassOptions::SongEnd::PlayEverySubsong
        && m_disc->SlotSubsong(current) == 0;
    if (everySubsong && followWithNextSubsong(current))
        return;
    const bool playsThrough = following && current != 0 && ClassOptions::GoesToNextSlot(rule);
    FollowingSong next;
    // The slots after the current one in turn, round to the current one itself, as playing
    // through goes.
    for (int n = playsThrough ? m_disc->NeighbourSlot(current, 1) : 0; n != 0; n = m_disc->NeighbourSlot(n, 1)) {
        if (follow({n, m_disc->SlotModulePath(n), m_disc->SlotSubsong(n), next.skipped, {}}, &next.reason))
            return;
        next.skipped << n;
        if (n == current)
            break;
    }
    // None: play stops at the song's end, and playing through goes on from there as it can.
    m_player->DropQueuedModule();
    m_following = FollowingSong();
}

bool JukeboxSession::followWithNextSubsong(int slot)
{
    // After the last, a slot's module gives way to the next slot; any other goes round.
    const QList<int> shown = m_player->ShownSubsongs();
    qsizetype at = shown.indexOf(m_player->Details().subsong) + 1;
    if (at >= shown.size() && slot == 0 && shown.size() > 1)
        at = 0;
    return at < shown.size() && follow({slot, m_player->ModulePath(), shown[at], {}, {}}, nullptr);
}

bool JukeboxSession::follow(const FollowingSong& song, QString* whyNot)
{
    const bool queuedAlready = song.slot == m_following.slot && song.path == m_player->QueuedModulePath()
        && song.subsong == m_player->QueuedSubsong();
    if (!queuedAlready && !m_player->QueueModule(song.path, song.subsong, whyNot))
        return false;
    m_following = song;
    if (whyNot)
        m_following.reason = *whyNot;
    return true;
}

void JukeboxSession::QueuedModuleFollows()
{
    const FollowingSong followed = std::exchange(m_following, FollowingSong());
    changeToSlot(followed.slot, [this] { m_player->AdoptQueuedModule(); });
    scheduleFollowOn();  // and what follows it
    if (!followed.skipped.isEmpty())
        SetStatusText(skippedSlotsText(followed.skipped, followed.reason));
}

QString JukeboxSession::skippedSlotsText(const QList<int>& skipped, const QString& reason)
{
    QStringList numbers;
    for (int slot : skipped)
        numbers << QString::number(slot);
    const QString text = skipped.size() == 1 ? QStringLiteral("Slot %1 skipped: %2") : QStringLiteral("Slots %1 skipped: %2");
    return text.arg(numbers.join(QStringLiteral(", ")), reason);
}

// --- What the player tells and asks

void JukeboxSession::SetStatusText(const QString& text)
{
    m_statusText = text;
    emit statusTextChanged(text);
}

void JukeboxSession::SetBufferText(const QString& text)
{
    m_bufferText = text;
    emit bufferTextChanged(text);
}

void JukeboxSession::SetPositionText(const QString& text)
{
    m_positionText = text;
    emit positionTextChanged(text);
}

void JukeboxSession::SetTimeText(const QString& text)
{
    m_timeText = text;
    emit timeTextChanged(text);
}

void JukeboxSession::SetModulePath(const QString& path)
{
    m_currentModule = path;
    emit modulePathChanged(path);
}

void JukeboxSession::ShowModuleInfo(const ModuleInfo& info, const QString& path)
{
    m_summary = Summary::Module;
    m_moduleInfo = info;
    emit moduleSummary(info, path, m_player->ModuleTitle());
}

void JukeboxSession::ShowNoModule()
{
    m_summary = Summary::NoModule;
    m_moduleInfo = ModuleInfo();
    emit noModuleSummary();
}

void JukeboxSession::ForgetCurrentSlot()
{
    m_disc->ForgetCurrentSlot();
}

bool JukeboxSession::PlaysDiscSlot() const
{
    return m_loadingSlot != 0 || (m_disc && m_disc->CurrentSlotAssigned());
}

void JukeboxSession::PlayNextSlot()
{
    // Nobody asked for it at this moment: it waits for a box to close, and a failure goes to
    // the status bar.
    m_outsideRequests.Submit(OutsideRequests::Kind::ModuleChange, QString(), [this] { playThrough(); });
}

void JukeboxSession::playThrough()
{
    // Slots whose module cannot be read are passed over, each at most once, so a disc with
    // none readable ends instead of going round for ever.
    QList<int> skipped;
    for (int n = m_disc->NeighbourSlot(1); n != 0 && !skipped.contains(n); n = m_disc->NeighbourSlot(1)) {
        PlaySlot(n, ClassModPlayer::Origin::Outside);
        if (!m_player->ModulePath().isEmpty()) {
            if (!skipped.isEmpty())
                SetStatusText(skippedSlotsText(skipped, m_lastLoadError));
            return;
        }
        skipped << n;
    }
    if (!skipped.isEmpty())
        SetStatusText(QStringLiteral("No module of the disc could be read: %1").arg(m_lastLoadError));
}

QString JukeboxSession::ChooseDirectory(int kind)
{
    return m_dialogs ? m_dialogs->ChooseDirectory(kind) : QString();
}

QString JukeboxSession::RenameModuleDialog(const QString& path)
{
    return m_dialogs ? m_dialogs->RenameModuleDialog(path) : QString();
}

void JukeboxSession::ModulePathChanged(const QString& path)
{
    m_disc->ModulePathChanged(path);  // which shows the new path
}

void JukeboxSession::SetInfoView(bool visible)
{
    m_infoViewShown = visible;
    emit infoViewChanged(visible);
}

void JukeboxSession::SetInfoLines(const QStringList& lines)
{
    m_infoLines = lines;
    emit infoLinesChanged(lines);
}

// --- What the disc tells and asks

void JukeboxSession::SetDiscCaption(const QString& caption)
{
    m_discCaption = caption;
    emit discCaptionChanged(caption);
}

void JukeboxSession::SetDiscButtonCaption(int button, const QString& caption)
{
    m_discButtonCaptions[button == 1 ? 0 : 1] = caption;
    emit discButtonCaptionChanged(button, caption);
}

void JukeboxSession::SetSlotHint(int slot, const QString& hint)
{
    m_slots[slot - 1].hint = hint;
    scheduleMeasureAhead();  // the slot's module or subsong may have changed
    emit slotChanged(slot);
}

void JukeboxSession::SetSlotAssigned(int slot, bool assigned)
{
    m_slots[slot - 1].assigned = assigned;
    updateEndRule();
    emit slotChanged(slot);
}

void JukeboxSession::SetSlotCurrent(int slot, bool current)
{
    m_slots[slot - 1].current = current;
    updateEndRule();
    emit slotChanged(slot);
}

void JukeboxSession::ShowSlotMenu(int x, int y, bool assignEnabled, bool clearEnabled)
{
    if (m_dialogs)
        m_dialogs->ShowSlotMenu(x, y, assignEnabled, clearEnabled);
}

void JukeboxSession::ShowDiscButtonMenu(int x, int y, bool clearEnabled)
{
    if (m_dialogs)
        m_dialogs->ShowDiscButtonMenu(x, y, clearEnabled);
}

QString JukeboxSession::ChooseDiscFile(const QString& startDirectory)
{
    return m_dialogs ? m_dialogs->ChooseDiscFile(startDirectory) : QString();
}

QString JukeboxSession::ChooseSaveDiscFile()
{
    return m_dialogs ? m_dialogs->ChooseSaveDiscFile() : QString();
}
