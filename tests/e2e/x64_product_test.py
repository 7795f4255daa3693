#!/usr/bin/env python3
"""64-bit products in a 64-bit Wine prefix: the engine (the 32-bit one through WoW64 where the
machine runs 32-bit code, else its x86_64 twin) installs an x64 product on the native side --
its files in C:\\Program Files and the native System32, its values, association, shared counts
and uninstall entry in the 64-bit registry view (read with reg /reg:64 and /reg:32), its 64-bit
COM server registered by the system's own regsvr32 -- a rollback leaves the machine as it was and
the silent uninstall removes all of it in the same views. The same product built x86 lands on
the 32-bit side, and an x64 image in a 32-bit prefix is refused before anything is written.

    x64_product_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <actions.json>
                        <kelvara-build>
"""
import json
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from system_snapshot import NO_CHANGES, WINE_CHANGES, changes, files_of  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import DESTINATION, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, MANIFEST, BUILDER = sys.argv[1:7]
COM_SERVER = Path(json.loads(Path(MANIFEST).read_text())['com_server64'])
PRODUCT = 'Kelvara Wide'
SHORT = 'KelvaraWide'
KEY = 'Software\\Kelvara Wide'
UNINSTALL = f'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SHORT}'
CLASS = 'Software\\Classes\\CLSID\\{6B1D8C4E-3A2F-4E7B-9C55-0D4E1F2A3B64}\\InprocServer32'
SYSTEM_FILE = 'kelvara-wide.dat'
NEEDS_64_BIT = 'This program needs a 64-bit version of Windows.'
FOLDER_EDIT = 1018
ARTIFACTS = Path(BUILD) / 'artifacts' / 'x64-products'
# Left out of the comparisons: the test's own copies of its images, and "My Video", which Wine
# makes the first time any program asks for the user's folders.
IGNORED = WINE_CHANGES + ['images', 'images/*', 'users/*/Documents/My Video']


def files(prefix):
    return files_of(prefix.drive_c, IGNORED)


def escaped(path):
    return path.replace('\\', '\\\\')


def records(failing=False):
    """The product's record tables; `failing` adds a value the system refuses to set (its name
    is longer than a value name may be), the step a quiet run answers No."""
    text = (
        '[[registry]]\nroot = "HKLM"\nkey = "' + escaped(KEY) + '"\nname = "Path"\n'
        'value = "%InstallPath%"\n\n'
        '[[registry]]\nroot = "HKLM"\nkey = "' + escaped(KEY) + '"\nname = "Legacy"\n'
        'value = "32-bit side"\nview = "32"\n\n'
        '[[shortcuts]]\npath = "<CommonPrograms>\\\\Kelvara Wide\\\\Wide.lnk"\n'
        'target = "%InstallPath%\\\\wide.txt"\n\n'
        '[[associations]]\nextension = ".kwide"\ntype = "KelvaraWide.Document"\n'
        'command = "\\"%InstallPath%\\\\wide.txt\\" \\"%1\\""\n\n'
        '[[dll-call]]\ndll = "%InstallPath%\\\\com-server64.dll"\n'
        'function = "DllRegisterServer"\nwhen = "after-install"\n\n'
        '[[dll-call]]\ndll = "%InstallPath%\\\\com-server64.dll"\n'
        'function = "DllUnregisterServer"\nwhen = "uninstall"\n')
    if failing:
        text += ('\n[[registry]]\nroot = "HKLM"\nkey = "' + escaped(KEY) + '"\nname = "'
                 + 'N' * 17000 + '"\nvalue = "x"\n')
    return text


