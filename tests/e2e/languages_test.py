#!/usr/bin/env python3
"""The built-in languages as a person sees them, in a fresh Wine prefix, with the Unicode
edition: a project offering German, Japanese and Russian lists them by their own names, and in
each of them the wizard's pages and buttons, and then the uninstaller's question, progress page
and closing message, show that language's texts as the image holds them (read back from the
windows through the wide-character functions; screenshots in
<build-dir>/artifacts/languages/<language>/).

    languages_test.py <build-dir> <arch> <kelvara-unicode.exe> <ui_driver.exe> <kelvara-build>
"""
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, dump_image, source_folder  # noqa
from wine_prefix import Prefix  # noqa: E402
from wizard import BACK, CANCEL, FINISH, INSTALLING, LANGUAGE, NEXT, READY, WELCOME  # noqa
from wizard import Wizard, label  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, BUILDER = sys.argv[1:6]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'languages'
PRODUCT, SHORT = 'Polyglot Tool', 'Polyglot'
LANGUAGES = {'de': (7, 'Deutsch'), 'ja': (17, '日本語'), 'ru': (25, 'Русский')}
SUBTITLE, STATUS = 1002, 1015
CORNER, THIRD_BUTTON = 1005, 1012  # the removal dialog's name label and its Cancel/Finish button
# The dialogs' faces shown in a font with Japanese and Cyrillic glyphs, as on a system sold in
# the Far East (Debian's fonts-wqy-zenhei; Wine's own faces have no Japanese).
FONTS_KEY = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion'
DIALOG_FACES = ('MS Sans Serif', 'MS Shell Dlg', 'Tahoma', 'System')
_TEXT = re.compile(r'text language (\d+) (page \d+|\S+) item (\d+): "((?:[^"\\]|\\.)*)"$')
# The dump's names of the tables the test reads.
TABLES = {'page 0': 'language', 'page 1': 'welcome', 'page 9': 'ready', 'page 11': 'finish',
          'page 12': 'uninstaller'}


def unescape(text):
    return re.sub(r'\\(.)', lambda m: {'n': '\n', 'r': '\r', 't': '\t'}.get(m[1], m[1]), text)


def image_texts(image):
    """{(language, table, item): text} of the image's text records, from the builder's dump."""
    texts = {}
    for line in dump_image(BUILDER, image).splitlines():
        match = _TEXT.search(line)
        if match:
            table = TABLES.get(match[2], match[2])
            texts[(int(match[1]), table, int(match[3]))] = unescape(match[4])
    return texts


