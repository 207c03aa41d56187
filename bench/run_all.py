#!/usr/bin/env python3
"""Every benchmark of the jukebox in one run, each figure beside its target: first sound of a
cold start (offscreen and on a real X server) and of a second start (first_sound.py), CPU shown, hidden and stopped, the sound
server's work and memory (cpu_share.py), the silence between slots played through
(slot_gap.py), how far the row the pattern view shows as heard is from its sound at the
server (heard_row_offset), the render path's overhead (render_cost), the worst seek (seek_cost),
how fast a song is saved as FLAC (save_as_audio), what the time panel and seek bar cost, shown and
hidden (time_panel_cost), how fast loudness is measured (loudness_speed) and whether measuring it
makes playback underrun (loudness_underrun). It
starts a null sound server of its own, so the server works for nothing else, and stops it at
the end. The machine's load is printed before and after: CPU figures of a busy machine are
high, so compare runs made under the same load. --soak adds the memory and open files over
10,000 module changes (soak.py), about eleven minutes more. --library adds the module library
at 10,000 and 100,000 generated modules (build/bench/library_index): indexing rate, memory,
rescan, search latency and database size; the first run also writes the collections (about
3 GB under the temporary folder), so it takes a quarter of an hour or more.

    bench/run_all.py [--build DIR] [--runs 25] [--seconds 20] [--soak] [--library]
"""
import argparse, os, re, subprocess, sys, tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree, cpu_share, first_sound, slot_gap, soak
from monitor import Monitor
from session import XServer


def load():
    return "load average %.2f %.2f %.2f on %d cores" % (*os.getloadavg(), os.cpu_count())


TOOL = os.environ.get("NULL_SOUND_SERVER",
                      os.path.join(buildtree.SOURCE, "..", "shared", "tools", "null-sound-server"))


def sound_server(command, folder):
    return subprocess.run([TOOL, command], env=dict(os.environ, NULL_SOUND_DIR=folder),
                          capture_output=True, text=True)


def start_sound_server(folder):
    """Starts a null sound server whose files live in folder; sets PULSE_SERVER and returns its
    pid."""
    if not os.path.isfile(TOOL):
        sys.exit("no null sound server at %s: name it with NULL_SOUND_SERVER" % TOOL)
    started = sound_server("start", folder)
    found = dict(re.findall(r"(PULSE_SERVER|NULL_SOUND_PID)=(\S+)", started.stdout))
    if len(found) != 2:
        sys.exit("the null sound server did not start: %s" % (started.stdout + started.stderr).strip())
    os.environ["PULSE_SERVER"] = found["PULSE_SERVER"]
    return int(found["NULL_SOUND_PID"])


def program_output(build, program, env=None):
    return subprocess.run([buildtree.require(os.path.join(build, "bench", program))],
                          capture_output=True, text=True, env=env).stdout


def figure_row(program, output, pattern, name, value_format, target_format, at_least=False):
    """The figure and target read from program's output with pattern (two groups, in that
    order): a row of the table. The target is a ceiling, or with at_least a floor."""
    found = re.search(pattern, output)
    if not found:
        sys.exit("%s printed no figure:\n%s" % (program, output))
    measured, target = float(found.group(1)), float(found.group(2))
    if at_least:
        return (name, value_format % measured, ">= " + target_format % target, measured >= target)
    return (name, value_format % measured, "<= " + target_format % target, measured <= target)


def program_figure(build, program, pattern, name, value_format, target_format):
    """Runs build/bench/program and reads its figure and target: a row of the table."""
    return figure_row(program, program_output(build, program), pattern, name, value_format, target_format)


def render_overhead(build):
    return program_figure(build, "render_cost",
                          r"render overhead: ([\d.]+) ms per second of audio at most \(target: <= ([\d.]+) ms\)",
                          "render overhead per second of audio", "%.3f ms", "%.1f ms")


def save_as_audio(build):
    return figure_row("save_as_audio", program_output(build, "save_as_audio"),
                      r"save as FLAC: ([\d.]+) times real time at least \(target: >= ([\d.]+)\)",
                      "saving as FLAC, 4-8 channels, one core", "%.0fx real time", "%.0fx", at_least=True)


def worst_seek(build):
    return program_figure(build, "seek_cost", r"seek: ([\d.]+) ms at most \(target: <= ([\d.]+) ms\)",
                          "worst seek in a song of over 10 minutes", "%.1f ms", "%.0f ms")


def loudness_speed(build):
    """How many times faster than real time a typical module's loudness is measured: a row
    whose figure must reach its target."""
    output = program_output(build, "loudness_speed")
    found = re.search(r"loudness measurement, up to \d+ channels: ([\d.]+) x real time at least "
                      r"\(target: >= ([\d.]+) x\)", output)
    if not found:
        sys.exit("loudness_speed printed no figure:\n%s" % output)
    measured, target = float(found.group(1)), float(found.group(2))
    return ("loudness measurement, up to 8 channels", "%.0f x real time" % measured, ">= %.0f x" % target,
            measured >= target)


