#!/usr/bin/env python3
"""Nothing a person had is lost, in a fresh Wine prefix: an installation into a drive root that
holds a person's files and its uninstall with the leftover page's Select all and Delete; an
association of an extension that was there, and values overwritten in the registry and an INI
file, put back by the uninstaller; a write that fails on a full drive over an existing file; an
image cut short while it installs; a rollback log whose drive fills up; a failed and a cancelled
run that had replaced files, registry values and INI entries, rolled back to the very bytes.

    data_safety_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                        <kelvara-build>
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from probe import Probe, restart  # noqa: E402
from system_snapshot import NO_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import INSTALLING, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'data-safety'
UNINSTALL_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
SHARED_DLLS_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs'
WRITTEN = 1_500_000_000
TREE, SELECT_ALL, DELETE, THIRD_BUTTON = 1026, 1010, 1011, 1012
STEP = 1004  # the Installing page's step caption
QUIT_DURING = 'Setup is still installing the program'
LONG_NAME = 'K' * 300  # a key name the registry refuses


def toml(text):
    return '"' + str(text).replace('\\', '\\\\').replace('"', '\\"') + '"'


def table(kind, **fields):
    lines = [f'[[{kind}]]'] + [f'{k.replace("_", "-")} = {toml(v)}' for k, v in fields.items()
                               if v is not None]
    return '\n'.join(lines) + '\n\n'


class DataSafety(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'data-safety')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='data-safety-', dir=cls.prefix.path.parent))
        cls.windows = cls.prefix.drive_c / 'windows'
        ARTIFACTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    # ---- helpers ----

    def host(self, windows_path):
        drive = self.prefix.path / 'dosdevices' / windows_path[:2].lower()
        return drive.resolve() / windows_path[3:].replace('\\', '/')

    def map_drive(self, letter, folder):
        link = self.prefix.path / 'dosdevices' / f'{letter}:'
        link.unlink(missing_ok=True)
        link.symlink_to(folder)

    def small_drive(self, letter, name):
        """A 1 MiB drive of its own, as `letter`:; its host folder."""
        mount = self.work / name
        mount.mkdir()
        mounted = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=1m', 'tmpfs', str(mount)],
                                 capture_output=True, text=True)
        if mounted.returncode != 0:
            self.skipTest(f'a small drive needs mount (root): {mounted.stderr.strip()}')
        self.addCleanup(subprocess.run, ['umount', '-l', str(mount)], check=False)
        self.map_drive(letter, mount)
        return mount

    def reg(self, *args):
        subprocess.run([self.prefix.wine, 'reg', *args, '/f'], env=self.prefix.env, check=True,
                       capture_output=True, timeout=60)

    def value(self, root, key, name):
        found = self.probe.reg_query(root, key, name)
        return found.value if found else None

    def image(self, name, project):
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        return self.prefix.put(f'images/{name}.exe', image.read_bytes())

    def silent(self, name, project, presses=(), exit_code=0):
        run = self.prefix.run(DRIVER, self.image(name, project), ['S'], presses=presses,
                              timeout=180)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return run

    def uninstall(self, session, name):
        """Yes to the installed copy's question; returns the removal dialog."""
        question = session.wait(f'{name} Uninstall', 'Are you sure you want to completely remove')
        session.press(question, 'Yes')
        return session.wait(f'{name} Uninstall', 'Please wait while', skip=[question])

    def uninstall_to_the_end(self, root, name):
        """Runs the installed uninstaller through to its closing message (nothing left over)."""
        with self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as s:
            dialog = self.uninstall(s, name)
            done = s.wait(f'{name} Uninstall', 'have been succesfully removed', skip=[dialog],
                          timeout=60)
            s.press(done, 'OK')
            self.assertEqual(s.finish(60), 0, s.transcript)

    def resolve_folders_once(self):
        """Wine makes some shell folders (My Video) the first time a program asks for them: a
        wizard run, cancelled, before a test's first snapshot, so that they are not taken for
        what the run under test left."""
        if getattr(DataSafety, 'folders_resolved', False):
            return
        source = source_folder(self.work / 'resolve-src', {'one.txt': b'1'}, written=WRITTEN)
        project = Project('Resolve', variables={'InstallPath': 'C:\\Kelvara Resolve'},
                          files=[FileGroup(source)])
        with self.prefix.session(DRIVER, self.image('resolve', project)) as session:
            wizard = Wizard(session)
            wizard.press('Cancel')
            wizard.answer('If you quit now', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        DataSafety.folders_resolved = True

    def files(self, folder):
        """{relative path: bytes} of every file below a host folder."""
        return {p.relative_to(folder).as_posix(): p.read_bytes()
                for p in sorted(folder.rglob('*')) if p.is_file()}

    # ---- tests ----

    def test_a_drive_root_and_the_persons_files_survive_the_uninstall(self):
        drive = self.work / 'drive-d'
        person = {'letter.txt': b'Dear all,\r\n', 'Photos/cat.jpg': os.urandom(3000),
                  'Photos/2026/dog.jpg': os.urandom(2000), 'Data Old/notes.txt': b'mine'}
        for relative, data in person.items():
            (drive / relative).parent.mkdir(parents=True, exist_ok=True)
            (drive / relative).write_bytes(data)
        self.map_drive('d', drive)
        source = source_folder(self.work / 'root-src', {'app.txt': b'app',
                                                        'Data/table.dat': b'table'},
                               written=WRITTEN)
        project = Project('Root Product', short_name='Root', variables={'InstallPath': 'D:\\'},
                          files=[FileGroup(source, overwrite='always')], uninstaller=True)
        self.silent('root', project)
        log = drive / 'uninstall.log'
        lines = log.read_bytes().decode('latin-1').split('\n')
        self.assertNotIn('a,D:', lines, 'a drive that was there is not the run\'s')
        self.assertIn('a,D:\\Data', lines, 'a folder the run made is logged')
        # The person saves a file in the program's folder; and the log gains the lines an older
        # installation wrote for folders that were there, the drive among them.
        (drive / 'Data' / 'saved.txt').write_bytes(b'saved by the person')
        # And a link in the program's folder to the person's photos: never followed. (Windows
        # removes a junction as a link; Wine shows a Unix link as one but removes none.)
        os.symlink(drive / 'Photos', drive / 'Data' / 'Linked Photos')
        # The same folders spelt as the file system reads them too, and by their short names.
        program_files = self.probe.short_path('C:\\Program Files')
        self.assertIn('~', program_files)
        old_lines = ['a,D:', 'a,D:\\', 'a,C:\\windows', 'a,C:\\users', 'a,C:\\Program Files',
                     'a,D:\\Data\\..', 'a,\\\\server\\share', 'a,C:\\users.', 'a,C:\\users ',
                     'a,C:\\\\users', f'a,{program_files}', 'a,\\\\?\\C:\\users',
                     'a,\\\\localhost\\C$\\users', 'a,C:\\windows.', 'a,D:\\.']
        log.write_bytes('\n'.join(lines[:4] + old_lines + lines[4:]).encode('latin-1'))

        with self.prefix.session(DRIVER, 'D:\\uninstall.exe') as s:
            dialog = self.uninstall(s, 'Root')
            s.wait_for(lambda: s.controls(dialog)[THIRD_BUTTON]['text'] == 'Finish',
                       'the leftover-files page', timeout=30)
            offered = [item['path'] for item in s.tree(dialog, TREE) if len(item['path']) == 1]
            self.assertEqual(offered, [('D:\\Data',)], 'only the folder the run made')
            s.press(dialog, 'Select all')
            s.wait_for(lambda: s.controls(dialog)[DELETE]['enabled'] == 1, 'Delete enabled')
            s.press(dialog, 'Delete')
            confirm = s.wait('Confirm Operation', 'delete all selected files and folders')
            s.press(confirm, 'Yes')
            s.wait_for(lambda: not s.tree(dialog, TREE), 'the deleted items leave the tree')
            path = s.screenshot(ARTIFACTS / 'drive-root-leftover-page.png', dialog)
            self.assertGreater(path.stat().st_size, 1000)
            s.press(dialog, 'Finish')
            self.assertEqual(s.finish(60), 0, s.transcript)

        left = sorted(p.name for p in (drive / 'Data').iterdir()) if (drive / 'Data').exists() \
            else []
        self.assertLessEqual(set(left), {'Linked Photos'}, 'the program\'s folder went, but the link')
        self.assertTrue(all((drive / 'Data' / 'Linked Photos').is_symlink() for _ in left))
        self.assertEqual(self.files(drive), person, 'every file of the person, byte for byte')
        self.assertTrue((self.windows / 'system32').is_dir())
        self.assertTrue(all((self.prefix.drive_c / name).is_dir()
                            for name in ('users', 'Program Files')), 'the profiles, the programs')
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\Root'))

    def test_an_uninstall_puts_back_associations_values_and_entries_that_were_there(self):
        self.reg('add', 'HKCR\\.kvsafe', '/ve', '/d', 'Other.Document')
        self.reg('add', 'HKCR\\.kvsafe', '/v', 'Content Type', '/d', 'text/other')
        self.reg('add', 'HKCR\\.kvsafe\\ShellNew', '/v', 'NullFile', '/d', '')
        self.reg('add', 'HKCR\\.kvsafe\\OpenWithProgids', '/v', 'Other.Document', '/d', '')
        self.reg('add', 'HKCU\\Software\\Kelvara Safety', '/v', 'Setting', '/d', 'before')
        self.reg('add', 'HKCU\\Software\\Kelvara Safety\\Theirs', '/v', 'X', '/d', 'x')
        ini_before = b'[Main]\r\nSetting=before\r\nOther=1\r\n[Theirs]\r\nKeep=yes\r\n'
        ini_path = self.windows / 'kelvara-safety.ini'
        ini_path.write_bytes(ini_before)
        root = 'C:\\Kelvara Safety\\Values'
        source = source_folder(self.work / 'values-src', {'app.txt': b'app'}, written=WRITTEN)
        extra = ''.join([
            table('registry', root='HKCU', key='Software\\Kelvara Safety', name='Setting',
                  value='after'),
            table('registry', root='HKCU', key='Software\\Kelvara Safety', name='Added',
                  value='added'),
            table('registry', root='HKCU', key='Software\\Kelvara Safety\\New\\Deeper',
                  name='V', value='new'),
            table('ini', file='kelvara-safety.ini', section='Main', key='Setting', value='after'),
            table('ini', file='kelvara-safety.ini', section='Main', key='New', value='1'),
            table('associations', extension='.kvsafe', type='Kelvara.SafeDocument',
                  content_type='application/x-kelvara', description='Kelvara document',
                  command='"%InstallPath%\\app.exe" "%1"'),
        ])
        project = Project('Values Product', short_name='Values', variables={'InstallPath': root},
                          files=[FileGroup(source)], uninstaller=True, extra=extra)
        self.silent('values', project)
        self.assertEqual(self.value('HKCR', '.kvsafe', ''), 'Kelvara.SafeDocument')
        self.assertEqual(self.value('HKCU', 'Software\\Kelvara Safety', 'Setting'), 'after')
        self.assertIn(b'Setting=after', ini_path.read_bytes())

        self.uninstall_to_the_end(root, 'Values')

        extension = self.probe.reg_key('HKCR', '.kvsafe')
        self.assertIsNotNone(extension, 'the extension that was there stays')
        values, subkeys = extension
        self.assertEqual({n: v.value for n, v in values.items()},
                         {'': 'Other.Document', 'Content Type': 'text/other'},
                         'its values are back')
        self.assertEqual(sorted(subkeys), ['OpenWithProgids', 'ShellNew'], 'with its subkeys')
        self.assertEqual(self.probe.reg_key('HKCR', '.kvsafe\\ShellNew')[0]['NullFile'].value, '')
        self.assertIsNone(self.probe.reg_key('HKCR', 'Kelvara.SafeDocument'), 'the new type goes')
        values, subkeys = self.probe.reg_key('HKCU', 'Software\\Kelvara Safety')
        self.assertEqual({n: v.value for n, v in values.items()}, {'Setting': 'before'})
        self.assertEqual(subkeys, ['Theirs'], 'the keys the run made go, the others stay')
        self.assertEqual(ini_path.read_bytes().replace(b'\r\n', b'\n'),
                         ini_before.replace(b'\r\n', b'\n'), 'the INI file as it was')
        self.assertFalse(self.host(root).exists())

    def test_a_write_that_fails_on_a_full_drive_leaves_the_old_file(self):
        mount = self.small_drive('e', 'small-drive')
        old = random.Random(1).randbytes(300_000)
        (mount / 'App').mkdir()
        (mount / 'App' / 'data.bin').write_bytes(old)
        (mount / 'filler').write_bytes(bytes(500_000))  # some 200 KB stay free
        source = source_folder(self.work / 'full-src', {
            'data.bin': random.Random(2).randbytes(600_000)}, written=WRITTEN)
        project = Project('Full Product', short_name='Full', variables={'InstallPath': 'E:\\App'},
                          files=[FileGroup(source, overwrite='always', compression='stored')],
                          uninstaller=True)
        run = self.silent('full', project, presses=('Cancel',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn('E:\\App\\data.bin', run.windows[0]['text'])
        self.assertEqual((mount / 'App' / 'data.bin').read_bytes(), old, 'byte for byte')
        self.assertEqual(sorted(p.name for p in (mount / 'App').iterdir()), ['data.bin'],
                         'no partial copy is left next to it')

    def test_an_uninstaller_that_does_not_fit_keeps_the_earlier_version(self):
        mount = self.small_drive('s', 'uninstaller-drive')
        # Files that fit where the uninstaller besides does not: refused before anything is
        # written, the uninstaller and its log counted.
        source = source_folder(self.work / 'big-src', {'big.bin': random.Random(3).randbytes(
            900_000)}, written=WRITTEN)
        project = Project('Small Product', short_name='Small', uninstaller=True,
                          variables={'InstallPath': 'S:\\Elsewhere'},
                          files=[FileGroup(source, compression='stored')])
        log = 'C:\\small.log'
        run = self.prefix.run(DRIVER, self.image('small', project),
                              ['/QUIET', '/DIR=S:\\Small', f'/LOG={log}'], timeout=120)
        self.assertEqual((run.exit_code, run.windows), (1603, []), run.output)
        self.assertIn('not enough free space', self.host(log).read_text('latin-1'))
        self.assertEqual(list(mount.iterdir()), [], 'the drive as it was')

        # Version 1, then version 2 through the wizard, with the drive filled (by someone else)
        # while its Ready page is shown: its files fit, its uninstaller does not.
        root = 'S:\\App'
        def version(number, size):
            folder = source_folder(self.work / f'v{number}-src', {
                'app.bin': random.Random(10 + number).randbytes(size)}, written=WRITTEN)
            return Project(f'Upgrade Product {number}', short_name='UpgradeSmall',
                           uninstaller=True, variables={'InstallPath': root},
                           files=[FileGroup(folder, overwrite='always', compression='stored')],
                           extra='[pages]\nshow = ["ready", "installing", "finish"]\n')
        self.silent('small-v1', version(1, 100_000))
        installed = self.files(mount)
        self.assertEqual(sorted(installed), ['App/app.bin', 'App/uninstall.exe',
                                             'App/uninstall.log'])
        entry = self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\UpgradeSmall')
        self.assertEqual(entry[0]['DisplayName'].value, 'Upgrade Product 1')
        with self.prefix.session(DRIVER, self.image('small-v2', version(2, 100_000))) as session:
            wizard = Wizard(session)
            free = os.statvfs(mount)
            (mount / 'filler').write_bytes(bytes(free.f_bavail * free.f_frsize - 160_000))
            wizard.next()  # Install
            failed = wizard.question('which it needs to remove the program later', timeout=120)
            self.assertIn(f'{root}\\uninstall.exe', failed['text'])
            session.press(failed, 'OK')
            self.assertEqual(wizard.exit_code(), 1603)
        (mount / 'filler').unlink()
        self.assertEqual(self.files(mount), installed,
                         'version 1 byte for byte, its uninstaller and log, nothing beside them')
        self.assertEqual(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\UpgradeSmall'), entry,
                         'its entry in the list of programs as it was')
        self.uninstall_to_the_end(root, 'UpgradeSmall')
        self.assertEqual(list(mount.iterdir()), [], 'removable: nothing is left')
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\UpgradeSmall'))

    def test_a_file_in_use_on_another_drive_is_staged_there_and_replaced_at_the_restart(self):
        drive = self.work / 'drive-f'
        (drive / 'Tool').mkdir(parents=True)
        (drive / 'Tool' / 'tool.exe').write_bytes(b'old tool')
        self.map_drive('f', drive)
        source = source_folder(self.work / 'in-use-src', {'tool.exe': b'new tool'},
                               written=WRITTEN)
        project = Project('Other Drive', short_name='OtherDrive', uninstaller=True,
                          variables={'InstallPath': 'C:\\Elsewhere'},
                          files=[FileGroup(source, overwrite='always')])
        image = self.image('other-drive', project)
        with self.probe.hold('F:\\Tool\\tool.exe'):
            run = self.prefix.run(DRIVER, image, ['/QUIET', '/NORESTART', '/DIR=F:\\Tool'],
                                  timeout=120)
        self.assertEqual((run.exit_code, run.windows), (3010, []), run.output)
        renames = self.probe.pending_renames()
        self.assertEqual(len(renames), 1, renames)
        source_path, target = renames[0]
        self.assertTrue(source_path.lower().startswith('\\??\\f:\\tool\\kvr'), renames)
        self.assertEqual(target.lower(), '!\\??\\f:\\tool\\tool.exe')
        restart(self.prefix)
        self.assertEqual((drive / 'Tool' / 'tool.exe').read_bytes(), b'new tool')
        self.assertEqual(sorted(p.name for p in (drive / 'Tool').iterdir()),
                         ['tool.exe', 'uninstall.exe', 'uninstall.log'], 'nothing staged is left')

    def test_an_installation_over_itself_uninstalls_to_nothing(self):
        """Installed twice (a repair), the second run finds the first one's folders, keys,
        values and entries there: the uninstall still removes all that either made."""
        root = 'C:\\Kelvara Twice\\App'
        source = source_folder(self.work / 'twice-src', {'app.txt': b'app',
                                                         'Sub/data.dat': b'data'},
                               written=WRITTEN)
        extra = ''.join([
            table('registry', root='HKCU', key='Software\\Kelvara Twice\\Deeper', name='Path',
                  value='%InstallPath%'),
            table('ini', file='kelvara-twice.ini', section='Twice', key='Path',
                  value='%InstallPath%'),
            table('associations', extension='.kvtwice', type='Kelvara.TwiceDocument',
                  description='Twice document', command='"%InstallPath%\\app.txt" "%1"'),
        ])
        project = Project('Twice Product', short_name='Twice', variables={'InstallPath': root},
                          files=[FileGroup(source)], uninstaller=True, extra=extra)
        keys = [('HKCU', 'Software\\Kelvara Twice'), ('HKLM', f'{UNINSTALL_KEY}\\Twice'),
                ('HKCR', '.kvtwice'), ('HKCR', 'Kelvara.TwiceDocument')]
        ignored = ['rig', 'rig/*', 'images', 'images/*']
        before = snapshot(self.prefix, self.probe, keys, ignored)
        self.silent('twice-first', project)
        self.silent('twice-again', project)
        log = self.host(root) / 'uninstall.log'
        self.assertEqual(log.read_bytes().count(b'a,C:\\Kelvara Twice\\App\n'), 1,
                         'the first run\'s folder line, carried over once')
        self.uninstall_to_the_end(root, 'Twice')
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                         NO_CHANGES, 'nothing of either run is left, nothing of the first is back')

    def test_an_image_cut_while_it_installs_is_rolled_back(self):
        """The image's file ends early half-way through the files (a share gone, a bad sector;
        here it is cut while a question holds the run): the damaged image's message where the
        read failed, and the rollback puts back every replaced file, removes the half-written
        one and leaves no temporary file anywhere."""
        root = 'C:\\Kelvara Safety\\Cut'
        folder = self.host(root)
        folder.mkdir(parents=True)
        old = {'a1.dll': b'MZ old one' + os.urandom(3000), 'a2.txt': b'old two\r\n'}
        for name, data in old.items():
            (folder / name).write_bytes(data)
        (folder / 'b-blocker').mkdir()  # a folder where a file goes: the run asks
        first = source_folder(self.work / 'cut-first', {
            'a1.dll': b'MZ new one' + os.urandom(5000), 'a2.txt': b'new two\r\n',
            'b-blocker': b'cannot be written'}, written=WRITTEN)
        big = random.Random(7).randbytes(4_000_000)
        second = source_folder(self.work / 'cut-second', {'big.bin': big, 'later.txt': b'x'},
                               written=WRITTEN)
        project = Project('Cut Product', short_name='Cut', variables={'InstallPath': root},
                          uninstaller=True,
                          files=[FileGroup(first, overwrite='always'),
                                 FileGroup(second, target='%InstallPath%\\More',
                                           compression='stored')],
                          extra='[pages]\nshow = ["ready", "installing", "finish"]\n')
        image = self.image('cut', project)
        image_file = self.prefix.drive_c / 'images' / 'cut.exe'
        cut_at = image_file.read_bytes().find(big[:4096]) + len(big) // 2
        self.assertGreater(cut_at, len(big) // 2, 'the big file is stored in the image')
        keys = [('HKLM', f'{UNINSTALL_KEY}\\Cut')]
        ignored = ['rig', 'rig/*', 'images', 'images/*']
        self.resolve_folders_once()
        before = snapshot(self.prefix, self.probe, keys, ignored)
        with self.prefix.session(DRIVER, image, timeout=180) as session:
            wizard = Wizard(session)
            wizard.next()  # Install
            blocked = wizard.question('b-blocker', timeout=120)
            self.assertTrue((folder / 'a1.dll').read_bytes().startswith(b'MZ new one'),
                            'the first files are replaced by now')
            os.truncate(image_file, cut_at)
            session.press(blocked, 'Yes')  # go on without it
            damaged = wizard.question('The installer file is damaged!', timeout=120)
            session.screenshot(ARTIFACTS / 'cut-image.png')
            session.press(damaged, 'OK')
            self.assertEqual(wizard.exit_code(120), 1603)
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                         NO_CHANGES, 'the machine as it was: no temporary file left anywhere')
        self.assertEqual(self.files(folder), old, 'every replaced file, byte for byte')

    def test_a_rollback_log_whose_drive_fills_up_still_undoes_everything(self):
        """The temporary folder's drive fills up while the rollback log grows: the run stops at
        once with the message, and the rollback removes every file it made, those whose lines
        the log's file could no longer take too."""
        mount = self.small_drive('t', 'temp-drive')
        (mount / 'Temp').mkdir()
        (mount / 'filler').write_bytes(bytes((1024 - 40) * 1024))  # about 40 KiB stay free
        for name in ('TEMP', 'TMP'):
            found = self.probe.reg_query('HKCU', 'Environment', name)
            self.addCleanup(self.reg, 'add', 'HKCU\\Environment', '/v', name, '/t',
                            'REG_EXPAND_SZ', '/d', found.value) if found else self.addCleanup(
                self.reg, 'delete', 'HKCU\\Environment', '/v', name)
            self.reg('add', 'HKCU\\Environment', '/v', name, '/d', 'T:\\Temp')
        # Some 130 KB of rollback lines: more than the drive takes with the log's buffer.
        files = {f'Part {i // 500}/file-{i:04}.txt': b'x' for i in range(3000)}
        source = source_folder(self.work / 'temp-full-src', files, written=WRITTEN)
        root = 'C:\\Kelvara Safety\\Temp Full'
        project = Project('Temp Full', short_name='TempFull', variables={'InstallPath': root},
                          files=[FileGroup(source)], uninstaller=True)
        keys = [('HKLM', f'{UNINSTALL_KEY}\\TempFull')]
        ignored = ['rig', 'rig/*', 'images', 'images/*']
        self.resolve_folders_once()
        before = snapshot(self.prefix, self.probe, keys, ignored)
        run = self.silent('temp-full', project, exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn('cannot write its rollback log', run.windows[0]['text'])
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                         NO_CHANGES, 'every file the run made is gone')
        self.assertEqual(sorted(p.name for p in mount.rglob('*')), ['Temp', 'filler'],
                         'the rollback log and its folder are gone')

    def test_a_failed_and_a_cancelled_run_put_back_what_they_replaced(self):
        root = 'C:\\Kelvara Safety\\Upgrade'
        folder = self.host(root)
        folder.mkdir(parents=True, exist_ok=True)
        # A shared file that was there, counted by nobody: the rollback gives the count back
        # and never asks whether the file may go, nor deletes it. (The system's list of counts
        # is there, as on every Windows.)
        self.reg('add', f'HKLM\\{SHARED_DLLS_KEY}', '/v', 'C:\\Other\\other.dll', '/t',
                 'REG_DWORD', '/d', '2')
        old_files = {'app.dll': b'MZ version 1' + os.urandom(5000), 'readme.txt': b'one\r\n',
                     'locked.ro': b'read-only before', 'Common/common.dll': b'MZ common 1'}
        for name, data in old_files.items():
            (folder / name).parent.mkdir(parents=True, exist_ok=True)
            (folder / name).write_bytes(data)
        (folder / 'locked.ro').chmod(0o444)
        self.reg('add', 'HKCU\\Software\\Kelvara Upgrade', '/v', 'Version', '/d', '1.0')
        ini_before = b'[Upgrade]\r\nVersion=1.0\r\n'
        ini_path = self.windows / 'kelvara-upgrade.ini'
        ini_path.write_bytes(ini_before)
        new_files = {'app.dll': b'MZ version 2' + os.urandom(9000), 'readme.txt': b'two\r\n',
                     'locked.ro': b'read-only after', 'added.txt': b'new'}
        source = source_folder(self.work / 'upgrade-src', new_files, written=WRITTEN)
        common = source_folder(self.work / 'upgrade-common', {'common.dll': b'MZ common 2'},
                               written=WRITTEN)
        changed = ''.join([
            table('registry', root='HKCU', key='Software\\Kelvara Upgrade', name='Version',
                  value='2.0'),
            table('registry', root='HKCU', key='Software\\Kelvara Upgrade', name='Added',
                  value='x'),
            table('ini', file='kelvara-upgrade.ini', section='Upgrade', key='Version',
                  value='2.0'),
        ])

        def project(extra, pages=None):
            look = f'[pages]\nshow = {pages}\n\n' if pages else ''
            return Project('Upgrade Product', short_name='Upgrade',
                           variables={'InstallPath': root},
                           files=[FileGroup(source, overwrite='always'),
                                  FileGroup(common, target='%InstallPath%\\Common',
                                            overwrite='always', shared=True)],
                           uninstaller=True, extra=look + changed + extra)

        keys = [('HKCU', 'Software\\Kelvara Upgrade'), ('HKLM', f'{UNINSTALL_KEY}\\Upgrade'),
                ('HKCR', '.kvupgrade'), ('HKLM', SHARED_DLLS_KEY)]
        ignored = ['rig', 'rig/*', 'images', 'images/*']

        def assert_as_before(before, what):
            self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, ignored)),
                             NO_CHANGES, what)
            self.assertEqual(self.files(folder), old_files, f'{what}: every byte')
            self.assertTrue(self.probe.stat(f'{root}\\locked.ro').attributes & 1,
                            f'{what}: still read-only')
            self.assertEqual(ini_path.read_bytes(), ini_before, f'{what}: the INI file')
            self.assertEqual(self.value('HKCU', 'Software\\Kelvara Upgrade', 'Version'), '1.0')

        # Failed: the last record cannot be written, and the user answers No. The programs
        # meant for after the installation do not run for a product that was rolled back.
        marker = self.host('C:\\kelvara-after-install.txt')
        after = ''.join(table('run', program='cmd.exe', when=when,
                              arguments=f'/c echo {when}>> C:\\kelvara-after-install.txt')
                        for when in ('after-install', 'after-finish'))
        failing = project(after + table('associations', extension='.kvupgrade', type=LONG_NAME,
                                        command='never.exe'))
        before = snapshot(self.prefix, self.probe, keys, ignored)
        run = self.silent('upgrade-failed', failing, presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn('.kvupgrade', run.windows[0]['text'])
        self.assertFalse(marker.exists(), 'no after-install program ran')
        assert_as_before(before, 'after the failed run')

        # Cancelled: while the settings files are written, after the files and the registry.
        many = ''.join(table('ini', file='kelvara-upgrade-more.ini', section=f'S{i // 50}',
                             key=f'K{i}', value='v') for i in range(2500))
        image = self.image('upgrade-cancelled', project(
            many, pages='["ready", "installing", "finish"]'))
        with self.prefix.session(DRIVER, image) as s:  # the folder tokens' first resolution
            wizard = Wizard(s)
            wizard.press('Cancel')
            wizard.answer('If you quit now', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        before = snapshot(self.prefix, self.probe, keys, ignored)
        with self.prefix.session(DRIVER, image, timeout=300) as s:
            wizard = Wizard(s)
            wizard.next()
            wizard.wait_page(lambda p: p.type == INSTALLING and
                             p.text(STEP) == 'Updating settings files...',
                             'the INI entries being written', timeout=120)
            self.assertEqual(self.value('HKCU', 'Software\\Kelvara Upgrade', 'Version'), '2.0',
                             'the registry value is replaced by now')
            wizard.press('Cancel')
            wizard.answer(QUIT_DURING, 'Yes')
            self.assertEqual(wizard.exit_code(120), 1602)
        assert_as_before(before, 'after the cancelled run')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0], *sys.argv[7:]], verbosity=2)
