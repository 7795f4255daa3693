#!/usr/bin/env python3
"""The Unicode edition in a fresh Wine prefix whose code page is Windows-1252: a UTF-8 project
whose names and texts are Greek, Cyrillic, Japanese, accented Latin and one character past
U+FFFF is installed silently and read back through the wide-character functions (files,
shortcuts, registry, the uninstall entry), INI entries and the install log are read as bytes,
the uninstaller takes everything away again; the wizard shows the same texts (screenshots of the
welcome, readme and destination pages in <build-dir>/artifacts/unicode-edition/); and the same
image on a system that ignores the code page its manifest asks for refuses to run.

    unicode_edition_test.py <build-dir> <arch> <kelvara-unicode.exe> <ui_driver.exe> <probe.exe>
                            <kelvara-build>
"""
import subprocess
import sys
import tempfile
import time
import unittest
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, dump_image,  # noqa: E402
                             source_folder, toml_string)
from probe import REG_SZ, Probe  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import DESTINATION, README, WELCOME, Wizard  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'unicode-edition'
UNINSTALL_KEY = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
PROGRAMS = 'users/{user}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs'

PRODUCT = 'Κέλβαρα Δοκιμή — Проверка 日本語 Café'
SHORT_NAME = 'Κέλβαρα Ünicode'
ROOT = 'C:\\Kelvara Ünicode\\Ελληνικά Πρόγραμμα 日本語'
GROUP = 'Κέλβαρα Ομάδα'
FILES = {
    'Ωμέγα.txt': 'Ωμέγα — το τέλος'.encode(),
    'Привет/файл данных.txt': 'данные'.encode(),
    '日本語/説明書.txt': '説明書'.encode(),
    'café/résumé.txt': b'resume',
    'smile 😀.txt': '😀'.encode(),
}
REG_KEY = 'Software\\Kelvara Ünicode\\Ελληνικά'
REG_NAME, REG_VALUE = 'Όνομα', 'Значение 日本語 😀'
INI_SECTION, INI_KEY, INI_VALUE = 'Ενότητα', 'Ключ', '値 café'
TEMP_FOLDER = 'Temp Ιωάννης'
README_TEXT = 'Διαβάστε πρώτα — Прочтите сначала\n日本語のテキスト 😀\n'

# The fonts of the screenshots (Debian's fonts-wqy-zenhei and fonts-dejavu-core).
FONTS_KEY = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion'
FAR_EAST_FACE = 'WenQuanYi Zen Hei'
SYMBOLS_FONT = 'DejaVuSans.ttf,DejaVu Sans'
DIALOG_FACES = ('MS Sans Serif', 'MS Shell Dlg', 'Tahoma', 'System')

# Controls of the pages.
FOLDER_EDIT, AVAILABLE_LABEL, RICH_TEXT = 1018, 1006, 1017

# The Unicode edition's manifest element, and the same element under a name no release knows:
# a system that ignores the element runs the engine in its own code page.
CODE_PAGE_ELEMENT = b'<activeCodePage xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">'
UNKNOWN_ELEMENT = b'<activeCodePagX xmlns="http://schemas.microsoft.com/SMI/2019/WindowsSettings">'


def table(header, **items):
    lines = [f'[[{header}]]'] + [f'{k.replace("_", "-")} = {toml_string(v)}'
                                 for k, v in items.items()]
    return '\n'.join(lines) + '\n\n'


