#!/usr/bin/env python3
"""CPU and memory of the jukebox in a real X server, and the sound server's work for it, in
one run of the program with the demo module:

    playing, window shown, banner scrolling       program CPU (target <= 0.35 %)
    the same above the floor below                (target <= 0.15 %)
    the same with the pattern view open           program CPU above the window's own, in a
                                                  start of its own (target <= 0.6 %)
    stopped, window shown, banner scrolling       program CPU: what the banner costs
                                                  sound server's work for us (target <= a tenth
                                                  of that while playing)
    playing, hidden in the notification area      program CPU (target <= 0.22 %)
    resident memory, the largest seen             (target <= 40 MiB), without the view
    resident memory with the pattern view open    (shown)
    SDL2 with libopenmpt alone, playing           floor_player's CPU: the floor under the
                                                  jukebox's, on this machine
    a Qt window drawing ten times a second        timer_floor's CPU: a 100 ms timer and one
                                                  small X request per tick, the least a banner
                                                  scrolling ten steps a second can cost here

CPU figures differ between machines; the floors, measured in the same run, tell how this one
compares with another (on some virtual machines a wake-up costs twice as much as on others).

The sound server's work for us is its CPU beyond what it uses with no jukebox connected,
measured first. Needs the null sound server (PULSE_SERVER and NULL_SOUND_PID set; see
bench/README.md), Xvfb, xdotool and trayer.

    bench/cpu_share.py [--build DIR] [--seconds 20]
"""
import argparse, os, subprocess, sys, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree
from session import HIDE_TO_TRAY, PLAY, STOP, Session, resident_mib, share

TARGETS = {"shown": 0.35, "shown above floor": 0.15, "hidden": 0.22, "server": 0.1, "rss": 40,
           "pattern view": 0.6}


def floor_share(floor_player, module, seconds):
    """floor_player's CPU while it plays module through the sound server."""
    process = subprocess.Popen([floor_player, module], env=dict(os.environ, SDL_AUDIODRIVER="pulseaudio"))
    try:
        time.sleep(3)
        if process.poll() is not None:
            raise RuntimeError("floor_player did not play")
        return share([process.pid], seconds)[0]
    finally:
        process.kill()
        process.wait()


def timer_floor_share(timer_floor, seconds):
    """timer_floor's CPU, shown on an X server of its own as the program is."""
    session = Session(timer_floor)
    try:
        session.launch()
        time.sleep(3)
        return share([session.pid], seconds)[0]
    finally:
        session.close()


def pattern_view_share(binary, module, seconds):
    """The program's CPU with the pattern view open above its CPU without, in a start of its
    own (what the view leaves in the heap when closed would swell the other figures), and the
    resident memory with the view open."""
    session = Session(binary)
    try:
        session.launch(module)
        if session.window() is None:
            raise RuntimeError("the main window did not show")
        time.sleep(3)
        without = share([session.pid], seconds)[0]
        session.toggle_pattern_view()
        if not session.pattern_view_visible():
            raise RuntimeError("the pattern view did not open")
        time.sleep(2)
        return share([session.pid], seconds)[0] - without, resident_mib(session.pid)
    finally:
        session.close()


def measure(binary, floor_player, timer_floor, module, seconds, server_pid):
    """The figures of one run, as a dictionary."""
    figures = {}
    figures["server idle"] = share([server_pid], seconds)[0]
    figures["floor"] = floor_share(floor_player, module, seconds)
    figures["timer floor"] = timer_floor_share(timer_floor, seconds)
    session = Session(binary, tray=True)
    try:
        session.launch(module)
        if session.window() is None:
            raise RuntimeError("the main window did not show")
        time.sleep(3)
        rss = resident_mib(session.pid)
        figures["shown"], server_playing = share([session.pid, server_pid], seconds)
        rss = max(rss, resident_mib(session.pid))

        session.click(STOP)
        time.sleep(3)  # the fade-out, then what was queued is heard
        figures["banner"], server_stopped = share([session.pid, server_pid], seconds)

        session.click(PLAY)
        time.sleep(1)
        session.click(HIDE_TO_TRAY)
        time.sleep(2)
        if session.visible():
            raise RuntimeError("the window did not hide")
        figures["hidden"], _ = share([session.pid, server_pid], seconds)
        figures["rss"] = max(rss, resident_mib(session.pid))
    finally:
        session.close()
    figures["pattern view"], figures["rss with view"] = pattern_view_share(binary, module, seconds)
    figures["server playing"] = max(server_playing - figures["server idle"], 0)
    figures["server stopped"] = max(server_stopped - figures["server idle"], 0)
    return figures


def report(figures):
    playing, stopped = figures["server playing"], figures["server stopped"]
    ratio = stopped / playing if playing > 0 else float("inf")
    above_floor = figures["shown"] - figures["floor"]
    return [
        ("CPU playing, window shown", "%.3f %% of a core" % figures["shown"], "<= %.2f %%" % TARGETS["shown"],
         figures["shown"] <= TARGETS["shown"]),
        ("the same above the floor", "%.3f %%" % above_floor, "<= %.2f %%" % TARGETS["shown above floor"],
         above_floor <= TARGETS["shown above floor"]),
        ("CPU of the pattern view, above that", "%.3f %%" % figures["pattern view"],
         "<= %.1f %%" % TARGETS["pattern view"], figures["pattern view"] <= TARGETS["pattern view"]),
        ("CPU playing, hidden in the tray", "%.3f %%" % figures["hidden"], "<= %.2f %%" % TARGETS["hidden"],
         figures["hidden"] <= TARGETS["hidden"]),
        ("CPU stopped, banner scrolling", "%.3f %%" % figures["banner"], "(the banner's cost)", None),
        ("sound server for us, stopped : playing", "%.4f %% : %.4f %% = %.2f" % (stopped, playing, ratio),
         "<= %.1f" % TARGETS["server"], ratio <= TARGETS["server"]),
        ("resident memory", "%.1f MiB" % figures["rss"], "<= %d MiB" % TARGETS["rss"], figures["rss"] <= TARGETS["rss"]),
        ("resident memory, the pattern view open", "%.1f MiB" % figures["rss with view"], "", None),
        ("CPU of SDL2 with libopenmpt alone", "%.3f %%" % figures["floor"], "(the floor, this machine)", None),
        ("CPU of a Qt window drawing 10 times/s", "%.3f %%" % figures["timer floor"],
         "(the banner's floor, this machine)", None),
    ]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--seconds", type=int, default=20)
    args = parser.parse_args()
    if not os.environ.get("PULSE_SERVER") or not os.environ.get("NULL_SOUND_PID"):
        sys.exit("no null sound server: eval \"$(../shared/tools/null-sound-server start)\" first")
    build = buildtree.find(args.build)
    binary = buildtree.require(os.path.join(build, "jukarium"))
    floor_player = buildtree.require(os.path.join(build, "bench", "floor_player"))
    timer_floor = buildtree.require(os.path.join(build, "bench", "timer_floor"))
    module = buildtree.require(os.path.join(build, "demo", "jukarium-demo.xm"))
    for name, value, target, met in report(measure(binary, floor_player, timer_floor, module, args.seconds,
                                                   int(os.environ["NULL_SOUND_PID"]))):
        print("%-40s %-32s %-20s %s" % (name, value, target, {True: "met", False: "MISSED", None: ""}[met]))


if __name__ == "__main__":
    main()
