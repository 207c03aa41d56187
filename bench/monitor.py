"""What the sound server played, recorded from its monitor, with the time each frame was heard.

parec records 16-bit stereo at 44100 Hz with a short latency, so the server hands over what it
plays in small pieces. A piece that arrives at time t ending at frame n was heard no later than
t; the earliest of all t - n / rate is when frame 0 was heard, and frame k then at that time
plus k / rate. Times are time.monotonic().
"""
import array, subprocess, threading, time

RATE = 44100


class Monitor:
    def __init__(self, source="nullsink.monitor", env=None):
        self._process = subprocess.Popen(
            ["parec", "-d", source, "--raw", "--format=s16le", "--rate=%d" % RATE, "--channels=2",
             "--latency-msec=5"], stdout=subprocess.PIPE, env=env)
        self._samples = array.array("h")
        self._origin = None
        self._lock = threading.Lock()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        pending = b""
        while True:
            piece = self._process.stdout.read1(65536)
            arrived = time.monotonic()
            if not piece:
                return
            pending += piece
            whole = len(pending) - len(pending) % 4
            with self._lock:
                self._samples.frombytes(pending[:whole])
                origin = arrived - len(self._samples) / 2 / RATE
                if self._origin is None or origin < self._origin:
                    self._origin = origin
            pending = pending[whole:]

    def frames(self):
        with self._lock:
            return len(self._samples) // 2

    def frame_at(self, when):
        """The frame heard at time when (clamped to 0)."""
        with self._lock:
            return max(0, int((when - self._origin) * RATE))

    def time_of(self, frame):
        with self._lock:
            return self._origin + frame / RATE

    def first_sound(self, channel, after, deadline, threshold=64):
        """The time of the first frame from time after on whose sample on channel (0: left,
        1: right) exceeds threshold; None when nothing is heard before time deadline."""
        checked = None
        while time.monotonic() < deadline + 0.1:
            if self._origin is None:
                time.sleep(0.005)
                continue
            start = self.frame_at(after) if checked is None else checked
            with self._lock:
                end = len(self._samples) // 2
                samples = self._samples[2 * start + channel:2 * end:2]
            for offset, sample in enumerate(samples):
                if abs(sample) > threshold:
                    heard = self.time_of(start + offset)
                    return heard if heard <= deadline else None
            checked = end
            if self.time_of(end) > deadline:
                return None
            time.sleep(0.005)
        return None

    def level(self, channel, start, end):
        """The largest absolute sample on channel heard between times start and end."""
        first, last = self.frame_at(start), self.frame_at(end)
        with self._lock:
            samples = self._samples[2 * first + channel:2 * last:2]
        return max((abs(s) for s in samples), default=0)

    def snapshot(self):
        """Every sample recorded so far, interleaved left and right."""
        with self._lock:
            return array.array("h", self._samples)

    def close(self):
        self._process.terminate()
        self._process.wait()