class UnicodeEdition(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'unicode-edition')
        # Arguments that are not ASCII reach the probe as they are only through a UTF-8 locale;
        # the prefix's code page stays Windows-1252.
        cls.prefix.env['LC_ALL'] = 'C.UTF-8'
        cls.probe = Probe(cls.prefix, PROBE)
        cls.link_far_east_font()
        cls.work = Path(tempfile.mkdtemp(prefix='unicode-edition-', dir=cls.prefix.path.parent))
        cls.user = next(p.name for p in (cls.prefix.drive_c / 'users').iterdir()
                        if p.name not in ('Public', 'public'))
        cls.image = cls.build()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    @classmethod
    def link_far_east_font(cls):
        """Gives the prefix what a system sold in the Far East has: the dialogs' faces shown in
        a font with Chinese and Japanese glyphs, linked to one with the symbols (Wine's own
        faces have neither, and the screenshots would show boxes where the texts are right)."""
        entry = f'{SYMBOLS_FONT}\0\0'.encode('ascii')
        lines = ['REGEDIT4', '', f'[{FONTS_KEY}\\FontLink\\SystemLink]',
                 f'"{FAR_EAST_FACE}"=hex(7):' + ','.join(f'{b:02x}' for b in entry), '',
                 f'[{FONTS_KEY}\\FontSubstitutes]']
        lines += [f'"{face}"="{FAR_EAST_FACE}"' for face in DIALOG_FACES]
        script = cls.prefix.put('fonts.reg', ('\r\n'.join(lines) + '\r\n').encode('ascii'))
        subprocess.run([cls.prefix.wine, 'regedit', '/S', script], env=cls.prefix.env,
                       check=True, timeout=120, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def build(cls):
        source = source_folder(cls.work / 'source', FILES)
        (cls.work / 'readme.txt').write_text(README_TEXT, encoding='utf-8')
        extra = (
            '[pages]\nshow = ["welcome", "readme", "destination", "ready", "installing", '
            '"finish"]\nreadme = "readme.txt"\n\n'
            + table('shortcuts', path='<Programs>\\%ShortcutsGroup%\\Ωμέγα.lnk',
                    target='%InstallPath%\\Ωμέγα.txt')
            + table('registry', root='HKCU', key=REG_KEY, name=REG_NAME, value=REG_VALUE)
            + table('ini', file='%InstallPath%\\ρυθμίσεις.ini', section=INI_SECTION,
                    key=INI_KEY, value=INI_VALUE)
            + table('ini', file='%InstallPath%\\plain.ini', section='Plain', key='Key',
                    value='value'))
        project = Project(PRODUCT, short_name=SHORT_NAME, product={'encoding': 'utf-8'},
                          variables={'InstallPath': ROOT, 'ShortcutsGroup': GROUP},
                          files=[FileGroup(source)], uninstaller=True, extra=extra)
        return build_image(BUILDER, ENGINE, project, cls.work)

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def group_link(self):
        return self.prefix.drive_c / PROGRAMS.format(user=self.user) / GROUP / 'Ωμέγα.lnk'

    def windows_path(self, host_path):
        return 'C:\\' + str(host_path.relative_to(self.prefix.drive_c)).replace('/', '\\')

    def test_1_silent_install_and_uninstall_keep_every_name(self):
        self.assertIn('edition: unicode', dump_image(BUILDER, self.image))
        setup = self.prefix.put('images/unicode.exe', self.image.read_bytes())
        run = self.prefix.run(DRIVER, setup, ['S'])
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)

        # Files and folders, as the wide-character functions list them.
        tree = self.probe.tree(ROOT)
        self.assertIsNotNone(tree, f'{ROOT} was not made')
        for name, content in FILES.items():
            windows_name = name.replace('/', '\\')
            self.assertIn(windows_name, tree, f'{name} among {sorted(tree)}')
            self.assertEqual(tree[windows_name].size, len(content), name)
            self.assertEqual(self.host(f'{ROOT}\\{windows_name}').read_bytes(), content, name)

        link = self.probe.shortcut(self.windows_path(self.group_link()))
        self.assertIsNotNone(link, 'the group shortcut')
        # What the shell opens. (Wine keeps the link's location block, where GetPath reads, in
        # the code page of the program that wrote it: read in another, it is garbled.)
        self.assertEqual(link.target_item, f'{ROOT}\\Ωμέγα.txt')

        value = self.probe.reg_query('HKCU', REG_KEY, REG_NAME)
        self.assertEqual((value.type, value.value), (REG_SZ, REG_VALUE))
        entry = self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\{SHORT_NAME}')
        self.assertIsNotNone(entry, 'the uninstall entry, under the short name')
        values, _ = entry
        self.assertEqual(values['DisplayName'].value, PRODUCT)
        self.assertEqual(values['UninstallString'].value, f'"{ROOT}\\uninstall.exe"')

        # An INI file made for text that is not ASCII is UTF-16, which every program reads
        # right; one that is all ASCII stays as the system writes it.
        unicode_ini = self.host(f'{ROOT}\\ρυθμίσεις.ini').read_bytes()
        self.assertTrue(unicode_ini.startswith(b'\xff\xfe'), unicode_ini[:16])
        self.assertIn(f'[{INI_SECTION}]\r\n{INI_KEY}={INI_VALUE}\r\n',
                      unicode_ini[2:].decode('utf-16-le'))
        self.assertEqual(self.host(f'{ROOT}\\plain.ini').read_bytes(),
                         b'[Plain]\r\nKey=value\r\n')

        # The install log is in the engine's code page: UTF-8.
        log = self.host(f'{ROOT}\\uninstall.log').read_bytes().decode('utf-8').splitlines()
        for name in FILES:
            self.assertTrue(any(line.endswith(f'{ROOT}\\{name.replace("/", chr(92))}')
                                for line in log), f'{name} in the install log')

        # A user whose temporary folder is not ASCII: the uninstaller's temporary copy and the
        # script that removes it go too, though the command interpreter reads the script in
        # another code page.
        temp = self.prefix.drive_c / TEMP_FOLDER
        temp.mkdir()
        for name in ('TEMP', 'TMP'):
            subprocess.run([self.prefix.wine, 'reg', 'add', 'HKCU\\Environment', '/v', name,
                            '/d', f'C:\\{TEMP_FOLDER}', '/f'], env=self.prefix.env, check=True,
                           timeout=120, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        run = self.prefix.run(DRIVER, f'{ROOT}\\uninstall.exe', ['/S'], follow=True,
                              verbatim=True)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.windows, [], run.output)
        deadline = time.monotonic() + 30
        while any(temp.iterdir()) and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual([p.name for p in temp.iterdir()], [], 'the temporary copy is gone')
        self.assertIsNone(self.probe.tree(ROOT), 'the installation folder is gone')
        self.assertFalse(self.group_link().parent.exists(), 'the group is gone')
        self.assertIsNone(self.probe.reg_key('HKCU', REG_KEY))
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\{SHORT_NAME}'))

    def test_2_the_wizard_shows_every_script(self):
        setup = self.prefix.put('images/unicode-wizard.exe', self.image.read_bytes())
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        with self.prefix.session(DRIVER, setup) as session:
            wizard = Wizard(session)
            page = wizard.wait_page(lambda p: p.type == WELCOME, 'the welcome page')
            self.assertIn(PRODUCT, page.caption)
            shown = [c['text'] for c in page.controls.values() if c['visible']]
            self.assertTrue(any(PRODUCT in text for text in shown), shown)
            wizard.screenshot(ARTIFACTS / '1-welcome.png')
            page = wizard.next()
            self.assertEqual(page.type, README)
            shown = page.text(RICH_TEXT).replace('\r\n', '\n').replace('\r', '\n')
            self.assertEqual(shown.rstrip('\n'), README_TEXT.rstrip('\n'))
            wizard.screenshot(ARTIFACTS / '2-readme.png')
            page = wizard.next()
            self.assertEqual(page.type, DESTINATION)
            self.assertEqual(page.text(FOLDER_EDIT), ROOT)
            self.assertIn('C:', page.text(AVAILABLE_LABEL))
            wizard.screenshot(ARTIFACTS / '3-destination.png')
            wizard.press('Cancel')
            wizard.answer('If you quit now, the program will not be installed', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        self.assertIsNone(self.probe.tree(ROOT), 'nothing was installed')

    def test_3_a_system_that_ignores_the_code_page_gets_a_message(self):
        image = bytearray(self.image.read_bytes())
        at = image.find(CODE_PAGE_ELEMENT)
        self.assertGreater(at, 0, 'the Unicode edition declares its code page')
        image[at:at + len(CODE_PAGE_ELEMENT)] = UNKNOWN_ELEMENT
        closing = image.find(b'</activeCodePage>', at)
        image[closing:closing + 17] = b'</activeCodePagX>'
        image[0x24:0x28] = zlib.adler32(memoryview(image)[40:]).to_bytes(4, 'little')
        setup = self.prefix.put('images/unicode-old-system.exe', bytes(image))
        before = self.probe.tree(ROOT)
        run = self.prefix.run(DRIVER, setup, ['S'])
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, 1603, run.output)
        self.assertEqual([(w['caption'], w['text']) for w in run.windows],
                         [('Kelvara', 'This setup program needs Windows 10 version 1903 or '
                                      'later.')])
        self.assertEqual(run.windows[0]['owner'], '0', 'a start-up message has no owner')
        self.assertEqual(self.probe.tree(ROOT), before, 'nothing was installed')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
