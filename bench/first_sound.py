#!/usr/bin/env python3
"""When the first note of a module is heard, measured at the sound server's monitor.

cold:   from launching the jukebox with a module to its first note, on QT_QPA_PLATFORM=offscreen
        (targets: median <= 60 ms, 90th percentile <= 100 ms) and, as a user starts it, on a
        real X server (xcb under Xvfb; targets: median <= 80 ms, 90th percentile <= 120 ms);
second: from a second start with another module, while the first plays, to the new module's
        first note (target: the fade-out time, 1 s by default, + at most 60 ms). The modules
        are tones panned hard left and hard right, so the new one is told apart from the one
        fading out by its channel.

Needs the null sound server (PULSE_SERVER set; see bench/README.md). Each jukebox runs in a
fresh home with the default settings; second starts on QT_QPA_PLATFORM=offscreen.

    bench/first_sound.py [--build DIR] [--runs 25] [--only cold|xcb|second]
"""
import argparse, os, statistics, sys, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree
from monitor import Monitor
from session import Jukebox, XServer

FADE_MS = 1000  # the default fade-out: 10 steps of 100 ms
TARGETS = {"cold median": 60, "cold p90": 100, "xcb median": 80, "xcb p90": 120, "second": FADE_MS + 60}
# A twentieth of the tones' level, reached within a millisecond of their fade-in; the tone on
# the other side leaks a few tens into this one.
THRESHOLD = 500


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def cold_start(binary, module, monitor, display=None):
    """Milliseconds from launch to the first sound, or None when nothing is heard within 5 s."""
    jukebox = Jukebox(binary, display)
    launched = jukebox.start(module)
    heard = monitor.first_sound(1, launched, launched + 5, THRESHOLD)
    jukebox.close()
    time.sleep(0.3)
    return None if heard is None else (heard - launched) * 1000


def cold_starts(binary, modules, monitor, runs, display=None):
    # The null sink takes up the short latency its monitor asks for only with the first
    # stream that plays: that start is not counted.
    cold_start(binary, modules["right"], monitor, display)
    results = []
    for run in range(runs):
        result = cold_start(binary, modules["right"], monitor, display)
        if result is None:
            print("cold start %d: nothing heard within 5 s" % (run + 1), file=sys.stderr)
        else:
            results.append(result)
    return results


def second_starts(binary, modules, monitor, runs):
    jukebox = Jukebox(binary)
    results = []
    try:
        launched = jukebox.start(modules["left"])
        if monitor.first_sound(0, launched, launched + 5, THRESHOLD) is None:
            print("second start: the first module was not heard", file=sys.stderr)
            return results
        side = 0
        for run in range(runs):
            time.sleep(1.0)
            side = 1 - side
            launched = jukebox.start(modules["right" if side else "left"])
            heard = monitor.first_sound(side, launched, launched + 5, THRESHOLD)
            if heard is None:
                print("second start %d: nothing heard within 5 s" % (run + 1), file=sys.stderr)
            else:
                results.append((heard - launched) * 1000)
    finally:
        jukebox.close()
    return results


def xcb_cold_starts(binary, modules, monitor, runs):
    """Cold starts showing their window on an X server of their own, as a user starts it."""
    x = XServer()
    try:
        return cold_starts(binary, modules, monitor, runs, x.display)
    finally:
        x.close()


def report(cold, second, xcb=()):
    rows = []
    for name, starts, key in (("cold start", cold, "cold"), ("cold start on xcb", xcb, "xcb")):
        if not starts:
            continue
        median, p90 = statistics.median(starts), percentile(starts, 0.9)
        rows.append(("%s to first sound, median" % name, "%.0f ms" % median,
                     "<= %d ms" % TARGETS[key + " median"], median <= TARGETS[key + " median"]))
        rows.append(("%s to first sound, 90th pct." % name, "%.0f ms" % p90,
                     "<= %d ms" % TARGETS[key + " p90"], p90 <= TARGETS[key + " p90"]))
    if second:
        median = statistics.median(second)
        rows.append(("second start to first note, median", "%.0f ms" % median,
                     "<= %d ms (fade + 60)" % TARGETS["second"], median <= TARGETS["second"]))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("--only", choices=["cold", "xcb", "second"])
    args = parser.parse_args()
    if not os.environ.get("PULSE_SERVER"):
        sys.exit("no sound server: eval \"$(../shared/tools/null-sound-server start)\" first")
    build = buildtree.find(args.build)
    binary = buildtree.require(os.path.join(build, "jukarium"))
    modules = {side: buildtree.require(os.path.join(build, "bench", "modules", side + ".xm"))
               for side in ("left", "right")}

    monitor = Monitor()
    try:
        cold = cold_starts(binary, modules, monitor, args.runs) if args.only in (None, "cold") else []
        xcb = xcb_cold_starts(binary, modules, monitor, args.runs) if args.only in (None, "xcb") else []
        second = second_starts(binary, modules, monitor, args.runs) if args.only in (None, "second") else []
    finally:
        monitor.close()
    for name, value, target, met in report(cold, second, xcb):
        print("%-40s %-10s %-24s %s" % (name, value, target, "met" if met else "MISSED"))


if __name__ == "__main__":
    main()
