#!/usr/bin/env python3
"""Installations for the current user alone and for every user: a `user` product, run without
administrator rights, installs into the user's own programs folder, registers under
HKEY_CURRENT_USER (its uninstall entry, HKA values, its file type under Software\\Classes), puts
its shortcuts in the user's Start menu and writes nothing in the machine's places (the prefix
diffed); its silent uninstall takes all of it away, and neither asks for rights. A `machine`
product run without rights starts itself again elevated and passes on that run's exit code, as
its uninstaller does; under /QUIET it refuses instead and writes nothing. A `choose` product
follows /ALLUSERS and /CURRENTUSER; without them, an upgrade keeps the scope it was installed in,
and a first installation takes the default, or, with a wizard, what the person picks on the
scope page (both layouts; "for all users" without rights is the elevated restart).

Wine gives every process one user, so a run under the system's own account cannot be played
here: that rule is tested with the scope decisions on their own.

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
from wizard import BACK, DESTINATION, FINISH, NEXT, SCOPE, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUILDER = sys.argv[1:6]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'install-scope'
ELEVATING = 'administrator rights: missing; starting again elevated'
ALL_USERS, JUST_ME = 1003, 1005  # the scope page's two answers
PRODUCT = 'Kelvara Scope'
SHORT = 'KelvaraScope'
UNINSTALL = f'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SHORT}'
# Left out of the comparisons: the test's own images and logs, "My Video", which Wine makes the
# first time any program asks for the user's folders, and the user's programs folder, which a
# user's installation makes when it is missing and then keeps, as the system's own (a machine
# installation keeps Program Files).
IGNORED = WINE_CHANGES + ['images', 'images/*', 'logs', 'logs/*', 'users/*/Documents/My Video',
                          'users/*/AppData/Local/Programs']

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

    def image(self, name, extra='', restart=None, **product):
        project = Project(PRODUCT, short_name=SHORT, product=product, restart=restart,
                          files=[FileGroup(self.source)], extra=RECORDS + extra)
        return build_image(BUILDER, ENGINE, project, self.work / name)

    def install(self, prefix, image, *options, restricted=False, expect=0, quiet='/QUIET'):
        """Runs the image silently with a fresh run log; the log's text."""
        path = prefix.put(f'images/{image.parent.name}.exe', image.read_bytes())
        log = prefix.drive_c / 'logs' / 'install.txt'
        log.unlink(missing_ok=True)
        run = prefix.run(DRIVER, path, [quiet, '/LOG=C:\\logs\\install.txt', *options],
                         timeout=180, restricted=restricted, follow=True)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, expect, run.output)
        return log.read_text('latin-1')

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
            log = self.install(prefix, self.image('user', scope='user'), restricted=True)
            self.assertIn('scope: the current user', log)
            self.assertNotIn('administrator rights', log, 'a user\'s installation never asks')
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

            run = prefix.run(DRIVER, f'{windows_folder}\\uninstall.exe',
                             ['/S', '/LOG=C:\\logs\\uninstall.txt'], timeout=180, follow=True,
                             restricted=True)
            self.assertFalse(run.timed_out, run.output)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertNotIn('administrator rights',
                             (prefix.drive_c / 'logs' / 'uninstall.txt').read_text('latin-1'))
            (prefix.drive_c / 'logs' / 'uninstall.txt').unlink()
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

    def test_a_machine_product_without_rights_asks_for_them_or_refuses_when_quiet(self):
        image = self.image('machine', restart=True)
        with Prefix(BUILD, ARCH, 'scope-rights') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            before = files_of(prefix.drive_c, IGNORED)
            # Quiet: no question may appear, so no installation either.
            log = self.install(prefix, image, restricted=True, expect=1603)
            self.assertIn('administrator rights: missing; a quiet run does not ask for them', log)
            self.assertIn('needs administrator rights', log, 'the message, in the log only')
            self.assertNotIn(ELEVATING, log)
            self.assertEqual(changes((before, {}), (files_of(prefix.drive_c, IGNORED), {})),
                             NO_CHANGES)
            self.assertIsNone(self.reg(prefix, f'HKLM\\{UNINSTALL}'))
            # Silent, not quiet: the run starts again elevated (Wine grants nothing more, which
            # the elevated run takes as it is) and ends with that run's exit code: 3010, as the
            # product asks for a restart that /NORESTART keeps from happening.
            log = self.install(prefix, image, '/NORESTART', restricted=True, expect=3010,
                               quiet='/S')
            lines = log.splitlines()
            self.assertEqual(sum(ELEVATING in line for line in lines), 1, log)
            self.assertEqual(sum('requirements: met' in line for line in lines), 1,
                             'only the elevated run went on to install')
            self.assertTrue(lines[-2].endswith(
                'administrator rights: the elevated run ended with exit code 3010'), log)
            self.assertIn('exit code 3010', lines[-1])
            self.assertTrue((prefix.drive_c / 'Program Files' / PRODUCT / 'scope.txt').exists())
            # Its uninstaller asks for rights too: the installation is the machine's.
            run = prefix.run(DRIVER, f'C:\\Program Files\\{PRODUCT}\\uninstall.exe',
                             ['/S', '/LOG=C:\\logs\\uninstall.txt'], timeout=180, follow=True,
                             restricted=True)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            log = (prefix.drive_c / 'logs' / 'uninstall.txt').read_text('latin-1')
            self.assertEqual(log.count(ELEVATING), 1, log)
            self.assertIn('administrator rights: the elevated run ended with exit code 0', log)
            self.assertIsNone(self.reg(prefix, f'HKLM\\{UNINSTALL}'))

    def test_a_users_installation_writes_nothing_of_the_machines(self):
        """What the builder cannot refuse in a product that lets one choose, the user's
        installation refuses when it meets it: a key under HKLM, files in the Windows folder."""
        hklm = self.image('choose-hklm', scope='choose', extra=(
            '\n[[registry]]\nroot = "HKLM"\nkey = "Software\\\\Kelvara Machine"\nname = "P"\n'
            'value = "1"\n'))
        project = Project(PRODUCT, short_name=SHORT, product={'scope': 'choose'},
                          files=[FileGroup(self.source, target='<Windows>\\Kelvara Scope')])
        windows = build_image(BUILDER, ENGINE, project, self.work / 'choose-windows')
        with Prefix(BUILD, ARCH, 'scope-machine-places') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            before = files_of(prefix.drive_c, IGNORED)
            log = self.install(prefix, hklm, '/CURRENTUSER', expect=1603)
            self.assertIn('writes nothing under HKEY_LOCAL_MACHINE', log)
            log = self.install(prefix, windows, '/CURRENTUSER', expect=1603)
            self.assertIn('cannot put files into this folder, which belongs to the whole '
                          'computer: C:\\windows\\Kelvara Scope', log)
            for key in ('HKLM\\Software\\Kelvara Machine', f'HKCU\\{UNINSTALL}',
                        'HKCU\\Software\\Kelvara Scope'):
                self.assertIsNone(self.reg(prefix, key), key)
            self.assertEqual(changes((before, {}), (files_of(prefix.drive_c, IGNORED), {})),
                             NO_CHANGES, 'both runs were rolled back whole')
            # For every user the same records install.
            self.install(prefix, hklm, '/ALLUSERS')
            self.assertEqual(self.reg(prefix, 'HKLM\\Software\\Kelvara Machine', 'P'), '1')

    def choose_image(self, name, layout):
        return self.image(name, scope='choose', default_scope='machine',
                          extra=f'\n[look]\nlayout = "{layout}"\n\n[pages]\n'
                                'show = ["destination", "ready", "installing", "finish"]\n')

    def wizard_run(self, prefix, image, restricted=False):
        path = prefix.put(f'images/{image.parent.name}.exe', image.read_bytes())
        return prefix.session(DRIVER, path, ['/LOG=C:\\logs\\wizard.txt'], timeout=240,
                              restricted=restricted)

    def assertScopePage(self, page, checked):
        self.assertEqual(page.type, SCOPE, page)
        self.assertEqual(page.title, 'Choose Users')
        self.assertEqual(page.text(ALL_USERS), 'Install for &all users of this computer')
        self.assertIn('needs administrator rights', page.text(1004))
        self.assertEqual(page.text(JUST_ME), 'Install just for &me')
        self.assertIn('needs no administrator rights', page.text(1006))
        self.assertEqual((page.controls[ALL_USERS]['checked'], page.controls[JUST_ME]['checked']),
                         (checked == ALL_USERS, checked == JUST_ME), page)
        self.assertEqual((page.button(BACK), page.button(NEXT)), (None, 'Next >'))

    def test_the_scope_page_chooses_and_an_upgrade_keeps_the_choice(self):
        image = self.choose_image('page-standard', 'standard')
        with Prefix(BUILD, ARCH, 'scope-page') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            prefix.set_dpi(144)  # the compact layout's run stays at 96
            programs = self.user_folder(prefix, 'AppData', 'Local', 'Programs', PRODUCT)
            user_folder = f'C:\\users\\{programs.parents[3].name}\\AppData\\Local\\Programs\\' \
                          f'{PRODUCT}'
            with self.wizard_run(prefix, image) as session:
                wizard = Wizard(session)
                page = wizard.page()
                self.assertScopePage(page, ALL_USERS)
                wizard.screenshot(ARTIFACTS / 'standard-scope-144dpi.png')
                # Each answer gives the destination its own folder, back and forth.
                session.click_button(page.window, JUST_ME)
                page = wizard.next()
                self.assertEqual((page.type, page.text(1018)), (DESTINATION, user_folder))
                page = wizard.back()
                self.assertScopePage(page, JUST_ME)
                session.click_button(page.window, ALL_USERS)
                page = wizard.next()
                self.assertEqual(page.text(1018), f'C:\\Program Files\\{PRODUCT}')
                page = wizard.back()
                session.click_button(page.window, JUST_ME)
                wizard.next()
                wizard.next()  # the ready page
                page = wizard.next()  # Install
                page = wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', 120)
                wizard.press('Finish')
                self.assertEqual(wizard.exit_code(), 0)
            log = (prefix.drive_c / 'logs' / 'wizard.txt').read_text('latin-1')
            self.assertIn('scope: the current user (chosen)', log)
            self.assertEqual((programs / 'scope.txt').read_bytes(), b'for one user\r\n')
            self.assertEqual(self.reg(prefix, 'HKCU\\Software\\Kelvara Scope', 'Path'),
                             user_folder, 'the records follow the answer too')
            self.assertIsNotNone(self.reg(prefix, f'HKCU\\{UNINSTALL}', 'UninstallString'))
            self.assertIsNone(self.reg(prefix, f'HKLM\\{UNINSTALL}'))
            self.assertFalse((prefix.drive_c / 'Program Files' / PRODUCT).exists())
            # The upgrade asks no more: the first answer holds.
            with self.wizard_run(prefix, image) as session:
                wizard = Wizard(session)
                page = wizard.page()
                self.assertEqual((page.type, page.text(1018)), (DESTINATION, user_folder))
                wizard.press('Cancel')
                wizard.answer('', 'Yes')
                self.assertEqual(wizard.exit_code(), 1602)

    def test_for_all_users_without_rights_the_page_starts_the_run_again_elevated(self):
        image = self.choose_image('page-compact', 'compact')
        with Prefix(BUILD, ARCH, 'scope-page-compact') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            with self.wizard_run(prefix, image, restricted=True) as session:
                wizard = Wizard(session)
                page = wizard.page()
                self.assertScopePage(page, ALL_USERS)
                wizard.screenshot(ARTIFACTS / 'compact-scope.png')
                first = wizard.frame
                wizard.press('Next >')
                session.gone(first)
                # The elevated run's own wizard, for all users: the command line decided.
                wizard = Wizard(session)
                self.assertNotEqual(wizard.frame['handle'], first['handle'])
                page = wizard.page()
                self.assertEqual((page.type, page.text(1018)),
                                 (DESTINATION, f'C:\\Program Files\\{PRODUCT}'))
                wizard.press('Cancel')
                wizard.answer('', 'Yes')
                self.assertEqual(wizard.exit_code(), 1602, 'the elevated run\'s exit code')
            log = (prefix.drive_c / 'logs' / 'wizard.txt').read_text('latin-1')
            self.assertEqual(log.count(ELEVATING), 1, log)
            self.assertIn('administrator rights: the elevated run ended with exit code 1602', log)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