def loudness_underrun(build):
    return program_figure(build, "loudness_underrun", r"underruns while measuring: (\d+) \(target: <= (\d+)\)",
                          "underruns while measuring loudness", "%.0f", "%.0f")


def time_panel(build):
    """The time panel's and seek bar's CPU, window shown and hidden, on a real X server."""
    x = XServer()
    try:
        output = program_output(build, "time_panel_cost",
                                dict(os.environ, DISPLAY=x.display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy"))
    finally:
        x.close()
    return [figure_row("time_panel_cost", output,
                       r"%s: ([\d.-]+) %% of a core \(target: <= ([\d.]+) %%\)" % state,
                       "CPU of time panel and seek bar, " + state, "%.4f %%", "%.3f %%")
            for state in ("shown", "hidden")]


def heard_row(build):
    """How far the row named as heard is from its sound at the sound server's monitor, at the
    default buffer setting; needs the null sound server (PULSE_SERVER)."""
    output = program_output(build, "heard_row_offset", dict(os.environ, SDL_AUDIODRIVER="pulseaudio"))
    return [figure_row("heard_row_offset", output,
                       r"heard row from its sound, %s: ([\d.]+) ms \(target: <= ([\d.]+) ms\)" % which,
                       "heard row to its sound, " + which, "%.1f ms", "%.0f ms")
            for which in ("median", "90th percentile")]


def library(build, count):
    """The module library's figures at count generated modules."""
    output = subprocess.run(
        [buildtree.require(os.path.join(build, "bench", "library_index")), str(count)],
        capture_output=True, text=True).stdout
    at = " (%dk)" % (count // 1000)
    rate = re.search(r"index rate: ([\d.]+) modules/s .*\(target: >= ([\d.]+)\)", output)
    if not rate:
        sys.exit("library_index printed no figure:\n%s" % output)
    rows = [("library index rate" + at, "%.0f modules/s" % float(rate.group(1)), ">= %.0f" % float(rate.group(2)),
             float(rate.group(1)) >= float(rate.group(2)))]
    for pattern, name, value_format, target_format in (
            (r"resident memory while indexing: ([\d.]+) MiB at most \(target: <= ([\d.]+) MiB\)",
             "library memory while indexing", "%.1f MiB", "%.0f MiB"),
            (r"rescan of unchanged files: ([\d.]+) s \(target: <= ([\d.]+) s\)",
             "library rescan, unchanged", "%.2f s", "%.2f s"),
            (r"99th percentile: ([\d.]+) ms \(target: <= ([\d.]+) ms\)",
             "library search, p99", "%.2f ms", "%.0f ms"),
            (r"database beyond the text: ([\d.]+) bytes per module \(target: <= ([\d.]+) bytes\)",
             "library database per module", "%.0f B", "%.0f B")):
        name, value, target, met = figure_row("library_index", output, pattern, name, value_format, target_format)
        rows.append((name + at, value, target, met))
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--runs", type=int, default=25)
    parser.add_argument("--seconds", type=int, default=20)
    parser.add_argument("--soak", action="store_true")
    parser.add_argument("--library", action="store_true")
    args = parser.parse_args()
    build = buildtree.find(args.build)
    binary = buildtree.require(os.path.join(build, "jukarium"))
    modules = {side: buildtree.require(os.path.join(build, "bench", "modules", side + ".xm"))
               for side in ("left", "right")}
    demo = buildtree.require(os.path.join(build, "demo", "jukarium-demo.xm"))
    floor_player = buildtree.require(os.path.join(build, "bench", "floor_player"))
    timer_floor = buildtree.require(os.path.join(build, "bench", "timer_floor"))
    varied = soak.varied_modules(build) if args.soak else None
    print("build %s; %s" % (build, load()))

    with tempfile.TemporaryDirectory() as sound:
        server = start_sound_server(sound)
        try:
            monitor = Monitor()
            try:
                cold = first_sound.cold_starts(binary, modules, monitor, args.runs)
                xcb = first_sound.xcb_cold_starts(binary, modules, monitor, args.runs)
                second = first_sound.second_starts(binary, modules, monitor, args.runs)
            finally:
                monitor.close()
            rows = first_sound.report(cold, second, xcb)
            rows += cpu_share.report(cpu_share.measure(binary, floor_player, timer_floor, demo, args.seconds,
                                                           server))
            rows += slot_gap.report(*slot_gap.measure(binary, modules, 3))
            rows += heard_row(build)
            if varied:
                rows += soak.report(*soak.soak(binary, *varied))
        finally:
            sound_server("stop", sound)
    rows.append(render_overhead(build))
    rows.append(worst_seek(build))
    rows.append(save_as_audio(build))
    rows.append(loudness_speed(build))
    rows.append(loudness_underrun(build))
    rows += time_panel(build)
    if args.library:
        for count in (10000, 100000):
            rows += library(build, count)

    print()
    for name, value, target, met in rows:
        print("%-40s %-32s %-24s %s" % (name, value, target, {True: "met", False: "MISSED", None: ""}[met]))
    print("\n" + load())


if __name__ == "__main__":
    main()
