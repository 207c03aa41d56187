#!/usr/bin/env python3
"""A long run of module changes through the desktop's media controls (MPRIS on a private
session bus), as a user who skips through a disc all day: the program plays a disc of 20
different modules (MOD, S3M, XM and IT) with the fade-out set to 0, and is told Next, now and
then Previous, and now and then to open a module from outside the disc (OpenUri). A change
counts once the player's Metadata names the new module; only then is the next one asked for,
since requests that arrive while one waits replace it.

Every 100 changes the program's resident memory (VmRSS) and its open files (/proc/PID/fd) are
read. The first 1,000 changes warm up (caches, the sound streams); after them the resident
memory grows by at most 1 MiB (target) and the open files not at all (target).

The sound server is asked to queue 20 ms (PULSE_LATENCY_MSEC, which the program leaves as the
user set it) instead of the program's 300 ms or more. Changes this quick outpace the sound:
each cuts short the stream of a module played two changes before, and SDL's close of a
PulseAudio stream waits about as long as the server keeps queued. A change takes about 0.3 s
with the program's latency (10,000 changes in some 50 minutes), 60 ms with 20 ms. The
streams open, play out and close as with any latency; --server-latency 0 soaks with the
program's own.

Needs the null sound server (PULSE_SERVER set; see bench/README.md), dbus-daemon and
dbus-send. Takes about eleven minutes.

    bench/soak.py [--build DIR] [--changes 10000] [--server-latency 20]
"""
import argparse, os, pathlib, re, statistics, subprocess, sys, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree
from session import Jukebox, SessionBus, resident_mib

TARGETS = {"rss growth": 1.0, "file growth": 0}
CHANGES = 10000
SERVER_LATENCY_MS = 20
WARM_UP = 1000
EVERY = 100
DISC_SLOTS = 20
SETTINGS = ("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
            "\"Fadeout\"=\"0\"\n")
SERVICE = "org.mpris.MediaPlayer2.jukarium"
PLAYER = "org.mpris.MediaPlayer2.Player"
URL = re.compile(r'string "xesam:url"\s+variant\s+string "(.*)"')


