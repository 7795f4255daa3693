"""The system inside a Wine prefix as a Windows program sees it: files, times, attributes,
versions, registry values, shared counts and renames scheduled for the restart, read by the probe
(tests/rig/probe.cpp) through the Win32 API. Also holding a file open, and restarting Windows.

    probe = Probe(prefix, probe_exe)
    info = probe.stat('C:\\App\\a.dll')            # FileInfo
    before = probe.tree('C:\\App')                  # {relative path: FileInfo} or None
    with probe.hold('C:\\App\\a.dll'):              # the file is open without sharing
        ...
    restart(prefix)                                 # pending renames, RunOnce, wininit.ini
"""
import json
import queue
import subprocess
import threading
from contextlib import contextmanager
from dataclasses import dataclass, replace
from pathlib import Path

PROBE_PATH = 'C:\\rig\\probe.exe'

FILE_ATTRIBUTE_READONLY = 0x01
FILE_ATTRIBUTE_HIDDEN = 0x02
FILE_ATTRIBUTE_SYSTEM = 0x04
FILE_ATTRIBUTE_DIRECTORY = 0x10
FILE_ATTRIBUTE_ARCHIVE = 0x20
FILE_ATTRIBUTE_NORMAL = 0x80

REG_SZ = 1
REG_EXPAND_SZ = 2
REG_BINARY = 3
REG_DWORD = 4
REG_MULTI_SZ = 7

SHARED_DLLS_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs'

# FILETIME counts 100 ns intervals from 1601-01-01; Unix time seconds from 1970-01-01.
_FILETIME_UNIX_EPOCH = 116444736000000000


def filetime_from_unix(seconds):
    """The FILETIME of a Unix time in seconds (an int or float)."""
    return _FILETIME_UNIX_EPOCH + round(seconds * 10_000_000)


def unix_from_filetime(filetime):
    """The Unix time in seconds (float) of a FILETIME."""
    return (filetime - _FILETIME_UNIX_EPOCH) / 10_000_000


class ProbeError(AssertionError):
    """The probe could not read what it was asked for (its message carries the Win32 error)."""


@dataclass(frozen=True)
class FileInfo:
    """One file or folder. Times are FILETIMEs; version is (ms, ls) or None."""
    path: str
    exists: bool
    folder: bool = False
    attributes: int = 0
    size: int = 0
    created: int = 0
    accessed: int = 0
    written: int = 0
    version: tuple = None

    @property
    def version_text(self):
        if self.version is None:
            return None
        ms, ls = self.version
        return f'{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}'

    @classmethod
    def from_line(cls, line):
        if not line.get('exists'):
            return cls(path=line['path'], exists=False)
        version = None
        if line.get('version') is not None:
            version = (line['version_ms'], line['version_ls'])
        return cls(path=line['path'], exists=True, folder=line['folder'],
                   attributes=int(line['attributes'], 16), size=line['size'],
                   created=line['created'], accessed=line['accessed'], written=line['written'],
                   version=version)


@dataclass(frozen=True)
class RegValue:
    """A registry value as stored: its type and bytes (strings in UTF-16LE)."""
    type: int
    data: bytes

    @property
    def value(self):
        """str for REG_SZ and REG_EXPAND_SZ, a list of str for REG_MULTI_SZ, int for a 4-byte
        REG_DWORD, the bytes otherwise."""
        if self.type in (REG_SZ, REG_EXPAND_SZ):
            return self.data.decode('utf-16-le', 'surrogatepass').split('\0', 1)[0]
        if self.type == REG_MULTI_SZ:
            text = self.data.decode('utf-16-le', 'surrogatepass')
            text = text.rstrip('\0')
            return text.split('\0') if text else []
        if self.type == REG_DWORD and len(self.data) == 4:
            return int.from_bytes(self.data, 'little')
        return self.data


@dataclass
class TreeChanges:
    added: list
    removed: list
    changed: dict  # relative path -> (before FileInfo, after FileInfo)

    def __bool__(self):
        return bool(self.added or self.removed or self.changed)


def compare_trees(before, after, ignore=('accessed',)):
    """What differs between two tree() results, field by field except those in `ignore` (the
    last access time by default: reading a file moves it)."""
    before, after = before or {}, after or {}
    blank = {name: None for name in ignore}

    def comparable(info):
        return replace(info, **blank)

    changed = {path: (before[path], after[path]) for path in before.keys() & after.keys()
               if comparable(before[path]) != comparable(after[path])}
    return TreeChanges(added=sorted(after.keys() - before.keys()),
                       removed=sorted(before.keys() - after.keys()), changed=changed)


