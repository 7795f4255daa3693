#!/usr/bin/env python3
"""Installations for the current user alone and for every user: a `user` product installs into
the user's own programs folder, registers under HKEY_CURRENT_USER (its uninstall entry, HKA
values, its file type under Software\\Classes), puts its shortcuts in the user's Start menu and
writes nothing in the machine's places (the prefix diffed); its silent uninstall takes all of it
away. A `choose` product follows /ALLUSERS and /CURRENTUSER; without them, an upgrade keeps the
scope it was installed in, and a first installation takes the default.

    install_scope_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <kelvara-build>
"""
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from system_snapshot import NO_CHANGES, WINE_CHANGES, changes, files_of  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUILDER = sys.argv[1:6]
PRODUCT = 'Kelvara Scope'
SHORT = 'KelvaraScope'
UNINSTALL = f'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SHORT}'
# Left out of the comparisons: the test's own images and logs, and "My Video", which Wine makes
# the first time any program asks for the user's folders.
IGNORED = WINE_CHANGES + ['images', 'images/*', 'logs', 'logs/*', 'users/*/Documents/My Video']

RECORDS = (
    '[[registry]]\nroot = "HKA"\nkey = "Software\\\\Kelvara Scope"\nname = "Path"\n'
    'value = "%InstallPath%"\n\n'
    '[[shortcuts]]\npath = "<CommonPrograms>\\\\Kelvara Scope\\\\Scope.lnk"\n'
    'target = "%InstallPath%\\\\scope.txt"\n\n'
    '[[associations]]\nextension = ".kscope"\ntype = "KelvaraScope.Document"\n'
    'command = "\\"%InstallPath%\\\\scope.txt\\" \\"%1\\""\n')


class InstallScope(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix='kelvara-scope-'))
        cls.source = source_folder(cls.work / 'source', {'scope.txt': b'for one user\r\n'})

    def image(self, name, **product):
        project = Project(PRODUCT, short_name=SHORT, product=product,
                          files=[FileGroup(self.source)], extra=RECORDS)
        return build_image(BUILDER, ENGINE, project, self.work / name)

    def install(self, prefix, image, *options):
        path = prefix.put(f'images/{image.parent.name}.exe', image.read_bytes())
        run = prefix.run(DRIVER, path, ['/QUIET', '/LOG=C:\\logs\\install.txt', *options],
                         timeout=180)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, 0, run.output)
        return (prefix.drive_c / 'logs' / 'install.txt').read_text('latin-1')

    @staticmethod
    def reg(prefix, key, name=None):
        return prefix.reg_value(key, name)

    def user_folder(self, prefix, *parts):
        users = [p for p in (prefix.drive_c / 'users').iterdir()
                 if p.is_dir() and p.name.lower() != 'public']
        self.assertEqual(len(users), 1, users)
        return users[0].joinpath(*parts)

    def test_a_user_product_stays_in_the_users_places(self):
        with Prefix(BUILD, ARCH, 'scope-user') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            before = files_of(prefix.drive_c, IGNORED)
            log = self.install(prefix, self.image('user', scope='user'))
            self.assertIn('scope: the current user', log)
            programs = self.user_folder(prefix, 'AppData', 'Local', 'Programs', PRODUCT)
            self.assertEqual((programs / 'scope.txt').read_bytes(), b'for one user\r\n')
            windows_folder = f'C:\\users\\{programs.parents[3].name}\\AppData\\Local\\Programs\\' \
                             f'{PRODUCT}'
            self.assertEqual(self.reg(prefix, f'HKCU\\{UNINSTALL}', 'QuietUninstallString'),
                             f'"{windows_folder}\\uninstall.exe" /S')
            self.assertEqual(self.reg(prefix, f'HKCU\\{UNINSTALL}', 'InstallLocation'),
                             windows_folder)
            self.assertEqual(self.reg(prefix, 'HKCU\\Software\\Kelvara Scope', 'Path'),
                             windows_folder)
            self.assertEqual(self.reg(prefix, 'HKCU\\Software\\Classes\\.kscope'),
                             'KelvaraScope.Document')
            for machine in (f'HKLM\\{UNINSTALL}', 'HKLM\\Software\\Kelvara Scope',
                            'HKLM\\Software\\Classes\\.kscope',
                            'HKLM\\Software\\Classes\\KelvaraScope.Document'):
                self.assertIsNone(self.reg(prefix, machine), machine)
            self.assertTrue(self.user_folder(prefix, 'AppData', 'Roaming', 'Microsoft', 'Windows',
                                             'Start Menu', 'Programs', PRODUCT,
                                             'Scope.lnk').exists())
            # Everything the run wrote is the user's own.
            written = changes((before, {}), (files_of(prefix.drive_c, IGNORED), {}))
            self.assertEqual(written['files lost'], [])
            self.assertEqual([f for f in written['files left behind'] + written['files changed']
                              if not f.startswith('users/')], [])

            run = prefix.run(DRIVER, f'{windows_folder}\\uninstall.exe', ['/S'], timeout=180,
                             follow=True)
            self.assertFalse(run.timed_out, run.output)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertEqual(changes((before, {}), (files_of(prefix.drive_c, IGNORED), {})),
                             NO_CHANGES)
            for key in (f'HKCU\\{UNINSTALL}', 'HKCU\\Software\\Kelvara Scope',
                        'HKCU\\Software\\Classes\\.kscope',
                        'HKCU\\Software\\Classes\\KelvaraScope.Document'):
                self.assertIsNone(self.reg(prefix, key), key)

    def test_a_product_that_lets_one_choose_follows_the_command_line(self):
        image = self.image('choose', scope='choose', default_scope='machine')
        user_entry = f'HKCU\\{UNINSTALL}'
        with Prefix(BUILD, ARCH, 'scope-choose') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            # Without an option, and never installed: the default, every user.
            self.assertIn('scope: every user', self.install(prefix, image))
            self.assertTrue((prefix.drive_c / 'Program Files' / PRODUCT / 'scope.txt').exists())
            self.assertIsNotNone(self.reg(prefix, f'HKLM\\{UNINSTALL}', 'UninstallString'))
            self.assertIsNotNone(self.reg(prefix, 'HKLM\\Software\\Kelvara Scope', 'Path'))
            self.assertIsNone(self.reg(prefix, user_entry))
            # /CURRENTUSER over the earlier installation and the default.
            self.assertIn('scope: the current user', self.install(prefix, image, '/CURRENTUSER'))
            self.assertIsNotNone(self.reg(prefix, user_entry, 'UninstallString'))
        with Prefix(BUILD, ARCH, 'scope-kept') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            self.install(prefix, image, '/CURRENTUSER')
            programs = self.user_folder(prefix, 'AppData', 'Local', 'Programs', PRODUCT)
            (programs / 'scope.txt').unlink()
            # An upgrade without an option keeps the first choice, not the default.
            self.assertIn('scope: the current user', self.install(prefix, image))
            self.assertTrue((programs / 'scope.txt').exists())
            self.assertFalse((prefix.drive_c / 'Program Files' / PRODUCT).exists())
            self.assertIsNone(self.reg(prefix, f'HKLM\\{UNINSTALL}'))
            # /ALLUSERS says otherwise.
            self.assertIn('scope: every user', self.install(prefix, image, '/ALLUSERS'))
            self.assertTrue((prefix.drive_c / 'Program Files' / PRODUCT / 'scope.txt').exists())

if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
