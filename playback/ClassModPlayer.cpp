#include "playback/ClassModPlayer.h"
#include "app/PathParts.h"

#include "app/CJKMessages.h"
#include "app/ScreenCursor.h"
#include "playback/PlayerHost.h"
#include "settings/OptionsTable.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kPollIntervalMs = 300;
constexpr int kFadeStepMs = 100;
constexpr int kFullVolume = 64;
// Play time only goes on between two polls, unless the song jumped back.
constexpr double kJumpBackSeconds = 0.05;

// The length of the mixing buffer as "B:" and seconds: a point below one second, a comma
// from one second up (300 ms gives B:0.3, 1200 ms gives B:1,2).
QString bufferText(quint16 milliseconds)
{
    const QString digits = QString::number(milliseconds);
    if (digits.size() <= 3)
        return QStringLiteral("B:0.") + digits.at(0);
    return QStringLiteral("B:") + digits.at(0) + QLatin1Char(',') + digits.at(1);
}

}  // namespace

ClassModPlayer::ClassModPlayer(AudioLibrary& library, ClassOptions& options, PlayerHost& host,
                               FadeClock clock)
    : m_library(library),
      m_options(options),
      m_host(host),
      m_fadeClock(clock ? std::move(clock) : FadeClock([this](int ms, std::function<void()> step) {
          QTimer::singleShot(ms, this, std::move(step));
      }))
{
    m_positionTimer.setInterval(kPollIntervalMs);
    connect(&m_positionTimer, &QTimer::timeout, this, &ClassModPlayer::PollPosition);
    ApplyStoredOutputVolume();
    ApplyStoredRenderQuality();
    StartAudio();
    ShowPosition();
    ShowTime(true);
}

ClassModPlayer::~ClassModPlayer()
{
    m_destroying = true;
    m_positionTimer.stop();
    StopAudioNow();
}

QString ClassModPlayer::TitleOf(const ModuleInfo& info, const QString& path)
{
    const QString songName = NameText(info.songName);
    return songName.isEmpty() ? PathParts::FileNamePart(path) : songName;
}

QString ClassModPlayer::SkippedText(const QString& name)
{
    return CJKMessages::InsertArgument(QStringLiteral("Skipped \"%1\""), name);
}

QString ClassModPlayer::ClockText(double seconds, bool hours)
{
    const auto whole = static_cast<qint64>(std::max(seconds, 0.0));
    const QString minutesAndSeconds = QStringLiteral("%1:%2")
                                          .arg(hours ? whole / 60 % 60 : whole / 60, hours ? 2 : 1, 10, QLatin1Char('0'))
                                          .arg(whole % 60, 2, 10, QLatin1Char('0'));
    return hours ? QString::number(whole / 3600) + QLatin1Char(':') + minutesAndSeconds : minutesAndSeconds;
}

QStringList ClassModPlayer::SubsongTexts(const QList<Subsong>& subsongs)
{
    const bool hours = std::any_of(subsongs.begin(), subsongs.end(),
                                   [](const Subsong& subsong) { return subsong.seconds >= 3600; });
    QStringList texts;
    for (int index = 0; index < subsongs.size(); ++index) {
        QString text = QString::number(index + 1);
        if (!subsongs[index].name.isEmpty())
            text += QStringLiteral(": ") + subsongs[index].name;
        texts << text + QStringLiteral(" (%1)").arg(ClockText(subsongs[index].seconds, hours));
    }
    return texts;
}

QString ClassModPlayer::TimeText(double played, double length)
{
    const bool hours = length >= 3600;
    return ClockText(played, hours) + QStringLiteral(" / ") + ClockText(length, hours);
}

