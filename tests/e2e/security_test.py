#!/usr/bin/env python3
"""What someone who may write beside the setup, into the temporary folder or into an install log
can make the engine do with its rights, tried as they would, in a fresh Wine prefix that loads
libraries in Windows' order (WINEDLLOVERRIDES: the file beside a program before Wine's own):

- libraries planted beside the image, beside the uninstaller and in the temporary folder are
  never loaded, by a silent, a quiet or a wizard install (every page) nor by either uninstaller;
  a program that loads them the old way shows that they would be;
- the uninstaller's second stage runs from a folder of its own that grants no one else, and a
  "delself.bat" made beforehand in the temporary folder is neither used nor overwritten;
- an uninstaller with administrator rights does not act on a log that others may change: it
  runs none of the log's programs, removes nothing, says why and exits with 1603;
- UninstallString is quoted, and the command as stored removes the product.

    security_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe> <actions.json>
                     <kelvara-build>
"""
import json
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from probe import Probe  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import DESTINATION, FINISH, INSTALLING, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, ACTIONS, BUILDER = sys.argv[1:8]
FIXTURES = json.loads(Path(ACTIONS).read_text())
PLANTED = ['version.dll', 'riched32.dll', 'riched20.dll', 'ddraw.dll', 'dinput.dll',
           'comctl32.dll']
# Wine's own user32 imports version.dll, which Windows' does not: under Wine every program with a
# window loads a version.dll planted beside it. The engine's runs leave that one to Wine (the
# engine imports no version.dll: its import check says so); the old way's program takes it.
SEARCH_ORDER = 'riched32,riched20,ddraw,dinput,comctl32=n,b'
OLD_SEARCH_ORDER = 'version,' + SEARCH_ORDER
MARKER_LOG = 'planted.log'  # C:\planted.log, written by every process that loads one
UNINSTALL_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
EVERYONE = 'S-1-1-0'
FILE_ALL_ACCESS = 0x1F01FF
OWN_ACCOUNTS = {'S-1-5-18', 'S-1-5-32-544'}  # SYSTEM, Administrators; and the user
THIRD_BUTTON = 1012  # of the removal dialog: Finish on its leftover-files page


