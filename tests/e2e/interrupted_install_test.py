#!/usr/bin/env python3
"""A setup killed at any moment leaves a machine that is put back to exactly where it was.

Version 1 of a product (a few hundred small files, a large one, shortcuts, registry values, INI
entries, a file type, an uninstaller) is installed in a fresh Wine prefix, and the prefix saved
in that state. Version 2 (every file changed, more files and a second large one, values and
entries overwritten and added, another shortcut) is then started quietly again and again and its
engine's Wine process killed (SIGKILL) at one moment of the upgrade each time: inside a large
file, after the Nth file, in the registry and INI phases, while the uninstaller is written, when
the run is finishing. Each time the run's two marks must be there (the value under
Software\\Kelvara\\Interrupted naming the journal, and the RunOnce command that recovers it), and
the recovery, by that RunOnce command as written or by the next start of version 2, must leave
the machine as it was before the upgrade (the next start then installs version 2 in full): not
a file, value or entry changed, no KVR file or folder in the temporary folder or beside an
installed file, both marks gone. A recovery killed halfway is run again to the same end; a run
that ends normally leaves nothing behind; an uninstall killed halfway is run again to the end.

The default run kills at a sample of the moments; KELVARA_KILL_MOMENTS=all kills at every one
(or a comma-separated list of moment names picks some).

    interrupted_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                                <kelvara-build>
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, dump_image,  # noqa: E402
                             source_folder, toml_string)
from probe import SHARED_DLLS_KEY, Probe, RegValue  # noqa: E402
from system_snapshot import NO_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix, Run  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]

PRODUCT = 'Kelvara Interrupted'
SHORT = 'KelvaraInterrupted'
ROOT = 'C:\\Program Files\\Kelvara Interrupted'
PRODUCT_KEY = 'Software\\Kelvara Interrupted'
EXTENSION, FILE_TYPE = '.kvint', 'KelvaraInterrupted.Document'
UNINSTALL_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
RUN_ONCE_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce'
MARKS_KEY = 'Software\\Kelvara\\Interrupted'
RECOVERY_VALUE = f'!Kelvara recovery: {SHORT}'
# The registry keys the product, its marks and its uninstall entry touch, compared as they are
# (the marks' keys of both scopes: a machine-wide run's must not land in the user's).
SNAPSHOT_KEYS = [('HKLM', PRODUCT_KEY), ('HKCU', PRODUCT_KEY), ('HKCR', EXTENSION),
                 ('HKCR', FILE_TYPE), ('HKLM', 'Software\\Kelvara'), ('HKCU', 'Software\\Kelvara'),
                 ('HKLM', RUN_ONCE_KEY), ('HKCU', RUN_ONCE_KEY), ('HKLM', UNINSTALL_KEY),
                 ('HKLM', SHARED_DLLS_KEY)]
# What the rig itself puts into drive C (its programs, the images, the run logs).
IGNORED = ['rig', 'rig/*', 'images', 'images/*', 'logs', 'logs/*']
WRITTEN_1, WRITTEN_2 = 1_500_000_000, 1_600_000_000  # the two versions' file times
BIG_1, BIG_2, INTRO = 20_000_000, 22_000_000, 12_000_000  # the large files' sizes
MORE_VALUES, MORE_ENTRIES = 300, 200  # registry values and INI entries only version 2 has
RUN_TIMEOUT = 180
MOMENT_TIMEOUT = 90
SAMPLE = ['big-replaced-start', 'new-file-unfinished', 'files-140', 'registry-start',
          'finishing']
LOG_LINE = re.compile(r'\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ')


# ---- the product ----

def table(kind, fields):
    """One [[kind]] table of the project file; lists and numbers as TOML writes them."""
    def value(v):
        if isinstance(v, bool):
            return 'true' if v else 'false'
        if isinstance(v, int):
            return str(v)
        if isinstance(v, list):
            return '[' + ', '.join(value(x) for x in v) + ']'
        return toml_string(v)
    return '\n'.join([f'[[{kind}]]'] + [f'{k} = {value(v)}' for k, v in fields.items()]) + '\n\n'


def small_files(version):
    """The product's small files: {relative path: bytes}. Version 2 changes every one and adds
    some in the folders there were and in two new ones, so that its new files lie all along the
    order in which the files are written."""
    rng = random.Random(version)
    folders = {'bin': 25, 'data/a': 60, 'data/b': 60, 'docs': 25, 'plugins/one': 35,
               'plugins/two': 35}
    if version == 2:
        folders.update({'bin': 30, 'data/a': 68, 'docs': 30, 'data/c': 12, 'plugins/three': 12})
    files = {}
    for folder, count in folders.items():
        for i in range(count):
            head = f'{PRODUCT} {version}: {folder}/file-{i:03}\r\n'.encode()
            files[f'{folder}/file-{i:03}.dat'] = head + rng.randbytes(rng.randrange(200, 3000))
    return files


def project(version, work):
    """Version 1 or 2 of the product, its sources written under `work`."""
    written = WRITTEN_1 if version == 1 else WRITTEN_2
    rng = random.Random(10 + version)
    small = small_files(version)
    first = {p: d for p, d in small.items() if p.startswith(('bin/', 'data/a/', 'docs/'))}
    second = {p: d for p, d in small.items() if p not in first}
    big = {'data/big.bin': rng.randbytes(BIG_1 if version == 1 else BIG_2)}
    if version == 2:
        big['media/intro.bin'] = rng.randbytes(INTRO)
    groups = [
        FileGroup(source_folder(work / f'v{version}-first', first, written=written)),
        # Incompressible and stored: written at the speed of the disk, in many writes.
        FileGroup(source_folder(work / f'v{version}-big', big, written=written),
                  compression='stored'),
        FileGroup(source_folder(work / f'v{version}-second', second, written=written)),
    ]
    v = str(version)
    extra = []
    shortcuts = [('Kelvara Interrupted', 'bin\\file-000.dat'), ('Read me', 'docs\\file-000.dat')]
    if version == 2:
        shortcuts.insert(1, ('Tools', 'bin\\file-001.dat'))
    for name, target in shortcuts:
        extra.append(table('shortcuts', {
            'path': f'<Programs>\\%ShortcutsGroup%\\{name}.lnk',
            'target': f'%InstallPath%\\{target}', 'arguments': f'/version {v}'}))
    extra.append(table('shortcuts', {'path': f'<Desktop>\\{PRODUCT}.lnk',
                                     'target': '%InstallPath%\\bin\\file-000.dat',
                                     'arguments': f'/version {v}'}))
    values = [
        {'root': 'HKLM', 'key': PRODUCT_KEY, 'name': 'InstallPath', 'value': '%InstallPath%'},
        {'root': 'HKLM', 'key': PRODUCT_KEY, 'name': 'Version', 'value': f'{v}.0'},
        {'root': 'HKLM', 'key': PRODUCT_KEY, 'name': 'Build', 'type': 'dword',
         'value': 100 * version},
        {'root': 'HKLM', 'key': PRODUCT_KEY, 'name': 'Stamp', 'type': 'binary',
         'value': ' '.join(f'{b:02x}' for b in rng.randbytes(16))},
        {'root': 'HKLM', 'key': PRODUCT_KEY, 'name': 'Paths', 'type': 'multi-string',
         'value': [f'%InstallPath%\\bin{v}', f'%InstallPath%\\data{v}']},
    ] + [{'root': 'HKCU', 'key': f'{PRODUCT_KEY}\\Settings', 'name': f'Setting{i:02}',
          'value': f'version {v} setting {i}'} for i in range(20)]
    if version == 2:
        values += [{'root': 'HKLM', 'key': f'{PRODUCT_KEY}\\Options', 'name': f'Option{i:03}',
                    'type': 'dword', 'value': i} for i in range(MORE_VALUES)]
    extra += [table('registry', fields) for fields in values]
    entries = [('%InstallPath%\\settings.ini', 'Main', 'Version', f'{v}.0'),
               ('%InstallPath%\\settings.ini', 'Main', 'Folder', '%InstallPath%'),
               ('kelvara-interrupted.ini', PRODUCT, 'Installed', f'{v}.0')]
    entries += [('%InstallPath%\\settings.ini', 'Paths', f'Path{i:02}',
                 f'%InstallPath%\\v{v}\\{i}') for i in range(10)]
    if version == 2:
        entries += [('%InstallPath%\\settings.ini', 'Extra', f'Entry{i:03}', f'extra {i}')
                    for i in range(MORE_ENTRIES)]
    extra += [table('ini', {'file': f, 'section': s, 'key': k, 'value': value})
              for f, s, k, value in entries]
    extra.append(table('associations', {
        'extension': EXTENSION, 'type': FILE_TYPE, 'content-type': 'application/x-kvint',
        'description': f'{PRODUCT} document {v}',
        'command': f'"%InstallPath%\\bin\\file-00{v}.dat" "%1"'}))
    return Project(PRODUCT, short_name=SHORT, product={'version': f'{v}.0'},
                   variables={'InstallPath': ROOT}, files=groups, uninstaller=True,
                   extra=''.join(extra))


def package_order(image):
    """The image's files in the order the engine writes them: [(path below ROOT, size)]."""
    order, stack, in_group = [], [], False
    for line in dump_image(BUILDER, image).splitlines():
        if line.startswith('group '):
            in_group, stack = True, []
            continue
        if not in_group or not line.startswith('  '):
            in_group = in_group and line.startswith('  ')
            continue
        depth = (len(line) - len(line.lstrip(' '))) // 2 - 1
        text = line.strip()
        stack = stack[:depth]
        if text.endswith('\\'):
            stack.append(text[:-1])
        else:
            found = re.match(r'(.+?)  (\d+) bytes', text)
            order.append(('/'.join(stack + [found.group(1)]), int(found.group(2))))
    return order


