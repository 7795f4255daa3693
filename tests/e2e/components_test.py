#!/usr/bin/env python3
"""Components and tasks: a product whose parts the person or the command line chooses. Silent
runs follow /TYPE=, /COMPONENTS= and /TASKS= (a leading "!" clears) and refuse an id the product
lacks before anything is written; exactly the chosen parts are installed (files, registry values,
the file type, shortcuts), the choice is kept in the uninstall entry and is where the next run
starts, and the uninstaller takes everything away. The wizard's components page (setup types,
the tree with its rules, the space the selection needs) and tasks page (a choice of one) are
walked in both layouts at 96 and 144 dpi, with screenshots in artifacts/components.

    components_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <kelvara-build>
"""
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from system_snapshot import NO_CHANGES, WINE_CHANGES, changes, files_of  # noqa: E402
from wine_prefix import Prefix  # noqa: E402
from wizard import (CHOICE_TREE, COMPONENTS, DESTINATION, FINISH, NEXT, READY, TASKS,  # noqa: E402
                    Wizard)

BUILD, ARCH, ENGINE, DRIVER, BUILDER = sys.argv[1:6]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'components'
PRODUCT = 'Kelvara Parts'
SHORT = 'KelvaraParts'
FOLDER = f'C:\\Program Files\\{PRODUCT}'
UNINSTALL = f'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SHORT}'
KEY = 'HKLM\\Software\\Kelvara Parts'
IGNORED = WINE_CHANGES + ['images', 'images/*', 'logs', 'logs/*',
                          'users/*/Documents/My Video']
SETUP_TYPE, REQUIRED = 1021, 1007  # the components page's setup type list and space needed
VK_SPACE = 0x20
# Each part's files, in KiB: the page's figures move by exactly these.
SIZES = {'app': 10, 'docs': 40, 'samples': 20, 'tools': 30}

CHOICES = '''
[[components]]
id = "app"
name = "The program"
description = "What every installation needs."
fixed = true

[[components]]
id = "docs"
name = "Documentation"
description = "The guide, to read offline."

[[components]]
id = "samples"
name = "Samples"
parent = "docs"
default = false

[[components]]
id = "tools"
name = "Command-line tools"

[[setup-types]]
id = "full"
name = "Full installation"
components = ["docs", "samples", "tools"]

[[setup-types]]
id = "compact"
name = "Compact installation"
components = []

[[setup-types]]
id = "custom"
name = "Custom installation"
custom = true

[[tasks]]
id = "desktop"
name = "A desktop icon"
group = "icons"
default = true

[[tasks]]
id = "start-menu"
name = "A Start menu icon"
group = "icons"

[[tasks]]
id = "path"
name = "Add the tools to PATH"
description = "Lets a command prompt find them."

[[registry]]
root = "HKLM"
key = "Software\\\\Kelvara Parts"
name = "Tools"
value = "%InstallPath%\\\\tools"
component = "tools"

[[registry]]
root = "HKLM"
key = "Software\\\\Kelvara Parts"
name = "Path"
value = "%InstallPath%\\\\tools"
task = "path"
component = "tools"

[[associations]]
extension = ".kparts"
type = "KelvaraParts.Guide"
command = "\\"%InstallPath%\\\\docs\\\\guide.txt\\" \\"%1\\""
component = "docs"

[[shortcuts]]
path = "<Desktop>\\\\Parts.lnk"
target = "%InstallPath%\\\\app.txt"
task = "desktop"

[[shortcuts]]
path = "<Programs>\\\\Parts.lnk"
target = "%InstallPath%\\\\app.txt"
task = "start-menu"
'''


# A value that moves from the documentation to the program in version 2.
GUIDE_VALUE = ('\n[[registry]]\nroot = "HKLM"\nkey = "Software\\\\Kelvara Parts"\nname = "Guide"\n'
               'value = "%InstallPath%\\\\docs\\\\guide.txt"\ncomponent = "{}"\n')


def kib(size):
    return b'k' * (size << 10)


