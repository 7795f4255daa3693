"""End-to-end test helpers: a private Wine prefix per test, and running programs in it through
the UI driver, which reports every window they show."""
import os
import queue
import re
import shutil
import subprocess
import tempfile
import threading
import time
from pathlib import Path

RIG = Path(__file__).resolve().parent

_WINDOW = re.compile(
    r'window class="(?P<cls>(?:[^"\\]|\\.)*)" caption="(?P<caption>(?:[^"\\]|\\.)*)" '
    r'text="(?P<text>(?:[^"\\]|\\.)*)" buttons="(?P<buttons>(?:[^"\\]|\\.)*)" '
    r'owner=(?P<owner>\d) style=(?P<style>0x[0-9a-f]+)')


def _unescape(text):
    """The driver's line texts: \\n, \\r, \\t, \\uXXXX (UTF-16 units) and escaped quotes."""
    def unit(m):
        if m.group(1).startswith('u'):
            return chr(int(m.group(1)[1:], 16))
        return {'n': '\n', 'r': '\r', 't': '\t'}.get(m.group(1), m.group(1))
    units = re.sub(r'\\(u[0-9a-fA-F]{4}|.)', unit, text)
    # A character past U+FFFF came as two surrogates.
    return units.encode('utf-16-le', 'surrogatepass').decode('utf-16-le', 'replace')


def picture_facts(path):
    """(width, height, number of distinct colours) of a picture, read by ImageMagick."""
    shown = subprocess.run(['identify', '-format', '%w %h %k', str(path)], check=True,
                           capture_output=True, text=True, timeout=60).stdout.split()
    return tuple(int(n) for n in shown)


class Run:
    """What one program run showed and how it ended."""

    def __init__(self, output, diagnostics=''):
        self.output = output + diagnostics
        self.windows = []
        self.exit_code = None
        self.timed_out = False
        for line in output.splitlines():
            match = _WINDOW.match(line)
            if match:
                window = {k: _unescape(v) for k, v in match.groupdict().items()}
                window['style'] = int(window['style'], 16)
                self.windows.append(window)
            elif line.startswith('exit '):
                self.exit_code = int(line.split()[1])
            elif line.strip() == 'timeout':
                self.timed_out = True


class Prefix:
    """A fresh copy of the build's clean prefix template; released on close."""

    def __init__(self, build_dir, arch, name):
        self.build_dir = Path(build_dir).resolve()
        self.arch = arch
        # The process id keeps two runs of one test (or two checkouts' runs) apart.
        self.path = self.build_dir / 'wine' / 'e2e' / f'{name}-{os.getpid()}'
        self.path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run([RIG / 'prefix.sh', 'clone', self.build_dir, arch, self.path], check=True)
        self.env = dict(os.environ, WINEPREFIX=str(self.path), WINEDEBUG='-all',
                        WINEDLLOVERRIDES='mscoree=;mshtml=;winemenubuilder.exe=d')
        if arch == 'x86_64':
            self.env.update(WINEARCH='win64', WINELOADER='/usr/lib/wine/wine64')
            self.wine = '/usr/lib/wine/wine64'
        else:
            self.env.update(WINEARCH='win32')
            self.wine = 'wine'
        self.drive_c = self.path / 'drive_c'
        # A server that stays up until close(): later program starts cost ~0.2 s instead of ~3 s.
        subprocess.run(['wineserver', '-p'], env=self.env, check=True)
        # The first program of a prefix starts Wine's background services, which inherit its
        # standard handles and live as long as the server: started here with no pipes attached,
        # they cannot hold a later run's captured output open.
        subprocess.run([self.wine, 'cmd', '/c', 'exit'], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180,
                       check=False)

    def close(self):
        subprocess.run([RIG / 'prefix.sh', 'release', self.path], check=False)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def set_dpi(self, dpi):
        """The screen's DPI for the programs started from now on (HKCU\\Control Panel\\Desktop,
        LogPixels)."""
        subprocess.run([self.wine, 'reg', 'add', 'HKCU\\Control Panel\\Desktop', '/v', 'LogPixels',
                        '/t', 'REG_DWORD', '/d', str(dpi), '/f'], env=self.env, check=True,
                       timeout=120, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def reg_value(self, key, name=None, view=None):
        """A value's data as the system's reg tool shows it (`name` None: the key's default
        value), in the 32-bit or 64-bit view when `view` is 32 or 64; None when the key or value
        is missing."""
        command = [self.wine, 'reg', 'query', key] + (['/ve'] if name is None else ['/v', name])
        if view:
            command.append(f'/reg:{view}')
        done = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=120,
                              stdin=subprocess.DEVNULL)
        if done.returncode != 0:
            return None
        for line in done.stdout.splitlines():
            parts = line.strip().split('    ')
            if len(parts) >= 3 and parts[1].startswith('REG_'):
                return parts[2]
        return ''

    def put(self, name, data):
        """Writes a file under C:\\ and returns its Windows path."""
        target = self.drive_c / name
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        return 'C:\\' + name.replace('/', '\\')

    def run(self, driver, program, args=(), presses=(), timeout=60, follow=False,
            verbatim=False, environment=None, as_written=False, restricted=False):
        """Runs a Windows program (a C:\\ path) under the UI driver. With follow, the programs
        it starts count as its own: their windows are reported and answered too, and the run
        ends when all of them have ended. With verbatim the arguments go into its command line
        as they are written, joined by blanks (else each is quoted where it needs to be); with
        as_written the program's path too (a stored command line, run as the system runs it).
        `environment` adds variables to the program's environment. With restricted the program
        runs without administrator rights (the Administrators group kept for denying only)."""
        driver_path = self._driver(driver)
        command = [self.wine, driver_path, '--timeout', str(timeout)]
        if restricted:
            command.append('--restricted')
        for press in presses:
            command += ['--press', press]
        if follow:
            command.append('--follow')
        if as_written:
            command.append('--as-written')
        elif verbatim:
            command.append('--verbatim')
        command += ['--', program, *args]
        # Output through files, not pipes: Wine services that start during the run (the desktop
        # window, the COM server) inherit the driver's standard handles and outlive it, so a pipe
        # would not reach its end until the prefix shuts down.
        with tempfile.TemporaryFile('w+') as out, tempfile.TemporaryFile('w+') as err:
            env = dict(self.env, **(environment or {}))
            done = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err, text=True, timeout=timeout + 60)
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        return Run(stdout, f'[driver exit {done.returncode}; stderr: {stderr.strip()}]')

    def _driver(self, driver):
        """The UI driver's Windows path, copied into the prefix on first use."""
        if not (self.drive_c / 'rig' / 'ui_driver.exe').exists():
            self.put('rig/ui_driver.exe', Path(driver).read_bytes())
        return 'C:\\rig\\ui_driver.exe'

    def session(self, driver, program, args=(), timeout=120, verbatim=False, as_written=False,
                restricted=False):
        """Starts a Windows program under the UI driver in interactive mode: a Session that
        waits for windows, reads and sets their controls, clicks tree items and takes
        screenshots, while the program (and whatever it starts) runs. Use it in a with
        statement; leaving it ends whatever still runs."""
        return Session(self, self._driver(driver), program, args, timeout, verbatim, as_written,
                       restricted)


