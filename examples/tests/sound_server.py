"""A private PulseAudio server for the tests that listen to what a program plays: a null sink in a
runtime directory of its own (so nothing else on the machine is touched), and a recorder of the
sink's monitor. Under Wine, winmm plays through PulseAudio; a program started with the server's
environment plays into the null sink.

    with PrivatePulse() as pulse:
        recorder = Recorder(pulse.env)
        warm_up(pulse, recorder)
        ... run the program with pulse.env ...
        recorder.stop()
        samples = recorder.samples()     # interleaved 16-bit stereo at RATE
"""
import array
import os
import shutil
import subprocess
import tempfile
import threading
import time

RATE = 44100
SINK = 'pyro_null'
SKIPPED = 77  # the exit code ctest takes for a skipped test


def available():
    """Whether the server and its recorder are installed."""
    return bool(shutil.which('pulseaudio') and shutil.which('parec') and shutil.which('pacat'))


class PrivatePulse:
    def __init__(self):
        self.runtime = tempfile.mkdtemp(prefix='pyro-pulse-')
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime)
        self.env.pop('PULSE_SERVER', None)
        self.server_env = dict(self.env, HOME=self.runtime)

    def __enter__(self):
        subprocess.run(['pulseaudio', '--daemonize=yes', '-n', '--exit-idle-time=-1', '--disallow-exit',
                        '--use-pid-file=yes',
                        f'--load=module-null-sink sink_name={SINK} rate={RATE} channels=2',
                        '--load=module-native-protocol-unix auth-anonymous=1'],
                       env=self.server_env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists(os.path.join(self.runtime, 'pulse', 'native')):
                break
            time.sleep(0.05)
        return self

    def __exit__(self, *exc):
        subprocess.run(['pulseaudio', '--kill'], env=self.server_env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if not os.path.exists(os.path.join(self.runtime, 'pulse', 'pid')):
                break
            time.sleep(0.05)
        shutil.rmtree(self.runtime, ignore_errors=True)


class Recorder:
    """parec on the null sink's monitor; each chunk's arrival time dates the samples."""

    def __init__(self, env):
        self.process = subprocess.Popen(
            ['parec', '-d', f'{SINK}.monitor', '--format=s16le', f'--rate={RATE}', '--channels=2',
             '--latency-msec=5'], stdout=subprocess.PIPE, env=env)
        self.data = bytearray()
        self.arrivals = []  # (arrival time, bytes received so far)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        fd = self.process.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                return
            self.data += chunk
            self.arrivals.append((time.time(), len(self.data)))

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.thread.join(timeout=10)
        keep = os.environ.get('PYRO_SOUND_RECORDING')
        if keep:  # for looking at a failure: the raw recording, s16le stereo at 44.1 kHz
            with open(keep, 'wb') as f:
                f.write(self.data)

    def samples(self):
        """The recording as interleaved 16-bit samples, left first."""
        samples = array.array('h')
        samples.frombytes(bytes(self.data[: len(self.data) // 4 * 4]))
        return samples

    def start_time(self):
        # A sample cannot arrive before it was recorded: the earliest bound over all chunks is
        # the closest estimate of when frame 0 was captured.
        return min(t - n / 4 / RATE for t, n in self.arrivals)


def warm_up(pulse, recorder):
    """A freshly started null sink reports a latency of about a second until something has
    played through it; one second of silence from pacat settles it before the real test."""
    silence = bytes(4 * RATE)
    subprocess.run(['pacat', '-d', SINK, '--format=s16le', f'--rate={RATE}', '--channels=2'],
                   input=silence, env=pulse.env, check=True, timeout=30)
    deadline = time.time() + 10
    while time.time() < deadline and (not recorder.arrivals or time.time() - recorder.arrivals[0][0] < 0.5):
        time.sleep(0.05)
