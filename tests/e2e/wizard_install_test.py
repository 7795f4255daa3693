#!/usr/bin/env python3
"""Installations through the wizard as a person makes them, in a fresh Wine prefix: a folder
typed on the destination page and a group chosen on the start menu page are the ones used, the
destination check with each of its messages, Cancel before, during (rolled back) and after the
installation, a restart that files in use need, and errors answered Yes. Screenshots of the
destination, start menu, installing and finish pages in both layouts, at 96 and 144 dpi, are
kept for review under <build-dir>/artifacts/wizard-install/.

    wizard_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                           <actions.json> <kelvara-build>
"""
import json
import os
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from probe import Probe  # noqa: E402
from system_snapshot import NO_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import (BACK, DESTINATION, FINISH, INSTALLING, NEXT, READY,  # noqa: E402
                    START_MENU, Wizard)

BUILD, ARCH, ENGINE, DRIVER, PROBE, MANIFEST, BUILDER = sys.argv[1:8]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'wizard-install'
RECORDER_NAME = 'action recorder.exe'
ACTION_LOG = 'C:\\Kelvara Fixtures\\actions.log'
UNINSTALL_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
PROGRAMS = 'users/{user}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs'

# Controls of the pages.
FOLDER_EDIT, BROWSE, GROUP_LIST, COMBO = 1018, 1013, 1019, 1021
REQUIRED, AVAILABLE_LABEL, AVAILABLE = 1007, 1006, 1008
GROUP_BOX, DESKTOP_BOX, QUICK_LAUNCH_BOX = 1003, 1004, 1005
STEP, CURRENT_FILE, PROGRESS = 1004, 1005, 1023
BIG_FILE_SIZE = 320 << 20  # the file an installation is cancelled in
COMPLETION, OPEN_BOX, RUN_BOX, RESTART_BOX, ERROR_NOTE, RESTART_NOTE = (
    1003, 1004, 1005, 1006, 1007, 1008)

QUIT_BEFORE = 'If you quit now, the program will not be installed'  # setupMessages 0
QUIT_DURING = 'Setup is still installing the program'  # setupMessages 8


