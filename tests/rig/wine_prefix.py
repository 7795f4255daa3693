"""End-to-end test helpers: a private Wine prefix per test, and running programs in it through
the UI driver, which reports every window they show."""
import os
import re
import shutil
import subprocess
from pathlib import Path

RIG = Path(__file__).resolve().parent

_WINDOW = re.compile(
    r'window class="(?P<cls>(?:[^"\\]|\\.)*)" caption="(?P<caption>(?:[^"\\]|\\.)*)" '
    r'text="(?P<text>(?:[^"\\]|\\.)*)" buttons="(?P<buttons>(?:[^"\\]|\\.)*)" '
    r'owner=(?P<owner>\d) style=(?P<style>0x[0-9a-f]+)')


def _unescape(text):
    return re.sub(r'\\(.)', lambda m: {'n': '\n', 'r': '\r'}.get(m.group(1), m.group(1)), text)


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
                        WINEDLLOVERRIDES='mscoree=;mshtml=')
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

    def put(self, name, data):
        """Writes a file under C:\\ and returns its Windows path."""
        target = self.drive_c / name
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
        return 'C:\\' + name.replace('/', '\\')

    def run(self, driver, program, args=(), presses=(), timeout=60):
        """Runs a Windows program (a C:\\ path) under the UI driver."""
        driver_path = 'C:\\rig\\ui_driver.exe'
        if not (self.drive_c / 'rig' / 'ui_driver.exe').exists():
            self.put('rig/ui_driver.exe', Path(driver).read_bytes())
        command = [self.wine, driver_path, '--timeout', str(timeout)]
        for press in presses:
            command += ['--press', press]
        command += ['--', program, *args]
        done = subprocess.run(command, env=self.env, capture_output=True, text=True,
                              timeout=timeout + 60)
        return Run(done.stdout, f'[driver exit {done.returncode}; stderr: {done.stderr.strip()}]')