def _lines(text):
    lines, other = [], []
    for raw in text.splitlines():
        raw = raw.strip()
        try:
            lines.append(json.loads(raw))
        except ValueError:
            if raw:
                other.append(raw)
    return lines, other


class Probe:
    """The probe inside one prefix (a wine_prefix.Prefix); copies the program in on first use."""

    def __init__(self, prefix, probe_exe):
        self.prefix = prefix
        if not (prefix.drive_c / 'rig' / 'probe.exe').exists():
            prefix.put('rig/probe.exe', Path(probe_exe).read_bytes())

    def _command(self, *args):
        return [self.prefix.wine, PROBE_PATH, *[str(a) for a in args]]

    def run(self, *args, timeout=60):
        """Runs one probe command; returns its JSON lines. Raises ProbeError when it fails."""
        for attempt in range(2):
            done = subprocess.run(self._command(*args), env=self.prefix.env,
                                  capture_output=True, text=True, timeout=timeout,
                                  stdin=subprocess.DEVNULL)
            # Every command of the probe prints a line, for a failure too: a run that failed
            # without a word never reached the probe (Wine could not start it, seen once on a
            # loaded machine), and is tried once more.
            if done.returncode == 0 or done.stdout.strip() or attempt:
                break
        lines, other = _lines(done.stdout)
        if done.returncode != 0:
            raise ProbeError(f'probe {" ".join(map(str, args))} ended with {done.returncode}: '
                             f'{done.stdout.strip()} {done.stderr.strip()} {" ".join(other)}')
        return lines

    def stat(self, path, versions=True):
        """One file or folder as a FileInfo (exists False when it is missing)."""
        return self.stat_many([path], versions)[0]

    def stat_many(self, paths, versions=True):
        args = ['stat'] + ([] if versions else ['--no-version']) + list(paths)
        return [FileInfo.from_line(line) for line in self.run(*args)]

    def tree(self, root, versions=False):
        """Everything under root as {path relative to root: FileInfo}, or None when root does
        not exist. Versions are off by default: reading them reads every file, which moves
        last access times, and trees are usually compared with each other."""
        lines = self.run('tree', *(['--versions'] if versions else []), root)
        if not lines[0]['exists']:
            return None
        prefix = lines[0]['path'].rstrip('\\') + '\\'
        entries = {}
        for line in lines[1:]:
            info = FileInfo.from_line(line)
            entries[info.path[len(prefix):]] = info
        return entries

    def dll_version(self, path):
        """'major.minor.build' from the library's DllGetVersion, or None when it has none."""
        return self.run('dll-version', path)[0]['version']

    def reg_query(self, root, key, value):
        """A RegValue, or None when the value or its key is missing."""
        line = self.run('reg-query', root, key, value)[0]
        if not line['exists']:
            return None
        return RegValue(line['type'], bytes.fromhex(line['data']))

    def reg_key(self, root, key):
        """The key's values {name: RegValue} and subkey names, or None when it is missing."""
        line = self.run('reg-query', root, key)[0]
        if not line['exists']:
            return None
        values = {v['name']: RegValue(v['type'], bytes.fromhex(v['data']))
                  for v in line['values']}
        return values, line['subkeys']

    def shared_count(self, path):
        """The SharedDLLs count of path (a REG_DWORD), or None when there is no value. A value of
        another type or size raises ProbeError: the system would misread it."""
        line = self.run('shared-count', path)[0]
        if not line['exists']:
            return None
        if line['count'] is None:
            raise ProbeError(f'shared count of {path} is not a REG_DWORD: type {line["type"]}, '
                             f'data {line["data"]}')
        return line['count']

    def pending_renames(self):
        """PendingFileRenameOperations as a list of (source, target) exactly as stored: paths
        with the \\??\\ prefix, a target starting with ! for a replacing move, '' for a
        deletion."""
        line = self.run('pending-renames')[0]
        return [(r['source'], r['target']) for r in line['renames']]

    def security(self, path):
        """The owner (a SID as text) and access list of a file or folder as GetNamedSecurityInfo
        reads it: {"owner", "protected", "entries": [{"type", "flags", "mask", "sid"}]}."""
        return self.run('security', path)[0]

    def grant(self, path, sid, mask):
        """Adds an entry allowing `mask` to `sid` (a SID as text) to the access list of path.
        Under Wine a file's security is its Unix mode: only the owner's and Everyone's (S-1-1-0)
        rights are kept."""
        self.run('grant', path, sid, mask)

    def short_path(self, path):
        """The path's short (8.3) form, as the system gives it."""
        return self.run('short-path', path)[0]['short']

    def deny_writes(self, root, key):
        """Everyone (administrators included) may no longer set values in the key or delete
        it: an entry denying that goes first in its access list."""
        self.run('deny-writes', root, key)

    def schedule_move(self, source, target=None):
        """MoveFileEx(source, target or NULL, REPLACE_EXISTING | DELAY_UNTIL_REBOOT)."""
        self.run('schedule-move', source, *([] if target is None else [target]))

    def set_times(self, path, created=None, accessed=None, written=None):
        """SetFileTime with the given FILETIMEs; None leaves a time as it is."""
        self.run('set-times', path,
                 *['-' if t is None else str(t) for t in (created, accessed, written)])

    @contextmanager
    def hold(self, path, timeout=30, seconds=600):
        """Keeps path open without sharing for the body of the with statement: writes, deletes
        and renames by others fail with a sharing violation. Waits up to `timeout` seconds for
        the probe to report the file open. Fails if the hold ended before the body did (after
        `seconds`)."""
        process = subprocess.Popen(self._command('hold', path, seconds), env=self.prefix.env,
                                   stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT, text=True)
        output = queue.Queue()
        seen = []

        def read():
            for raw in process.stdout:
                seen.append(raw.strip())
                output.put(raw)
            output.put(None)

        reader = threading.Thread(target=read, daemon=True)
        reader.start()

        def next_line(what):
            while True:
                try:
                    raw = output.get(timeout=timeout)
                except queue.Empty:
                    raise ProbeError(f'hold {path}: no {what} within {timeout} s; '
                                     f'output: {seen}') from None
                if raw is None:
                    raise ProbeError(f'hold {path}: the probe ended before {what}; output: {seen}')
                lines, _ = _lines(raw)
                if lines:
                    return lines[0]

        try:
            first = next_line('"held"')
            if not first.get('held'):
                raise ProbeError(f'hold {path}: {first}')
            try:
                yield
            finally:
                try:
                    process.stdin.write('release\n')
                    process.stdin.flush()
                except OSError:
                    pass
            last = next_line('"released"')
            if last.get('released') != 'asked':
                raise ProbeError(f'hold {path} ended before the test released it: {last}')
        finally:
            try:
                process.stdin.close()
            except OSError:
                pass
            try:
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
            reader.join(timeout=timeout)
            process.stdout.close()

    def shortcut(self, path):
        """The link file at path as the shell's link object reads it back (a Shortcut), or None
        when there is no file. A file that does not load as a link raises ProbeError."""
        line = self.run('shortcut', path)[0]
        if not line['exists']:
            return None
        return Shortcut(target=line['target'], target_item=line['target_item'],
                        arguments=line['arguments'],
                        working_folder=line['working_folder'], icon=line['icon'],
                        icon_index=line['icon_index'], show=line['show'],
                        stored_show=line['stored_show'], hotkey=line['hotkey'],
                        description=line['description'])