# ---- processes, logs and saved states of the prefix ----

def wine_processes(prefix):
    """The prefix's live processes: {Linux pid: (parent pid, argument list)}. A Windows
    process's arguments are those of its Windows command line, its program's path first."""
    found = {}
    mark = f'WINEPREFIX={prefix.path}'.encode()
    for entry in os.scandir('/proc'):
        if not entry.name.isdigit():
            continue
        try:
            with open(f'/proc/{entry.name}/environ', 'rb') as f:
                if mark not in f.read().split(b'\0'):
                    continue
            with open(f'/proc/{entry.name}/cmdline', 'rb') as f:
                arguments = [a.decode('latin-1') for a in f.read().split(b'\0')]
            with open(f'/proc/{entry.name}/stat') as f:
                fields = f.read().rsplit(')', 1)[1].split()
        except OSError:
            continue
        if fields[0] in 'ZX':
            continue
        while arguments and not arguments[-1]:
            arguments.pop()
        found[int(entry.name)] = (int(fields[1]), arguments)
    return found


def windows_process(prefix, matches):
    """The Linux pid of the one Windows process whose program path `matches` (a function of
    the path in lower case), or None while there is none or Wine is still making it (a process
    being made shows for a moment as two, the one that makes the other among them)."""
    candidates = {pid: parent for pid, (parent, arguments) in wine_processes(prefix).items()
                  if arguments and matches(arguments[0].strip('"').lower())}
    candidates = [pid for pid in candidates if pid not in candidates.values()]
    return candidates[0] if len(candidates) == 1 else None


def alive(pid):
    try:
        with open(f'/proc/{pid}/stat') as f:
            return f.read().rsplit(')', 1)[1].split()[0] not in 'ZX'
    except OSError:
        return False


def kill(pid, timeout=30):
    """SIGKILL to a Linux process; returns once it is dead (at once when it had ended)."""
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        return
    deadline = time.monotonic() + timeout
    while alive(pid):
        if time.monotonic() > deadline:
            raise AssertionError(f'process {pid} still alive {timeout} s after SIGKILL')
        time.sleep(0.01)