class MediaControls:
    """The jukebox's player on the bus at address, called with dbus-send (a few milliseconds a
    call)."""

    def __init__(self, address):
        self._command = ["dbus-send", "--bus=" + address, "--print-reply", "--dest=" + SERVICE,
                         "/org/mpris/MediaPlayer2"]

    def _call(self, method, *arguments):
        return subprocess.run(self._command + [method, *arguments], capture_output=True, text=True)

    def command(self, member, *arguments):
        answer = self._call(PLAYER + "." + member, *arguments)
        if answer.returncode != 0:
            raise RuntimeError("%s failed: %s" % (member, answer.stderr.strip()))

    def offered(self):
        return self._call("org.freedesktop.DBus.Properties.Get", "string:" + PLAYER,
                          "string:PlaybackStatus").returncode == 0

    def url(self):
        """The playing module's address; None without one or while the player is not on the bus."""
        answer = self._call("org.freedesktop.DBus.Properties.Get", "string:" + PLAYER, "string:Metadata")
        found = URL.search(answer.stdout)
        return found.group(1) if found else None

    def wait_for(self, url, seconds):
        """Whether the player names url within seconds."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.url() == url:
                return True
        return False


def disc_file(path, modules):
    """Writes a disc with modules in slots 1 on."""
    lines = ["[GeNeRaL]", "App=Vorn Jukarium", "Desc=Jukarium Disc file", "Ver=1.0", "[FiLeS]"]
    lines += ["%d.File=%s" % (slot, module) for slot, module in enumerate(modules, 1)]
    with open(path, "w", newline="") as disc:
        disc.write("".join(line + "\r\n" for line in lines))


def open_files(pid):
    return len(os.listdir("/proc/%d/fd" % pid))


def plan(count, outside):
    """The changes in order, as (command, argument, slot): mostly Next, every tenth Previous,
    every 25th a module from outside the disc, which leaves no slot current, so that the next
    step starts from the disc's first or last slot."""
    slot = 0
    for n in range(1, count + 1):
        if n % 25 == 0:
            yield "OpenUri", outside[n // 25 % len(outside)], 0
            slot = 0
        elif n % 10 == 0:
            slot = DISC_SLOTS if slot <= 1 else slot - 1
            yield "Previous", None, slot
        else:
            slot = slot % DISC_SLOTS + 1
            yield "Next", None, slot


def varied_modules(build):
    """The varied modules of the build, MOD, S3M, XM and IT in turn: 20 for the disc and the
    rest to open from outside it."""
    names = ["varied-%02d.%s" % (n, ("mod", "s3m", "xm", "it")[(n - 1) % 4]) for n in range(1, 25)]
    paths = [buildtree.require(os.path.join(build, "bench", "modules", name)) for name in names]
    return paths[:DISC_SLOTS], paths[DISC_SLOTS:]


def soak(binary, modules, outside, changes=CHANGES, server_latency=SERVER_LATENCY_MS):
    """Samples (changes, resident MiB, open files) every EVERY changes, the seconds of each
    change, and the run's seconds. server_latency: milliseconds the sound server is asked to
    queue, 0 for what the program asks."""
    bus = SessionBus()
    jukebox = Jukebox(binary)
    try:
        jukebox.env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
        if server_latency:
            jukebox.env["PULSE_LATENCY_MSEC"] = str(server_latency)
        jukebox.write_settings(SETTINGS)
        disc = os.path.join(jukebox.home, "soak.jkdc")
        disc_file(disc, modules)
        jukebox.start(disc)
        pid = jukebox.running.pid
        controls = MediaControls(bus.address)
        deadline = time.monotonic() + 20
        while not controls.offered():
            if time.monotonic() > deadline or jukebox.running.poll() is not None:
                raise RuntimeError("the jukebox did not offer its media controls")
            time.sleep(0.1)

        samples, seconds = [], []
        started = time.monotonic()
        for n, (command, argument, slot) in enumerate(plan(changes, outside), 1):
            target = argument or modules[slot - 1]
            url = pathlib.Path(target).as_uri()
            asked = time.monotonic()
            controls.command(command, *(["string:" + url] if argument else []))
            if not controls.wait_for(url, 10):
                if jukebox.running.poll() is not None:
                    raise RuntimeError("change %d (%s): the jukebox ended with %d"
                                       % (n, command, jukebox.running.returncode))
                raise RuntimeError("change %d (%s): %s did not play within 10 s; the player names %s"
                                   % (n, command, target, controls.url()))
            seconds.append(time.monotonic() - asked)
            if n % EVERY == 0:
                samples.append((n, resident_mib(pid), open_files(pid)))
                if n % 1000 == 0:
                    print("%6d changes: %.1f MiB, %d open files, %.0f s" % (*samples[-1], time.monotonic() - started),
                          file=sys.stderr)
        return samples, seconds, time.monotonic() - started
    finally:
        jukebox.close()
        bus.close()


def report(samples, seconds, run_time):
    later = [sample for sample in samples if sample[0] >= WARM_UP]
    (_, warm_rss, warm_files), (changes, last_rss, last_files) = later[0], later[-1]
    growth = last_rss - warm_rss
    most_files = max(files for _, _, files in later)
    return [
        ("resident memory at %d / %d changes" % (WARM_UP, changes),
         "%.1f -> %.1f MiB, largest %.1f" % (warm_rss, last_rss, max(rss for _, rss, _ in later)), "", None),
        ("resident memory's growth", "%+.2f MiB" % growth, "<= %.0f MiB" % TARGETS["rss growth"],
         growth <= TARGETS["rss growth"]),
        ("open files at %d / %d changes" % (WARM_UP, changes),
         "%d -> %d, largest %d" % (warm_files, last_files, most_files), "no growth",
         most_files - warm_files <= TARGETS["file growth"]),
        ("a change, seen by the caller: med. / max", "%.1f / %.0f ms" % (1000 * statistics.median(seconds), 1000 * max(seconds)),
         "", None),
        ("run time", "%.0f s for %d changes" % (run_time, len(seconds)), "", None),
    ]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--changes", type=int, default=CHANGES)
    parser.add_argument("--server-latency", type=int, default=SERVER_LATENCY_MS)
    args = parser.parse_args()
    if args.changes < WARM_UP:
        sys.exit("--changes: at least %d, the warm-up" % WARM_UP)
    if not os.environ.get("PULSE_SERVER"):
        sys.exit("no sound server: eval \"$(../shared/tools/null-sound-server start)\" first")
    build = buildtree.find(args.build)
    binary = buildtree.require(os.path.join(build, "jukarium"))
    rows = report(*soak(binary, *varied_modules(build), args.changes, args.server_latency))
    for name, value, target, met in rows:
        print("%-40s %-32s %-24s %s" % (name, value, target, {True: "met", False: "MISSED", None: ""}[met]))


if __name__ == "__main__":
    main()