def restart(prefix, timeout=120):
    """Plays a restart of Windows in the prefix: every program in it ends (as at shutdown, so
    files they held are free), then `wineboot -r` runs what a start-up runs: the moves in
    PendingFileRenameOperations, the [Rename] section of wininit.ini and the RunOnce commands.
    Returns when wineboot has finished; raises on failure or after `timeout` seconds."""
    quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(['wineserver', '-k'], env=prefix.env, timeout=timeout, check=False, **quiet)
    subprocess.run(['wineserver', '-w'], env=prefix.env, timeout=timeout, check=True, **quiet)
    # A server that stays up again, as the prefix had one.
    subprocess.run(['wineserver', '-p'], env=prefix.env, timeout=timeout, check=True, **quiet)
    done = subprocess.run([prefix.wine, 'wineboot', '-r'], env=prefix.env, timeout=timeout,
                          **quiet)
    if done.returncode != 0:
        raise ProbeError(f'wineboot -r ended with {done.returncode}')


@dataclass(frozen=True)
class Shortcut:
    """A shell link's fields: show is the SW_ value the link object reports and stored_show the
    one in the file's header (Wine's link object reports SW_SHOWNORMAL for every loaded link),
    hotkey the hot key word (key in the low byte, HOTKEYF_ modifiers in the high byte),
    icon_index as stored; target_item is the target as the shell resolves it from the link's
    item list ('' when it has none)."""
    target: str
    target_item: str
    arguments: str
    working_folder: str
    icon: str
    icon_index: int
    show: int
    stored_show: int
    hotkey: int
    description: str