class Started:
    """A program started under the UI driver (as Prefix.run does) that runs while the test
    watches it; finish() waits for its end and gives the driver's Run."""

    def __init__(self, prefix, program, args=(), timeout=RUN_TIMEOUT, follow=False,
                 as_written=False):
        command = [prefix.wine, prefix._driver(DRIVER), '--timeout', str(timeout)]
        command += ['--follow'] if follow else []
        command += ['--as-written'] if as_written else []
        command += ['--', program, *args]
        self.timeout = timeout
        self.out = tempfile.TemporaryFile('w+')
        self.err = tempfile.TemporaryFile('w+')
        self.process = subprocess.Popen(command, env=prefix.env, stdin=subprocess.DEVNULL,
                                        stdout=self.out, stderr=self.err, text=True)

    def running(self):
        return self.process.poll() is None

    def finish(self, timeout=None):
        try:
            self.process.wait(timeout=timeout or self.timeout + 60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.out.seek(0)
        self.err.seek(0)
        run = Run(self.out.read(), f'[driver exit {self.process.returncode}; stderr: '
                                   f'{self.err.read().strip()}]')
        self.out.close()
        self.err.close()
        return run


class RunLog:
    """A run log as it grows: the texts of its complete lines, without their times."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.rest = b''
        self.lines = []
        self.faults = []  # what a moment's watch saw go wrong while the run went on
        self.journal = None  # the host path of the journal it names, its size and lines read
        self.journal_read = (0, 0)
        self.journal_at_kill = None  # its bytes once the run was killed

    def refresh(self):
        try:
            with open(self.path, 'rb') as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return self.lines
        self.offset += len(data)
        *complete, self.rest = (self.rest + data).split(b'\n')
        for raw in complete:
            text = raw.rstrip(b'\r').decode('latin-1')
            self.lines.append(text[24:] if LOG_LINE.match(text) else text)
        return self.lines

    def has(self, text):
        return text in self.lines

    def journal_lines(self, host):
        """The number of lines in the journal the run log names so far (`host` maps its path
        to the host's), or None while it names none."""
        if self.journal is None:
            named = self.first('journal: ')
            if named is None:
                return None
            self.journal = host(named)
        offset, count = self.journal_read
        try:
            with open(self.journal, 'rb') as f:
                f.seek(offset)
                data = f.read()
        except OSError:
            return count
        self.journal_read = (offset + len(data), count + data.count(b'\n'))
        return self.journal_read[1]

    def first(self, start):
        """The rest of the first line that starts with `start`, or None."""
        return next((line[len(start):] for line in self.lines if line.startswith(start)), None)

    def phase(self):
        """The last phase the run log names."""
        return next((line for line in reversed(self.lines) if line.startswith('phase: ')), None)

    def tail(self, count=8):
        return '\n    '.join(self.lines[-count:]) or '(nothing)'


class SavedStates:
    """States of an overlay prefix kept to go back to: saved, the prefix's changes since its
    template are copied aside; restored, the prefix is mounted again on that copy and the
    template with nothing changed above them. Wine's server is stopped meanwhile (so that the
    registry is on disk) and started again as the prefix had it."""

    def __init__(self, prefix):
        self.prefix = prefix
        options = None
        with open('/proc/mounts') as mounts:
            for line in mounts:
                fields = line.split()
                if fields[1] == str(prefix.path) and fields[2] == 'overlay':
                    options = dict(o.split('=', 1) for o in fields[3].split(',') if '=' in o)
        if not options or ':' in options.get('lowerdir', ':'):
            raise unittest.SkipTest('going back to a saved state needs the prefix as an '
                                    'overlay on its template (root and overlayfs)')
        self.template = options['lowerdir']
        self.upper, self.work = Path(options['upperdir']), Path(options['workdir'])
        self.folder = self.upper.parent / 'states'
        self.folder.mkdir(exist_ok=True)

    def _quiet(self, *command, check=True, timeout=180):
        # Output to a file: the server (and the services a first program starts) would hold a
        # pipe open for as long as they live.
        with tempfile.TemporaryFile('w+') as err:
            done = subprocess.run(list(command), env=self.prefix.env, stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=err, text=True,
                                  timeout=timeout)
            err.seek(0)
            if check and done.returncode != 0:
                raise AssertionError(f'{" ".join(map(str, command))} failed '
                                     f'({done.returncode}): {err.read().strip()}')

    def stop(self):
        self._quiet('wineserver', '-k', check=False)
        self._quiet('wineserver', '-w', check=False)

    def start(self):
        self._quiet('wineserver', '-p')
        self._quiet(self.prefix.wine, 'cmd', '/c', 'exit', check=False)

    def save(self, name):
        self.stop()
        target = self.folder / name
        shutil.rmtree(target, ignore_errors=True)
        self._quiet('cp', '-a', str(self.upper), str(target))
        self.start()

    def restore(self, name):
        self.stop()
        for _ in range(50):
            if subprocess.run(['mountpoint', '-q', str(self.prefix.path)]).returncode != 0:
                break
            if subprocess.run(['umount', str(self.prefix.path)], capture_output=True
                              ).returncode != 0:
                time.sleep(0.2)  # Wine's last processes still hold it: asked again
        else:
            raise AssertionError(f'{self.prefix.path} stays mounted')
        for folder in (self.upper, self.work):
            shutil.rmtree(folder)
            folder.mkdir()
        self._quiet('mount', '-t', 'overlay', 'overlay', '-o',
                    f'lowerdir={self.folder / name}:{self.template},upperdir={self.upper},'
                    f'workdir={self.work}', str(self.prefix.path))
        self.start()


# ---- what a moment is ----

@dataclass
class Moment:
    """A moment of the upgrade to kill it at. `reached` is asked again and again while the run
    goes on: it tells what it sees once the moment has come (else None). `kept`, asked after
    the kill, tells why the machine is not in the moment's state after all (else None): the kill
    came too late, and the moment is tried again. `way` is how the interrupted run is then
    recovered: 'RunOnce' (its command as written) or 'next setup' (version 2 started again)."""
    name: str
    way: str
    what: str
    reached: object
    kept: object = None


class InterruptedInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix='interrupted-install-'))
        try:
            cls.image_files = {}
            for version in (1, 2):
                image = build_image(BUILDER, ENGINE, project(version, cls.work / 'sources'),
                                    cls.work / f'v{version}')
                cls.image_files[version] = image
            cls.order = package_order(cls.image_files[2])
        except BaseException:
            shutil.rmtree(cls.work, ignore_errors=True)
            raise
        cls.prefix = Prefix(BUILD, ARCH, 'interrupted-install')
        try:
            cls.states = SavedStates(cls.prefix)
            cls.probe = Probe(cls.prefix, PROBE)
            cls.images = {v: cls.prefix.put(f'images/v{v}.exe', image.read_bytes())
                          for v, image in cls.image_files.items()}
            (cls.prefix.drive_c / 'logs').mkdir()
            temp = subprocess.run([cls.prefix.wine, 'cmd', '/c', 'echo %TEMP%'],
                                  env=cls.prefix.env, capture_output=True, text=True,
                                  stdin=subprocess.DEVNULL, timeout=120).stdout.strip()
            cls.temp = temp.rstrip('\\')
            # Wine makes some shell folders (My Video) the first time a program asks for them:
            # a wizard run cancelled at once asks first, so that they are not taken for what
            # the product left.
            cancelled = cls.prefix.run(DRIVER, cls.images[1], [], presses=('Cancel', 'Yes'),
                                       timeout=RUN_TIMEOUT)
            if cancelled.exit_code != 1602:
                raise AssertionError(f'the cancelled wizard: {cancelled.output}')
            cls.without_product = cls.snapshot_of()
            run = cls.prefix.run(DRIVER, cls.images[1], ['/QUIET', '/LOG=C:\\logs\\v1.txt'],
                                 timeout=RUN_TIMEOUT)
            if (run.exit_code, run.windows) != (0, []):
                raise AssertionError(f'version 1 did not install: {run.output}')
            cls.states.save('v1')
            cls.states.restore('v1')
            cls.before = cls.snapshot_of()
        except BaseException:
            cls.prefix.close()
            shutil.rmtree(cls.work, ignore_errors=True)
            raise

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    # ---- paths and states ----

    def host(self, windows_path):
        """The host path of a C:\\ path, its names matched without regard to letter case as
        Windows matches them."""
        path = self.prefix.drive_c
        for name in windows_path[3:].replace('/', '\\').split('\\'):
            if not name:
                continue
            if not (path / name).exists() and path.is_dir():
                name = next((n for n in os.listdir(path) if n.lower() == name.lower()), name)
            path = path / name
        return path

    def installed(self, relative):
        return self.host(f'{ROOT}\\{relative}')

    @classmethod
    def snapshot_of(cls):
        return snapshot(cls.prefix, cls.probe, SNAPSHOT_KEYS, IGNORED)

    def landed(self, relative, size):
        """Whether version 2's file is in place whole."""
        try:
            info = self.installed(relative).stat()
        except OSError:
            return False
        return info.st_size == size and int(info.st_mtime) == WRITTEN_2

    def landed_count(self):
        return sum(self.landed(relative, size) for relative, size in self.order)

    def kvr_names(self, files):
        """The snapshot's paths that are KVR files or folders, or lie in one."""
        return sorted(p for p in files if any(part.lower().startswith('kvr')
                                              for part in p.split('/')))

    def temp_relative(self):
        return self.temp[3:].replace('\\', '/').lower()

    # ---- what differs, told ----

    @staticmethod
    def shown(value):
        if value is None:
            return '(none)'
        data = value.value if isinstance(value, RegValue) else value
        text = repr(data)
        return text if len(text) <= 90 else text[:87] + '...'

    def told(self, difference, before, after, limit=12):
        """The differences between two snapshots, with the values and file facts behind them."""
        (files_before, registry_before), (files_after, registry_after) = before, after
        lines = []

        def some(items):
            items = list(items)
            return items[:limit] + ([f'... and {len(items) - limit} more'] if
                                    len(items) > limit else [])

        for what in ('files left behind', 'files lost'):
            if difference[what]:
                lines.append(f'{what} ({len(difference[what])}): ' +
                             ', '.join(some(difference[what])))
        if difference['files changed']:
            lines.append(f'files changed ({len(difference["files changed"])}): ' + ', '.join(
                some(f'{p} (size {files_before[p][1]} -> {files_after[p][1]}, written '
                     f'{files_before[p][2] // 10**9} -> {files_after[p][2] // 10**9})'
                     for p in difference['files changed'])))
        for key in difference['registry keys changed']:
            old, new = registry_before.get(key), registry_after.get(key)
            if old is None or new is None:
                lines.append(f'key {key[0]}\\{key[1]} ' + ('made' if old is None else 'gone') +
                             f' ({len(old or new)} values)')
                continue
            values = [f'{n}: {self.shown(old.get(n))} -> {self.shown(new.get(n))}'
                      for n in sorted(set(old) | set(new)) if old.get(n) != new.get(n)]
            lines.append(f'key {key[0]}\\{key[1]}: ' + '; '.join(some(values)))
        return '\n    '.join(lines)

    def as_v2(self, after):
        """What differs between the machine and a normal upgrade to version 2 (the reference):
        every file's presence and size, the packaged files' times, the bytes of the files the
        run writes itself (the install log, the INI files, ...), and every value."""
        files_ref, registry_ref = self.reference
        files_now, registry_now = after
        problems = []

        def facts(entry):
            folder, size, written = entry
            return folder, size, written if written // 10**9 in (WRITTEN_1, WRITTEN_2) else None

        missing = sorted(files_ref.keys() - files_now.keys())
        extra = sorted(files_now.keys() - files_ref.keys())
        differing = sorted(p for p in files_ref.keys() & files_now.keys()
                           if facts(files_ref[p]) != facts(files_now[p]) or
                           self.reference_bytes.get(p, b'') != (
                               (self.prefix.drive_c / p).read_bytes()
                               if p in self.reference_bytes else b''))
        for what, paths in (('missing', missing), ('not there after a normal upgrade', extra),
                            ('different', differing)):
            if paths:
                problems.append(f'files {what} ({len(paths)}): {", ".join(paths[:12])}' +
                                (' ...' if len(paths) > 12 else ''))
        keys = sorted(set(registry_ref) | set(registry_now))
        for key in keys:
            if registry_ref.get(key) != registry_now.get(key):
                old, new = registry_ref.get(key) or {}, registry_now.get(key) or {}
                values = [f'{n}: {self.shown(old.get(n))} -> {self.shown(new.get(n))}'
                          for n in sorted(set(old) | set(new)) if old.get(n) != new.get(n)]
                problems.append(f'key {key[0]}\\{key[1]} (normal upgrade -> now): ' +
                                '; '.join(values[:12]))
        return problems

    # ---- the marks ----

    def marks(self):
        """(the Interrupted value's data, the RunOnce value's data, notes): the marks where a
        machine-wide run keeps them; a note tells where else they were found."""
        found = []
        for root in ('HKLM', 'HKCU'):
            journal = self.probe.reg_query(root, MARKS_KEY, SHORT)
            command = self.probe.reg_query(root, RUN_ONCE_KEY, RECOVERY_VALUE)
            found.append((root, journal and journal.value, command and command.value))
            if root == 'HKLM' and (journal or command):
                break
        notes = [f'{root}: Interrupted={j!r}, RunOnce={c!r}' for root, j, c in found[1:]
                 if j or c]
        return found[0][1], found[0][2], notes

    def marks_in(self, state):
        """The marks a snapshot holds, wherever they are: ['HKLM\\...: name = data']."""
        left = []
        for (root, key), values in state[1].items():
            for name, value in values.items():
                if (key.lower().endswith('kelvara\\interrupted') or
                        (key.lower().endswith('runonce') and name.startswith('!Kelvara'))):
                    left.append(f'{root}\\{key}: {name} = {self.shown(value)}')
        return left

    def check_marks(self, log, problems):
        """The marks of an interrupted run (its run log at `log`): both there, the RunOnce
        command as the engine writes it. Returns the RunOnce data, or None."""
        journal, command, notes = self.marks()
        named = log.first('journal: ')
        where = f' (elsewhere: {"; ".join(notes)})' if notes else ''
        if journal is None:
            problems.append(f'no value {SHORT} under HKLM\\{MARKS_KEY}{where}')
        if command is None:
            problems.append(f'no value "{RECOVERY_VALUE}" under HKLM\\{RUN_ONCE_KEY}{where}')
        if named is None:
            problems.append('the run log has no "journal: " line')
        if journal is not None:
            if named is not None and journal.lower() != named.lower():
                problems.append(f'the Interrupted value names {journal}, the run log {named}')
            folder = journal.rsplit('\\', 1)[0]
            if (folder.rsplit('\\', 1)[0].lower() != self.temp.lower() or
                    not folder.rsplit('\\', 1)[-1].upper().startswith('KVR')):
                problems.append(f'the journal {journal} is not in a KVR folder directly in the '
                                f'user\'s temporary folder {self.temp}')
            elif not self.host(journal).is_file():
                problems.append(f'the journal {journal} is not there')
        if command is None:
            return None
        form = re.fullmatch(r'"([^"]+)" /QUIET /RECOVER="([^"]+)"(?: /LOG="([^"]+)")?', command)
        if not form:
            problems.append(f'the RunOnce command is not "<copy>" /QUIET /RECOVER="<journal>" '
                            f'/LOG="<log>": {command}')
            return command
        program, recover, log_file = form.groups()
        if journal is not None and recover.lower() != journal.lower():
            problems.append(f'the RunOnce command recovers {recover}, the journal is {journal}')
        if (log_file or '').lower() != self.log_windows(log).lower():
            problems.append(f'the RunOnce command logs to {log_file}, the run to '
                            f'{self.log_windows(log)}')
        if journal is not None and program.rsplit('\\', 1)[0].lower() != \
                journal.rsplit('\\', 1)[0].lower():
            problems.append(f'the RunOnce program {program} is not in the run\'s temporary '
                            f'folder beside the journal {journal}')
        copy = self.host(program)
        if not copy.is_file() or copy.read_bytes()[:2] != b'MZ':
            problems.append(f'the RunOnce program {program} is no program file there')
        return command

    def log_windows(self, log):
        return 'C:\\' + str(Path(log.path).relative_to(self.prefix.drive_c)).replace('/', '\\')

    # ---- the moments ----

    def partial(self, folder, name, full, least):
        """A function telling the file `name` in the installation's `folder` (or its temporary
        sibling there) being written: between `least` and full-1 bytes, and not the file that
        was there."""
        host = self.installed(folder)
        old = self.before[0].get(f'{ROOT[3:]}\\{folder}\\{name}'.replace('\\', '/'))
        looked_at = set()

        def seen(log):
            try:
                entries = list(os.scandir(host))
            except OSError:
                return None
            for entry in entries:
                try:
                    info = entry.stat()
                except OSError:
                    continue
                sibling = entry.name.lower().startswith('kvr')
                if entry.name.lower() != name.lower() and not sibling:
                    continue
                path = f'{ROOT}\\{folder}\\{entry.name}'
                if sibling and (id(log), path) not in looked_at:
                    # Read after the file was seen (see journal_names).
                    looked_at.add((id(log), path))
                    if self.journal_names(log, path) is False:
                        log.faults.append(f'the temporary sibling {path} was there before the '
                                          f'journal named it')
                if not entry.is_file() or not least <= info.st_size < full:
                    continue
                if not sibling and old and (info.st_size, info.st_mtime_ns) == old[1:]:
                    continue
                what = 'its temporary sibling ' if sibling else ''
                return f'{what}{folder}\\{entry.name} at {info.st_size:,} of {full:,} bytes'
            return None
        return seen

    def journal_names(self, log, path):
        """Whether the journal the run log names holds the path (None: no journal yet). Asked
        after the file was seen: a journal that does not name it then was written after the
        change, and a kill in between leaves the file to no one."""
        named = log.first('journal: ')
        try:
            text = self.host(named).read_bytes() if named else None
        except OSError:
            text = None
        if text is None:
            return None
        return path.replace('/', '\\').lower().encode('latin-1') in text.lower()

    def moments(self):
        """The twenty moments, in the order of the upgrade."""
        order = self.order
        v2_files = len(order)
        settings = self.installed('settings.ini')
        tools = next(p for p in self.reference[0] if p.endswith('/Tools.lnk'))

        def not_done(log):
            if log.has('installation: completed') or any(
                    line.startswith('exit code') for line in log.lines):
                return f'the run had completed ({log.phase()})'
            return None

        def line(text):
            return lambda log: text if log.has(text) else None

        def after_files(count):
            relative, size = order[count - 1]

            def reached(log):
                if self.landed(relative, size):
                    return f'file {count} of {v2_files} ({relative}) in place'
                return None

            def kept(log):
                if count < v2_files and self.landed_count() == v2_files:
                    return 'every file had been written'
                return not_done(log)
            return Moment(f'files-{count}', '', f'after file {count} of {v2_files}',
                          reached, kept)

        def inside(name, folder, file, full, least, what):
            seen = self.partial(folder, file, full, least)
            return Moment(name, '', what, seen,
                          lambda log: None if seen(log) else 'the file had been written whole')

        registry = {}

        def registry_mid(log):
            if not log.has('phase: registry values'):
                return None
            count = log.journal_lines(self.host)
            if count is None:
                return None
            start = registry.setdefault(id(log), count)
            if count - start >= MORE_VALUES // 3:
                return f'{count - start} journal lines since the registry phase began'
            return None

        def extra_entries():
            try:
                return len(re.findall(rb'(?m)^Entry\d{3}=', settings.read_bytes()))
            except OSError:
                return 0

        def ini_mid(log):
            count = extra_entries()
            if MORE_ENTRIES // 3 <= count < MORE_ENTRIES:
                return f'{count} of the {MORE_ENTRIES} new INI entries written'
            return None

        # Version 2's new small files, in the order they are written: the first one not yet in
        # place is looked at (they are made one after the other).
        new_small = [(p, size) for p, size in order if p not in small_files(1) and
                     size < INTRO]
        next_new = {}

        def new_file_unfinished(log):
            index = next_new.setdefault(id(log), 0)
            while index < len(new_small):
                relative, size = new_small[index]
                try:
                    info = self.installed(relative).stat()
                except OSError:
                    break
                if info.st_size == size and int(info.st_mtime) == WRITTEN_2:
                    index += 1
                    continue
                seen = f'new file {relative} made, {info.st_size} of {size} bytes written'
                path = f'{ROOT}\\{relative}'.replace('/', '\\')
                if self.journal_names(log, path) is False:
                    log.faults.append(f'the new file {path} was there before the journal named '
                                      f'it')
                    seen += ', not named in the journal yet'
                return seen
            next_new[id(log)] = index
            # Seen whole each time it was looked at: the files are over, and the kill comes
            # as the run goes on from them.
            if log.has('phase: uninstaller') or log.has('phase: shortcuts'):
                return f'{log.phase()}: no new file was seen unfinished'
            return None

        def in_phase(text):
            return lambda log: (None if log.phase() == text else
                                f'the run had gone on to {log.phase()}') or not_done(log)

        moments = [
            Moment('journal-start', '', 'the journal begun, nothing changed yet',
                   lambda log: 'journal: ' + log.first('journal: ')
                   if log.first('journal: ') else None,
                   lambda log: 'a file had been written' if self.landed(*order[0]) else None),
            inside('big-replaced-start', 'data', 'big.bin', BIG_2, 1,
                   'inside the large file that replaces one, its first bytes'),
            inside('big-replaced-late', 'data', 'big.bin', BIG_2, BIG_2 // 2,
                   'inside the large file that replaces one, past its half'),
            inside('big-new-start', 'media', 'intro.bin', INTRO, 1,
                   'inside the new large file, its first bytes'),
            inside('big-new-late', 'media', 'intro.bin', INTRO, INTRO * 2 // 3,
                   'inside the new large file, past two thirds'),
            Moment('new-file-unfinished', '', 'a new file made, not yet whole',
                   new_file_unfinished),
            *(after_files(n) for n in (1, 60, 140, 220, v2_files)),
            Moment('shortcuts-start', '', 'as the shortcuts are made',
                   line('phase: shortcuts'), not_done),
            Moment('shortcuts-new', '', 'the new shortcut made',
                   lambda log: 'Tools.lnk made' if (self.prefix.drive_c / tools).exists()
                   else None, not_done),
            Moment('registry-start', '', 'as the registry values are written',
                   line('phase: registry values'), not_done),
            Moment('registry-middle', '', 'in the middle of the registry values',
                   registry_mid, in_phase('phase: registry values')),
            Moment('ini-start', '', 'as the INI entries are written', line('phase: INI entries'),
                   not_done),
            Moment('ini-middle', '', 'in the middle of the INI entries', ini_mid,
                   lambda log: None if ini_mid(log) else
                   f'{extra_entries()} of the new INI entries were written'),
            Moment('associations', '', 'as the file type is registered',
                   line('phase: file associations'), not_done),
            Moment('uninstaller', '', 'as the uninstaller is written', line('phase: uninstaller'),
                   not_done),
            Moment('finishing', '', 'as the run finishes', line('phase: finishing'), not_done),
        ]
        # Half are recovered by the RunOnce command, half by the next setup, alternating along
        # the upgrade (the sample has both).
        for i, moment in enumerate(moments):
            moment.way = 'RunOnce' if i % 2 else 'next setup'
        by_name = {m.name: m for m in moments}
        by_name['uninstaller'].way, by_name['finishing'].way = 'RunOnce', 'next setup'
        return moments

    def chosen_moments(self):
        moments = self.moments()
        asked = os.environ.get('KELVARA_KILL_MOMENTS', '').strip()
        if asked == 'all':
            return moments
        names = [n.strip() for n in asked.split(',') if n.strip()] if asked else SAMPLE
        unknown = sorted(set(names) - {m.name for m in moments})
        if unknown:
            raise AssertionError(f'KELVARA_KILL_MOMENTS names no moment {unknown}; the moments: '
                                 f'{", ".join(m.name for m in moments)}')
        return [m for m in moments if m.name in names]

    # ---- killing a run ----

    def run_until(self, started, log, reached, matches, what, timeout=MOMENT_TIMEOUT):
        """Watches a started run until `reached` (asked with the run log) sees its moment, then
        kills the Windows process `matches` names. Returns (what was seen, the killed pid, the
        driver's Run, seconds from the start)."""
        start = time.monotonic()
        pid, seen = None, None
        while seen is None:
            log.refresh()
            if pid is None:
                pid = windows_process(self.prefix, matches)
            elif not alive(pid):
                pid = None  # ended (or was only a step of its making): looked for again
            if pid is not None:
                seen = reached(log)
                if seen:
                    break
            if not started.running():
                run = started.finish()
                self.fail(f'the run ended (exit {run.exit_code}) before {what}; run log:\n    '
                          f'{log.tail()}\n  driver: {run.output[-600:]}')
            if time.monotonic() - start > timeout:
                run = started.finish(1)
                self.fail(f'{what}: not within {timeout} s; run log:\n    {log.tail()}')
            time.sleep(0.0005)
        kill(pid)
        elapsed = time.monotonic() - start
        run = started.finish(60)
        if run.timed_out or run.exit_code is None:
            self.fail(f'the driver did not see the killed process end: {run.output}')
        self.assertIsNone(windows_process(self.prefix, matches), 'the killed process lives on')
        log.refresh()
        return seen, pid, run, elapsed

    def kill_upgrade(self, moment, tries=3):
        """Starts the upgrade from version 1 and kills it at the moment (tried again from
        version 1 when the kill came too late). Returns the run log and a line on what it
        killed."""
        image = self.images[2].lower()
        for attempt in range(1, tries + 1):
            self.states.restore('v1')
            name = f'C:\\logs\\{moment.name}-{attempt}.txt'
            log = RunLog(self.host(name))
            started = Started(self.prefix, self.images[2], ['/QUIET', f'/LOG={name}'])
            seen, pid, run, elapsed = self.run_until(
                started, log, moment.reached, lambda path: path == image, moment.what)
            missed = moment.kept(log) if moment.kept else None
            journal = log.first('journal: ')
            try:
                log.journal_at_kill = self.host(journal).read_bytes() if journal else None
            except OSError:
                log.journal_at_kill = None
            lines = None if log.journal_at_kill is None else log.journal_at_kill.count(b'\n')
            state = (f'killed pid {pid} after {elapsed:.2f} s at: {seen}; v2 files in place: '
                     f'{self.landed_count()} of {len(self.order)}; last phase: {log.phase()}; '
                     f'journal lines: {lines}; exit code seen: {run.exit_code}')
            if missed is None:
                return log, state
            print(f'    try {attempt}: {state}; but {missed}: again', flush=True)
        self.fail(f'{moment.name}: the kill came too late {tries} times')

    # ---- recovering ----

    def recover_by_run_once(self, log, command, problems):
        """Runs the RunOnce command as the next logon would."""
        start = time.monotonic()
        run = self.prefix.run(DRIVER, command, as_written=True, timeout=RUN_TIMEOUT)
        lines_before = len(log.lines)
        log.refresh()
        new = log.lines[lines_before:]
        if run.timed_out or run.windows or run.exit_code != 0:
            problems.append(f'the RunOnce command: exit {run.exit_code}, windows '
                            f'{[w["text"] for w in run.windows]}: {run.output[-400:]}')
        if 'recovery: done' not in new:
            problems.append('the run log has no "recovery: done" from the RunOnce command; it '
                            'says:\n    ' + '\n    '.join(new[-8:]))
        return (f'RunOnce command: exit {run.exit_code} in {time.monotonic() - start:.1f} s, '
                f'{sum(line.startswith("recovery: ") for line in new)} recovery lines')

    def recover_by_next_setup(self, name, problems):
        """Starts version 2 again quietly: it recovers, then installs."""
        start = time.monotonic()
        path = f'C:\\logs\\{name}-next.txt'
        run = self.prefix.run(DRIVER, self.images[2], ['/QUIET', f'/LOG={path}'],
                              timeout=RUN_TIMEOUT)
        log = RunLog(self.host(path))
        lines = log.refresh()
        if run.timed_out or run.windows or run.exit_code != 0:
            problems.append(f'the next setup: exit {run.exit_code}, windows '
                            f'{[w["text"] for w in run.windows]}; run log:\n    {log.tail()}')
        recovery = [i for i, line in enumerate(lines) if line.startswith('recovery: ')]
        files = lines.index('phase: files') if 'phase: files' in lines else len(lines)
        if 'recovery: done' not in lines:
            problems.append('the next setup\'s run log has no "recovery: done"; it says:\n    ' +
                            '\n    '.join(lines[:12]))
        elif lines.index('recovery: done') > files:
            problems.append('the next setup wrote files before it had recovered')
        return (f'next setup: exit {run.exit_code} in {time.monotonic() - start:.1f} s, '
                f'{len(recovery)} recovery lines')

    def check_recovered(self, problems, installed_v2, log):
        """The end state: as before the upgrade (or as after a normal one, when the next setup
        recovered and installed), no KVR leftover, no mark. Files left that the journal did
        not name when the run was killed (`log` kept it) are told apart."""
        after = self.snapshot_of()
        if installed_v2:
            problems += [f'not as after a normal upgrade: {p}' for p in self.as_v2(after)]
        else:
            difference = changes(self.before, after)
            if difference != NO_CHANGES:
                problems.append('not as before the upgrade:\n    ' +
                                self.told(difference, self.before, after))
        journal = (log.journal_at_kill or b'').lower()
        expected = (self.reference if installed_v2 else self.before)[0]
        unnamed = ['C:\\' + p.replace('/', '\\') for p in sorted(after[0].keys() - expected.keys())
                   if not after[0][p][0]]
        unnamed = [p for p in unnamed if p.lower().encode('latin-1') not in journal]
        if log.journal_at_kill is not None and unnamed:
            problems.append('there when the run was killed, never named in its journal: ' +
                            ', '.join(unnamed[:12]))
        leftovers = sorted(set(self.kvr_names(after[0])) - set(self.kvr_names(self.before[0])))
        if leftovers:
            temp = self.temp_relative()
            problems.append('KVR leftovers: ' + ', '.join(
                ('[temp] ' if p.lower().startswith(temp) else '') + p for p in leftovers[:12]))
        marks = self.marks_in(after)
        if marks:
            problems.append('marks left: ' + '; '.join(marks))
        return after

    def report(self, title, notes, problems):
        print(f'  {title}', flush=True)
        for note in notes:
            print(f'      {note}', flush=True)
        print('      found: ' + ('all as it should be' if not problems else
                                 f'{len(problems)} problems'), flush=True)
        if problems:
            self.fail(f'{title}:\n  - ' + '\n  - '.join(problems))

    # ---- tests ----

    def test_upgrades_killed_at_any_moment_are_recovered(self):
        started_at = time.monotonic()
        with self.subTest('a run that ends normally'):
            self.normal_upgrade()
        if not hasattr(self, 'reference'):
            self.fail('no normal upgrade to compare with')
        moments = self.chosen_moments()
        print(f'killing the upgrade at {len(moments)} moments', flush=True)
        for moment in moments:
            with self.subTest(moment.name):
                self.kill_and_recover(moment)
        with self.subTest('a recovery killed halfway'):
            self.recovery_killed_halfway()
        print(f'the upgrades: {time.monotonic() - started_at:.0f} s', flush=True)

    def normal_upgrade(self):
        """Version 2 over version 1 to its end: exit 0, the phases logged in order, no mark, no
        journal or other KVR file left. Its end state is the reference for the next setups."""
        start = time.monotonic()
        self.states.restore('v1')
        path = 'C:\\logs\\normal.txt'
        run = self.prefix.run(DRIVER, self.images[2], ['/QUIET', f'/LOG={path}'],
                              timeout=RUN_TIMEOUT)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        log = RunLog(self.host(path))
        lines = log.refresh()
        after = self.snapshot_of()
        type(self).reference = after
        # The bytes of the files the run writes itself: the install log, the INI files, ...
        own = ROOT[3:].replace('\\', '/').lower()
        type(self).reference_bytes = {
            p: (self.prefix.drive_c / p).read_bytes()
            for p, (folder, _, written) in after[0].items()
            if not folder and written // 10**9 not in (WRITTEN_1, WRITTEN_2) and
            (p.lower().startswith(own) or p.endswith('.ini'))}
        problems = []
        phases = [line for line in lines if line.startswith('phase: ')]
        expected = ['files', 'shortcuts', 'registry values', 'INI entries', 'file associations',
                    'uninstaller', 'finishing']
        missing = [p for p in expected if f'phase: {p}' not in phases]
        if missing:
            problems.append(f'the run log names no phase {missing}; its phases: {phases}')
        elif phases[-1] != 'phase: finishing':
            problems.append(f'"phase: finishing" is not the last phase: {phases}')
        journal = log.first('journal: ')
        if journal is None:
            problems.append('the run log has no "journal: " line')
        else:
            if 'phase: files' in lines and lines.index(f'journal: {journal}') > \
                    lines.index('phase: files'):
                problems.append('the journal is named only after the files phase began')
            if self.host(journal).exists():
                problems.append(f'the journal {journal} is still there')
        leftovers = sorted(set(self.kvr_names(after[0])) - set(self.kvr_names(self.before[0])))
        if leftovers:
            problems.append(f'KVR leftovers: {leftovers}')
        marks = self.marks_in(after)
        if marks:
            problems.append(f'marks left: {marks}')
        for relative, size in self.order:
            if not self.landed(relative, size):
                problems.append(f'version 2\'s {relative} is not in place')
                break
        self.report(f'normal upgrade ({time.monotonic() - start:.1f} s)',
                    [f'{len(self.order)} files, phases: {", ".join(p[7:] for p in phases)}'],
                    problems)

    def kill_and_recover(self, moment):
        start = time.monotonic()
        problems = []
        log, state = self.kill_upgrade(moment)
        notes = [state]
        problems += log.faults
        command = self.check_marks(log, problems)
        if command:
            notes.append(f'RunOnce: {command}')
        if moment.way == 'RunOnce':
            if command is None:
                # Nothing can recover it: what the kill left is shown.
                left = self.snapshot_of()
                problems.append('nothing to recover with; the kill left:\n    ' +
                                self.told(changes(self.before, left), self.before, left))
            else:
                notes.append(self.recover_by_run_once(log, command, problems))
                self.check_recovered(problems, False, log)
        else:
            notes.append(self.recover_by_next_setup(moment.name, problems))
            self.check_recovered(problems, True, log)
        self.report(f'{moment.name} ({moment.what}; recovered by the {moment.way}; '
                    f'{time.monotonic() - start:.1f} s)', notes, problems)

    def recovery_killed_halfway(self, tries=3):
        """An upgrade killed after many files, its recovery killed while it undoes them (some of
        version 2's new files gone, not all), then: a setup started without /QUIET asks first
        and, cancelled, changes nothing; the RunOnce command run again ends as one
        uninterrupted recovery would."""
        start = time.monotonic()
        new_files = [(p, s) for p, s in self.order if p not in small_files(1) and
                     p != 'media/intro.bin']
        moment = next(m for m in self.moments() if m.name == 'files-220')
        for attempt in range(1, tries + 1):
            problems = []
            log, state = self.kill_upgrade(moment)
            notes = [f'upgrade: {state}']
            command = self.check_marks(log, problems)
            quoted = re.match(r'"([^"]+)"', command or '')
            if not quoted:
                self.report('a recovery killed halfway', notes, problems)
            there = [p for p, s in new_files if self.landed(p, s)]
            program = quoted.group(1).lower()

            def halfway(log):
                if not any(line.startswith('recovery: ') for line in log.lines):
                    return None
                gone = sum(not self.installed(p).exists() for p in there)
                return f'{gone} of {len(there)} new files gone' if 0 < gone < len(there) else None

            recovery = Started(self.prefix, command, as_written=True)
            try:
                seen, pid, _, elapsed = self.run_until(
                    recovery, log, halfway, lambda path: path == program,
                    'the recovery halfway')
            except AssertionError as error:
                print(f'    try {attempt}: {error}', flush=True)
                continue
            gone = sum(not self.installed(p).exists() for p in there)
            if not 0 < gone < len(there):
                print(f'    try {attempt}: the recovery had gone on to the end', flush=True)
                continue
            notes.append(f'recovery: killed pid {pid} after {elapsed:.2f} s at: {seen}')
            break
        else:
            self.fail(f'no recovery could be killed halfway in {tries} tries')
        # The person starts the setup: asked first; Cancel leaves everything as it is.
        halfway_state = self.snapshot_of()
        asked = self.prefix.run(DRIVER, self.images[2], ['/LOG=C:\\logs\\asked.txt'],
                                presses=('Cancel',), timeout=RUN_TIMEOUT)
        texts = [(w['text'], w['buttons']) for w in asked.windows]
        notes.append(f'setup without /QUIET: exit {asked.exit_code}, windows {texts}')
        if asked.exit_code != 1602 or len(asked.windows) != 1 or \
                asked.windows[0]['buttons'] != 'OK|Cancel':
            problems.append(f'a setup started without /QUIET does not ask once with OK and '
                            f'Cancel and end with 1602 on Cancel: {asked.output[-600:]}')
        after_cancel = self.snapshot_of()
        cancelled = changes(halfway_state, after_cancel)
        if cancelled != NO_CHANGES:
            problems.append('the cancelled setup changed the machine:\n    ' +
                            self.told(cancelled, halfway_state, after_cancel))
        # Run again: the RunOnce command when it is still there, else the next setup.
        _, command_now, _ = self.marks()
        if command_now is not None:
            notes.append(self.recover_by_run_once(log, command_now, problems))
            self.check_recovered(problems, False, log)
        else:
            notes.append('the RunOnce value is gone after the killed recovery')
            notes.append(self.recover_by_next_setup('halfway', problems))
            self.check_recovered(problems, True, log)
        self.report(f'a recovery killed halfway ({time.monotonic() - start:.1f} s)', notes,
                    problems)

    def test_an_uninstall_killed_halfway_is_finished_by_running_it_again(self, tries=3):
        start = time.monotonic()
        uninstaller = f'{ROOT}\\uninstall.exe'
        temp = self.temp.lower() + '\\kvr'
        for attempt in range(1, tries + 1):
            self.states.restore('v1')
            run = self.prefix.run(DRIVER, self.images[2], ['/QUIET', '/LOG=C:\\logs\\v2.txt'],
                                  timeout=RUN_TIMEOUT)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            files = [p for p, _ in self.order]
            log = RunLog(self.host('C:\\logs\\uninstall-1.txt'))

            def halfway(log):
                gone = sum(not self.installed(p).exists() for p in files)
                return f'{gone} of {len(files)} files gone' if 0 < gone < len(files) else None

            started = Started(self.prefix, uninstaller,
                              ['/QUIET', '/LOG=C:\\logs\\uninstall-1.txt'], follow=True)
            seen, pid, run, elapsed = self.run_until(
                started, log, halfway, lambda path: path.startswith(temp),
                'the second stage halfway through the removal')
            gone = sum(not self.installed(p).exists() for p in files)
            if 0 < gone < len(files):
                break
            print(f'    try {attempt}: the removal had gone on to the end', flush=True)
        else:
            self.fail(f'no uninstall could be killed halfway in {tries} tries')
        notes = [f'second stage: killed pid {pid} after {elapsed:.2f} s at: {seen}; the first '
                 f'stage ended with {run.exit_code}']
        problems = []
        if run.exit_code == 0:
            # Its second stage ended without telling an outcome: the removal did not finish.
            problems.append('the uninstall whose second stage was killed halfway ended with exit '
                            '0, as if the product were removed')
        if not self.host(uninstaller).exists():
            problems.append('the uninstaller is gone before its files: it cannot be run again')
        else:
            again = self.prefix.run(DRIVER, uninstaller,
                                    ['/QUIET', '/LOG=C:\\logs\\uninstall-2.txt'],
                                    follow=True, timeout=RUN_TIMEOUT)
            notes.append(f'run again: exit {again.exit_code}')
            if again.timed_out or again.windows or again.exit_code != 0:
                second = RunLog(self.host('C:\\logs\\uninstall-2.txt'))
                second.refresh()
                problems.append(f'the uninstaller run again: exit {again.exit_code}, windows '
                                f'{[w["text"] for w in again.windows]}; run log:\n    '
                                f'{second.tail()}')
        after = self.snapshot_of()
        difference = changes(self.without_product, after)
        if difference != NO_CHANGES:
            problems.append('not as before the product was installed:\n    ' +
                            self.told(difference, self.without_product, after))
        temp_relative = self.temp_relative()
        leftovers = [p for p in self.kvr_names(after[0]) if p.lower().startswith(temp_relative)]
        if leftovers:
            problems.append(f'KVR leftovers in the temporary folder: {leftovers}')
        self.report(f'an uninstall killed halfway ({time.monotonic() - start:.1f} s)', notes,
                    problems)


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0], *sys.argv[7:]], verbosity=2)
