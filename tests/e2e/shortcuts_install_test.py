#!/usr/bin/env python3
"""Shortcuts made by silent installations in a fresh Wine prefix, read back through the shell's
link object: every field, the group, desktop and Quick Launch kinds, the working folder default,
the install log's lines, shared shortcuts, and a shortcut that cannot be made (Yes goes on, No
rolls the run back).

    shortcuts_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                              <kelvara-build>
"""
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, source_folder,  # noqa: E402
                             toml_string)
from probe import Probe  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
SHELL_FOLDERS = 'Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders'
SW_SHOWNORMAL, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE = 1, 3, 7
HOTKEY = 0x0641  # Ctrl+Alt+A
SHORTCUT_ERROR = 'Setup could not create this shortcut'


def shortcuts_toml(*shortcuts):
    """[[shortcuts]] tables from dicts of the project file's keys."""
    tables = []
    for shortcut in shortcuts:
        lines = ['[[shortcuts]]']
        for key, value in shortcut.items():
            if isinstance(value, bool):
                lines.append(f'{key} = {"true" if value else "false"}')
            elif isinstance(value, int):
                lines.append(f'{key} = {value}')
            else:
                lines.append(f'{key} = {toml_string(value)}')
        tables.append('\n'.join(lines))
    return '\n\n'.join(tables) + '\n'


class ShortcutsInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'shortcuts-install')
        # Shell links saved in the prefix would otherwise become menu entries on the host.
        cls.prefix.env['WINEDLLOVERRIDES'] += ';winemenubuilder.exe=d'
        # The prefix links the user's desktop to the host's home folder: desktop shortcuts get a
        # folder of their own inside the prefix instead.
        for desktop in cls.prefix.drive_c.glob('users/*/Desktop'):
            if desktop.is_symlink():
                desktop.unlink()
                desktop.mkdir()
        # The Quick Launch folder comes with the browser; without it the shortcuts would go to
        # the temporary folder.
        for app_data in cls.prefix.drive_c.glob('users/*/AppData/Roaming'):
            (app_data / 'Microsoft' / 'Internet Explorer' / 'Quick Launch').mkdir(parents=True,
                                                                                 exist_ok=True)
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='shortcuts-install-', dir=cls.prefix.path.parent))
        cls.source = source_folder(cls.work / 'src', {'app.exe': b'MZ not really a program',
                                                      'readme.txt': b'read me\r\n'})

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def project(self, name, root, *shortcuts, **variables):
        return Project(name, variables={'InstallPath': root, **variables}, uninstaller=True,
                       files=[FileGroup(self.source, overwrite='always')],
                       extra=shortcuts_toml(*shortcuts))

    def install(self, name, project, presses=(), exit_code=0):
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        path = self.prefix.put(f'images/{name}.exe', image.read_bytes())
        run = self.prefix.run(DRIVER, path, ['S'], presses=presses, timeout=120)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return run

    def log_lines(self, root):
        return self.host(f'{root}\\uninstall.log').read_text('latin-1').split('\n')

    def shell_folder(self, name):
        value = self.probe.reg_query('HKCU', SHELL_FOLDERS, name)
        self.assertIsNotNone(value, f'the Shell Folders value {name}')
        return value.value.rstrip('\\')

    def assert_link(self, path, **expected):
        link = self.probe.shortcut(path)
        self.assertIsNotNone(link, f'{path} was not created')
        for field, value in expected.items():
            self.assertEqual(getattr(link, field), value, f'{path}: {field}')

    def test_every_field_and_every_kind_of_shortcut(self):
        root = 'C:\\Kelvara Shortcuts\\Every'
        existing = 'C:\\Kelvara Shortcuts\\Existing.lnk'
        self.host(existing).parent.mkdir(parents=True, exist_ok=True)
        self.host(existing).write_bytes(b'an older file by that name')
        project = self.project(
            'Every Shortcut', root,
            {'path': '<Programs>\\%ShortcutsGroup%\\App.lnk', 'target': '%InstallPath%\\app.exe',
             'arguments': '/open --mode fast', 'working-folder': 'C:\\Work Folder\\',
             'icon': '%InstallPath%\\app.exe', 'icon-index': 2, 'show': 'maximized',
             'hotkey': HOTKEY},
            {'path': '<Desktop>\\App.lnk', 'target': '%InstallPath%\\app.exe',
             'show': 'minimized'},
            {'path': '<QuickLaunch>\\App Readme.lnk', 'target': '%InstallPath%\\readme.txt'},
            {'path': '%InstallPath%\\Docs\\Help\\Readme.lnk',
             'target': '%InstallPath%\\readme.txt', 'arguments': '<Desktop>\\notes.txt'},
            {'path': existing, 'target': '%InstallPath%\\app.exe'},
            ShortcutsGroup='Kelvara Tools')
        run = self.install('every', project)
        self.assertEqual(run.windows, [], 'a good silent install shows nothing')

        group = f'{self.shell_folder("Programs")}\\Kelvara Tools'
        desktop = self.shell_folder('Desktop')
        quick_launch = (f'{self.shell_folder("AppData")}'
                        '\\Microsoft\\Internet Explorer\\Quick Launch')
        paths = [f'{group}\\App.lnk', f'{desktop}\\App.lnk', f'{quick_launch}\\App Readme.lnk',
                 f'{root}\\Docs\\Help\\Readme.lnk', existing]
        lines = self.log_lines(root)
        self.assertEqual([line for line in lines if line.startswith('h,')],
                         [f'h,{path}' for path in paths],
                         'every kind is made in a silent run, logged in record order; the '
                         'existing file is logged too')
        for folder in (f'{root}\\Docs', f'{root}\\Docs\\Help', group):
            self.assertIn(f'a,{folder}', lines, 'the folder chain logs what it made')
        self.assertLess(lines.index(f'a,{root}\\Docs\\Help'),
                        lines.index(f'h,{root}\\Docs\\Help\\Readme.lnk'))

        self.assert_link(paths[0], target=f'{root}\\app.exe', arguments='/open --mode fast',
                         working_folder='C:\\Work Folder', icon=f'{root}\\app.exe', icon_index=2,
                         stored_show=SW_SHOWMAXIMIZED, hotkey=HOTKEY, description='')
        self.assert_link(paths[1], target=f'{root}\\app.exe', arguments='', working_folder=root,
                         icon='', icon_index=0, stored_show=SW_SHOWMINNOACTIVE, hotkey=0)
        self.assert_link(paths[2], target=f'{root}\\readme.txt', working_folder=root,
                         stored_show=SW_SHOWNORMAL, hotkey=0)
        self.assert_link(paths[3], target=f'{root}\\readme.txt',
                         arguments=f'{desktop}\\notes.txt', working_folder=root)
        self.assert_link(existing, target=f'{root}\\app.exe')

    def test_a_shared_shortcut_is_counted_per_installation(self):
        root = 'C:\\Kelvara Shortcuts\\Shared'
        link = f'{root}\\Shared Tool.lnk'
        project = self.project('Shared Shortcut', root,
                               {'path': '%InstallPath%\\Shared Tool.lnk',
                                'target': '%InstallPath%\\app.exe', 'shared': True})
        self.install('shared-1', project)
        self.assertEqual(self.probe.shared_count(link), 1)
        self.install('shared-2', project)
        self.assertEqual(self.probe.shared_count(link), 2, 'counted again by the second run')
        lines = self.log_lines(root)
        self.assertIn(f'g,{link}', lines)
        self.assertNotIn(f'h,{link}', lines, 'a shared shortcut is only counted, never deleted')
        self.assert_link(link, target=f'{root}\\app.exe', working_folder=root)

    def test_a_shortcut_that_cannot_be_made_asks_and_yes_goes_on(self):
        root = 'C:\\Kelvara Shortcuts\\GoesOn'
        taken = f'{root}\\Links\\Taken.lnk'
        self.host(taken).mkdir(parents=True)  # a folder where the link should go
        invalid = f'{root}\\Links\\Bad|Name.lnk'
        self.host(f'{root}\\Blocked').write_bytes(b'a file where a folder should go')
        blocked = f'{root}\\Blocked\\Sub\\Tool.lnk'
        project = self.project(
            'Goes On', root,
            {'path': f'{root}\\Links\\First.lnk', 'target': '%InstallPath%\\app.exe'},
            {'path': taken, 'target': '%InstallPath%\\app.exe'},
            {'path': invalid, 'target': '%InstallPath%\\app.exe'},
            {'path': 'Links\\Relative.lnk', 'target': '%InstallPath%\\app.exe'},
            {'path': blocked, 'target': '%InstallPath%\\app.exe'},
            {'path': f'{root}\\Links\\Second.lnk', 'target': '%InstallPath%\\readme.txt'})
        run = self.install('goes-on', project, presses=('Yes',) * 5, exit_code=1)

        questions = [w for w in run.windows if SHORTCUT_ERROR in w['text']]
        # A relative path is refused; a folder the chain could not make is reported by the
        # chain first (going on there), then the link cannot be saved.
        failing = (taken, invalid, 'Links\\Relative.lnk', blocked)
        self.assertEqual(len(questions), len(failing), run.output)
        for question, path in zip(questions, failing):
            self.assertIn(f':\n{path}\n', question['text'], 'one question per failing shortcut')
        for question in questions:
            self.assertEqual(question['buttons'], 'Yes|No', question)
            self.assertEqual(question['caption'], 'Goes On Setup', question)
        folder_questions = [w for w in run.windows if f'{root}\\Blocked\\Sub' in w['text']
                            and SHORTCUT_ERROR not in w['text']]
        self.assertEqual(len(folder_questions), 1, run.output)
        self.assertLess(run.windows.index(folder_questions[0]), run.windows.index(questions[-1]))
        self.assertEqual(len(run.windows), 6, f'then: completed with errors; {run.output}')

        self.assert_link(f'{root}\\Links\\First.lnk', target=f'{root}\\app.exe')
        self.assert_link(f'{root}\\Links\\Second.lnk', target=f'{root}\\readme.txt')
        self.assertTrue(self.host(taken).is_dir(), 'the folder in the way is left alone')
        lines = self.log_lines(root)
        self.assertIn(f'h,{root}\\Links\\First.lnk', lines)
        self.assertIn(f'h,{root}\\Links\\Second.lnk', lines)
        failed = ('Taken', 'Bad|', 'Relative', 'Blocked')
        self.assertFalse([line for line in lines if any(name in line for name in failed)],
                         'a shortcut that was not made is not logged')

    def test_no_ends_the_run_and_the_rollback_removes_the_new_shortcuts_and_restores_the_old(self):
        root = 'C:\\Kelvara Shortcuts\\RolledBack'
        old = f'{root}\\Old.lnk'
        self.host(old).parent.mkdir(parents=True)
        self.host(old).write_bytes(b'an older file by that name')
        taken = f'{root}\\Taken.lnk'
        self.host(taken).mkdir()
        before = self.probe.tree(root)
        project = self.project(
            'Rolled Back', root,
            {'path': old, 'target': '%InstallPath%\\app.exe'},
            {'path': f'{root}\\Fresh\\Deeper\\New.lnk', 'target': '%InstallPath%\\app.exe'},
            {'path': taken, 'target': '%InstallPath%\\app.exe'},
            {'path': f'{root}\\Never.lnk', 'target': '%InstallPath%\\app.exe'})
        run = self.install('rolled-back', project, presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn(SHORTCUT_ERROR, run.windows[0]['text'])
        self.assertIn(taken, run.windows[0]['text'])

        after = self.probe.tree(root)
        self.assertEqual(sorted(after), sorted(before),
                         'the new shortcut, its folders and the files are gone; nothing after '
                         'the failure was made')
        self.assertEqual(self.host(old).read_bytes(), b'an older file by that name',
                         'the file the run overwrote is put back')
        self.assertFalse(self.host(f'{root}\\uninstall.log').exists())


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
