"""Pieces the install benchmarks share: deterministic payload pieces, checking an installed tree,
one timed run with its memory peaks (and, on request, the views of a file it maps), and the
window watch that tells a silent run waiting on a message box from one that is working.

Time of a run: wall time from starting the process to its exit, plus `sync` (an untimed `sync`
comes first, so each run flushes only its own writes).
Memory: peak resident set of the process that runs the installer (the Wine process execs into
the program, so this is the program's process, Wine's own libraries included): the kernel's
high-water mark VmHWM read from /proc/PID/status every 10 ms until the exit, raised to wait4's
ru_maxrss where that exceeds this harness's own peak (below it, ru_maxrss may be the harness's,
which the child inherits until its exec); and the peaks of its two parts, polled alike: private
(RssAnon: heaps, buffers) and file-backed (RssFile: mapped files: libraries, mapped views of the
image).
Mapped views (when asked for): /proc/PID/maps read at each poll, the mappings whose path is the
given file: the largest single mapping seen and the largest sum of them at one poll. A view that
lives shorter than a poll can be missed; the figures are lower bounds."""
import argparse
import hashlib
import os
import re
import resource
import shutil
import signal
import subprocess
import threading
import time
from pathlib import Path

MB = 1 << 20
SAMPLE_COUNT = 50  # hashed files per check, besides the largest
POLL_SECONDS = 0.01


def log(text=''):
    print(text, flush=True)


def load_average():
    with open('/proc/loadavg') as f:
        return ' '.join(f.read().split()[:3])


# ---------------------------------------------------------------- payloads, cached by folder name

def cached_folder(path, make):
    """Makes `path` in a temporary sibling renamed at the end: a folder that exists is whole."""
    if path.is_dir():
        return path
    partial = path.with_name(path.name + '.partial')
    shutil.rmtree(partial, ignore_errors=True)
    partial.mkdir(parents=True)
    make(partial)
    partial.rename(path)
    return path


def text_bytes(rng, words, size):
    """`size` bytes of lines of words drawn from `words`: compresses about as source text."""
    out, length = [], 0
    while length < size:
        line = ' '.join(rng.choice(words) for _ in range(12)) + '\n'
        out.append(line)
        length += len(line)
    return ''.join(out).encode()[:size]


def word_list(rng, count=2000):
    return [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 9)))
            for _ in range(count)]


def preread(path):
    """Reads a file once, so that its first timed reader finds it in the page cache."""
    with open(path, 'rb') as f:
        while f.read(16 * MB):
            pass


# ---------------------------------------------------------------- checking an installed tree

def tree(root):
    """{lower-case relative path: (relative path, size)}: Windows names compare without case."""
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            found[rel.lower()] = (rel, os.path.getsize(path))
    return found


def sha256(path):
    digest = hashlib.sha256()
    with open(path, 'rb') as f:
        while chunk := f.read(4 * MB):
            digest.update(chunk)
    return digest.hexdigest()


