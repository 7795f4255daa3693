#!/usr/bin/env python3
"""Programs in use: version 1 of a product is installed and its program runs, holding its own
file (and, in one case, a library it loaded from the product). The upgrade finds it before it
changes anything (by its program file, or by its loaded modules), closes it when told to, writes
every file and starts it again; what does not close keeps its file for the restart (3010) unless
the close is forced. The run log tells each program, how it was found and how it ended.

    files_in_use_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <busy.exe>
                         <busy_library.dll> <kelvara-build>
"""
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUSY, LIBRARY, BUILDER = sys.argv[1:8]
PRODUCT = 'Kelvara Busy'
SHORT = 'KelvaraBusy'
FOLDER = f'C:\\Program Files\\{PRODUCT}'
PROGRAM = f'{FOLDER}\\busy.exe'
NAME = 'Busy Test Program (busy.exe)'


class FilesInUse(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix='kelvara-in-use-'))
        program, library = Path(BUSY).read_bytes(), Path(LIBRARY).read_bytes()
        # Each version's files differ (bytes after the image do not change how it runs).
        cls.files = {v: {'busy.exe': program + f'version {v}'.encode(),
                         'busy_library.dll': library + f'version {v}'.encode(),
                         'readme.txt': f'version {v}'.encode()} for v in (1, 2)}
        cls.images = {}
        for version, files in cls.files.items():
            folder = source_folder(cls.work / f'files-{version}', files)
            project = Project(PRODUCT, short_name=SHORT,
                              files=[FileGroup(folder, overwrite='always')])
            cls.images[version] = build_image(BUILDER, ENGINE, project, cls.work / f'v{version}')

    def install(self, prefix, version, *options, expect=0):
        path = prefix.put(f'images/v{version}.exe', self.images[version].read_bytes())
        log = prefix.drive_c / 'logs' / 'install.txt'
        log.unlink(missing_ok=True)
        run = prefix.run(DRIVER, path, ['/QUIET', '/LOG=C:\\logs\\install.txt', *options],
                         timeout=180)
        self.assertFalse(run.timed_out, run.output)
        text = log.read_text('latin-1') if log.exists() else ''
        self.assertEqual((run.exit_code, run.windows), (expect, []), run.output + text)
        return text

    def start(self, prefix, program, *args):
        """Starts the program in the prefix and waits until it has noted its start."""
        runs = prefix.drive_c / 'busy-runs.txt'
        before = runs.read_text('latin-1').count('started') if runs.exists() else 0
        process = subprocess.Popen([prefix.wine, program, *args], env=prefix.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(process.kill)
        self.wait_for_starts(prefix, before + 1)

    def wait_for_starts(self, prefix, count, timeout=30):
        runs = prefix.drive_c / 'busy-runs.txt'
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if runs.exists() and runs.read_text('latin-1').count('started') >= count:
                time.sleep(1)  # its window is made after the note
                return runs.read_text('latin-1').splitlines()
            time.sleep(0.2)
        self.fail(f'the program did not start {count} times')

    def alive(self, prefix):
        run = prefix.run(DRIVER, PROGRAM, ['/alive'], timeout=60)
        return run.exit_code == 0

    def stop_all(self, prefix):
        subprocess.run([prefix.wine, 'taskkill', '/f', '/im', 'busy.exe'], env=prefix.env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=False)
        deadline = time.monotonic() + 30
        while self.alive(prefix) and time.monotonic() < deadline:
            time.sleep(0.5)

    def installed(self, prefix, name):
        return (prefix.drive_c / 'Program Files' / PRODUCT / name).read_bytes()

    def test_quiet_upgrades_close_what_they_are_told_to(self):
        with Prefix(BUILD, ARCH, 'in-use-quiet') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            self.install(prefix, 1)

            # Not told to: the program keeps running and its file waits for the restart.
            self.start(prefix, PROGRAM, '/from-the-test')
            log = self.install(prefix, 2, expect=3010)
            self.assertIn(f'in use: {NAME}', log)
            self.assertIn('found by its program file', log)
            self.assertIn('in use: the programs are left running', log)
            self.assertEqual(self.installed(prefix, 'busy.exe'), self.files[1]['busy.exe'])
            self.assertEqual(self.installed(prefix, 'readme.txt'), self.files[2]['readme.txt'])
            self.assertTrue(self.alive(prefix))

            # Closed, replaced and started again with the command line it had.
            log = self.install(prefix, 2, '/CLOSEAPPLICATIONS', '/RESTARTAPPLICATIONS')
            self.assertIn(f'in use: {NAME} closed', log)
            self.assertIn(f'in use: {NAME} started again', log)
            self.assertEqual(self.installed(prefix, 'busy.exe'), self.files[2]['busy.exe'])
            runs = self.wait_for_starts(prefix, 2)
            self.assertEqual(runs[-1], runs[-2], 'the same command line')
            self.assertTrue(runs[-1].endswith('/from-the-test'), runs)
            self.assertTrue(self.alive(prefix))
            self.stop_all(prefix)

            # A program that ignores WM_CLOSE stays, and its file waits; unless forced.
            self.start(prefix, PROGRAM, '/ignore-close')
            log = self.install(prefix, 1, '/CLOSEAPPLICATIONS', expect=3010)
            self.assertIn(f'in use: {NAME} still running', log)
            self.assertEqual(self.installed(prefix, 'busy.exe'), self.files[2]['busy.exe'])
            self.assertTrue(self.alive(prefix))
            log = self.install(prefix, 1, '/FORCECLOSEAPPLICATIONS')
            self.assertIn(f'in use: {NAME} did not close, ended', log)
            self.assertNotIn('started again', log, 'not without /RESTARTAPPLICATIONS')
            self.assertEqual(self.installed(prefix, 'busy.exe'), self.files[1]['busy.exe'])
            self.assertFalse(self.alive(prefix))

            # A library of the product, loaded by a program from elsewhere: found by its modules.
            host = prefix.put('other/host.exe', Path(BUSY).read_bytes())
            self.start(prefix, host, f'/load={FOLDER}\\busy_library.dll')
            log = self.install(prefix, 2, '/CLOSEAPPLICATIONS')
            self.assertIn('found by its loaded modules', log)
            self.assertIn(f'holds {FOLDER}\\busy_library.dll', log)
            self.assertIn('in use: Busy Test Program (host.exe) closed', log)
            self.assertEqual(self.installed(prefix, 'busy_library.dll'),
                             self.files[2]['busy_library.dll'])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
