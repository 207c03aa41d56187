#!/usr/bin/env python3
"""Start and exit of the jukebox with a valid 50 MB settings file: from launch with a module to
its first sound at the output (the settings are read before the module loads), then from a
polite request to end (SIGTERM) to the exit (every setting written). Target: under 3 s in all.

    bench/large_settings.py [--build DIR] [--megabytes 50] [module]
"""
import argparse, os, signal, struct, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import buildtree

parser = argparse.ArgumentParser()
parser.add_argument("--build")
parser.add_argument("--megabytes", type=int, default=50)
parser.add_argument("module", nargs="?")
args = parser.parse_args()
build = buildtree.find(args.build)
binary = buildtree.require(os.path.join(build, "jukarium"))
module = buildtree.require(args.module or os.path.join(build, "demo", "jukarium-demo.xm"))


def write_settings(path, megabytes):
    """A registry file of about megabytes MB: many keys of a few values each, as a program
    that kept a large history would leave, with the jukebox's own key among them."""
    lines = ["REGEDIT4", "", "[HKEY_CURRENT_USER]", ""]
    size, n = 0, 0
    while size < megabytes * 1_000_000:
        block = ("[HKEY_CURRENT_USER\\Software\\Other\\History\\Entry %07d]\n"
                 "\"Path\"=\"/home/someone/music/collection/%07d/a long file name.xm\"\n"
                 "\"Played\"=dword:%08x\n\"Title\"=\"Title number %d of the history\"\n" % (n, n, n, n))
        lines.append(block)
        size += len(block)
        n += 1
    # The jukebox has run with it before: its keys are there, so a start has nothing to create.
    lines.append("[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Sound Options]\n"
                 "\"Fadeout\"=\"3\"\n")
    lines.append("[HKEY_CURRENT_USER\\Software\\Vorn Inc.\\Jukarium\\1.0\\Main Window]\n")
    with open(path, "w") as out:
        out.write("\n".join(lines))


def wait_for_sound(path, deadline):
    while time.monotonic() < deadline:
        try:
            with open(path, "rb") as output:
                data = output.read()
        except FileNotFoundError:
            data = b""
        count = len(data) // 2
        if any(abs(s) > 64 for s in struct.unpack("<%dh" % count, data[:count * 2])):
            return True
        time.sleep(0.005)
    return False


with tempfile.TemporaryDirectory() as work:
    config = os.path.join(work, "config", "jukarium")
    os.makedirs(config)
    settings = os.path.join(config, "HKEY_CURRENT_USER.reg")
    write_settings(settings, args.megabytes)
    size = os.path.getsize(settings)
    runtime = os.path.join(work, "run")
    os.makedirs(runtime, mode=0o700)
    output = os.path.join(work, "out.raw")
    env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "data"), XDG_RUNTIME_DIR=runtime,
               QT_QPA_PLATFORM="offscreen", SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=output)
    launched = time.monotonic()
    jukebox = subprocess.Popen([binary, module], env=env, stdout=subprocess.DEVNULL)
    if not wait_for_sound(output, launched + 60):
        jukebox.kill()
        raise SystemExit("no sound within 60 s")
    started = time.monotonic()
    jukebox.send_signal(signal.SIGTERM)
    code = jukebox.wait()
    ended = time.monotonic()
    kept = os.path.getsize(settings) if os.path.exists(settings) else 0
    print("settings file %.1f MB: start %.2f s, exit %.2f s, in all %.2f s (target < 3 s)"
          % (size / 1e6, started - launched, ended - started, ended - launched))
    print("exit code %d; settings file afterwards %.1f MB%s" % (
        code, kept / 1e6, "" if not os.listdir(config) or len(os.listdir(config)) == 1
        else "; also " + ", ".join(sorted(set(os.listdir(config)) - {"HKEY_CURRENT_USER.reg"}))))
