#!/usr/bin/env python3
"""Installations as deployment tools run them, in a fresh Wine prefix: the options after the
program name (/DIR=, /QUIET, /LOG=, /NORESTART and unknown ones) read from the command line as
given; the installation folder they name in its case through the files, the install log and the
uninstall entry, and a folder that the destination check refuses ending the run before anything
is written; quiet runs that show no window at all, answer every question the safe way and say
so in the run log; the run log itself, appended to, and one that cannot be written.

    deployment_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                       <kelvara-build>
"""
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, source_folder,  # noqa: E402
                             toml_string)
from probe import REG_SZ, Probe, restart  # noqa: E402
from system_snapshot import NO_CHANGES, WINE_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import CANCEL, DESTINATION, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
UNINSTALL_KEY = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
SCRIPT_FOLDER = 'C:\\Kelvara Deploy\\From Script'
INVALID_FOLDER = 'The installation folder is not valid.'
FOLDER_EDIT = 1018


class Deployment(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'deployment')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='deployment-', dir=cls.prefix.path.parent))
        cls.source = source_folder(cls.work / 'src', {'tool.txt': b'tool\r\n',
                                                      'docs/guide.txt': b'guide\r\n'})

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def image(self, name, folder=SCRIPT_FOLDER, extra='', overwrite=None, shared=None,
              product=None, source=None, short_name=None, image_name=None):
        files = [FileGroup(source or self.source, overwrite=overwrite)]
        if shared:
            files.append(FileGroup(shared, shared=True))
        project = Project(f'Deploy {name}', short_name=short_name or f'Deploy{name}',
                          variables={'InstallPath': folder}, files=files, uninstaller=True,
                          extra=extra, product=product or {})
        image_name = image_name or name
        image = build_image(BUILDER, ENGINE, project, self.work / image_name)
        return self.prefix.put(f'images/{image_name}.exe', image.read_bytes())

    def run_image(self, path, args, presses=()):
        """Runs the image with a command line of the arguments exactly as written."""
        run = self.prefix.run(DRIVER, path, args, presses=presses, timeout=120, verbatim=True)
        self.assertFalse(run.timed_out, run.output)
        return run

    def assert_installed_in(self, name, folder):
        """The files, the install log and the uninstall entry all name `folder` as given."""
        for relative in ('tool.txt', 'docs\\guide.txt', 'uninstall.exe'):
            self.assertTrue(self.host(f'{folder}\\{relative}').is_file(), relative)
        log = self.host(f'{folder}\\uninstall.log').read_text('latin-1').split('\n')
        self.assertIn(f'a,{folder}', log)
        self.assertIn(f'b,{folder}\\tool.txt', log)
        self.assertIn(f'b,{folder}\\docs\\guide.txt', log)
        values, _ = self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\Deploy{name}')
        self.assertEqual((values['InstallLocation'].type, values['InstallLocation'].value),
                         (REG_SZ, folder))
        self.assertEqual(values['UninstallString'].value, f'"{folder}\\uninstall.exe"')

    def test_the_folder_option_wins_and_keeps_its_case(self):
        folder = 'C:\\Some Place\\Mixed Case'
        path = self.image('Mixed')
        # Silent by the first argument; the option's name in any case, its value quoted with
        # blanks and a trailing separator; an unknown option is ignored.
        run = self.run_image(path, ['S', '/Unknown=1', f'/dir="{folder}\\"'])
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(run.windows, [], 'a silent run that succeeds shows nothing')
        self.assert_installed_in('Mixed', folder)
        self.assertFalse(self.host(SCRIPT_FOLDER).exists(), "the script's folder is not used")

        # The whole option in quotes, and the silent switch after it.
        other = 'C:\\Other Place\\Second'
        run = self.run_image(self.image('Quoted'), ['s', f'"/DIR={other}"'])
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(run.windows, [])
        self.assert_installed_in('Quoted', other)

    def test_a_refused_folder_ends_the_run_before_anything_is_written(self):
        path = self.image('Refused')
        for args, message in ((['S', '/DIR=C:\\bad|name'], INVALID_FOLDER),
                              (['S', '/DIR='], INVALID_FOLDER),
                              (['S', '/DIR=relative\\folder'], INVALID_FOLDER),
                              (['S', '/DIR=Q:\\No Such Drive'], 'drive')):
            run = self.run_image(path, args)
            self.assertEqual(run.exit_code, 1603, (args, run.output))
            self.assertEqual(len(run.windows), 1, (args, run.output))
            self.assertIn(message, run.windows[0]['text'], args)
            self.assertEqual(run.windows[0]['buttons'], 'OK')
        self.assertFalse(self.host(SCRIPT_FOLDER).exists())
        self.assertFalse(self.host('C:\\bad').exists())
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\DeployRefused'))

    def test_a_wizard_run_offers_the_folder_option_on_its_destination_page(self):
        # Without a silent switch the wizard runs, and its destination page starts from the
        # option's folder, as given but for its trailing separator. Cancelled there: nothing
        # is written.
        with self.prefix.session(DRIVER, self.image('Wizard'),
                                 ['"/DIR=C:\\Wizard Place\\Mixed Case\\"'],
                                 verbatim=True) as session:
            wizard = Wizard(session)
            page = wizard.page()
            while page.type != DESTINATION:
                page = wizard.next()
            self.assertEqual(page.text(FOLDER_EDIT), 'C:\\Wizard Place\\Mixed Case')
            wizard.press(page.button(CANCEL))
            wizard.answer('', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        self.assertFalse(self.host('C:\\Wizard Place').exists())

    def run_log(self, path):
        """The run log's lines without their times (each line begins with one); `path` is a
        Windows path on drive C, or a host path."""
        host = path if isinstance(path, Path) else self.host(path)
        lines = host.read_bytes().decode('latin-1').split('\r\n')
        self.assertEqual(lines[-1], '', 'every line ends in CR LF')
        for line in lines[:-1]:
            self.assertRegex(line, r'^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} ')
        return [line[24:] for line in lines[:-1]]

    def test_a_quiet_run_that_fails_shows_nothing_and_rolls_back(self):
        folder = 'C:\\Kelvara Deploy\\Quiet Fail'
        # A registry key longer than a key name may be: writing it fails, and the question
        # whether to go on gets the quiet answer, No: the run ends and is rolled back.
        extra = (f'[[registry]]\nroot = "hkcu"\nkey = "Software\\\\{"L" * 300}"\n'
                 'name = "V"\nvalue = "x"\n')
        path = self.image('QuietFail', folder, extra)
        log = 'C:\\Kelvara Deploy\\logs\\quiet fail.txt'
        self.host('C:\\Kelvara Deploy\\logs').mkdir(parents=True, exist_ok=True)
        run = self.run_image(path, ['/QUIET', f'/LOG="{log}"', '/Later'])
        self.assertEqual(run.windows, [], 'a quiet run shows no window at all')
        self.assertEqual(run.exit_code, 1603, run.output)
        self.assertFalse(self.host(folder).exists(), 'rolled back')
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\DeployQuietFail'))
        lines = self.run_log(log)
        self.assertEqual(lines[0], f'started: C:\\images\\QuietFail.exe /QUIET /LOG="{log}" /Later')
        self.assertEqual(lines[1], f'options: /QUIET /LOG="{log}" ')
        self.assertEqual(lines[2], 'option not known, ignored: /Later')
        for phase in ('requirements: met', 'phase: files', 'phase: shortcuts',
                      'phase: registry values'):
            self.assertIn(phase, lines)
        asked = [line for line in lines if line.startswith('message (not shown: quiet)')]
        self.assertEqual(len(asked), 1, lines)
        self.assertIn('LLLL', asked[0], 'the message names the step that failed')
        self.assertTrue(asked[0].endswith(' -> No'), asked[0])
        tail = lines[lines.index(asked[0]) + 1:]
        self.assertEqual(tail, ['installation: stopped', 'rollback: undoing what the run did',
                                'rollback: done',
                                'exit code 1603: not done: the run could not start or failed, '
                                'and was rolled back'])

        # The same log again: the second run's lines follow the first's. /SILENT is the
        # installer's silent switch too, as /S is: no wizard waits for a person.
        run = self.run_image(self.image('QuietAgain', 'C:\\Kelvara Deploy\\Again'),
                             [f'/log="{log}"', '/SILENT'])
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        again = self.run_log(log)
        self.assertEqual(again[:len(lines)], lines, 'appended to, never overwritten')
        self.assertTrue(again[len(lines)].startswith('started: '))
        self.assertEqual(again[len(lines) + 1], f'options: /S /LOG="{log}" ')
        self.assertEqual(again[-2:], ['installation: completed', 'exit code 0: done'])

        # /VERYSILENT is /QUIET: a damaged image, refused at the start, shows nothing and says
        # so in the log.
        damaged = bytearray(self.host(path).read_bytes())
        damaged[-100] ^= 0xFF
        broken = self.prefix.put('images/Damaged.exe', bytes(damaged))
        broken_log = 'C:\\Kelvara Deploy\\logs\\damaged.txt'
        run = self.run_image(broken, ['/VERYSILENT', f'/LOG="{broken_log}"'])
        self.assertEqual((run.exit_code, run.windows), (1603, []), run.output)
        self.assertIn('message (not shown: quiet) "Kelvara": The installer file is damaged! -> OK',
                      self.run_log(broken_log))

    def test_a_quiet_run_leaves_a_file_in_use_to_the_restart_and_never_restarts(self):
        folder = 'C:\\Kelvara Deploy\\In Use'
        self.host(folder).mkdir(parents=True)
        self.host(f'{folder}\\tool.txt').write_bytes(b'old tool')
        path = self.image('InUse', folder, overwrite='always')
        log = 'C:\\Kelvara Deploy\\in-use.log'
        with self.probe.hold(f'{folder}\\tool.txt'):
            run = self.run_image(path, ['/QUIET', '/NORESTART', f'"/LOG={log}"'])
        self.assertEqual(run.windows, [], run.output)
        self.assertEqual(run.exit_code, 3010, run.output)
        self.assertEqual(self.host(f'{folder}\\tool.txt').read_bytes(), b'old tool')
        lines = self.run_log(log)
        asked = [line for line in lines if line.startswith('message (not shown: quiet)')]
        self.assertEqual(len(asked), 1, lines)
        self.assertIn('tool.txt', asked[0])
        self.assertTrue(asked[0].endswith(' -> No'), 'No leaves the file to the restart')
        self.assertIn(f'in use, replaced at the restart: {folder}\\tool.txt', lines)
        self.assertIn('restart: not started (/NORESTART)', lines)
        self.assertEqual(lines[-1], 'exit code 3010: done; a restart is required to finish')
        restart(self.prefix)
        self.assertEqual(self.host(f'{folder}\\tool.txt').read_bytes(), b'tool\r\n')

    def test_a_log_that_cannot_be_written_is_reported_once(self):
        path = self.image('NoLog', 'C:\\Kelvara Deploy\\No Log')
        run = self.run_image(path, ['S', '/LOG="C:\\No Such Folder\\run.log"'])
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn('The log file C:\\No Such Folder\\run.log cannot be written.',
                      run.windows[0]['text'])
        self.assertIn('The run goes on without a log.', run.windows[0]['text'])
        self.assertTrue(self.host('C:\\Kelvara Deploy\\No Log\\tool.txt').exists())
        run = self.run_image(self.image('NoLogQuiet', 'C:\\Kelvara Deploy\\No Log Quiet'),
                             ['/QUIET', '/LOG="C:\\No Such Folder\\run.log"'])
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)


    def test_the_quiet_uninstall_command_removes_the_product_without_a_window(self):
        folder = 'C:\\Kelvara Deploy\\Removed Quietly'
        entry = f'{UNINSTALL_KEY}\\DeployRemoved'
        details = {'version': '2.5.1', 'publisher': 'Example Software',
                   'url': 'https://example.com/tool', 'help_url': 'https://example.com/help'}
        path = self.image('Removed', folder, product=details)
        keys = [('HKLM', entry)]
        ignored = WINE_CHANGES + ['images', 'images/*']
        before = snapshot(self.prefix, self.probe, keys, ignored)
        self.assertEqual(self.run_image(path, ['S']).exit_code, 0)
        values, _ = self.probe.reg_key('HKLM', entry)
        # The list of programs shows what the project says of the product, and when it came.
        self.assertEqual({name: values[name].value for name in
                          ('DisplayVersion', 'Publisher', 'URLInfoAbout', 'HelpLink')},
                         {'DisplayVersion': '2.5.1', 'Publisher': 'Example Software',
                          'URLInfoAbout': 'https://example.com/tool',
                          'HelpLink': 'https://example.com/help'})
        self.assertIn(values['InstallDate'].value,
                      {time.strftime('%Y%m%d', time.localtime(time.time() + d)) for d in (-60, 0)})
        command = values['QuietUninstallString'].value
        self.assertEqual(command, f'"{folder}\\uninstall.exe" /S')

        # Run exactly as the entry says: the quoted program, then its arguments. The first
        # stage waits for the second (and that for its self-removal script): all end together.
        program, arguments = command[1:].split('" ', 1)
        run = self.prefix.run(DRIVER, program, [arguments], timeout=120, follow=True,
                              verbatim=True)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.windows, [], 'no question, no dialog, no message')
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                         NO_CHANGES, 'the prefix as it was before the installation')

        # A folder that holds a person's file is kept and named in the run log; a shared file
        # whose count reaches zero is kept without a question; a file in use waits for the
        # restart, which is not started: 3010.
        kept = 'C:\\Kelvara Deploy\\Kept Folder'
        shared = source_folder(self.work / 'shared', {'common.dll': b'shared'})
        path = self.image('Kept', kept, shared=shared)
        self.assertEqual(self.run_image(path, ['S']).exit_code, 0)
        self.assertEqual(self.probe.shared_count(f'{kept}\\common.dll'), 1)
        self.host(f'{kept}\\docs\\mine.txt').write_bytes(b'a person\'s notes')
        # The log named relative to the current folder (the test's own, which Wine gives the
        # programs it starts through drive Z:): both stages write to that one file, though the
        # second runs in the temporary folder.
        log = Path.cwd() / 'removal.log'
        log.unlink(missing_ok=True)
        self.addCleanup(log.unlink, missing_ok=True)
        with self.probe.hold(f'{kept}\\docs\\guide.txt'):
            run = self.prefix.run(DRIVER, f'{kept}\\uninstall.exe', ['/s', '/LOG=removal.log'],
                                  timeout=120, follow=True, verbatim=True)
        self.assertEqual((run.exit_code, run.windows), (3010, []), run.output)
        self.assertEqual(self.host(f'{kept}\\docs\\mine.txt').read_bytes(),
                         b'a person\'s notes')
        self.assertFalse(self.host(f'{kept}\\tool.txt').exists())
        self.assertFalse(self.host(f'{kept}\\uninstall.exe').exists())
        self.assertEqual(self.host(f'{kept}\\common.dll').read_bytes(), b'shared')
        self.assertIsNone(self.probe.shared_count(f'{kept}\\common.dll'), 'counted down')
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\DeployKept'))
        lines = self.run_log(log)
        self.assertIn(f'in use, removed at the restart: {kept}\\docs\\guide.txt', lines)
        self.assertIn(f'kept, not empty: {kept}\\docs', lines)
        self.assertIn(f'kept, not empty: {kept}', lines)
        self.assertEqual(lines[-1], 'exit code 3010: done; a restart is required to finish')
        self.assertEqual(len([line for line in lines if line.startswith('started: ')]), 2,
                         'both stages log to the same file')
        restart(self.prefix)
        self.assertFalse(self.host(f'{kept}\\docs\\guide.txt').exists())


    def test_an_uninstall_that_cannot_remove_a_value_ends_with_errors(self):
        # A value an administrator has since locked: the silent uninstall removes the rest,
        # names the value in its log and exits 1, not 0.
        folder = 'C:\\Kelvara Deploy\\Locked'
        key = 'Software\\Kelvara Locked'
        extra = (f'[[registry]]\nroot = "hklm"\nkey = "{key.replace(chr(92), chr(92) * 2)}"\n'
                 'name = "Kept"\nvalue = "x"\n')
        self.assertEqual(self.run_image(self.image('Locked', folder, extra), ['/S']).exit_code, 0)
        self.probe.deny_writes('HKLM', key)
        log = 'C:\\Kelvara Deploy\\logs\\locked.txt'
        self.host(log).parent.mkdir(parents=True, exist_ok=True)
        run = self.prefix.run(DRIVER, f'{folder}\\uninstall.exe', ['/S', f'/LOG={log}'],
                              timeout=120, follow=True)
        self.assertEqual((run.exit_code, run.windows), (1, []), run.output)
        lines = self.run_log(log)
        self.assertIn(f'uninstall: not removed: the value Kept of HKLM\\{key}: Access denied.',
                      lines)
        self.assertEqual(lines[-1], 'exit code 1: done with errors: a step failed and the run '
                                    'went on')
        self.assertFalse(self.host(f'{folder}\\tool.txt').exists(), 'the rest is removed')
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\DeployLocked'))
        self.assertEqual(self.probe.reg_query('HKLM', key, 'Kept').value, 'x')

    def test_one_installation_at_a_time(self):
        first = self.image('First', 'C:\\Kelvara Deploy\\First')
        second = self.image('Second', 'C:\\Kelvara Deploy\\Second')
        with self.prefix.session(DRIVER, first) as session:
            wizard = Wizard(session)  # the first installer waits on its first page
            run = self.run_image(second, ['S'])
            self.assertEqual(run.exit_code, 1618, run.output)
            self.assertEqual(len(run.windows), 1, run.output)
            self.assertIn('Another installation is in progress.', run.windows[0]['text'])
            run = self.run_image(second, ['/QUIET'])
            self.assertEqual((run.exit_code, run.windows), (1618, []), run.output)
            wizard.press(wizard.page().button(CANCEL))
            wizard.answer('', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        self.assertFalse(self.host('C:\\Kelvara Deploy\\Second').exists())
        self.assertEqual(self.run_image(second, ['S']).exit_code, 0, 'the first has ended')


    def test_an_upgrade_keeps_one_entry_and_its_uninstall_removes_both_versions(self):
        entry = f'{UNINSTALL_KEY}\\DeployUpgrade'
        folder = 'C:\\Kelvara Deploy\\Upgrade Place'
        # Both versions find the folder where the entry says the product is.
        previous = ('[install.previous-location]\nroot = "HKLM"\n'
                    f'key = {toml_string(entry)}\nvalue = "InstallLocation"\n')
        one = source_folder(self.work / 'v1', {'common.txt': b'one', 'dropped.txt': b'old'})
        two = source_folder(self.work / 'v2', {'common.txt': b'two', 'added/new.txt': b'new'})
        ignored = WINE_CHANGES + ['images', 'images/*']
        keys = [('HKLM', entry)]

        def build(version, source):
            return self.image('Upgrade', extra=previous, source=source, overwrite='always',
                              product={'version': version}, image_name=f'Upgrade{version}')

        first, second = build('1.0', one), build('2.0', two)
        before = snapshot(self.prefix, self.probe, keys, ignored)
        run = self.run_image(first, ['S', f'"/DIR={folder}"'])
        self.assertEqual(run.exit_code, 0, run.output)
        run = self.run_image(second, ['S'])  # no /DIR: the previous location
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(self.host(f'{folder}\\common.txt').read_bytes(), b'two')
        self.assertTrue(self.host(f'{folder}\\added\\new.txt').is_file())
        self.assertFalse(self.host(SCRIPT_FOLDER).exists())
        values, _ = self.probe.reg_key('HKLM', entry)
        self.assertEqual(values['DisplayVersion'].value, '2.0', 'one entry, the new version')
        log = self.host(f'{folder}\\uninstall.log').read_text('latin-1').split('\n')
        self.assertIn(f'b,{folder}\\dropped.txt', log, 'what the first version installed')
        self.assertIn(f'b,{folder}\\added\\new.txt', log)

        # The same image again: the same log, no line twice.
        self.assertEqual(self.run_image(second, ['S']).exit_code, 0)
        again = self.host(f'{folder}\\uninstall.log').read_text('latin-1').split('\n')
        self.assertEqual(sorted(again), sorted(log))
        self.assertEqual(len(set(again[4:-1])), len(again[4:-1]), again)

        program, arguments = values['QuietUninstallString'].value[1:].split('" ', 1)
        run = self.prefix.run(DRIVER, program, [arguments], timeout=120, follow=True,
                              verbatim=True)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                         NO_CHANGES, 'nothing of either version is left')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
