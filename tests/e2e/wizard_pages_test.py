#!/usr/bin/env python3
"""The wizard as a person walks it, in a fresh Wine prefix: the simple pages (language, welcome,
licence, readme, ready) with the texts of the script in both layouts, Back and Next with the
action groups of the pages left, the language switch, Cancel and Esc, and the background
window. Screenshots of every page, in both layouts, at 96 and 144 dpi, with and without the
background window, are kept for review under <build-dir>/artifacts/wizard-pages/.

    wizard_pages_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <actions.json>
                         <kelvara-build>
"""
import json
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from raw_image import without_language_texts  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import (BACK, CANCEL, LANGUAGE, LICENCE, NEXT, README, READY, WELCOME,  # noqa: E402
                    WS_MINIMIZEBOX, Wizard)

BUILD, ARCH, ENGINE, DRIVER, MANIFEST, BUILDER = sys.argv[1:7]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'wizard-pages'
RECORDER = 'C:\\Kelvara Fixtures\\action recorder.exe'
ACTION_LOG = 'C:\\Kelvara Fixtures\\actions.log'
PRODUCT = 'Walk Product 3'
HUNGARIAN, ENGLISH, FRENCH = 14, 9, 12
VK_ESCAPE = 0x1B
SCREEN = (0, 0, 1024, 768)  # the test display's size

# Page texts the script gives (page, item): the wizard must show these, variables expanded.
TEXTS = {
    ('language', 1): 'Pick a language for %ProductName%',
    ('welcome', 1): 'Welcome, %ProductName% is here',
    ('welcome', 2): 'Second line of the welcome page.',
    ('welcome', 7): 'Compact welcome of %ProductName%',  # shown as stored
    ('licence', 1): 'The terms of %ProductName%',
    ('licence', 3): 'Do you take them?',
    ('readme', 1): 'Read this first',
    ('ready', 1): 'All set for %ProductName%',
    ('ready', 3): 'Press Install to go on.',
}
# A language the builder has no texts of: the script gives a few, the engine's templates show the
# rest.
HUNGARIAN_TEXTS = {
    ('language', 0): '%ProductName% telepítése',
    ('language', 1): 'Nyelv kiválasztása',
    ('language', 2): 'A telepítés nyelve:',
    ('welcome', 0): '%ProductName% telepítése',
    ('welcome', 1): 'Üdvözli a %ProductName%',
    ('buttons', 1): '&Tovább >',
    ('buttons', 2): 'Mégse',
}
SIMPLE_PAGES = ['language', 'welcome', 'licence', 'readme', 'ready']