class Components(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp(prefix='kelvara-components-'))
        sources = {part: source_folder(cls.work / part, {name: kib(SIZES[part])})
                   for part, name in (('app', 'app.txt'), ('docs', 'docs/guide.txt'),
                                      ('samples', 'docs/samples/sample.txt'),
                                      ('tools', 'tools/tool.txt'))}
        cls.groups = [FileGroup(folder, component=part) for part, folder in sources.items()]
        # Version 2: its tools are new, and the guide comes with the program.
        sources['tools'] = source_folder(cls.work / 'tools-2', {'tools/tool.txt': b'version 2'})
        sources_2 = dict(sources)
        sources_2['app'] = source_folder(cls.work / 'app-2', {'app.txt': kib(SIZES['app']),
                                                              'docs/guide.txt': b'guide 2'})
        sources_2['docs'] = source_folder(cls.work / 'docs-2', {'docs/other.txt': b'other'})
        cls.groups_2 = [FileGroup(folder, component=part) for part, folder in sources_2.items()]
        # Version 3 fails at its INI entry, where a folder stands in the way of the file.
        sources['tools'] = source_folder(cls.work / 'tools-3', {'tools/tool.txt': b'version 3'})
        cls.groups_3 = [FileGroup(folder, component=part) for part, folder in sources.items()]

    def image(self, name, extra='', version=1):
        project = Project(PRODUCT, short_name=SHORT, extra=CHOICES + extra,
                          files=(self.groups, self.groups_2, self.groups_3)[version - 1])
        return build_image(BUILDER, ENGINE, project, self.work / name)

    def install(self, prefix, image, *options, expect=0):
        path = prefix.put(f'images/{image.parent.name}.exe', image.read_bytes())
        log = prefix.drive_c / 'logs' / 'install.txt'
        log.unlink(missing_ok=True)
        run = prefix.run(DRIVER, path, ['/QUIET', '/LOG=C:\\logs\\install.txt', *options],
                         timeout=180)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual((run.exit_code, run.windows), (expect, []), run.output)
        return log.read_text('latin-1')

    def installed(self, prefix):
        """Which parts are there: files, values, the file type, the shortcuts."""
        folder = prefix.drive_c / 'Program Files' / PRODUCT
        desktop = [p for p in (prefix.drive_c / 'users').glob('*/Desktop/Parts.lnk')]
        programs = [p for p in (prefix.drive_c / 'users').glob(
            '*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Parts.lnk')]
        return {
            'app': (folder / 'app.txt').exists(),
            'docs': (folder / 'docs' / 'guide.txt').exists(),
            'samples': (folder / 'docs' / 'samples' / 'sample.txt').exists(),
            'tools': (folder / 'tools' / 'tool.txt').exists(),
            'Tools value': prefix.reg_value(KEY, 'Tools') is not None,
            'Path value': prefix.reg_value(KEY, 'Path') is not None,
            'file type': prefix.reg_value('HKCR\\.kparts') is not None,
            'desktop icon': bool(desktop),
            'start menu icon': bool(programs),
        }

    def assertInstalled(self, prefix, *parts):
        state = self.installed(prefix)
        self.assertEqual(sorted(k for k, v in state.items() if v), sorted(parts), state)

    def test_silent_runs_install_what_the_command_line_chooses(self):
        image = self.image('silent', extra=GUIDE_VALUE.format('docs'))
        with Prefix(BUILD, ARCH, 'components-silent') as prefix:
            (prefix.drive_c / 'logs').mkdir()
            before = files_of(prefix.drive_c, IGNORED)
            # Parts the product lacks: refused before anything is written.
            for option, message in (('/COMPONENTS=docs,nosuch', 'no component "nosuch"'),
                                    ('/TASKS=!nope', 'no task "nope"'),
                                    ('/TYPE=huge', 'no setup type "huge"')):
                log = self.install(prefix, image, option, expect=1603)
                self.assertIn(message, log, option)
            self.assertEqual(changes((before, {}), (files_of(prefix.drive_c, IGNORED), {})),
                             NO_CHANGES)
            self.assertIsNone(prefix.reg_value(UNINSTALL))

            # The defaults: the first setup type, the task group's default.
            log = self.install(prefix, image)
            self.assertIn('components: app,docs,samples,tools', log)
            self.assertIn('tasks: desktop,!start-menu,!path', log)
            self.assertInstalled(prefix, 'app', 'docs', 'samples', 'tools', 'Tools value',
                                 'file type', 'desktop icon')

            # An upgrade that fails leaves the parts it would leave out as they are.
            folder = prefix.drive_c / 'Program Files' / PRODUCT
            (folder / 'blocked.ini').mkdir()
            broken = self.image('silent-3', version=3, extra=(
                '\n[[ini]]\nfile = "%InstallPath%\\\\blocked.ini"\nsection = "S"\nkey = "K"\n'
                'value = "V"\n'))
            log = self.install(prefix, broken, '/COMPONENTS=!docs', expect=1603)
            self.assertIn('rollback: done', log)
            self.assertNotIn('components left out', log)
            self.assertInstalled(prefix, 'app', 'docs', 'samples', 'tools', 'Tools value',
                                 'file type', 'desktop icon')
            self.assertEqual((folder / 'tools' / 'tool.txt').read_bytes(), kib(SIZES['tools']))
            self.assertEqual(prefix.reg_value(UNINSTALL, 'Setup Components'),
                             'app,docs,samples,tools')
            (folder / 'blocked.ini').rmdir()

            # Version 2 with a setup type, then boxes over it; a task of the group clears the other.
            # What the earlier installation had of the parts left out goes: files, folders, the
            # file type, but not the guide, which the program now brings; the tasks' shortcut
            # stays, as tasks are not undone.
            upgrade = self.image('silent-2', version=2, extra=GUIDE_VALUE.format('app'))
            log = self.install(prefix, upgrade, '/TYPE=compact', '/COMPONENTS=tools,!app',
                               '/TASKS=start-menu,path')
            self.assertIn('components: app,!docs,!samples,tools', log, 'app is fixed')
            self.assertIn('tasks: !desktop,start-menu,path', log)
            self.assertIn('components left out: undoing', log)
            self.assertInstalled(prefix, 'app', 'docs', 'tools', 'Tools value', 'Path value',
                                 'desktop icon', 'start menu icon')
            self.assertEqual((folder / 'docs' / 'guide.txt').read_bytes(), b'guide 2')
            self.assertEqual(prefix.reg_value(KEY, 'Guide'), f'{FOLDER}\\docs\\guide.txt',
                             'the value the program now writes stays')
            self.assertEqual(sorted(p.name for p in (folder / 'docs').iterdir()), ['guide.txt'])
            self.assertEqual(
                (prefix.drive_c / 'Program Files' / PRODUCT / 'tools' / 'tool.txt').read_bytes(),
                b'version 2', 'the part kept is upgraded')
            self.assertEqual(prefix.reg_value(UNINSTALL, 'Setup Components'),
                             'app,!docs,!samples,tools')
            self.assertEqual(prefix.reg_value(UNINSTALL, 'Setup Tasks'),
                             '!desktop,start-menu,path')
            self.assertEqual(prefix.reg_value(KEY, 'Path'), f'{FOLDER}\\tools')
            self.assertTrue(self.installed(prefix)['start menu icon'])

            # The next run starts from that choice, a child's box ticking its parent.
            log = self.install(prefix, image, '/COMPONENTS=samples')
            self.assertIn('components: app,docs,samples,tools', log)
            self.assertIn('tasks: !desktop,start-menu,path', log)
            self.assertNotIn('components left out', log)
            self.assertInstalled(prefix, 'app', 'docs', 'samples', 'tools', 'Tools value',
                                 'Path value', 'file type', 'desktop icon', 'start menu icon')

            run = prefix.run(DRIVER, f'{FOLDER}\\uninstall.exe', ['/S'], timeout=180)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertInstalled(prefix)
            self.assertIsNone(prefix.reg_value(UNINSTALL))
            self.assertEqual(changes((before, {}), (files_of(prefix.drive_c, IGNORED), {})),
                             NO_CHANGES, 'the uninstaller took everything any run installed')

    def boxes(self, session, page):
        return {item['text']: item['checked']
                for item in session.tree(page.window, CHOICE_TREE)}

    @staticmethod
    def kilobytes(page):
        return int(page.text(REQUIRED).split()[0])

    def walk_pages(self, layout, dpi):
        """The components and tasks pages as a person uses them; what gets installed."""
        image = self.image(f'wizard-{layout}', extra=(
            f'\n[look]\nlayout = "{layout}"\n\n[pages]\n'
            'show = ["components", "destination", "tasks", "ready", "installing", "finish"]\n'))
        shots = ARTIFACTS / f'{layout}-{dpi}dpi'
        with Prefix(BUILD, ARCH, f'components-{layout}-{dpi}') as prefix:
            prefix.set_dpi(dpi)
            path = prefix.put('images/setup.exe', image.read_bytes())
            with prefix.session(DRIVER, path, [], timeout=240) as session:
                wizard = Wizard(session)
                page = wizard.page()
                self.assertEqual(page.type, COMPONENTS, page)
                self.assertEqual(session.items(page.window, SETUP_TYPE),
                                 [('Full installation', True), ('Compact installation', False),
                                  ('Custom installation', False)])
                self.assertEqual(self.boxes(session, page),
                                 {'The program': True, 'Documentation': True, 'Samples': True,
                                  'Command-line tools': True})
                full = self.kilobytes(page)
                wizard.screenshot(shots / '1-components.png')

                session.select(page.window, SETUP_TYPE, 'Compact installation')
                session.wait_for(lambda: not self.boxes(session, page)['Documentation'],
                                 'the compact type\'s boxes')
                page = wizard.page()
                self.assertEqual(self.boxes(session, page),
                                 {'The program': True, 'Documentation': False, 'Samples': False,
                                  'Command-line tools': False})
                self.assertEqual(full - self.kilobytes(page),
                                 SIZES['docs'] + SIZES['samples'] + SIZES['tools'])
                # A child ticks its parent; the type is then the person's own.
                session.click(page.window, CHOICE_TREE, ('Documentation', 'Samples'), 'check')
                session.wait_for(lambda: self.boxes(session, page)['Documentation'],
                                 'the parent ticked with its child')
                session.click(page.window, CHOICE_TREE, ('Command-line tools',), 'check')
                session.click(page.window, CHOICE_TREE, ('Documentation',), 'check')
                session.wait_for(lambda: not self.boxes(session, page)['Samples'],
                                 'the child cleared with its parent')
                # The fixed part's box stays ticked, the space bar toggling it or not.
                session.click(page.window, CHOICE_TREE, ('The program',), 'label')
                session.key(page.window, VK_SPACE)
                session.click(page.window, CHOICE_TREE, ('Command-line tools',), 'check')
                session.click(page.window, CHOICE_TREE, ('Command-line tools',), 'check')
                self.assertEqual(self.boxes(session, page),
                                 {'The program': True, 'Documentation': False, 'Samples': False,
                                  'Command-line tools': True})
                page = wizard.page()
                self.assertIn(('Custom installation', True), session.items(page.window,
                                                                           SETUP_TYPE))
                chosen = self.kilobytes(page)
                self.assertEqual(full - chosen, SIZES['docs'] + SIZES['samples'])
                session.click(page.window, CHOICE_TREE, ('Documentation',), 'label')
                session.wait_for(lambda: 'offline' in wizard.page().text(1009),
                                 'the description of the part picked')
                wizard.screenshot(shots / '2-components-custom.png')

                page = wizard.next()
                self.assertEqual(page.type, DESTINATION)
                self.assertEqual(int(page.text(1007).split()[0]), chosen,
                                 'the destination page needs what the selection needs')
                page = wizard.next()
                self.assertEqual(page.type, TASKS, page)
                self.assertEqual(self.boxes(session, page),
                                 {'A desktop icon': True, 'A Start menu icon': False,
                                  'Add the tools to PATH': False})
                session.click(page.window, CHOICE_TREE, ('A Start menu icon',), 'check')
                session.click(page.window, CHOICE_TREE, ('Add the tools to PATH',), 'check')
                session.wait_for(lambda: not self.boxes(session, page)['A desktop icon'],
                                 'one of a group')
                wizard.screenshot(shots / '3-tasks.png')
                page = wizard.next()
                self.assertEqual((page.type, page.button(NEXT)), (READY, 'Install'))
                # Back from the Ready page: the tasks page labels its buttons again.
                page = wizard.back()
                self.assertEqual((page.type, page.button(NEXT)), (TASKS, 'Next >'))
                page = wizard.next()
                self.assertEqual((page.type, page.button(NEXT)), (READY, 'Install'))
                wizard.next()
                wizard.wait_page(lambda p: p.type == FINISH, 'the finish page', 120)
                wizard.press('Finish')
                self.assertEqual(wizard.exit_code(), 0)
            self.assertInstalled(prefix, 'app', 'tools', 'Tools value', 'Path value',
                                 'start menu icon')

    def test_the_wizard_pages_choose_in_both_layouts(self):
        for layout, dpi in (('standard', 96), ('compact', 144), ('standard', 144),
                            ('compact', 96)):
            with self.subTest(f'{layout}-{dpi}dpi'):
                self.walk_pages(layout, dpi)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