QString ClassModPlayer::PositionText(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

void ClassModPlayer::StartAudio()
{
    m_library.startup();
    ApplyOptions();
    if (m_library.init()) {
        m_library.startBackgroundPlay(0);
        m_audioStarted = true;
    } else {
        CJKMessages::Show(1000);
    }
}

void ClassModPlayer::StopAudioNow()
{
    ++m_fadeRun;
    m_fading = false;
    m_afterFade = nullptr;
    m_afterFadeName.clear();
    StopNow();
    FreeModule();
    if (m_audioStarted) {
        m_library.stopBackgroundPlay();
        m_audioStarted = false;
    }
    m_library.close();
}

void ClassModPlayer::RestartAudio()
{
    const QString path = m_modulePath;
    const int subsong = Details().subsong;
    StopThen(QString(), [this, path, subsong] {
        StopAudioNow();
        StartAudio();
        if (path.size() > 1)
            LoadNow(path, Origin::User, subsong);
    });
}

void ClassModPlayer::ApplyOptions()
{
    SetOutputMode(m_options.PlaybackMode());
    SetMixingRate(m_options.PlaybackFrequency());
    SetBufferSize(m_options.PlaybackBuffer());
    SetFadeOutSteps(m_options.Fadeout());
}

void ClassModPlayer::SetOutputMode(int mode)
{
    static constexpr int kModes[4] = {AudioLibrary::kMode8BitMono, AudioLibrary::kMode8BitStereo,
                                      AudioLibrary::kMode16BitMono, AudioLibrary::kMode16BitStereo};
    const int stored = (mode >= 0 && mode <= 2) ? mode : 3;
    m_library.setOption(AudioLibrary::kOptionOutputMode, kModes[stored]);
    m_options.SetPlaybackMode(stored);
}

void ClassModPlayer::SetMixingRate(int index)
{
    static constexpr int kRates[5] = {11200, 22000, 32000, 38000, 44100};
    const int stored = (index >= 0 && index <= 3) ? index : 4;
    m_library.setOption(AudioLibrary::kOptionMixRate, kRates[stored]);
    m_options.SetPlaybackFrequency(stored);
}

void ClassModPlayer::SetBufferSize(int index)
{
    const auto milliseconds = static_cast<quint16>(OptionsTable::playbackBufferMs(index));
    m_library.setOption(AudioLibrary::kOptionMixBufLen, milliseconds);
    m_options.SetPlaybackBuffer(index);
    m_host.SetBufferText(bufferText(milliseconds));
}

void ClassModPlayer::SetFadeOutSteps(int steps)
{
    m_fadeOutSteps = steps;
    m_options.SetFadeout(steps);
}

void ClassModPlayer::LoadModule(const QString& path, Origin origin, int subsong)
{
    StopThen(path, [this, path, origin, subsong] { LoadNow(path, origin, subsong); });
}

void ClassModPlayer::LoadModuleStopped(const QString& path, int subsong)
{
    StopThen(path, [this, path, subsong] { LoadNow(path, Origin::Outside, subsong, false); });
}

void ClassModPlayer::LoadNow(const QString& path, Origin origin, int subsong, bool play)
{
    ScreenCursor::HourglassScope working;
    FreeModule();
    m_module = m_library.loadModule(path);
    if (m_module == 0) {
        CloseInfos();
        m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Error reading \"%1\""), path));
        m_host.SetModulePath(QStringLiteral(" "));
        emit loadFailed(path, m_library.loadError());
        if (origin != Origin::Outside)
            CJKMessages::Show(1100, path);
        return;
    }
    if (subsong != 0)
        m_library.selectSubsong(m_module, subsong);  // before the first note
    ApplyLevel(m_module, path, subsong, m_level);
    m_library.setMusicVolume(kFullVolume);
    UpdateEndRule();
    if (play)
        m_library.playModule(m_module, 0);
    m_loadedOrigin = origin;
    ShowStarted(path, play);
}

void ClassModPlayer::ShowStarted(const QString& path, bool playing)
{
    ModuleInfo info;
    m_library.getModuleInfo(m_module, &info);
    m_moduleTitle = TitleOf(info, path);
    m_host.ShowModuleInfo(info, path);
    m_songLength = static_cast<int>(info.songLength);
    m_position = 0;
    m_playTime = 0;
    ModuleDetails details;
    m_library.getModuleDetails(m_module, &details);
    m_songSeconds = details.durationSeconds;
    m_mutedChannels = QList<bool>(static_cast<qsizetype>(info.channelCount), false);
    const bool wasPlaying = std::exchange(m_playing, playing);
    m_modulePath = path;
    m_host.SetModulePath(path);
    m_host.SetStatusText(CJKMessages::InsertArgument(QStringLiteral("Module \"%1\" loaded"),
                                                     PathParts::FileNamePart(path)));
    ShowInfos();
    ShowPosition();
    ShowTime(true);
    if (playing)
        m_positionTimer.start();
    emit moduleChanged();
    if (wasPlaying != playing)
        emit playingChanged();
}