class Languages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'languages')
        cls.work = Path(tempfile.mkdtemp(prefix='languages-', dir=cls.prefix.path.parent))
        # Captions and message boxes are drawn in Wine's own Tahoma, which has no Japanese: it
        # is linked to the same font, as a system sold in the Far East links its faces.
        link = ','.join(f'{b:02x}' for b in 'wqy-zenhei.ttc,WenQuanYi Zen Hei\0\0'.encode())
        lines = ['REGEDIT4', '', f'[{FONTS_KEY}\\FontLink\\SystemLink]']
        lines += [f'"{face}"=hex(7):{link}' for face in ('Tahoma', 'Tahoma Bold')]
        lines += ['', f'[{FONTS_KEY}\\FontSubstitutes]']
        lines += [f'"{face}"="WenQuanYi Zen Hei"' for face in DIALOG_FACES]
        script = cls.prefix.put('fonts.reg', ('\r\n'.join(lines) + '\r\n').encode('ascii'))
        subprocess.run([cls.prefix.wine, 'regedit', '/S', script], env=cls.prefix.env,
                       check=True, timeout=120, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def image(self, code):
        folder = f'C:\\Polyglot {code}'
        source = source_folder(self.work / 'src', {'tool.txt': b'tool\r\n'})
        extra = ('[look]\nmaker-text = "Polyglot Labs"\n\n'
                 '[languages]\noffer = ["de", "ja", "ru"]\nauto-select = false\n\n'
                 '[pages]\nshow = ["language", "welcome", "ready", "installing", "finish"]\n')
        project = Project(PRODUCT, short_name=SHORT, variables={'InstallPath': folder},
                          files=[FileGroup(source)], uninstaller=True, extra=extra,
                          product={'encoding': 'utf-8'})
        image = build_image(BUILDER, ENGINE, project, self.work / code)
        return folder, image, self.prefix.put(f'images/{code}.exe', image.read_bytes())

    def test_the_wizard_and_the_uninstaller_speak_each_language(self):
        for code, (number, own_name) in LANGUAGES.items():
            with self.subTest(code):
                self.walk(code, number, own_name)

    def walk(self, code, number, own_name):
        folder, image, path = self.image(code)
        texts = image_texts(image)
        shots = ARTIFACTS / code

        def t(table, item):
            return texts[(number, table, item)].replace('%ProductName%', PRODUCT)

        def buttons(page, expected):
            for button, item in expected:
                self.assertEqual(page.button(button), label(t('buttons', item)), f'{code}: {page}')

        with self.prefix.session(DRIVER, path) as session:
            wizard = Wizard(session, label='Polyglot Labs')
            page = wizard.page()
            self.assertEqual(page.type, LANGUAGE)
            shown = [c['text'] for c in session.control_list(wizard.frame) if c['visible']]
            self.assertIn('Polyglot Labs', shown, 'the packager\'s own text in the corner')
            self.assertNotIn('Kelvara', shown, 'in place of the engine\'s name')
            names = [name for name, _ in session.items(page.window, 1021)]
            self.assertEqual(names, sorted(name for _, name in LANGUAGES.values()),
                             'each language by its own name')
            session.select(page.window, 1021, own_name)
            page = wizard.wait_page(lambda p: p.title == t('language', 1), f'{code} texts')
            self.assertEqual(page.caption, t('language', 0))
            self.assertEqual(page.text(SUBTITLE), t('language', 2))
            buttons(page, [(NEXT, 1), (CANCEL, 2)])
            wizard.screenshot(shots / '1-language.png')

            page = wizard.next()
            self.assertEqual((page.type, page.title), (WELCOME, t('welcome', 1)))
            self.assertEqual(page.text(SUBTITLE), t('welcome', 2))
            buttons(page, [(BACK, 0), (NEXT, 1), (CANCEL, 2)])
            wizard.screenshot(shots / '2-welcome.png')
            page = wizard.next()
            self.assertEqual((page.type, page.title), (READY, t('ready', 1)))
            buttons(page, [(NEXT, 3)])
            wizard.screenshot(shots / '3-ready.png')
            wizard.press(label(page.button(NEXT)))
            page = wizard.wait_page(lambda p: p.type in (INSTALLING, FINISH), 'installing')
            page = wizard.wait_page(lambda p: p.type == FINISH, 'the finish page')
            self.assertEqual(page.title, t('finish', 1))
            buttons(page, [(CANCEL, 8)])
            wizard.screenshot(shots / '4-finish.png')
            wizard.press(page.button(CANCEL))
            self.assertEqual(wizard.exit_code(), 0)

        # The uninstaller speaks the language the installation ran in.
        def u(item, argument=None):
            text = texts[(number, 'uninstaller', item)]
            return text.replace('%s', argument, 1) if argument is not None else text

        with self.prefix.session(DRIVER, f'{folder}\\uninstall.exe') as session:
            question = session.wait(u(0, SHORT), '')
            self.assertEqual(question['text'], u(3, PRODUCT))
            session.screenshot(shots / '5-uninstall-question.png', question)
            session.press(question, 'Yes')
            dialog = session.wait(u(0, SHORT), u(2, PRODUCT), skip=[question])
            # The title is set as the page opens, after the explanation the dialog was found by.
            controls = session.wait_for(
                lambda: (lambda c: c if c[1001]['text'] == u(1) else None)(
                    session.controls(dialog)), 'the progress page\'s title', timeout=10)
            # The corner shows the packager's text, as the installer did.
            self.assertEqual((controls[CORNER]['text'], controls[THIRD_BUTTON]['text']),
                             ('Polyglot Labs', u(10)))
            self.assertTrue(controls[CORNER]['visible'])
            session.screenshot(shots / '6-uninstall-progress.png', dialog)
            done = session.wait(u(0, SHORT), u(5, PRODUCT), skip=[question, dialog], timeout=60)
            session.screenshot(shots / '7-uninstall-done.png', done)
            session.press(done, 'OK')
            self.assertEqual(session.finish(60), 0)
        self.assertFalse(self.prefix.drive_c.joinpath(folder[3:]).exists(), 'removed')


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
