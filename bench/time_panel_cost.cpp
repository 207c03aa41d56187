// What the time panel and the seek bar cost the GUI thread while a module plays: the status bar
// panel ("1:23 / 2:25") and the seek bar of the main window's own form, fed as the player feeds
// them. In a second of play the player polls about three times; once the whole seconds change,
// it makes the time text, the panel gets it and the bar the library's play time, and both
// repaint (a hidden window leaves them be until it shows). That second's work is done here many times a second, and the same
// window polling the position only is timed in turns with it, on the GUI thread's own CPU
// clock (the audio thread's work is left out): the difference per second of play is the figure,
// window shown and hidden. Done once a second, the work is too small to stand out from the
// rest of a process at rest.
// Targets: at most 0.02 % of a core shown; hidden, nothing measurable (at most 0.002 %).
//
// Usage: time_panel_cost [seconds per turn, default 5]. Runs on any Qt platform; on a real X
// server (xcb) the repaint goes to the server as in use. Sound goes to SDL's dummy driver
// unless SDL_AUDIODRIVER says otherwise.
#include "app/XPaintsOverConnection.h"
#include "controls/SeekBar.h"
#include "platform/audio/OpenMptSdlAudio.h"
#include "playback/ClassModPlayer.h"
#include "ui/MainWindowForm.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr double kShownTargetPercent = 0.02;
constexpr double kHiddenTargetPercent = 0.002;
constexpr int kPollsPerSecond = 3;  // the player polls every 300 ms
constexpr int kTickMs = 10;         // a second of play's work, this often
constexpr int kTurns = 5;  // the median turn: a busy moment elsewhere skews one turn, not the figure

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

/// The GUI thread's CPU seconds per run of work, each run a timer tick, over seconds.
double cpuPerTick(const std::function<void()>& work, double seconds)
{
    QTimer ticks;
    int count = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        work();
        ++count;
    });
    QEventLoop turn;
    QTimer::singleShot(qRound(seconds * 1000), &turn, &QEventLoop::quit);
    const double start = threadCpuSeconds();
    ticks.start(kTickMs);
    turn.exec();
    ticks.stop();
    QApplication::processEvents();  // the last repaint
    return (threadCpuSeconds() - start) / std::max(count, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    const XPaintsOverConnection paints;  // as the program connects
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 5.0;
    OpenMptSdlAudio audio;
    audio.startup();
    if (!audio.init()) {
        std::fprintf(stderr, "no sound output\n");
        return 1;
    }
    audio.startBackgroundPlay(0);
    const ModuleHandle module = audio.loadModule(QStringLiteral(JK_DEMO_MODULE));
    if (module == 0) {
        std::fprintf(stderr, "the demo module did not load\n");
        return 1;
    }
    audio.playModule(module, 0);
    ModuleDetails details;
    audio.getModuleDetails(module, &details);

    QMainWindow window;
    const MainWindowForm form = BuildMainWindowForm(window);
    window.resize(MainWindowForm::kClientWidth,
                  window.menuBar()->sizeHint().height() + MainWindowForm::kCompactClientHeight);
    form.FitTimePanel(details.durationSeconds);
    form.sldSeek->SetSong(details.durationSeconds);
    const auto poll = [&audio] {
        PlayStatus status;
        audio.getPlayStatus(&status);
        return status;
    };
    const auto positionOnly = [&] {
        for (int n = 0; n < kPollsPerSecond; ++n)
            poll();
    };
    double played = 0;  // a whole second more at each tick, so that the text always changes
    const auto withTime = [&] {
        for (int n = 0; n < kPollsPerSecond; ++n)
            poll();
        const QString text = ClassModPlayer::TimeText(played, details.durationSeconds);
        played = played + 1 < details.durationSeconds ? played + 1 : 0;
        if (!window.isVisible())
            return;  // the window catches up when it shows
        form.statusPanels[3]->setText(text);
        audio.getPlayTime();  // as the window asks, though the bar shows the second made up here
        form.sldSeek->ShowTime(played);
    };

    double added[2] = {0, 0};  // shown, hidden: CPU seconds per second of play
    for (int visible = 1; visible >= 0; --visible) {
        window.setVisible(visible == 1);
        cpuPerTick(positionOnly, 1);  // the first paint, and what follows showing or hiding
        std::vector<double> turns;
        for (int turn = 0; turn < kTurns; ++turn) {
            const double without = cpuPerTick(positionOnly, seconds);
            turns.push_back(cpuPerTick(withTime, seconds) - without);
        }
        std::nth_element(turns.begin(), turns.begin() + kTurns / 2, turns.end());
        added[1 - visible] = turns[kTurns / 2];
    }
    audio.close();
    std::printf("time panel and seek bar, shown: %.4f %% of a core (target: <= %.2f %%)\n", 100 * added[0],
                kShownTargetPercent);
    std::printf("time panel and seek bar, hidden: %.4f %% of a core (target: <= %.3f %%)\n", 100 * added[1],
                kHiddenTargetPercent);
    return 0;
}
