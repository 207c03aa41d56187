#!/usr/bin/env python3
"""Time from launching the jukebox with a module on the command line to its first sound at
its output: SDL's disk device, which paces itself like a sound card, polled for the first
non-silent sample. Target: under 150 ms.

    bench/first_sound.py [--binary build/jukarium] [--runs 5] [module]
"""
import argparse, os, struct, subprocess, tempfile, time

here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
parser = argparse.ArgumentParser()
parser.add_argument("--binary", default=os.path.join(here, "build", "jukarium"))
parser.add_argument("--runs", type=int, default=5)
parser.add_argument("module", nargs="?", default=os.path.join(here, "build", "demo", "jukarium-demo.xm"))
args = parser.parse_args()


def first_sound_seconds(path, deadline):
    """Seconds after launch at which the output file first holds a non-silent sample."""
    while time.monotonic() < deadline:
        try:
            with open(path, "rb") as output:
                data = output.read()
        except FileNotFoundError:
            data = b""
        count = len(data) // 2
        if any(abs(sample) > 64 for sample in struct.unpack("<%dh" % count, data[:count * 2])):
            return time.monotonic()
        time.sleep(0.002)
    return None


results = []
for run in range(args.runs):
    with tempfile.TemporaryDirectory() as work:
        runtime = os.path.join(work, "run")
        os.makedirs(runtime, mode=0o700)
        output = os.path.join(work, "out.raw")
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="offscreen",
                   SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=output)
        launched = time.monotonic()
        jukebox = subprocess.Popen([args.binary, args.module], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        heard = first_sound_seconds(output, launched + 5)
        jukebox.kill()
        jukebox.wait()
        if heard is None:
            print("run %d: no sound within 5 s" % (run + 1))
        else:
            results.append((heard - launched) * 1000)
            print("run %d: first sound %.0f ms after launch" % (run + 1, results[-1]))
if results:
    print("median %.0f ms (target < 150 ms)" % sorted(results)[len(results) // 2])