class Payload:
    """A payload folder: its files with their sizes, and the SHA-256 of a sample of them (every
    SAMPLE_COUNT-th name and the largest file)."""

    def __init__(self, name, root):
        self.name, self.root = name, root
        self.files = tree(root)
        if not self.files:
            raise SystemExit(f'payload {root} is empty')
        self.bytes = sum(size for _, size in self.files.values())
        keys = sorted(self.files)
        step = max(1, len(keys) // SAMPLE_COUNT)
        sample = set(keys[::step]) | {max(keys, key=lambda k: self.files[k][1])}
        self.hashes = {k: sha256(root / self.files[k][0]) for k in sorted(sample)}

    def check(self, target):
        """(ok, message, extra file names) for an installed tree at `target`."""
        if not target.is_dir():
            return False, f'nothing installed: {target} does not exist', []
        got = tree(target)
        extras = sorted(got[k][0] for k in got.keys() - self.files.keys())
        present = self.files.keys() & got.keys()
        if not present:
            return False, (f'nothing installed: no payload file in {target} '
                           f'({len(got)} other files)'), extras
        missing = sorted(self.files.keys() - got.keys())
        wrong_size = sorted(k for k in present if got[k][1] != self.files[k][1])
        wrong_hash = sorted(k for k, h in self.hashes.items()
                            if k in present and k not in wrong_size
                            and sha256(target / got[k][0]) != h)
        installed_bytes = sum(got[k][1] for k in present)
        if missing or wrong_size or wrong_hash:
            first = (missing or wrong_size or wrong_hash)[0]
            return False, (f'installed tree differs from the payload: {len(present)} of '
                           f'{len(self.files)} files ({installed_bytes} of {self.bytes} bytes), '
                           f'{len(missing)} missing, {len(wrong_size)} of wrong size, '
                           f'{len(wrong_hash)} of {len(self.hashes)} sampled hashes differ '
                           f'(first: {self.files[first][0]})'), extras
        return True, (f'{len(present)} files, {installed_bytes} bytes, '
                      f'{len(self.hashes)} sampled hashes equal'), extras


# ---------------------------------------------------------------- one timed run

class Run:
    def __init__(self, seconds, exit_code, usage, peaks_kb, views, ended):
        self.seconds, self.exit_code = seconds, exit_code
        self.ended = ended  # why the harness ended the run, or None: it exited by itself
        self.cpu_seconds = usage.ru_utime + usage.ru_stime  # the process and its waited children
        # ru_maxrss keeps the high-water mark of the harness's memory that the child shared
        # before its exec; only a value above the harness's own peak is the child's.
        own_peak_kb = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        child_kb = usage.ru_maxrss if usage.ru_maxrss > own_peak_kb else 0
        peak_rss_kb = max(peaks_kb['VmHWM'], child_kb)
        self.peak_rss_mb = peak_rss_kb / 1024
        self.peak_private_mb = peaks_kb['RssAnon'] / 1024
        self.peak_file_mb = peaks_kb['RssFile'] / 1024
        self.largest_view_mb = views['largest'] / MB
        self.largest_mapped_mb = views['total'] / MB
        self.view_polls = views['polls']


MAPS_LINE = re.compile(r'^([0-9a-f]+)-([0-9a-f]+) \S+ \S+ \S+ \d+\s+(.*)$')


def mapped_views(maps_text, path):
    """(largest, total) bytes of the mappings of `path` in a /proc/PID/maps text: each line is
    one mapping (the kernel itself joins neighbours of one file at consecutive offsets)."""
    sizes = [int(m.group(2), 16) - int(m.group(1), 16)
             for m in map(MAPS_LINE.match, maps_text.splitlines())
             if m and m.group(3) == path]
    return (max(sizes), sum(sizes)) if sizes else (0, 0)


def timed(command, log_file, mapped_file=None, watch=None, timeout=None):
    """Wall time from start to exit plus `sync`, exit code and memory peaks of `command`.
    mapped_file: a path whose mappings in the process are followed (Run.largest_view_mb,
    Run.largest_mapped_mb). watch: called about once a second with the process id while it
    runs; a text it returns says why the run cannot go on, and the process is killed (as after
    `timeout` seconds). A killed run has exit_code None and `ended` set."""
    subprocess.run(['sync'], check=True)  # untimed: flush whatever came before
    peaks = {'VmHWM': 0, 'RssAnon': 0, 'RssFile': 0}
    views = {'largest': 0, 'total': 0, 'polls': 0}
    mapped_path = str(Path(mapped_file).resolve()) if mapped_file else None
    done = threading.Event()

    def poll(pid):
        status, maps = f'/proc/{pid}/status', f'/proc/{pid}/maps'
        while not done.is_set():
            try:
                with open(status) as f:
                    for line in f:
                        name, _, value = line.partition(':')
                        if name in peaks:
                            peaks[name] = max(peaks[name], int(value.split()[0]))
                if mapped_path:
                    with open(maps) as f:
                        largest, total = mapped_views(f.read(), mapped_path)
                    views['largest'] = max(views['largest'], largest)
                    views['total'] = max(views['total'], total)
                    views['polls'] += 1
            except (OSError, ValueError, IndexError):
                pass
            done.wait(POLL_SECONDS)

    start = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log_file,
                               stderr=log_file)
    poller = threading.Thread(target=poll, args=(process.pid,), daemon=True)
    poller.start()
    ended = []
    watcher = None
    if watch or timeout:
        # A pidfd names this very process: once it is reaped, a signal cannot reach another.
        pidfd = os.pidfd_open(process.pid)

        def watch_run():
            while not done.wait(1):
                if timeout and time.perf_counter() - start > timeout:
                    reason = f'still running after {timeout:.0f} s'
                else:
                    reason = watch(process.pid) if watch else None
                if reason:
                    ended.append(reason)
                    try:
                        signal.pidfd_send_signal(pidfd, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
                    return

        watcher = threading.Thread(target=watch_run, daemon=True)
        watcher.start()
    _, status, usage = os.wait4(process.pid, 0)
    done.set()
    if watcher:
        watcher.join()
        os.close(pidfd)
    process.returncode = os.waitstatus_to_exitcode(status)  # reaped here, not by Popen
    subprocess.run(['sync'], check=True)
    seconds = time.perf_counter() - start
    poller.join()
    killed = os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal.SIGKILL
    reason = ended[0] if ended and killed else None  # not one that exited as it was ended
    return Run(seconds, None if reason else process.returncode, usage, peaks, views, reason)


# The installer's exit codes (README, "Exit codes"). A Unix exit status holds only the low 8 bits
# of a Windows exit code, and that is all Wine passes on: 1603 arrives as 67.
INSTALLER_EXIT_CODES = (0, 1, 1602, 1603, 1618, 1641, 3010)


def exit_text(status):
    """`status` (a Unix exit status of a Wine run) with the installer exit code it stands for."""
    if status is None:
        return 'no exit code (ended by the benchmark)'
    codes = [code for code in INSTALLER_EXIT_CODES if code & 0xFF == status and code != status]
    if not codes:
        return f'exit code {status}'
    return f'exit status {status} (the low 8 bits of {" or ".join(map(str, codes))})'


# ---------------------------------------------------------------- a silent run waiting on a window

WINDOW_LINE = re.compile(r'^\s*(0x[0-9a-f]+) "(.*)": \("([^"]*)" "([^"]*)"\)\s+(\d+)x(\d+)')


def shown_windows(program_name):
    """[(window id, title)] of the top-level windows on the display that the Wine program
    `program_name` (its file name) shows: a silent install shows none unless it asks or
    reports something and waits for the answer. [] where xwininfo is missing."""
    try:
        listing = subprocess.run(['xwininfo', '-root', '-children'], capture_output=True,
                                 text=True, timeout=10).stdout
    except (OSError, subprocess.TimeoutExpired):
        return []
    shown = []
    for line in listing.splitlines():
        match = WINDOW_LINE.match(line)
        if not match or match.group(3).lower() != program_name.lower():
            continue
        if int(match.group(5)) <= 1 or int(match.group(6)) <= 1:
            continue  # Wine's hidden helper windows
        state = subprocess.run(['xwininfo', '-id', match.group(1)], capture_output=True,
                               text=True).stdout
        if 'IsViewable' in state:
            shown.append((match.group(1), match.group(2)))
    return shown


class WindowWatch:
    """A `watch` for timed(): ends a silent run that shows a window for `patience` seconds (a
    message box waiting for an answer nobody gives), after a screenshot of the display."""

    def __init__(self, program_name, screenshot, patience=3):
        self.program_name, self.screenshot, self.patience = program_name, screenshot, patience
        self.first_seen = None
        self.windows = []

    def __call__(self, pid):
        windows = shown_windows(self.program_name)
        if not windows:
            self.first_seen = None
            return None
        now = time.monotonic()
        self.first_seen = self.first_seen or now
        if now - self.first_seen < self.patience:
            return None
        self.windows = windows
        shot = ''
        if shutil.which('import'):
            taken = subprocess.run(['import', '-window', 'root', str(self.screenshot)],
                                   capture_output=True)
            if taken.returncode == 0:
                shot = f'; screenshot {self.screenshot}'
        titles = ', '.join(f'"{title}"' for _, title in windows)
        return f'it showed a window ({titles}) and waited for an answer{shot}'


class BenchFolders:
    """What a benchmark works in: its output folder `work/<name>` (with the Wine log), and the
    prefix's C:\\bench, where every run installs into a new folder."""

    def __init__(self, args, name):
        self.args = args
        self.work = Path(args.work).resolve()
        self.out = self.work / name
        self.out.mkdir(parents=True, exist_ok=True)
        self.drive_c = Path(args.prefix).resolve() / 'drive_c'
        self.log_file = open(self.out / 'wine.log', 'w')

    def windows_path(self, name):
        return 'C:\\bench\\' + name

    def unix_path(self, name):
        return self.drive_c / 'bench' / name

    def fresh(self, name):
        target = self.unix_path(name)
        if target.exists():
            raise SystemExit(f'{target} exists already: the benchmark needs a new folder per run')
        return target


def bench_arguments(doc, rounds, peers=True):
    """The command line every benchmark takes from bench/run.sh; a benchmark adds its own."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument('--work', required=True, help='cache folder (payloads, images)')
    parser.add_argument('--payload', required=True, help='the mixed payload folder')
    parser.add_argument('--builder', required=True)
    parser.add_argument('--stub', required=True)
    parser.add_argument('--prefix', required=True, help='the Wine prefix (WINEPREFIX)')
    parser.add_argument('--wine', required=True, help='the Wine loader')
    if peers:
        parser.add_argument('--peer-target', required=True,
                            help='nsis Target (amd64-unicode, x86-unicode) or "none:REASON"')
    parser.add_argument('--rounds', type=int, default=rounds)
    return parser
