#!/usr/bin/env python3
"""Programs and DLL functions of the action groups in silent installations, in a fresh Wine
prefix: the groups in their order (before the wizard, the page groups, after the installation),
arguments, working folders and window modes, run-once records, waiting and not waiting,
documents opened through the shell, the registration entry points inside OLE, and the
uninstaller's entries written to the install log instead of being run.

The fixtures record every call (tests/fixtures/action_log.h) in one log whose path they take
from KELVARA_ACTION_LOG.

    actions_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <actions.json>
                            <kelvara-build>
"""
import json
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from wine_prefix import Prefix, Run  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, MANIFEST, BUILDER = sys.argv[1:7]

FOLDER = 'C:\\Kelvara Actions'  # the fixtures inside the prefix: a path with a blank
RECORDER = f'{FOLDER}\\action recorder.exe'
PROBE = f'{FOLDER}\\action-probe.dll'
SW_SHOWMAXIMIZED, SW_SHOW, SW_SHOWMINNOACTIVE = 3, 5, 7


def toml(text):
    """A TOML basic string."""
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def when_value(when):
    return str(when) if isinstance(when, int) else toml(when)


def run_table(program, arguments=None, when='before-wizard', **keys):
    lines = ['[[run]]', f'program = {toml(program)}', f'when = {when_value(when)}']
    if arguments is not None:
        lines.append(f'arguments = {toml(arguments)}')
    for key, value in keys.items():
        key = key.replace('_', '-')
        if isinstance(value, bool):
            value = str(value).lower()
        elif isinstance(value, list):
            value = '[' + ', '.join(str(v) for v in value) + ']'
        else:
            value = toml(value)
        lines.append(f'{key} = {value}')
    return '\n'.join(lines) + '\n\n'


def dll_table(function, arguments=(), when='before-wizard', **keys):
    lines = ['[[dll-call]]', f'dll = {toml(PROBE)}', f'function = {toml(function)}',
             f'when = {when_value(when)}']
    if arguments:
        lines.append('arguments = [' + ', '.join(toml(a) for a in arguments) + ']')
    for key, value in keys.items():
        lines.append(f'{key} = {str(value).lower()}')
    return '\n'.join(lines) + '\n\n'


class Line:
    """One line of the action log: sequence, event and the detail's fields."""

    def __init__(self, text):
        sequence, self.event, self.detail = text.split('|', 2)
        self.sequence = int(sequence)
        self.fields = {}
        if self.event in ('start', 'end'):
            head, self.fields['cmd'] = self.detail.split('|cmd=', 1)
            for part in head.split('|'):
                key, _, value = part.partition('=')
                self.fields[key] = value
        elif self.detail.startswith('args='):
            self.fields['args'] = self.detail[5:]
        else:
            key, _, value = self.detail.partition('=')
            self.fields[key] = value

    def __getitem__(self, key):
        return self.fields.get(key)

    def arguments(self):
        """What the recorder got after its own quoted path."""
        cmd = self.fields['cmd']
        return cmd[cmd.index('" ') + 2:] if cmd.startswith('"') else cmd

    def __repr__(self):
        return f'{self.sequence} {self.event} {self.detail}'


class ActionsInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        fixtures = json.loads(Path(MANIFEST).read_text())
        cls.prefix = Prefix(BUILD, ARCH, 'actions-install')
        cls.work = Path(tempfile.mkdtemp(prefix='actions-install-', dir=cls.prefix.path.parent))
        cls.recorder_bytes = Path(fixtures['recorder']).read_bytes()
        cls.prefix.put('Kelvara Actions/action recorder.exe', cls.recorder_bytes)
        cls.prefix.put('Kelvara Actions/action-probe.dll', Path(fixtures['probe']).read_bytes())
        cls.prefix.put('rig/ui_driver.exe', Path(DRIVER).read_bytes())

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def install(self, name, extra, files=None, variables=None, uninstaller=None, args=('S',),
                presses=(), exit_code=0):
        """Builds and runs a silent install; returns the driver's report and the action log's
        Windows path. The driver's output goes to a file, not a pipe: a program the installer
        did not wait for may outlive it, and would hold a pipe open."""
        variables = {'InstallPath': f'C:\\Kelvara Tests\\{name}', **(variables or {})}
        source = source_folder(self.work / f'{name}-src', files or {'readme.txt': b'actions'})
        project = Project(f'Actions {name}', variables=variables, uninstaller=uninstaller,
                          files=[FileGroup(source, overwrite='always')], extra=extra)
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        path = self.prefix.put(f'images/{name}.exe', image.read_bytes())
        log = f'{FOLDER}\\{name}.log'
        env = dict(self.prefix.env, KELVARA_ACTION_LOG=log)
        report = self.work / f'{name}-driver.txt'
        command = [self.prefix.wine, 'C:\\rig\\ui_driver.exe', '--timeout', '120']
        for press in presses:
            command += ['--press', press]
        with open(report, 'w') as out:
            done = subprocess.run([*command, '--', path, *args], env=env, stdout=out,
                                  stderr=subprocess.STDOUT, timeout=240)
        run = Run(report.read_text(errors='replace'), f'[driver exit {done.returncode}]')
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        if not presses:
            self.assertEqual(run.windows, [], 'a silent install with actions shows nothing')
        return run, log

    def lines(self, log, at_least=0, timeout=30):
        """The action log's lines; waits (up to `timeout` s) until there are `at_least`."""
        deadline = time.monotonic() + timeout
        while True:
            path = self.host(log)
            text = path.read_bytes().decode('latin-1') if path.exists() else ''
            lines = [Line(t) for t in text.split('\r\n') if t]
            if len(lines) >= at_least or time.monotonic() > deadline:
                return lines
            time.sleep(0.05)

    def test_a_failing_action_is_a_failing_step(self):
        missing = 'C:\\Kelvara Tests\\no such program.exe'
        cases = [
            # (name, the action, when, answer, exit code, what the question says)
            ('missing-no', run_table(missing), 'before-wizard', 'No', 1603,
             f'Setup could not run this program file:\n{missing}'),
            ('missing-yes', run_table(missing), 'before-wizard', 'Yes', 1,
             f'Setup could not run this program file:\n{missing}'),
            ('no-dll', dll_table('TakesNothing').replace(toml(PROBE), toml(f'{FOLDER}\\none.dll')),
             'before-wizard', 'No', 1603, 'Setup could not call the function TakesNothing in '
             f'the file\n{FOLDER}\\none.dll'),
            ('no-function', dll_table('NoSuchFunction'), 'before-wizard', 'Yes', 1,
             f'Setup could not call the function NoSuchFunction in the file\n{PROBE}'),
            ('exit-5', run_table(RECORDER, '--exit=5', success_codes=[0]), 'after-install',
             'Yes', 1, f'This program file ended with an exit code that says it failed:\n'
             f'{RECORDER}\n\nExit code: 5'),
        ]
        for name, action, when, answer, exit_code, says in cases:
            with self.subTest(name):
                action = action.replace('when = "before-wizard"', f'when = "{when}"')
                run, log = self.install(name, action, presses=(answer,), exit_code=exit_code)
                self.assertEqual(len(run.windows), 1 if answer == 'No' else 2, run.output)
                self.assertIn(says, run.windows[0]['text'])
                self.assertEqual(run.windows[0]['buttons'], 'Yes|No')
                installed = self.host(f'C:\\Kelvara Tests\\{name}\\readme.txt').exists()
                self.assertEqual(installed, exit_code == 1, 'No before the install: nothing')
                if answer == 'Yes':
                    self.assertIn('some parts of the program could not be installed',
                                  run.windows[1]['text'], 'the run ends with errors')

        # Quiet: no window, the quiet answer (No) and every step in the run log.
        run, _ = self.install('quiet', run_table(missing), args=('/QUIET', '/LOG=C:\\quiet.log'),
                              exit_code=1603)
        text = self.host('C:\\quiet.log').read_text('latin-1')
        self.assertIn(f'action: could not start "{missing}" : File not found.', text)
        self.assertIn('Setup could not run this program file:', text)
        self.assertIn('-> No', text)

        # A success code that asks for a restart (a prerequisite's 3010) is a restart needed.
        run, log = self.install('restart', run_table(RECORDER, '--exit=3010',
                                                     success_codes=[0, 3010]),
                                args=('/QUIET', '/NORESTART'), exit_code=3010)
        self.assertEqual([line.event for line in self.lines(log)], ['start'])

    def test_groups_run_in_order_with_their_arguments_and_folders(self):
        root = 'C:\\Kelvara Tests\\order'
        installed = f'{root}\\bin\\action recorder.exe'
        extra = (
            # Declared in an order the run does not follow.
            run_table(RECORDER, 'finish', when='after-finish')
            + run_table(f'%InstallPath%\\bin\\action recorder.exe', 'installed %Tool%',
                        when='after-install', working_folder='%InstallPath%\\bin\\')
            + dll_table('TakesOne', ['page 2 %Tool%'], when='after-page:welcome')
            + run_table(RECORDER, 'page 2', when='after-page:welcome', window='maximized')
            + run_table(RECORDER, 'page 1', when=1)
            + dll_table('DllRegisterServer')
            + dll_table('dllregisterserver')
            + dll_table('TakesTwo', ['a b', 'c'])
            + run_table(RECORDER, 'before 1', working_folder=f'{FOLDER}\\')
            + run_table(RECORDER, 'before 2', window='minimized')
            # The same run-once record twice: both run.
            + run_table(RECORDER, 'before 2')
            + run_table(RECORDER, 'uninstall %Tool%', when='uninstall',
                        working_folder='%InstallPath%')
            + dll_table('DllUnregisterServer', when='uninstall'))
        _, log = self.install('order', extra, files={'bin/action recorder.exe': self.recorder_bytes},
                              variables={'Tool': 'from variable'}, uninstaller=True)

        lines = self.lines(log)
        seen = [(line.event, line.arguments() if line.event == 'start' else
                 line['args'] or line['ole']) for line in lines]
        self.assertEqual(seen, [
            ('start', 'before 1'), ('start', 'before 2'), ('start', 'before 2'),
            ('DllRegisterServer', 'sta'), ('dllregisterserver', 'none'), ('TakesTwo', 'a b|c'),
            ('start', 'page 1'), ('start', 'page 2'), ('TakesOne', 'page 2 from variable|<none>'),
            ('start', 'installed from variable'), ('start', 'finish')],
            'group 0, then the page groups, the install, after-install and after-finish; '
            'in each group the programs before the DLL calls; the uninstall group not at all')
        self.assertEqual([line.sequence for line in lines], list(range(len(lines))))

        starts = [line for line in lines if line.event == 'start']
        self.assertEqual(starts[0]['cwd'], FOLDER, 'one trailing backslash removed')
        self.assertEqual(starts[0]['cmd'], f'"{RECORDER}" before 1',
                         'the program in quotes, a blank, the arguments')
        self.assertEqual(starts[0]['flags'], '0x41')
        self.assertEqual([int(s['show']) for s in starts[:4]],
                         [SW_SHOW, SW_SHOWMINNOACTIVE, SW_SHOW, SW_SHOW])
        self.assertEqual(int(starts[4]['show']), SW_SHOWMAXIMIZED)
        self.assertEqual(starts[5]['cmd'], f'"{installed}" installed from variable',
                         'a packaged program runs after the files are in place')
        self.assertEqual(starts[5]['cwd'], f'{root}\\bin')

        install_log = self.host(f'{root}\\uninstall.log').read_text('latin-1').split('\n')
        actions = [line for line in install_log if line[:2] in ('d,', 'f,')]
        self.assertEqual(actions, [
            f'd,{RECORDER},uninstall from variable,{root},1,1,0',
            f'f,{PROBE},DllUnregisterServer,,,1'],
            'the uninstall group goes to the install log, variables expanded')

    def test_waiting_and_not_waiting(self):
        release = f'{FOLDER}\\release-wait'
        hold = f'--hold="{release}"'
        extra = (run_table(RECORDER, 'slow --sleep=1500')
                 + run_table(RECORDER, 'after slow')
                 + run_table(RECORDER, f'held {hold}', wait=False)
                 + run_table(RECORDER, 'after held', when='after-install'))
        _, log = self.install('wait', extra)

        seen = [(line.event, line.arguments()) for line in self.lines(log, at_least=5)]
        self.assertEqual(seen[:3], [
            ('start', 'slow --sleep=1500'), ('end', 'slow --sleep=1500'), ('start', 'after slow')],
            'a waited-for program ended before the next one started')
        # Not waited for, the held program may record its start after the next program's.
        self.assertEqual(sorted(seen[3:]), [('start', 'after held'), ('start', f'held {hold}')],
                         'the installer ended while the held program was still running')

        self.host(release).write_bytes(b'')
        lines = self.lines(log, at_least=6)
        self.assertEqual([(line.event, line.arguments()) for line in lines[5:]],
                         [('end', f'held {hold}')], 'the program the installer left running ends')

    def test_open_in_any_letter_case_goes_through_the_shell(self):
        # A document type of the test's own, opened by the recorder.
        command = f'"{RECORDER}" "%1"'.replace('\\', '\\\\').replace('"', '\\"')
        self.prefix.put('Kelvara Actions/kvrdoc.reg', (
            'REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.kvrdoc]\r\n@="KelvaraActionDocument"\r\n\r\n'
            '[HKEY_CLASSES_ROOT\\KelvaraActionDocument\\shell\\open\\command]\r\n'
            f'@="{command}"\r\n').encode('latin-1'))
        subprocess.run([self.prefix.wine, 'regedit', '/S', f'{FOLDER}\\kvrdoc.reg'],
                       env=self.prefix.env, check=True, timeout=120, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        docs = f'{FOLDER}\\docs'
        for name in ('upper', 'mixed', 'lower'):
            self.prefix.put(f'Kelvara Actions/docs/{name}.kvrdoc', b'document')
        lower = f'{docs}\\lower.kvrdoc'
        extra = (run_table('OPEN', f'{docs}\\upper.kvrdoc', working_folder=f'{docs}\\')
                 + run_table('oPeN', f'{docs}\\mixed.kvrdoc', when='after-page:ready')
                 # The builder's own way of saying it: the program field "open".
                 + f'[[run]]\nopen = {toml(lower)}\nwhen = "after-install"\n\n')
        _, log = self.install('open', extra)

        lines = self.lines(log, at_least=3)
        opened = {}
        for line in lines:
            self.assertEqual(line.event, 'start', lines)
            name = next((n for n in ('upper', 'mixed', 'lower') if f'{n}.kvrdoc' in line['cmd']),
                        None)
            self.assertIsNotNone(name, f'an unexpected start: {line}')
            opened[name] = line
        self.assertEqual(sorted(opened), ['lower', 'mixed', 'upper'],
                         f'"open" in every letter case opens the document: {lines}')
        self.assertEqual(opened['upper']['cwd'], docs, 'the working folder without its backslash')


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0]], verbosity=2)