class SixtyFourBitProducts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix='kelvara-x64-'))
        cls.program = source_folder(cls.work / 'program', {
            'wide.txt': b'a 64-bit program\r\n', 'com-server64.dll': COM_SERVER.read_bytes()})
        cls.system = source_folder(cls.work / 'system', {SYSTEM_FILE: b'in the system folder'})

    def image(self, name, architecture, failing=False):
        project = Project(PRODUCT, short_name=SHORT,
                          product={'architecture': architecture} if architecture else {},
                          files=[FileGroup(self.program, overwrite='always'),
                                 FileGroup(self.system, target='<System>', overwrite='always')],
                          extra=records(failing))
        return build_image(BUILDER, ENGINE, project, self.work / name)

    def run_image(self, prefix, image, args):
        # Not followed: the engine waits for the one program it starts (regsvr32) itself, and a
        # followed run of the x86_64 twin now and then waited on after the engine had ended.
        path = prefix.put(f'images/{image.parent.name}.exe', image.read_bytes())
        run = prefix.run(DRIVER, path, args, timeout=180)
        self.assertFalse(run.timed_out, run.output)
        return run

    @staticmethod
    def reg(prefix, view, key, name=None):
        """The value's data in the 32-bit or 64-bit view of HKLM, or None."""
        return prefix.reg_value(f'HKLM\\{key}', name, view)

    def key_exists(self, prefix, view, key):
        done = subprocess.run([prefix.wine, 'reg', 'query', f'HKLM\\{key}', f'/reg:{view}'],
                              env=prefix.env, capture_output=True, timeout=120,
                              stdin=subprocess.DEVNULL)
        return done.returncode == 0

    def reg_add(self, prefix, view, key, name, data):
        subprocess.run([prefix.wine, 'reg', 'add', f'HKLM\\{key}', '/v', name, '/d', data, '/f',
                        f'/reg:{view}'], env=prefix.env, check=True, capture_output=True,
                       timeout=120, stdin=subprocess.DEVNULL)

    def test_x64_product_on_the_native_side_and_back(self):
        with Prefix(BUILD, 'x86_64', 'x64-native') as prefix:
            c = prefix.drive_c
            native, wow = c / 'Program Files' / PRODUCT, c / 'Program Files (x86)' / PRODUCT
            system32, syswow64 = c / 'windows' / 'system32', c / 'windows' / 'syswow64'
            folder = f'C:\\Program Files\\{PRODUCT}'

            # A step answered No (a quiet run's answer) rolls back: the value the machine had in
            # the 64-bit view and the native system file it had come back as they were.
            self.reg_add(prefix, 64, KEY, 'Path', 'before')
            (system32 / SYSTEM_FILE).write_bytes(b'the machine\'s own')
            before = files(prefix)
            run = self.run_image(prefix, self.image('x64-failing', 'x64', failing=True),
                                 ['/QUIET'])
            self.assertEqual(run.exit_code, 1603, run.output)
            after = files(prefix)
            self.assertEqual(changes((before, {}), (after, {})), NO_CHANGES)
            self.assertEqual(self.reg(prefix, 64, KEY, 'Path'), 'before')
            self.assertIsNone(self.reg(prefix, 32, KEY, 'Legacy'))
            self.assertFalse(self.key_exists(prefix, 64, UNINSTALL))
            (system32 / SYSTEM_FILE).unlink()
            clean = files(prefix)

            # The wizard offers the native folder, and its page shows it whole; cancelled there,
            # the run installs nothing.
            path = prefix.put('images/x64-wizard.exe',
                              self.image('x64-wizard', 'x64').read_bytes())
            with prefix.session(DRIVER, path) as session:
                wizard = Wizard(session)
                page = wizard.page()
                while page.type != DESTINATION:
                    page = wizard.next()
                self.assertEqual(page.text(FOLDER_EDIT), f'C:\\Program Files\\{PRODUCT}')
                shot = wizard.screenshot(ARTIFACTS / f'destination-{ARCH}.png')
                self.assertGreater(shot.stat().st_size, 1000)
                wizard.press('Cancel')
                wizard.answer('If you quit now', 'Yes')
                self.assertEqual(wizard.exit_code(), 1602)
            self.assertEqual(changes((clean, {}), (files(prefix), {})), NO_CHANGES)

            run = self.run_image(prefix, self.image('x64', 'x64'), ['/QUIET'])
            self.assertEqual(run.exit_code, 0, run.output)
            # Files on the native side, none among the 32-bit programs.
            self.assertEqual((native / 'wide.txt').read_bytes(), b'a 64-bit program\r\n')
            self.assertFalse(wow.exists())
            self.assertEqual((system32 / SYSTEM_FILE).read_bytes(), b'in the system folder')
            self.assertFalse((syswow64 / SYSTEM_FILE).exists())
            # Values in the 64-bit view, the one with view = "32" in the 32-bit view alone.
            self.assertEqual(self.reg(prefix, 64, KEY, 'Path'), folder)
            self.assertIsNone(self.reg(prefix, 32, KEY, 'Path'))
            self.assertEqual(self.reg(prefix, 32, KEY, 'Legacy'), '32-bit side')
            self.assertIsNone(self.reg(prefix, 64, KEY, 'Legacy'))
            # The uninstall entry where the list of 64-bit programs has it.
            self.assertEqual(self.reg(prefix, 64, UNINSTALL, 'UninstallString'),
                             f'"{folder}\\uninstall.exe"')
            self.assertFalse(self.key_exists(prefix, 32, UNINSTALL))
            # The association in the 64-bit classes; the COM server registered by the native
            # regsvr32, in the 64-bit view.
            self.assertEqual(self.reg(prefix, 64, 'Software\\Classes\\.kwide'),
                             'KelvaraWide.Document')
            self.assertEqual(self.reg(prefix, 64, CLASS), f'{folder}\\com-server64.dll')
            self.assertIsNone(self.reg(prefix, 32, CLASS))
            self.assertTrue((c / 'ProgramData' / 'Microsoft' / 'Windows' / 'Start Menu' /
                             'Programs' / PRODUCT / 'Wide.lnk').exists())
            # Every line of the install log says its view; an older uninstaller skips them all.
            log = (native / 'uninstall.log').read_bytes().decode('latin-1').split('\n')[4:-1]
            self.assertIn(f'v,64,b,C:\\windows\\system32\\{SYSTEM_FILE}', log)
            self.assertIn(f'v,32,c,2,{KEY},Legacy', log)
            self.assertIn(f'v,64,r,2,1,{b"before".hex().upper()}00,{KEY},Path', log)
            self.assertEqual([line for line in log if not line.startswith('v,')], [], log)

            # The silent uninstall removes all of it, in the views it was written in, and puts
            # back the value the installation replaced.
            run = prefix.run(DRIVER, f'{folder}\\uninstall.exe', ['/S'], timeout=180,
                             follow=True)
            self.assertFalse(run.timed_out, run.output)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertFalse(native.exists())
            self.assertFalse((system32 / SYSTEM_FILE).exists())
            self.assertEqual(self.reg(prefix, 64, KEY, 'Path'), 'before')
            self.assertIsNone(self.reg(prefix, 32, KEY, 'Legacy'))
            self.assertFalse(self.key_exists(prefix, 64, UNINSTALL))
            self.assertFalse(self.key_exists(prefix, 64, 'Software\\Classes\\.kwide'))
            self.assertIsNone(self.reg(prefix, 64, CLASS), 'unregistered by the native regsvr32')
            self.assertEqual(changes((clean, {}), (files(prefix), {})), NO_CHANGES)

    @unittest.skipUnless(ARCH == 'i686', 'the x86_64 twin installs every product natively')
    def test_x86_product_on_the_32_bit_side(self):
        with Prefix(BUILD, 'x86_64', 'x64-wow') as prefix:
            c = prefix.drive_c
            run = self.run_image(prefix, self.image('x86', None), ['/QUIET'])
            self.assertEqual(run.exit_code, 0, run.output)
            folder = f'C:\\Program Files (x86)\\{PRODUCT}'
            self.assertTrue((c / 'Program Files (x86)' / PRODUCT / 'wide.txt').exists())
            self.assertFalse((c / 'Program Files' / PRODUCT).exists())
            self.assertTrue((c / 'windows' / 'syswow64' / SYSTEM_FILE).exists())
            self.assertFalse((c / 'windows' / 'system32' / SYSTEM_FILE).exists())
            self.assertEqual(self.reg(prefix, 32, KEY, 'Path'), folder)
            self.assertIsNone(self.reg(prefix, 64, KEY, 'Path'))
            self.assertTrue(self.key_exists(prefix, 32, UNINSTALL))
            self.assertFalse(self.key_exists(prefix, 64, UNINSTALL))
            # Its 64-bit COM server is still registered by the native regsvr32, which the 32-bit
            # side reaches through Sysnative.
            self.assertEqual(self.reg(prefix, 64, CLASS), f'{folder}\\com-server64.dll')
            log = (c / 'Program Files (x86)' / PRODUCT / 'uninstall.log').read_bytes()
            self.assertNotIn(b'v,64,', log, 'an x86 product writes the lines it always wrote')

    @unittest.skipUnless(ARCH == 'i686', 'the x86_64 twin does not run in a 32-bit prefix')
    def test_x64_image_refused_on_32_bit_windows(self):
        with Prefix(BUILD, 'i686', 'x64-refused') as prefix:
            before = files(prefix)
            run = self.run_image(prefix, self.image('x64-on-32', 'x64'), ['S'])
            self.assertEqual(run.exit_code, 1603, run.output)
            self.assertEqual([w['text'] for w in run.windows], [NEEDS_64_BIT], run.output)
            self.assertEqual(changes((before, {}), (files(prefix), {})), NO_CHANGES)
            self.assertFalse(self.key_exists(prefix, 32, KEY))


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