class Security(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'security')
        cls.overrides = cls.prefix.env['WINEDLLOVERRIDES']
        cls.prefix.env['WINEDLLOVERRIDES'] = f'{cls.overrides};{SEARCH_ORDER}'
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='security-', dir=cls.prefix.path.parent))
        cls.temp = next(p for p in cls.prefix.drive_c.glob('users/*/Temp')
                        if p.parent.name != 'Public')
        cls.user_temp = 'C:\\' + str(cls.temp.relative_to(cls.prefix.drive_c)).replace('/', '\\')
        # Where the recording program of the uninstall test writes (tests/fixtures).
        cls.prefix.env['KELVARA_ACTION_LOG'] = 'C:\\recorder.log'
        cls.recorder_log = cls.prefix.drive_c / 'recorder.log'

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    # ---- helpers ----

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def plant(self, folder):
        """The marker library under every planted name in a host folder."""
        folder.mkdir(parents=True, exist_ok=True)
        for name in PLANTED:
            shutil.copyfile(FIXTURES['planted'], folder / name)

    def markers(self):
        """The lines the planted libraries wrote, and the log emptied for the next step."""
        log = self.prefix.drive_c / MARKER_LOG
        if not log.exists():
            return []
        lines = log.read_text('latin-1').splitlines()
        log.unlink()
        return lines

    def image(self, name, root, pages=None, uninstall_program=False, run_after=None):
        files = {'app.txt': b'app', 'docs/a.txt': b'a'}
        if uninstall_program:
            files['recorder.exe'] = Path(FIXTURES['recorder']).read_bytes()
        source = source_folder(self.work / f'{name}-src', files)
        folder = self.work / name
        folder.mkdir(parents=True, exist_ok=True)
        (folder / 'licence.txt').write_bytes(b'LICENCE\r\nYou may use the program.\r\n')
        (folder / 'readme.txt').write_bytes(b'README\r\nHello.\r\n')
        extra = ''
        if pages:
            extra += (f'[pages]\nshow = {json.dumps(pages)}\nlicence = "licence.txt"\n'
                      'readme = "readme.txt"\n\n')
        if run_after:
            extra += ('[[run]]\nprogram = ' + json.dumps(run_after) +
                      '\nwhen = "after-install"\narguments = "named bare"\n\n')
        if uninstall_program:
            recorder = f'{root}\\recorder.exe'
            extra += ('[[run]]\nprogram = ' + json.dumps(recorder) +
                      '\nwhen = "uninstall"\narguments = "uninstalling"\n')
        project = Project(f'Security {name}', short_name=f'Security{name}',
                          variables={'InstallPath': root}, files=[FileGroup(source)],
                          uninstaller=True, extra=extra)
        image = build_image(BUILDER, ENGINE, project, folder)
        return self.prefix.put(f'images/{name}.exe', image.read_bytes())

    def run_program(self, program, args=(), presses=(), exit_code=0, **options):
        run = self.prefix.run(DRIVER, program, list(args), presses=presses, timeout=120,
                              **options)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return run

    def removal(self, session, name):
        """The installed uninstaller as a person answers it: Yes, then the closing message."""
        question = session.wait(f'Security{name} Uninstall', 'Are you sure')
        session.press(question, 'Yes')
        done = session.wait(f'Security{name} Uninstall', 'have been succesfully removed',
                            skip=[question], timeout=90)
        session.press(done, 'OK')
        self.assertEqual(session.finish(60), 0, session.transcript)

    def temp_leftovers(self):
        return sorted(p.name for p in self.temp.iterdir()
                      if p.name.upper().startswith('KVR') or p.name.lower() == 'delself.bat')

    def assertOnlyOwnAccounts(self, security, what):
        """The access list grants the user, SYSTEM and the Administrators only."""
        user = security['owner']
        granted = {e['sid'] for e in security['entries'] if e['type'] == 0 and e['mask'] != 0}
        self.assertTrue(granted, f'{what}: {security}')
        self.assertLessEqual(granted, OWN_ACCOUNTS | {user}, f'{what} grants others: {security}')

    # ---- tests ----

    def test_1_planted_libraries_are_never_loaded(self):
        images = self.prefix.drive_c / 'images'
        self.plant(images)
        self.plant(self.temp)
        shutil.copyfile(FIXTURES['old_loader'], images / 'old-loader.exe')
        # The control: a program that loads its libraries the old way gets every planted one.
        self.run_program('C:\\images\\old-loader.exe',
                         environment={'WINEDLLOVERRIDES': f'{self.overrides};{OLD_SEARCH_ORDER}'})
        loaded = {line.split('|')[0].lower() for line in self.markers()}
        self.assertEqual(loaded, {f'c:\\images\\{name}' for name in PLANTED},
                         'the planted libraries are what such a program loads')

        # A silent, a quiet and a wizard install with every page. The silent one runs a program
        # named without a folder, which is in the system folder, and a program of that name
        # beside the image (the old way's, which would load the planted libraries) is not it.
        roots = {kind: f'C:\\Apps\\Planted {kind}' for kind in ('silent', 'quiet', 'wizard')}
        system = self.prefix.drive_c / 'windows' / 'system32'
        shutil.copyfile(FIXTURES['recorder'], system / 'kvr-tool.exe')
        shutil.copyfile(FIXTURES['old_loader'], images / 'kvr-tool.exe')
        self.run_program(self.image('Silent', roots['silent'], run_after='kvr-tool.exe'), ['S'])
        self.assertEqual(self.markers(), [], 'a silent install')
        self.assertIn('cmd="C:\\windows\\system32\\kvr-tool.exe" named bare',
                      self.recorder_log.read_text('latin-1'), 'the system folder\'s program ran')
        self.recorder_log.unlink()
        self.run_program(self.image('Quiet', roots['quiet']), ['/QUIET'])
        self.assertEqual(self.markers(), [], 'a quiet install')
        pages = ['welcome', 'licence', 'readme', 'destination', 'start-menu', 'ready',
                 'installing', 'finish']
        wizard_image = self.image('Wizard', roots['wizard'], pages=pages)
        with self.prefix.session(DRIVER, wizard_image) as session:
            wizard = Wizard(session)
            seen = []
            page = wizard.page()
            while page.type not in (INSTALLING, FINISH):
                seen.append(page.type)
                if page.type == DESTINATION:
                    # The folder browser, which the shell fills with what it loads.
                    session.press(page.window, 'Browse...')
                    picker = wizard.question('')
                    session.press(picker, 'Cancel')
                    session.gone(picker)
                page = wizard.next()
            page = wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', timeout=120)
            self.assertEqual(len(seen), 6, 'welcome, licence, readme, destination, start menu, '
                             f'ready: {seen}')
            # While the installer runs, what it puts in the temporary folder is in a folder of
            # its own, which grants no one else.
            own = [p for p in self.temp.iterdir() if p.name.startswith('KVR')]
            self.assertEqual(len(own), 1, own)
            self.assertRegex(own[0].name, r'^KVR[0-9A-F]{8}$')
            self.assertOnlyOwnAccounts(self.probe.security(f'{self.user_temp}\\{own[0].name}'),
                                       'the installer\'s temporary folder')
            wizard.press('Finish')
            self.assertEqual(wizard.exit_code(), 0)
        self.assertEqual(self.markers(), [], 'a wizard install')
        self.assertEqual(self.temp_leftovers(), [], 'the installer\'s folder is gone')

        # The uninstallers, with the libraries beside them too: silent, and as a person runs one
        # (with a delself.bat of someone else's in the temporary folder, left as it is).
        someone_elses = b'@echo off\r\necho not the uninstaller\'s\r\n'
        (self.temp / 'delself.bat').write_bytes(someone_elses)
        self.plant(self.host(roots['silent']))
        self.run_program(f'{roots["silent"]}\\uninstall.exe', ['/S'], follow=True)
        self.assertEqual(self.markers(), [], 'a silent uninstall')
        self.assertFalse(self.host(f'{roots["silent"]}\\app.txt').exists(), 'it removed the files')
        self.plant(self.host(roots['quiet']))
        with self.prefix.session(DRIVER, f'{roots["quiet"]}\\uninstall.exe') as session:
            question = session.wait('SecurityQuiet Uninstall', 'Are you sure')
            session.press(question, 'Yes')
            dialog = session.wait('SecurityQuiet Uninstall', 'Please wait while',
                                  skip=[question])
            # The second stage runs from a folder of its own, which grants no one else.
            own = [p.name for p in self.temp.iterdir() if p.name.startswith('KVR')]
            self.assertEqual(len(own), 1, own)
            self.assertTrue(list((self.temp / own[0]).glob('KVR*.tmp')), 'the second stage')
            self.assertOnlyOwnAccounts(self.probe.security(f'{self.user_temp}\\{own[0]}'),
                                       'the second stage\'s folder')
            # The planted libraries are not the installation's: the leftover page offers them.
            session.wait_for(lambda: session.controls(dialog)[THIRD_BUTTON]['text'] == 'Finish',
                             'the leftover-files page', timeout=60)
            session.press(dialog, 'Finish')
            self.assertEqual(session.finish(60), 0, session.transcript)
        self.assertEqual(self.markers(), [], 'an uninstall through its dialog')
        self.assertEqual((self.temp / 'delself.bat').read_bytes(), someone_elses,
                         'a delself.bat made beforehand is neither used nor overwritten')
        (self.temp / 'delself.bat').unlink()
        self.assertEqual(self.temp_leftovers(), [], 'the second stages\' folders are gone')

    def test_2_a_log_others_may_change_is_not_acted_on(self):
        root = 'C:\\Apps\\Hello World'
        image = self.image('Log', root, uninstall_program=True)
        self.run_program(image, ['/QUIET'])
        log = f'{root}\\uninstall.log'
        # The list of programs runs the stored command as it is: quoted, since it has a blank
        # (unquoted, the system would first try C:\Apps\Hello.exe).
        command = self.probe.reg_query('HKLM', f'{UNINSTALL_KEY}\\SecurityLog',
                                       'UninstallString').value
        self.assertEqual(command, f'"{root}\\uninstall.exe"')

        # Everyone may now change the log, as in a folder that inherits that from its drive.
        self.probe.grant(log, EVERYONE, FILE_ALL_ACCESS)
        run_log = self.host('C:\\refused.log')
        self.run_program(f'{root}\\uninstall.exe', ['/QUIET', '/LOG=C:\\refused.log'], exit_code=1603,
                 follow=True)
        self.assertIn('uninstall: refused: users who are not administrators may change the '
                      f'install log {log}', run_log.read_text('latin-1'))
        self.assertFalse(self.recorder_log.exists(), 'the log\'s program did not run')
        self.assertTrue(self.host(f'{root}\\app.txt').exists(), 'nothing was removed')
        # An installation over it does not take its lines over as its own: the files that log
        # names were there before this run, and its uninstall keeps them.
        self.run_program(image, ['/QUIET', '/LOG=C:\\again.log'])
        self.assertIn('the earlier install log is not carried over',
                      self.host('C:\\again.log').read_text('latin-1'))

        # The new log is the administrators' again: the command as stored removes what this
        # run made and runs the log's program on the way.
        with self.prefix.session(DRIVER, command, as_written=True) as session:
            self.removal(session, 'Log')
        self.assertIn('uninstalling', self.recorder_log.read_text('latin-1'))
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\SecurityLog'))
        remaining = sorted(p.relative_to(self.host(root)).as_posix()
                           for p in self.host(root).rglob('*'))
        self.assertEqual(remaining, ['app.txt', 'docs', 'docs/a.txt', 'recorder.exe'],
                         'the files only the refused log named')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