def toml(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def texts_table(language, texts):
    return ''.join(f'[[texts]]\nlanguage = "{language}"\ntable = "{table}"\nitem = {item}\n'
                   f'text = {toml(text)}\n\n' for (table, item), text in texts.items())


def expanded(text):
    return text.replace('%ProductName%', PRODUCT)


class WizardPages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'wizard-pages')
        cls.work = Path(tempfile.mkdtemp(prefix='wizard-pages-', dir=cls.prefix.path.parent))
        fixtures = json.loads(Path(MANIFEST).read_text())
        cls.prefix.put('Kelvara Fixtures/action recorder.exe',
                       Path(fixtures['recorder']).read_bytes())
        cls.prefix.env['KELVARA_ACTION_LOG'] = ACTION_LOG
        ARTIFACTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def setUp(self):
        self.prefix.set_dpi(96)
        self.log().unlink(missing_ok=True)

    def log(self):
        return self.prefix.drive_c / ACTION_LOG[3:].replace('\\', '/')

    def logged_groups(self, at_least):
        """The tags the recorder logged ("group N"), once at least that many are there."""
        deadline = time.monotonic() + 30
        while True:
            text = self.log().read_bytes().decode('latin-1') if self.log().exists() else ''
            groups = [int(line.rsplit('group ', 1)[1]) for line in text.split('\r\n') if line]
            if len(groups) >= at_least or time.monotonic() > deadline:
                return groups
            time.sleep(0.05)

    def image(self, name, layout='standard', background=False, pages=SIMPLE_PAGES, extra=''):
        folder = self.work / name
        folder.mkdir(parents=True, exist_ok=True)
        (folder / 'licence.txt').write_bytes(b'LICENCE\r\nYou may use the program.\r\n')
        (folder / 'readme.txt').write_bytes(b'README\r\nThings to know first.\r\n')
        look = f'[look]\nlayout = "{layout}"\nheader-colour = "#FFFFFF"\n\n'
        if background:
            look += ('[look.background]\ntop = "#204060"\nbottom = "#000010"\n\n'
                     '[[look.background.lines]]\ntext = "%ProductName%"\nx = 24\ny = 16\n'
                     'size = 26\nweight = 700\ncolour = "#FFFFFF"\nshadow = 2\n\n'
                     '[[look.background.lines]]\ntext = "Setup"\nalign = "right"\n'
                     'from = "bottom"\nx = 24\ny = 16\nsize = 16\ncolour = "#C0C0C0"\n\n')
        # Not run-once, so that a group that runs twice shows twice.
        actions = ''.join(f'[[run]]\nprogram = {toml(RECORDER)}\narguments = "group {group}"\n'
                          f'when = {group}\nonce = false\n\n' for group in range(1, 13))
        extra = (look + f'[pages]\nshow = {json.dumps(pages)}\nlicence = "licence.txt"\n'
                 'readme = "readme.txt"\n\n[languages]\noffer = ["english", "hungarian", "french"]\n'
                 'auto-select = false\n\n' + texts_table(ENGLISH, TEXTS)
                 + texts_table(HUNGARIAN, HUNGARIAN_TEXTS) + actions + extra)
        source = source_folder(folder / 'files', {'walk.txt': b'walked'})
        project = Project(PRODUCT, short_name='Walk', files=[FileGroup(source)],
                          variables={'InstallPath': f'C:\\Kelvara Walk\\{name}'}, extra=extra)
        image = build_image(BUILDER, ENGINE, project, folder)
        # French is offered, but the script gives it no texts at all: it must not be offered.
        return self.prefix.put(f'images/{name}.exe',
                               without_language_texts(image.read_bytes(), FRENCH))

    def assertPage(self, page, title, back_shown, next_label, cancel_label='Cancel'):
        self.assertEqual(page.caption, f'{PRODUCT} Setup', f'the frame title, expanded: {page}')
        self.assertEqual(page.title, title, page)
        self.assertEqual(page.button(BACK) is not None, back_shown, f'Back shown: {page}')
        self.assertEqual(page.button(NEXT), next_label, page)
        self.assertEqual(page.button(CANCEL), cancel_label, page)

    def walk(self, layout, dpi, background, shots):
        """Walks the simple pages forth and back as the test's plan says; checks each page."""
        compact = layout == 'compact'
        self.prefix.set_dpi(dpi)
        self.log().unlink(missing_ok=True)
        image = self.image(f'walk-{layout}-{dpi}-{int(background)}', layout, background)
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            shot = lambda name: wizard.screenshot(shots / f'{name}.png')  # noqa: E731

            page = wizard.page()
            self.assertEqual(page.type, LANGUAGE)
            self.assertPage(page, expanded(TEXTS[('language', 1)]), False, 'Next >')
            self.assertEqual(session.items(page.window, 1021), [
                ('English', True), ('Hungarian', False)],
                'the script\'s languages with texts, sorted, the current one selected')
            shot('1-language')
            page = wizard.next()
            self.assertEqual(page.type, WELCOME)
            welcome = TEXTS[('welcome', 7)] if compact else expanded(TEXTS[('welcome', 1)])
            self.assertPage(page, welcome, True, 'Next >')
            self.assertEqual(page.text(1002), TEXTS[('welcome', 2)])
            shot('2-welcome')
            page = wizard.back()
            self.assertEqual(page.type, LANGUAGE)
            self.assertPage(page, expanded(TEXTS[('language', 1)]), False, 'Next >')
            page = wizard.next()
            page = wizard.next()
            self.assertEqual(page.type, LICENCE)
            self.assertPage(page, expanded(TEXTS[('licence', 1)]), True, 'Yes', 'No')
            self.assertEqual(page.text(1003), TEXTS[('licence', 3)])
            self.assertIn('You may use the program.', page.text(1017), 'the licence text')
            shot('3-licence')
            page = wizard.back()
            self.assertEqual(page.type, WELCOME)
            self.assertPage(page, welcome, True, 'Next >')
            wizard.next()
            page = wizard.next()  # Yes: the licence is accepted
            self.assertEqual(page.type, README)
            self.assertPage(page, TEXTS[('readme', 1)], True, 'Next >')
            self.assertIn('Things to know first.', page.text(1017))
            shot('4-readme')
            page = wizard.next()
            self.assertEqual(page.type, READY)
            self.assertPage(page, expanded(TEXTS[('ready', 1)]), True, 'Install')
            self.assertEqual(page.text(1003), TEXTS[('ready', 3)])
            shot('5-ready')
            if background:
                self.check_background(session, wizard)
            # The last page: the wizard ends there, and installs nothing (it has no Installing
            # page); the groups of the pages after it run.
            self.assertIsNone(wizard.next())
            self.assertEqual(wizard.exit_code(), 0, 'walked to its end: nothing was asked to install')
            seen = session.seen()
        self.assertEqual(self.logged_groups(14), [1, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12],
                         'each page left forwards runs its group and those of the pages it '
                         'passes over (4 to 8 have none to show), once per pass; Back runs none')
        self.assertEqual(sorted({w['caption'] for w in seen if w['cls'] == '#32770'}),
                         [f'{PRODUCT} Setup'], 'no window but the wizard appeared')
        self.assertFalse(self.prefix.drive_c.joinpath('Kelvara Walk').exists())

    def check_background(self, session, wizard):
        background = next(w for w in session.windows() if w['cls'] == 'KelvaraBGWindow')
        self.assertEqual(session.rect(background), SCREEN, 'the background covers the screen')
        self.assertEqual(background['caption'], f'{PRODUCT} Setup',
                         'its title follows page text 0, expanded')
        self.assertTrue(wizard.frame['owner'], 'the frame floats over the background')
        self.assertFalse(wizard.frame['style'] & WS_MINIMIZEBOX, 'no minimize box over it')

    def test_walk_the_simple_pages_in_both_layouts_at_96_and_144_dpi(self):
        for layout in ('standard', 'compact'):
            for dpi in (96, 144):
                for background in (False, True):
                    name = f'{layout}-{dpi}dpi' + ('-background' if background else '')
                    with self.subTest(name):
                        self.walk(layout, dpi, background, ARTIFACTS / name)

    def test_the_language_switch_changes_every_text_at_once(self):
        image = self.image('language')
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            page = wizard.page()
            self.assertTrue(wizard.frame['style'] & WS_MINIMIZEBOX, 'without a background')
            session.select(page.window, 1021, 'Hungarian')
            page = wizard.wait_page(lambda p: p.title == 'Nyelv kiválasztása',
                                    'the Hungarian texts')
            self.assertEqual(page.caption, f'{PRODUCT} telepítése', 'the frame title')
            self.assertEqual(page.button(NEXT), 'Tovább >')
            self.assertEqual(page.button(CANCEL), 'Mégse')
            self.assertEqual(page.text(1002), 'A telepítés nyelve:')
            self.assertEqual(page.text(1003), '&Language:',
                             'a text the script lacks keeps the builder\'s English one')
            page = wizard.next()
            self.assertEqual(page.title, f'Üdvözli a {PRODUCT}')
            self.assertEqual(page.button(BACK), '< Back',
                             'a label the script lacks stays the English one')
            page = wizard.back()
            self.assertEqual(session.items(page.window, 1021),
                             [('English', False), ('Hungarian', True)],
                             'back on the language page, Hungarian is selected')
            self.assertEqual(page.title, 'Nyelv kiválasztása')
            wizard.press('Mégse')
            wizard.answer('', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)

    def test_cancel_asks_and_esc_is_cancel(self):
        image = self.image('cancel', pages=['welcome', 'licence', 'ready', 'installing'])
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            page = wizard.page()
            wizard.press('Cancel')
            box = wizard.answer('If you quit now, the program will not be installed', 'No')
            self.assertEqual(box['caption'], f'{PRODUCT} Setup')
            self.assertEqual(box['buttons'], 'Yes|No')
            self.assertEqual(wizard.page().handle, page.handle, 'No keeps the page')
            session.key(wizard.frame, VK_ESCAPE)
            wizard.answer('If you quit now', 'No')
            page = wizard.next()
            self.assertEqual(page.type, LICENCE)
            wizard.press('No')  # declining the licence is Cancel
            wizard.answer('If you quit now', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602, 'cancelled')
        self.assertFalse(self.prefix.drive_c.joinpath('Kelvara Walk').exists(),
                         'nothing was installed')
        self.assertEqual(self.logged_groups(1), [2],
                         'only the welcome page (index 1, group 2) was left forwards')

    def test_closing_the_background_window_is_cancel(self):
        image = self.image('background-close', background=True)
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            wizard.next()
            background = next(w for w in session.windows() if w['cls'] == 'KelvaraBGWindow')
            session.close_window(background)
            wizard.answer('If you quit now', 'No')
            self.assertTrue(wizard.alive(), 'No keeps the wizard')
            session.close_window(background)
            wizard.answer('If you quit now', 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
            seen = session.seen()
        self.assertEqual([w['cls'] for w in seen if w['cls'] == 'KelvaraBGWindow'],
                         ['KelvaraBGWindow'], 'one background window, gone with the wizard')


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0], *sys.argv[7:]], verbosity=2)
