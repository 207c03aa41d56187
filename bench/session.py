"""The jukebox as the benchmarks run it, in a fresh home, playing through whatever sound server
PULSE_SERVER names: offscreen or on an X server (Jukebox), or in a real X server of its own with
the default settings (Session): Xvfb on a display it picks itself (so never one in use),
optionally with a notification area (trayer). A private session bus (SessionBus) carries the
media controls. CPU times are read from /proc in nanoseconds (schedstat), summed over all
threads."""
import glob, os, subprocess, tempfile, time

# Centres of the main window's controls, from the window's top left corner: the menu bar is
# 18 pixels high, the control panel sits at (277, 4) below it (ui/MainWindowForm.cpp).
STOP = (277 + 28 + 11, 18 + 4 + 80 + 14)
PLAY = (277 + 4 + 11, 18 + 4 + 80 + 14)
HIDE_TO_TRAY = (277 + 100 + 22, 18 + 4 + 8 + 16)
# The File menu's title in the menu bar; its item "P&attern view" is chosen by its key.
FILE_MENU = (18, 9)


def cpu_ns(pid):
    """CPU time of every thread of pid so far; threads that ended are not counted."""
    total = 0
    for path in glob.glob("/proc/%d/task/*/schedstat" % pid):
        try:
            with open(path) as stat:
                total += int(stat.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return total


def resident_mib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0


def share(pids, seconds):
    """Each pid's CPU share in percent of one core over the next seconds."""
    before = [cpu_ns(pid) for pid in pids]
    time.sleep(seconds)
    return [100 * (cpu_ns(pid) - start) / 1e9 / seconds for pid, start in zip(pids, before)]


def stop(process):
    """Asks process to end, and ends it after ten seconds if it has not."""
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class XServer:
    """Xvfb on a display it picks itself; display is its name (":5")."""

    def __init__(self):
        read, write = os.pipe()
        self._process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "800x600x24",
                                          "-nolisten", "tcp"], pass_fds=(write,),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as displayfd:
            number = displayfd.readline().strip()
        if not number:
            self.close()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def close(self):
        stop(self._process)


class SessionBus:
    """A private D-Bus session bus; address is its address."""

    def __init__(self):
        self._process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.address = self._process.stdout.readline().strip()
        if not self.address:
            self.close()
            raise RuntimeError("dbus-daemon did not start")

    def close(self):
        stop(self._process)
        self._process.stdout.close()


class Jukebox:
    """Starts of the program in one fresh home (a folder of its own, removed by close), so that
    second starts find the first. env is theirs, to be changed before the first start."""

    def __init__(self, binary, display=None):
        """display: an X server's name to show the window on (xcb); None for offscreen."""
        self._binary = binary
        self._work = tempfile.TemporaryDirectory()
        self.home = self._work.name
        runtime = os.path.join(self.home, "run")
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"), XDG_RUNTIME_DIR=runtime,
                        QT_QPA_PLATFORM="xcb" if display else "offscreen", SDL_AUDIODRIVER="pulseaudio")
        if display:
            self.env["DISPLAY"] = display
        self.running = None

    def write_settings(self, text):
        """Writes the settings file the program starts with (REGEDIT4) and returns its path."""
        folder = os.path.join(self.env["XDG_CONFIG_HOME"], "jukarium")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "HKEY_CURRENT_USER.reg")
        with open(path, "w") as settings:
            settings.write(text)
        return path

    def start(self, module):
        """Launches the program with module and returns the time of the launch."""
        launched = time.monotonic()
        process = subprocess.Popen([self._binary, module], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.running is None:
            self.running = process
        return launched

    def close(self):
        if self.running:
            stop(self.running)
        self._work.cleanup()


class Session:
    def __init__(self, binary, tray=False):
        self._work = tempfile.TemporaryDirectory()
        self._processes = []
        self.env = None  # until the X server runs: this process's own
        self._x = XServer()
        home = os.path.join(self._work.name, "home")
        runtime = os.path.join(self._work.name, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, DISPLAY=self._x.display, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_DATA_HOME=os.path.join(home, ".local", "share"), XDG_RUNTIME_DIR=runtime,
                        SDL_AUDIODRIVER="pulseaudio")
        self.env.pop("QT_QPA_PLATFORM", None)
        if tray:
            self._start(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                         "--width", "120", "--height", "24"])
            time.sleep(1)
        self._binary = binary
        self.pid = None

    def _start(self, command, **options):
        process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **options)
        self._processes.append(process)
        return process

    def launch(self, *arguments):
        self.pid = self._start([self._binary, *arguments]).pid

    def _xdotool(self, *arguments):
        return subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True)

    def window(self):
        """The main window's id, waiting for it to be shown; None when it is not."""
        for _ in range(50):
            found = self._xdotool("search", "--onlyvisible", "--name", "Vorn Jukarium").stdout.split()
            if found:
                return found[0]
            time.sleep(0.1)
        return None

    def click(self, control):
        window = self.window()
        geometry = dict(line.split("=") for line in
                        self._xdotool("getwindowgeometry", "--shell", window).stdout.split())
        self._xdotool("mousemove", str(int(geometry["X"]) + control[0]), str(int(geometry["Y"]) + control[1]),
                      "click", "1")

    def toggle_pattern_view(self):
        """Opens or closes the pattern view through the File menu."""
        self.click(FILE_MENU)
        time.sleep(0.5)
        self._xdotool("key", "a")
        time.sleep(0.5)

    def pattern_view_visible(self):
        return bool(self._xdotool("search", "--onlyvisible", "--name", "Pattern view").stdout.split())

    def visible(self):
        return bool(self._xdotool("search", "--onlyvisible", "--name", "Vorn Jukarium").stdout.split())

    def close(self):
        for process in reversed(self._processes):
            stop(process)
        self._x.close()
        self._work.cleanup()