def toml(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


class WizardInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'wizard-install')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='wizard-install-', dir=cls.prefix.path.parent))
        cls.recorder = Path(json.loads(Path(MANIFEST).read_text())['recorder']).read_bytes()
        cls.prefix.env['KELVARA_ACTION_LOG'] = ACTION_LOG
        cls.user = next(p.name for p in (cls.prefix.drive_c / 'users').iterdir()
                        if p.name != 'Public' and (p / 'AppData').exists())
        ARTIFACTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def setUp(self):
        self.prefix.set_dpi(96)
        self.host(ACTION_LOG).unlink(missing_ok=True)

    # ---- helpers ----

    def host(self, windows_path):
        drive = self.prefix.path / 'dosdevices' / windows_path[:2].lower()
        return drive.resolve() / windows_path[3:].replace('\\', '/')

    def programs(self):
        return self.prefix.drive_c / PROGRAMS.format(user=self.user)

    def recorded(self, at_least=0, timeout=30):
        """The action log's lines (sequence|event|detail), once there are `at_least`."""
        deadline = time.monotonic() + timeout
        while True:
            path = self.host(ACTION_LOG)
            text = path.read_bytes().decode('latin-1') if path.exists() else ''
            lines = [line.split('|', 2)[1:] for line in text.split('\r\n') if line]
            if len(lines) >= at_least or time.monotonic() > deadline:
                return lines
            time.sleep(0.05)

    def image(self, name, layout='standard', background=False, files=None, extra='',
              compression=None,
              pages=('welcome', 'destination', 'start-menu', 'ready', 'installing', 'finish'),
              finish='[finish]\nrun = "%InstallPath%\\\\bin\\\\action recorder.exe"\n\n'):
        """A product with a program (the recorder), group and desktop shortcuts to it, a
        registry value naming the folder, and the run-after program; returns its C:\\ path."""
        folder = self.work / name
        look = f'[look]\nlayout = "{layout}"\nheader-colour = "#FFFFFF"\n\n'
        if background:
            look += ('[look.background]\ntop = "#305070"\nbottom = "#000000"\n\n'
                     '[[look.background.lines]]\ntext = "%ProductName%"\nx = 24\ny = 16\n'
                     'size = 24\nweight = 700\ncolour = "#FFFFFF"\n\n')
        recorder = '%InstallPath%\\bin\\action recorder.exe'
        extra = (look + f'[pages]\nshow = {json.dumps(list(pages))}\n\n'
                 '[[shortcuts]]\npath = "<Programs>\\\\%ShortcutsGroup%\\\\Tool.lnk"\n'
                 f'target = {toml(recorder)}\n\n'
                 f'[[shortcuts]]\npath = "<Desktop>\\\\{name} Tool.lnk"\n'
                 f'target = {toml(recorder)}\n\n'
                 f'[[registry]]\nroot = "HKCU"\nkey = "Software\\\\Kelvara Wizard\\\\{name}"\n'
                 'name = "Folder"\ntype = "string"\nvalue = "%InstallPath%"\n\n'
                 '[start-menu]\ngroup-choice = true\ndesktop-choice = true\n\n'
                 + finish + ''.join(
                     f'[[run]]\nprogram = {toml(self.recorder_path())}\n'
                     f'arguments = "group {group}"\nwhen = {group}\nonce = false\n\n'
                     for group in (11, 12)) + extra)
        source = source_folder(folder / 'files', {'bin/action recorder.exe': self.recorder,
                                                  'readme.txt': b'read me\r\n', **(files or {})})
        project = Project(f'{name} Product', short_name=name, uninstaller=True,
                          variables={'InstallPath': f'<ProgramFiles>\\{name} Product',
                                     'ShortcutsGroup': f'{name} Product'},
                          files=[FileGroup(source)], extra=extra,
                          product={'compression': compression} if compression else {})
        image = build_image(BUILDER, ENGINE, project, folder)
        return self.prefix.put(f'images/{name}.exe', image.read_bytes())

    def recorder_path(self):
        """The recorder outside any product, for the action groups."""
        path = 'C:\\Kelvara Fixtures\\action recorder.exe'
        if not self.host(path).exists():
            self.prefix.put('Kelvara Fixtures/action recorder.exe', self.recorder)
        return path

    def to_page(self, wizard, page_type):
        """Presses Next until the page of that type is shown."""
        page = wizard.page()
        while page.type != page_type:
            page = wizard.next()
        return page

    def shot(self, wizard, folder, name):
        path = wizard.screenshot(ARTIFACTS / folder / f'{name}.png')
        self.assertGreater(path.stat().st_size, 1000)

    def finish_page(self, wizard):
        return wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', timeout=120)

    # ---- tests ----

    def test_a_wizard_install_uses_the_folder_and_group_the_user_chose(self):
        # Half of them with the files in LZMA2 blocks, half deflated one by one.
        runs = [('standard', 96, False, None), ('compact', 96, True, 'lzma2'),
                ('standard', 144, True, 'lzma2'), ('compact', 144, False, None)]
        for layout, dpi, background, compression in runs:
            shots = f'{layout}-{dpi}dpi' + ('-background' if background else '')
            with self.subTest(shots):
                self.host(ACTION_LOG).unlink(missing_ok=True)
                self.prefix.set_dpi(dpi)
                self.full_install(f'Full{layout.title()}{dpi}{int(background)}', layout,
                                  background, shots, compression)

    def full_install(self, name, layout, background, shots, compression=None):
        compact = layout == 'compact'
        # Long enough that the Installing page has to shorten the paths it shows.
        chosen = f'C:\\Chosen Place\\A folder whose name is too long to be shown whole\\{name}'
        group = f'{name} Picked'
        (self.programs() / group).mkdir(parents=True, exist_ok=True)  # a group there already
        # A large file and many smaller ones, so that the Installing page is seen at work: the
        # large one alone can be written before a poll catches it, and each of the others costs
        # the system a file creation.
        files = {'big.bin': bytes(96 << 20),
                 **{f'parts/part{i:04}.dat': bytes(32 << 10) for i in range(800)}}
        image = self.image(name, layout, background, files=files, compression=compression)
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            page = self.to_page(wizard, DESTINATION)
            self.assertEqual(page.text(FOLDER_EDIT), f'C:\\Program Files\\{name} Product')
            self.assertRegex(page.text(REQUIRED), r'^\d+ Kb$')
            self.assertEqual(page.text(AVAILABLE_LABEL), 'Space available on drive C:')
            session.set_text(page.window, FOLDER_EDIT, chosen)
            self.shot(wizard, shots, '1-destination')

            page = wizard.next()
            self.assertEqual(page.type, START_MENU)
            lister = COMBO if compact else GROUP_LIST
            entries = session.items(page.window, lister)
            self.assertIn((f'{name} Product', True), entries, 'the script\'s group, selected')
            self.assertIn((group, False), entries, 'the groups there already')
            self.assertEqual(len({text.lower() for text, _ in entries}), len(entries),
                             'no group twice')
            session.select(page.window, lister, group)
            self.assertEqual(wizard.page().text(COMBO if compact else FOLDER_EDIT), group,
                             'the group picked is the one typed')
            self.assertTrue(page.controls[DESKTOP_BOX]['checked'])
            self.assertFalse(page.controls[QUICK_LAUNCH_BOX]['enabled'],
                             'no quick launch shortcut to choose')
            session.click_button(page.window, DESKTOP_BOX)  # no desktop shortcut, please
            self.shot(wizard, shots, '2-start-menu')

            page = wizard.next()
            self.assertEqual(page.type, READY)
            self.assertEqual(page.button(NEXT), 'Install')
            wizard.next()
            page = wizard.wait_page(
                lambda p: p.type == INSTALLING and 0 < p.controls[PROGRESS]['position'] < 100,
                'the installation under way')
            self.assertIsNone(page.button(NEXT), 'no Next while installing')
            self.assertIsNone(page.button(BACK))
            self.assertEqual(page.text(STEP), 'Copying files...')
            shown = page.text(CURRENT_FILE)
            # A file being written, or the folder of a group just opened ("bin" or "parts").
            self.assertRegex(shown, r'^C:\\.*\.\.\..*(big\.bin|part\d{4}\.dat|\\bin|\\parts)$',
                             'the path being worked on, shortened')
            self.shot(wizard, shots, '3-installing')
            page = self.finish_page(wizard)
            self.assertFalse(page.shown(ERROR_NOTE) or page.shown(RESTART_BOX))
            self.assertTrue(page.shown(RUN_BOX) and page.controls[RUN_BOX]['checked'])
            self.assertFalse(page.shown(OPEN_BOX), 'nothing to open after setup')
            self.assertEqual(page.button(NEXT), None)
            self.shot(wizard, shots, '4-finish')
            wizard.press('Finish')  # no question on the finish page
            self.assertEqual(wizard.exit_code(), 0)
            seen = session.seen()
        self.assertEqual([w['caption'] for w in seen if w['cls'] == '#32770'],
                         [f'{name} Product Setup'], 'no message box at all')

        installed = self.host(chosen)
        self.assertEqual((installed / 'readme.txt').read_bytes(), b'read me\r\n')
        self.assertFalse(self.host(f'C:\\Program Files\\{name} Product').exists())
        link = self.probe.shortcut(f'{self.windows_path(self.programs())}\\{group}\\Tool.lnk')
        self.assertIsNotNone(link, 'the shortcut is in the group picked')
        self.assertEqual(link.target, f'{chosen}\\bin\\{RECORDER_NAME}')
        self.assertFalse((self.programs() / f'{name} Product').exists())
        desktop = self.prefix.drive_c / f'users/{self.user}/Desktop/{name} Tool.lnk'
        self.assertFalse(desktop.exists(), 'the desktop box was cleared')
        value = self.probe.reg_query('HKCU', f'Software\\Kelvara Wizard\\{name}', 'Folder')
        self.assertEqual(value.value, chosen)
        log = (installed / 'uninstall.log').read_text('latin-1').split('\n')
        self.assertIn(f'a,{chosen}', log)
        self.assertIn(f'b,{chosen}\\readme.txt', log)
        entry = self.probe.reg_query('HKLM', f'{UNINSTALL_KEY}\\{name}', 'UninstallString')
        self.assertIn(f'{chosen}\\uninstall.exe', entry.value)

        lines = self.recorded(at_least=3)
        self.assertEqual([line[0] for line in lines], ['start'] * 3, lines)
        self.assertEqual([line[1].rsplit('|cmd=', 1)[1].split('" ')[-1] for line in lines[:2]],
                         ['group 11', 'group 12'],
                         'leaving the Installing page runs group 11, the finish page group 12')
        self.assertIn(f'cwd={chosen}|', lines[2][1],
                      'the program to run after setup, in the folder chosen')

    def windows_path(self, host_path):
        return 'C:\\' + str(host_path.relative_to(self.prefix.drive_c)).replace('/', '\\')

    def test_the_destination_check_keeps_the_page_until_the_folder_will_do(self):
        small = self.prefix.path.parent / f'small-drive-{os.getpid()}'
        small.mkdir(exist_ok=True)
        mounted = subprocess.run(['mount', '-t', 'tmpfs', '-o', 'size=1m', 'tmpfs', str(small)],
                                 capture_output=True).returncode == 0
        try:
            (self.prefix.path / 'dosdevices' / 's:').symlink_to(small)
            self.check_destination(mounted)
        finally:
            (self.prefix.path / 'dosdevices' / 's:').unlink(missing_ok=True)
            if mounted:
                subprocess.run(['umount', str(small)], check=False)

    def check_destination(self, small_drive):
        locked = self.prefix.drive_c / 'Locked'
        locked.mkdir(exist_ok=True)
        locked.chmod(0o555)
        # Two megabytes to install: more than the small drive has.
        image = self.image('Check', files={'data.bin': bytes(2 << 20)})
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            page = self.to_page(wizard, DESTINATION)
            self.assertRegex(page.text(AVAILABLE), r'^\d+ (Kb|Mb)$')
            required = int(page.text(REQUIRED).split()[0])
            self.assertGreaterEqual(required, 2048, 'the space the files need, in Kb')

            def refused(folder, message):
                session.set_text(page.window, FOLDER_EDIT, folder)
                wizard.press(wizard.page().button(NEXT))
                box = wizard.answer(message, 'OK')
                self.assertEqual(box['caption'], 'Check Product Setup')
                self.assertEqual(wizard.page().handle, page.handle, f'{folder}: the page stays')
                return box

            refused('Products\\Check', 'Please enter the full path of a folder')
            refused('C:\\Bad|Name', 'Please enter the full path of a folder')
            refused('Q:\\Check', 'The drive of the destination folder does not exist')
            refused('C:\\Locked', 'permission to create files in the destination folder')
            box = refused('C:\\Locked\\New\\Check', 'permission to create folders in')
            self.assertIn('C:\\Locked', box['text'], 'the folder that refuses, named')
            if small_drive:
                session.set_text(page.window, FOLDER_EDIT, 'S:\\Check')
                typed = wizard.page()
                self.assertEqual(typed.text(AVAILABLE_LABEL), 'Space available on drive S:')
                self.assertEqual(typed.text(AVAILABLE), '1024 Kb', 'the small drive\'s space')
                refused('S:\\Check', 'not enough free space on the destination drive')
            else:
                print('the small drive could not be mounted: its checks are left out')

            # Typing a drive that is none leaves the space texts as they were.
            # (The free space read after C: was typed: other programs change it meanwhile.)
            session.set_text(page.window, FOLDER_EDIT, 'C:\\x')
            c_free = wizard.page().text(AVAILABLE)
            for folder in ('1:\\x', 'Q:\\x', ''):
                session.set_text(page.window, FOLDER_EDIT, folder)
                typed = wizard.page()
                self.assertEqual((typed.text(AVAILABLE_LABEL), typed.text(AVAILABLE)),
                                 ('Space available on drive C:', c_free), folder)

            # Browse, cancelled, changes nothing.
            session.set_text(page.window, FOLDER_EDIT, 'C:\\Kelvara Checked\\Check')
            session.press(page.window, 'Browse...')
            picker = wizard.question('')
            session.press(picker, 'Cancel')
            session.gone(picker)
            self.assertEqual(wizard.page().text(FOLDER_EDIT), 'C:\\Kelvara Checked\\Check')

            page = wizard.next()
            self.assertEqual(page.type, START_MENU, 'a folder that will do is taken')
            page = wizard.back()
            self.assertEqual(page.text(FOLDER_EDIT), 'C:\\Kelvara Checked\\Check',
                             'the folder typed was kept')
            wizard.press('Cancel')
            wizard.answer(QUIT_BEFORE, 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        self.assertFalse(self.host('C:\\Kelvara Checked').exists())

    def test_cancel_on_the_destination_page_installs_nothing(self):
        image = self.image('Early')
        with self.prefix.session(DRIVER, image) as session:
            wizard = Wizard(session)
            page = self.to_page(wizard, DESTINATION)
            wizard.press('Cancel')
            wizard.answer(QUIT_BEFORE, 'No')
            self.assertEqual(wizard.page().handle, page.handle, 'No keeps the page')
            wizard.press('Cancel')
            wizard.answer(QUIT_BEFORE, 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        self.assertFalse(self.host('C:\\Program Files\\Early Product').exists())
        self.assertEqual(self.recorded(), [], 'no group after the wizard')

    def installing(self, name, answer, compression=None):
        """Starts the installation of a large file, cancels it while the file is written and
        answers the question; returns the session's exit code."""
        # Large enough, and the bound wide enough, that a test machine under load still sees the
        # file being written: at 160 MiB and below 60 the poll now and then saw only the end.
        image = self.image(name, files={'big.bin': bytes(BIG_FILE_SIZE)},
                           compression=compression)
        with self.prefix.session(DRIVER, image, timeout=300) as session:
            wizard = Wizard(session)
            self.to_page(wizard, READY)
            wizard.next()
            page = wizard.wait_page(
                lambda p: p.type == INSTALLING and 0 < p.controls[PROGRESS]['position'] < 90,
                'the installation under way')
            wizard.press('Cancel')
            box = wizard.question(QUIT_DURING)
            # The file being written is finished; then the installation waits at its next step
            # until the question is answered.
            held = session.wait_for(lambda: self.steady_progress(wizard), 'the installation held')
            self.assertLess(held, 100, 'held before the files were all written')
            session.press(box, answer)
            session.gone(box)
            if answer == 'No':
                self.finish_page(wizard)
                wizard.press('Finish')
            del page
            return wizard.exit_code(120)

    @staticmethod
    def steady_progress(wizard):
        """The progress position when it did not move for a second, else None."""
        first = wizard.page().controls[PROGRESS]['position']
        time.sleep(1)
        return first if wizard.page().controls[PROGRESS]['position'] == first else None

    def test_cancel_during_the_installation_rolls_back_and_no_goes_on(self):
        keys = [('HKCU', 'Software\\Kelvara Wizard'), ('HKLM', f'{UNINSTALL_KEY}\\Midway')]
        ignored = ['rig', 'rig/*', 'images', 'images/*', 'Kelvara Fixtures', 'Kelvara Fixtures/*']
        # The first run in a prefix makes the user's shell folders that are missing (the folder
        # tokens ask for them): a run cancelled at once, so that the comparison sees only what
        # the installation did.
        with self.prefix.session(DRIVER, self.image('Midway')) as session:
            wizard = Wizard(session)
            wizard.press('Cancel')
            wizard.answer(QUIT_BEFORE, 'Yes')
            self.assertEqual(wizard.exit_code(), 1602)
        before = snapshot(self.prefix, self.probe, keys, ignore=ignored)
        # In LZMA2 blocks: the cancel comes while the large file's last block still holds the
        # files after it.
        self.assertEqual(self.installing('Midway', 'Yes', 'lzma2'), 1602, 'cancelled')
        after = snapshot(self.prefix, self.probe, keys, ignore=ignored)
        self.assertEqual(changes(before, after), NO_CHANGES, 'the machine is as it was')
        self.assertEqual(self.recorded(), [], 'no group after a cancelled installation')

        self.assertEqual(self.installing('Goes On', 'No'), 0, 'No: the installation completes')
        self.assertEqual(self.host('C:\\Program Files\\Goes On Product\\big.bin').stat().st_size,
                         BIG_FILE_SIZE)

    def test_a_restart_for_files_in_use_is_offered_and_reminded(self):
        folder = 'C:\\Program Files\\InUse Product'
        self.prefix.put('Program Files/InUse Product/readme.txt', b'old')
        image = self.image('InUse')
        with self.probe.hold(f'{folder}\\readme.txt'):
            with self.prefix.session(DRIVER, image) as session:
                wizard = Wizard(session)
                self.to_page(wizard, READY)
                wizard.next()
                # The file in use: not tried again but replaced at the restart.
                wizard.answer('is in use by another program', 'No', timeout=120)
                page = self.finish_page(wizard)
                self.assertTrue(page.shown(RESTART_BOX) and page.controls[RESTART_BOX]['checked'])
                self.assertTrue(page.shown(RESTART_NOTE))
                self.assertFalse(page.shown(RUN_BOX) or page.shown(OPEN_BOX),
                                 'nothing is started before the restart')
                self.assertEqual(page.text(COMPLETION),
                                 'Some files were in use. Setup will replace them when the '
                                 'computer restarts.')
                self.shot(wizard, 'restart', 'finish')
                session.click_button(page.window, RESTART_BOX)  # not now
                wizard.press('Finish')
                box = wizard.answer('Please restart your computer before you use InUse.', 'OK')
                self.assertEqual(box['buttons'], 'OK')
                self.assertEqual(wizard.exit_code(), 3010, 'a restart is still needed')
        self.assertEqual([line[1].split('" ')[-1] for line in self.recorded(at_least=2)],
                         ['group 11', 'group 12'], 'the program to run after setup did not start')

    def test_errors_answered_yes_are_told_once(self):
        failing = '[[registry]]\nroot = "HKPD"\nkey = "Kelvara"\nname = "V"\nvalue = "x"\n\n'
        for pages, note_on_page in ((('ready', 'installing', 'finish'), True),
                                    (('ready', 'installing'), False)):
            name = 'Errors' if note_on_page else 'ErrorsNoFinish'
            image = self.image(name, extra=failing, pages=pages)
            with self.prefix.session(DRIVER, image) as session:
                wizard = Wizard(session)
                wizard.next()
                wizard.answer('Setup could not create this registry key', 'Yes', timeout=120)
                if note_on_page:
                    page = self.finish_page(wizard)
                    self.assertTrue(page.shown(ERROR_NOTE), 'the finish page tells of the errors')
                    wizard.press('Finish')
                else:
                    wizard.answer('some parts of the program could not be installed', 'OK')
                self.assertEqual(wizard.exit_code(), 1, 'installed with errors')
                seen = [w['text'] for w in session.seen()]
            told = [text for text in seen if 'some parts of the program could not' in text]
            self.assertEqual(len(told), 0 if note_on_page else 1, seen)


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0], *sys.argv[8:]], verbosity=2)