bool ClassModPlayer::QueueModule(const QString& path, int subsong, QString* whyNot)
{
    DropQueuedModule();
    if (m_module == 0)
        return false;
    const ModuleHandle queued = m_library.loadModule(path);
    if (queued == 0) {
        if (whyNot)
            *whyNot = m_library.loadError();
        return false;
    }
    if (subsong != 0)
        m_library.selectSubsong(queued, subsong);
    ApplyLevel(queued, path, subsong, m_queuedLevel);
    m_queued = queued;
    m_queuedPath = path;
    m_queuedSubsong = subsong;
    m_library.queueModule(queued);
    return true;
}

void ClassModPlayer::DropQueuedModule()
{
    if (m_queued == 0)
        return;
    m_library.freeModule(std::exchange(m_queued, 0));
    m_queuedPath.clear();
    m_queuedSubsong = 0;
    m_queuedLevel.reset();
}

void ClassModPlayer::AdoptQueuedModule()
{
    if (m_queued == 0)
        return;
    // The module before played to its end and is heard no more: it goes without the signs of
    // a close.
    m_library.freeModule(std::exchange(m_module, std::exchange(m_queued, 0)));
    m_queuedSubsong = 0;
    m_level = std::exchange(m_queuedLevel, std::nullopt);
    m_loadedOrigin = Origin::Outside;  // nobody asked for it at this moment
    ShowStarted(std::exchange(m_queuedPath, QString()));
}

void ClassModPlayer::ContinuePlaying()
{
    if (m_fading) {
        StopThen(QString(), [this] { ContinuePlaying(); });
        return;
    }
    if (m_module == 0 || m_playing)
        return;
    m_library.playModule(m_module, 0);
    m_playing = true;
    m_host.SetStatusText(QStringLiteral("Continue playing"));
    m_positionTimer.start();
    emit playingChanged();
}

void ClassModPlayer::StopPlaying()
{
    StopThen(QString(), nullptr);
}

void ClassModPlayer::CloseModule()
{
    StopThen(QString(), [this] { FreeModule(); });
}

void ClassModPlayer::StopThen(const QString& name, std::function<void()> then)
{
    const bool fadeDue = m_fading || (m_module != 0 && m_playing && m_fadeOutSteps != 0);
    if (!fadeDue) {
        StopNow();
        if (then)
            then();
        return;
    }
    if (!m_afterFadeName.isEmpty())
        m_host.SetStatusText(SkippedText(m_afterFadeName));
    m_afterFade = std::move(then);
    m_afterFadeName = name;
    if (!m_fading)
        BeginFade();
}

void ClassModPlayer::BeginFade()
{
    // The song may end during the fade-out: nothing is to follow it then.
    DropQueuedModule();
    m_fading = true;
    m_fadeStepsLeft = m_fadeOutSteps;
    // Integer steps from full volume end at 0 whatever their number: 10 give 54, 48 ... 6, 0.
    m_fadeVolumeStep = kFullVolume / m_fadeOutSteps;
    m_positionTimer.stop();
    m_host.SetStatusText(QStringLiteral("Fading out..."));
    ++m_fadeRun;
    ScheduleFadeStep();
}

void ClassModPlayer::ScheduleFadeStep()
{
    const int run = m_fadeRun;
    m_fadeClock(kFadeStepMs, [this, run] {
        if (run == m_fadeRun)
            FadeStep();
    });
}

