#!/usr/bin/env python3
"""The silence between two slots of a disc played through ("When a module ends": play the next
slot): from the last sound of slot 1's module to the first of slot 2's, where the two modules
hold none (target: at most 10 ms, and no overlap beyond that). Slot 1 holds a tone hard left that sounds to the last frame
of its song, slot 2 a tone hard right from its first frame (bench/modules/left.xm, right.xm).

Measured twice per run: as written by SDL's disk driver (no sound server), and as heard at the
null sound server's monitor (PULSE_SERVER set, see bench/README.md; skipped without one). Each
run is a fresh jukebox with the disc, started by the media controls' Play on a private bus.

    bench/slot_gap.py [--build DIR] [--runs 3]
"""
import argparse, array, os, statistics, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree
from monitor import RATE, Monitor
from session import Jukebox, SessionBus

TARGET_MS = 10
# A twentieth of the tones' level; the tone on the other side leaks a few tens into this one.
THRESHOLD = 500
# The left tone's song lasts 64 rows at speed 6 and 125 BPM: 7.68 s.
SONG_SECONDS = 7.68


def gap_ms(samples, rate=RATE):
    """Milliseconds from the last left sound to the first right sound, in interleaved 16-bit
    stereo samples: negative where the two overlap; None when either is missing."""
    right = next((i // 2 for i in range(1, len(samples), 2) if abs(samples[i]) > THRESHOLD), None)
    left = next((i // 2 for i in range(len(samples) - 2, -1, -2) if abs(samples[i]) > THRESHOLD), None)
    if right is None or left is None:
        return None
    return (right - left - 1) * 1000 / rate


def play_through(binary, modules, env, seconds):
    """A jukebox that plays a disc of the two modules through for seconds, under env's sound
    settings added to its own."""
    bus = SessionBus()
    jukebox = Jukebox(binary)
    try:
        jukebox.env.update(env, DBUS_SESSION_BUS_ADDRESS=bus.address)
        jukebox.write_settings("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Playing]\n"
                               "\"At the end\"=\"1\"\n")
        disc = os.path.join(jukebox.home, "gap.jkdc")
        with open(disc, "w", newline="") as file:
            file.write("[General]\r\nApp=Vorn Jukarium\r\nDesc=Jukarium Disc file\r\nVer=1.0\r\n"
                       "[Files]\r\n1.File=%s\r\n2.File=%s\r\n" % (modules["left"], modules["right"]))
        jukebox.start(disc)
        for _ in range(50):
            played = subprocess.run(["dbus-send", "--print-reply", "--dest=org.mpris.MediaPlayer2.jukarium",
                                     "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player.Play"],
                                    env=jukebox.env, capture_output=True)
            if played.returncode == 0:
                break
            time.sleep(0.1)
        time.sleep(seconds)
    finally:
        jukebox.close()
        bus.close()


def disk_gap(binary, modules):
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "out.raw")
        # The driver's own pace: a period's time per period, as a sound card takes it.
        play_through(binary, modules, {"SDL_AUDIODRIVER": "disk", "SDL_DISKAUDIOFILE": output},
                     SONG_SECONDS + 2)
        samples = array.array("h")
        with open(output, "rb") as raw:
            data = raw.read()
        samples.frombytes(data[:len(data) - len(data) % 4])
        return gap_ms(samples)


def server_gap(binary, modules):
    monitor = Monitor()
    try:
        play_through(binary, modules, {"SDL_AUDIODRIVER": "pulseaudio"}, SONG_SECONDS + 2)
        time.sleep(0.3)
        return gap_ms(monitor.snapshot())
    finally:
        monitor.close()


def report(disk, server):
    rows = []
    for name, gaps in (("through SDL's disk driver", disk), ("at the sound server's monitor", server)):
        if gaps:
            worst = max(gaps, key=abs)
            rows.append(("gap between slots %s, worst" % name, "%.1f ms" % worst, "<= %d ms" % TARGET_MS,
                         abs(worst) <= TARGET_MS))
    return rows


def measure(binary, modules, runs):
    disk, server = [], []
    for run in range(runs):
        for gaps, measure_once in ((disk, disk_gap), (server, server_gap)):
            if measure_once is server_gap and not os.environ.get("PULSE_SERVER"):
                continue
            gap = measure_once(binary, modules)
            if gap is None:
                print("run %d: %s heard no change of slot" % (run + 1, measure_once.__name__), file=sys.stderr)
            else:
                gaps.append(gap)
    return disk, server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    build = buildtree.find(args.build)
    binary = buildtree.require(os.path.join(build, "jukarium"))
    modules = {side: buildtree.require(os.path.join(build, "bench", "modules", side + ".xm"))
               for side in ("left", "right")}
    disk, server = measure(binary, modules, args.runs)
    print("gaps: disk %s, server %s" % (["%.1f" % g for g in disk], ["%.1f" % g for g in server]))
    for name, value, target, met in report(disk, server):
        print("%-48s %-10s %-10s %s" % (name, value, target, "met" if met else "MISSED"))


if __name__ == "__main__":
    main()