_FIELD = re.compile(r'(\w+)=(?:"((?:[^"\\]|\\.)*)"|(\S+))')


def _fields(line):
    """The key=value fields of a driver line: quoted values unescaped, handles and numbers as
    int."""
    fields = {}
    for key, quoted, bare in _FIELD.findall(line):
        if bare:
            fields[key] = int(bare, 0) if re.fullmatch(r'-?(0x[0-9a-fA-F]+|\d+)', bare) else bare
        else:
            fields[key] = _unescape(quoted)
    return fields


class DriverError(AssertionError):
    """A command of the interactive driver failed (its message says why)."""


class Session:
    """The UI driver in interactive mode (see tests/rig/ui_driver.cpp for the commands).
    Windows are dicts of their report line's fields (handle, cls, caption, text, buttons, owner,
    style); controls are dicts keyed by their id; tree items dicts with depth, text, checked,
    expanded, kind, children and path (the texts from the top-level item down, a tuple)."""

    def __init__(self, prefix, driver_path, program, args, timeout, verbatim=False,
                 as_written=False, restricted=False):
        self.prefix = prefix
        self.timeout = timeout
        how = ['--as-written'] if as_written else ['--verbatim'] if verbatim else []
        if restricted:
            how.append('--restricted')
        command = [prefix.wine, driver_path, '--interactive', '--timeout', str(timeout), *how,
                   '--', program, *args]
        self.process = subprocess.Popen(command, env=prefix.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                        text=True, encoding='utf-8', bufsize=1)
        self.lines = queue.Queue()
        self.transcript = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            self.lines.put(raw.rstrip('\r\n'))
        self.lines.put(None)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        """Ends the session; the driver ends whatever still runs."""
        try:
            self.process.stdin.close()
        except OSError:
            pass
        try:
            self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.reader.join(timeout=10)
        self.process.stdout.close()

    def command(self, *fields, timeout=None):
        """Sends one command; returns its answer lines. Raises DriverError when it failed."""
        line = '\t'.join(str(f) for f in fields)
        self.transcript.append('> ' + line)
        try:
            self.process.stdin.write(line + '\n')
            self.process.stdin.flush()
        except OSError as error:
            raise DriverError(f'the driver has gone ({error}); transcript: {self.transcript}')
        answer = []
        limit = timeout if timeout is not None else self.timeout
        while True:
            try:
                received = self.lines.get(timeout=limit)
            except queue.Empty:
                raise DriverError(f'no answer to {line!r} within {limit} s') from None
            if received is None:
                raise DriverError(f'the driver ended during {line!r}: {answer}')
            self.transcript.append(received)
            if received == 'ok':
                return answer
            if received.startswith('error: '):
                raise DriverError(f'{line!r}: {_unescape(received[7:])}')
            answer.append(received)

    @staticmethod
    def _window(line):
        window = _fields(line)
        window['cls'] = window.pop('class', '')
        return window

    def windows(self):
        """The program's visible top-level windows now."""
        return [self._window(line) for line in self.command('windows')]

    def seen(self):
        """Every window the program showed so far, as it was when it appeared."""
        return [self._window(line) for line in self.command('seen')]

    def wait(self, caption='', text='', timeout=30, skip=()):
        """A visible window whose caption and texts contain the given parts."""
        handles = ','.join(hex(w['handle']) if isinstance(w, dict) else hex(w) for w in skip)
        fields = ['wait', caption, text, timeout] + ([handles] if handles else [])
        return self._window(self.command(*fields, timeout=timeout + 30)[0])

    def gone(self, window, timeout=30):
        self.command('gone', hex(window['handle']), timeout, timeout=timeout + 30)

    def control_list(self, window):
        """Every window inside the window, in the system's order, as dicts (id, cls, text,
        visible, enabled, checked, position, handle)."""
        controls = []
        for line in self.command('controls', hex(window['handle'])):
            control = _fields(line)
            control['cls'] = control.pop('class', '')
            controls.append(control)
        return controls

    def controls(self, window):
        """The same keyed by id (a later window of the same id wins)."""
        return {control['id']: control for control in self.control_list(window)}

    def wait_for(self, condition, what, timeout=30):
        """Asks `condition` (a function of no arguments) again and again until it gives a true
        value, which is returned; fails after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise DriverError(f'{what}: not within {timeout} s')
            time.sleep(0.1)

    def press(self, window, button):
        self.command('press', hex(window['handle']), button)

    def set_text(self, window, control, text):
        self.command('settext', hex(window['handle']), control, text)

    def set_check(self, window, control, checked):
        """Sets a check box without telling its parent (as a program, not a user, would)."""
        self.command('setcheck', hex(window['handle']), control, int(bool(checked)))

    def click_button(self, window, control):
        """Clicks a button or check box as the mouse would: its parent hears of it."""
        self.command('clickbutton', hex(window['handle']), control)

    def items(self, window, control):
        """The entries of a list box or combo box: [(text, selected)] in list order."""
        entries = [_fields(line) for line in self.command('items', hex(window['handle']), control)]
        return [(entry['text'], bool(entry['selected'])) for entry in entries]

    def select(self, window, control, text):
        """Selects the entry with that text as a click in the list would."""
        self.command('select', hex(window['handle']), control, text)

    def tree(self, window, control):
        items, path = [], []
        for line in self.command('tree', hex(window['handle']), control):
            item = _fields(line)
            del path[item['depth']:]
            path.append(item['text'])
            item['path'] = tuple(path)
            item['checked'] = bool(item['checked'])
            item['expanded'] = bool(item['expanded'])
            items.append(item)
        return items

    def tree_check(self, window, control, path, checked):
        self.command('treecheck', hex(window['handle']), control, '|'.join(path),
                     int(bool(checked)))

    def click(self, window, control, path, part):
        """Clicks the item's check box ('check'), expand button ('button') or text ('label')
        with the mouse and waits until the tree view has acted on it."""
        self.command('click', hex(window['handle']), control, '|'.join(path), part)

    def key(self, window, virtual_key):
        """Presses and releases a key (a virtual-key code) with the window in the foreground."""
        self.command('key', hex(window['handle']), virtual_key)

    def rect(self, window):
        """(x, y, width, height) of the window on the screen."""
        r = _fields(self.command('rect', hex(window['handle']))[0])
        return r['x'], r['y'], r['width'], r['height']

    def close_window(self, window):
        """Asks the window to close, as its close box or Alt+F4 would."""
        self.command('close', hex(window['handle']))

    def move(self, window, x, y):
        self.command('move', hex(window['handle']), x, y)

    def finish(self, timeout=60):
        """Waits until the program and everything it started have ended; their exit code, or
        None when the driver had to end them after `timeout` seconds (self.still_running then
        names the processes that had not ended)."""
        answer = self.command('exit', timeout, timeout=timeout + 30)
        if answer[-1] == 'timeout':
            self.still_running = next((a[8:] for a in answer if a.startswith('running ')), '')
            return None
        return int(answer[-1].split()[1])

    def screenshot(self, path, window=None):
        """Saves the display (or only the window) as a PNG for review."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        command = ['import', '-window', 'root']
        if window is not None:
            x, y, width, height = self.rect(window)
            command += ['-crop', f'{width}x{height}+{x}+{y}', '+repage']
        subprocess.run(command + [str(path)], check=True, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        return path