void ClassModPlayer::FadeStep()
{
    --m_fadeStepsLeft;
    m_library.setMusicVolume(m_fadeVolumeStep * m_fadeStepsLeft);
    if (m_fadeStepsLeft > 0) {
        ScheduleFadeStep();
        return;
    }
    m_fading = false;
    StopNow();
    const std::function<void()> then = std::exchange(m_afterFade, nullptr);
    m_afterFadeName.clear();
    if (then)
        then();
}

void ClassModPlayer::StopNow()
{
    // First, as the queued module may play already: stopping the loaded one would not stop it.
    DropQueuedModule();
    if (m_module == 0 || !m_playing)
        return;
    m_positionTimer.stop();
    m_library.stopModule(m_module);
    m_playing = false;
    m_host.SetStatusText(QStringLiteral("Playback stopped"));
    emit playingChanged();
}

void ClassModPlayer::FreeModule()
{
    if (m_module != 0) {
        StopNow();
        m_library.freeModule(m_module);
        m_module = 0;
        m_level.reset();
        m_modulePath.clear();
        m_moduleTitle.clear();
        m_songLength = 0;
        m_position = 0;
        m_playTime = 0;
        m_songSeconds = 0;
        m_mutedChannels.clear();
        m_host.SetModulePath(QString());
        m_host.SetStatusText(QStringLiteral("Module closed"));
        m_host.ForgetCurrentSlot();
        m_host.SetInfoLines({});
        ShowPosition();
        ShowTime();
        emit moduleChanged();
    }
    // The feed is released before the player, so it is not told during destruction.
    if (!m_destroying)
        m_host.ShowNoModule();
}

bool ClassModPlayer::HasModule()
{
    if (!m_modulePath.isEmpty())
        return true;
    CJKMessages::Show(20000);
    return false;
}

bool ClassModPlayer::StepForward()
{
    if (!HasModule())
        return false;
    const int target = m_position + 1;
    if (target < SubsongOrders().second)
        m_library.setPosition(target);
    PollPosition();
    return true;
}

bool ClassModPlayer::StepBack()
{
    if (!HasModule())
        return false;
    const int target = m_position - 1;
    if (target >= SubsongOrders().first) {
        m_library.setPosition(target);
        PollPosition();
    }
    return true;
}

void ClassModPlayer::PlayFromOrder(int order)
{
    const auto [first, end] = SubsongOrders();
    if (m_module == 0 || order < first || order >= end)
        return;
    m_library.setPosition(order);
    PollPosition();
}

std::pair<int, int> ClassModPlayer::SubsongOrders() const
{
    const ModuleDetails details = Details();
    const Subsong subsong = details.subsongs.value(details.subsong, Subsong{{}, 0, 0, m_songLength});
    return {subsong.firstOrder, subsong.endOrder};
}

void ClassModPlayer::PollPosition()
{
    PlayStatus status;
    m_library.getPlayStatus(&status);
    if (m_queued != 0 && status.module == m_queued) {
        m_host.QueuedModuleFollows();
        return;
    }
    if (status.songEnded && m_playing) {
        SongEnded();
        return;
    }
    // A repeat starts the song's time again, as a step back moves it back: whoever counts on
    // from the last time hears of the jump.
    const bool jumpedBack = status.seconds + kJumpBackSeconds < m_playTime;
    m_playTime = status.seconds;
    const int position = static_cast<int>(status.position);
    if (position != m_position) {
        m_position = position;
        ShowPosition();
    }
    ShowTime();
    if (jumpedBack)
        emit seeked();
}

void ClassModPlayer::ShowPosition()
{
    m_host.SetPositionText(PositionText(m_position) + QLatin1Char('/') + PositionText(m_songLength));
}

void ClassModPlayer::ShowTime(bool always)
{
    // The text is made of whole seconds: the poll, three times a second, makes it once a second.
    const std::pair<qint64, qint64> seconds(static_cast<qint64>(std::max(m_playTime, 0.0)),
                                            static_cast<qint64>(std::max(m_songSeconds, 0.0)));
    if (!always && seconds == m_timeShown)
        return;
    m_timeShown = seconds;
    m_host.SetTimeText(TimeText(m_playTime, m_songSeconds));
}
