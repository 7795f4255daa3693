#!/usr/bin/env python3
"""Programs in use: version 1 of a product is installed and its program runs, holding its own
file (and, in one case, a library it loaded from the product). The upgrade finds it before it
changes anything (by its program file, or by its loaded modules), closes it when told to, writes
every file and starts it again; what does not close keeps its file for the restart (3010) unless
the close is forced. The run log tells each program, how it was found and how it ended. The
wizard asks on its programs-in-use page before the Installing page (both layouts, at 96 and 144
dpi, the standard one at both, with screenshots in artifacts/files-in-use): Back and Next bring it again; "Close" closes,
replaces and starts the program again (exit 0), "Do not close" leaves its file for the restart
(3010).

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
from wizard import FILES_IN_USE, FINISH, READY, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUSY, LIBRARY, BUILDER = sys.argv[1:8]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'files-in-use'
CLOSE, LEAVE, RESTART_NOW = 1004, 1005, 1006  # the page's two answers; the finish page's box
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
            for layout in ('standard', 'compact'):
                project = Project(PRODUCT, short_name=SHORT,
                                  files=[FileGroup(folder, overwrite='always')],
                                  extra=f'\n[look]\nlayout = "{layout}"\n')
                cls.images[version, layout] = build_image(BUILDER, ENGINE, project,
                                                          cls.work / f'v{version}-{layout}')

    def install(self, prefix, version, *options, expect=0):
        path = prefix.put(f'images/v{version}.exe', self.images[version, 'standard'].read_bytes())
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

    def alive(self, prefix, elsewhere=False):
        program = prefix.put('other/alive.exe', Path(BUSY).read_bytes()) if elsewhere else PROGRAM
        run = prefix.run(DRIVER, program, ['/alive'], timeout=60)
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
            self.assertIn('in use: 3 files looked for among the running programs, held by 1', log)
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

    def upgrade_in_wizard(self, prefix, layout, close, shots):
        """Version 2 through the wizard with the program running: the programs-in-use page
        names it before the Installing page and takes the answer."""
        path = prefix.put(f'images/v2-{layout}.exe', self.images[2, layout].read_bytes())
        with prefix.session(DRIVER, path, [], timeout=240) as session:
            wizard = Wizard(session)
            page = wizard.wait_page(lambda p: p.button(1011) is not None, 'the first page')
            while page.type != READY:
                page = wizard.next()
            page = wizard.next()
            self.assertEqual(page.type, FILES_IN_USE, page)
            self.assertEqual(page.title, 'Programs in Use')
            self.assertEqual([text for text, _ in session.items(page.window, 1019)], [NAME])
            self.assertEqual((page.button(1010), page.button(1011)), ('< Back', 'Install'))
            self.assertTrue(page.controls[CLOSE]['checked'], 'closing is offered first')
            wizard.screenshot(shots / '1-programs-in-use.png')
            # Back to the ready page and on again: the page comes back.
            self.assertEqual(wizard.back().type, READY)
            page = wizard.next()
            self.assertEqual(page.type, FILES_IN_USE)
            if not close:
                session.click_button(page.window, LEAVE)
            # Install: the pages that follow may come and go faster than one look at them.
            wizard.press('Install')
            if not close:
                # The file it holds waits for the restart, as before.
                wizard.answer('is in use by another program', 'No', timeout=60)
            page = wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', 120)
            wizard.screenshot(shots / f'2-finish-{"closed" if close else "left"}.png')
            if not close:
                session.set_check(page.window, RESTART_NOW, False)
            else:
                # Started again before the finish page: seen running while it is shown.
                self.wait_for_starts(prefix, 2)
                self.assertTrue(self.alive(prefix))
                self.stop_all(prefix)
            wizard.press('Finish')
            if not close:
                wizard.answer('Please restart your computer', 'OK')
            return wizard.exit_code()

    def uninstall_while_running(self, prefix):
        """The uninstaller with the program running: asked, closed, and everything removed now,
        nothing left for a restart."""
        self.start(prefix, PROGRAM)
        with prefix.session(DRIVER, f'{FOLDER}\\uninstall.exe') as session:
            question = session.wait('', 'Are you sure you want to completely remove')
            session.press(question, 'Yes')
            asked = session.wait('', 'These programs use files that must be removed',
                                 skip=[question])
            self.assertIn(NAME, asked['text'])
            session.press(asked, 'Yes')
            done = session.wait('', 'have been succesfully removed', skip=[question, asked],
                                timeout=60)
            session.press(done, 'OK')
            self.assertEqual(session.finish(60), 0, session.transcript)
            shown = ' '.join(w['text'] for w in session.seen())
        self.assertNotIn('must be restarted', shown, 'no file was left for a restart')
        self.assertFalse((prefix.drive_c / 'Program Files' / PRODUCT).exists())
        self.assertFalse(self.alive(prefix, elsewhere=True))

    def test_the_wizard_asks_before_installing(self):
        for layout, dpi in (('standard', 96), ('compact', 144), ('standard', 144)):
            with self.subTest(f'{layout}-{dpi}dpi'), \
                    Prefix(BUILD, ARCH, f'in-use-{layout}-{dpi}') as prefix:
                prefix.set_dpi(dpi)
                (prefix.drive_c / 'logs').mkdir()
                self.install(prefix, 1)
                shots = ARTIFACTS / f'{layout}-{dpi}dpi'
                if (layout, dpi) == ('standard', 96):
                    self.start(prefix, PROGRAM)
                    self.assertEqual(self.upgrade_in_wizard(prefix, layout, False, shots), 3010)
                    self.assertEqual(self.installed(prefix, 'busy.exe'), self.files[1]['busy.exe'])
                    self.assertEqual(self.installed(prefix, 'readme.txt'),
                                     self.files[2]['readme.txt'])
                    self.stop_all(prefix)
                    (prefix.drive_c / 'busy-runs.txt').unlink()
                self.start(prefix, PROGRAM)
                self.assertEqual(self.upgrade_in_wizard(prefix, layout, True, shots), 0)
                for name, data in self.files[2].items():
                    self.assertEqual(self.installed(prefix, name), data, name)
                if layout == 'compact':
                    self.uninstall_while_running(prefix)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
