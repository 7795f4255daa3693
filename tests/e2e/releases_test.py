#!/usr/bin/env python3
"""A product's releases as a vendor's pipeline builds them and package managers install them, in
a fresh Wine prefix: the version given on the builder's command line reaching the image and the
list of programs; an older version refused over a newer one (1638, nothing changed) unless the
project allows it; the same version installed again; and the passive mode, which shows its
progress window and nothing that asks, and takes the quiet answers (a failing step rolled back);
and the example product installed and removed as winget and Intune would from the manifests the
builder writes for it, their switches and commands run exactly as written.

    releases_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe> <busy.exe>
                     <kelvara-build>
"""
import hashlib
import json
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, dump_image,  # noqa: E402
                             source_folder)
from probe import Probe  # noqa: E402
from system_snapshot import NO_CHANGES, WINE_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUSY, BUILDER = sys.argv[1:8]
EXAMPLE = Path(__file__).resolve().parents[2] / 'examples' / 'hello' / 'project.toml'
HELLO_URL = 'https://downloads.example.com/hello-setup.exe'
ARTIFACTS = Path(BUILD) / 'artifacts' / 'releases'
UNINSTALL_KEY = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
FOLDER = 'C:\\Release Tool'
LOGS = 'C:\\release-logs'
NEWER = ('A newer version of Release Tool is already installed on this computer (version '
         '2.1.1).\n\nSetup cannot install the older version 2.1.0 over it. To use this version, '
         'uninstall the newer one first.')
IGNORED = WINE_CHANGES + ['images', 'images/*', 'release-logs', 'release-logs/*']


def yaml_scalar(text):
    """A scalar as the manifests write it: plain, 'single-quoted' or "double-quoted"."""
    if text.startswith("'"):
        return text[1:-1].replace("''", "'")
    if text.startswith('"'):
        return json.loads(text)
    return text


def read_manifest(file):
    """The block-style YAML of a winget manifest as nested dicts and lists; a line the reader
    does not know fails the test."""
    lines = [line for line in file.read_text(encoding='utf-8').splitlines()
             if line.strip() and not line.startswith('#')]

    def node(at, indent):
        if lines[at].startswith(' ' * indent + '- '):
            items = []
            while at < len(lines) and lines[at].startswith(' ' * indent + '- '):
                rest = lines[at][indent + 2:]
                if ': ' in rest or rest.endswith(':'):
                    # An item that is a map: its first key on the dash's line.
                    lines[at] = ' ' * (indent + 2) + rest
                    value, at = node(at, indent + 2)
                else:
                    value, at = yaml_scalar(rest), at + 1
                items.append(value)
            return items, at
        mapping = {}
        while at < len(lines) and lines[at].startswith(' ' * indent) and \
                not lines[at].startswith(' ' * (indent + 1)) and \
                not lines[at].startswith(' ' * indent + '- '):
            key, _, rest = lines[at][indent:].partition(':')
            if rest:
                mapping[key], at = yaml_scalar(rest[1:]), at + 1
            else:
                mapping[key], at = node(at + 1, indent + 2)
        return mapping, at

    document, end = node(0, 0)
    assert end == len(lines), f'{file}: not read from line {end}: {lines[end]}'
    return document


class Releases(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'releases')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='releases-', dir=cls.prefix.path.parent))
        (cls.prefix.drive_c / LOGS[3:]).mkdir()

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def image(self, name, version, short_name='ReleaseTool', extra='', product=None, files=None):
        """The release `version` of the tool, its version given with -D as a pipeline does."""
        source = source_folder(self.work / f'src-{name}', files or {
            'tool.txt': f'tool {version}\r\n'.encode(), f'notes-{version}.txt': b'notes\r\n'})
        project = Project('Release Tool', short_name=short_name,
                          variables={'InstallPath': FOLDER, 'Vendor': 'Example Vendor'},
                          files=[FileGroup(source)], uninstaller=True, extra=extra,
                          product={'version': '%AppVersion%', 'publisher': '%Vendor%',
                                   'url': 'https://example.com/%ProductCode%', **(product or {})})
        image = build_image(BUILDER, ENGINE, project, self.work / name,
                            defines=[('AppVersion', version), ('ProductCode', 'tool')])
        return image, self.prefix.put(f'images/{name}.exe', image.read_bytes())

    def run_log(self, name):
        lines = self.host(f'{LOGS}\\{name}.txt').read_bytes().decode('latin-1').split('\r\n')
        return [line[24:] for line in lines[:-1]]

    def run_image(self, path, args, name, presses=()):
        run = self.prefix.run(DRIVER, path, [*args, f'/LOG={LOGS}\\{name}.txt'],
                              presses=presses, timeout=120)
        self.assertFalse(run.timed_out, run.output)
        return run

    def entry(self, short_name='ReleaseTool'):
        found = self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\{short_name}')
        return {name: value.value for name, value in found[0].items()} if found else None

    def test_versions_from_the_build_and_downgrades(self):
        newer, newer_path = self.image('v211', '2.1.1')
        self.assertIn('product version="2.1.1" publisher="Example Vendor" '
                      'url="https://example.com/tool"', dump_image(BUILDER, newer))
        run = self.run_image(newer_path, ['/QUIET'], 'v211')
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        entry = self.entry()
        self.assertEqual((entry['DisplayVersion'], entry['Publisher'], entry['URLInfoAbout']),
                         ('2.1.1', 'Example Vendor', 'https://example.com/tool'))

        # 2.1.0 over 2.1.1: refused before anything changes, quietly with 1638, and with the
        # message when a person runs it.
        keys = [('HKLM', f'{UNINSTALL_KEY}\\ReleaseTool')]
        before = snapshot(self.prefix, self.probe, keys, IGNORED)
        _, older_path = self.image('v210', '2.1.0')
        run = self.run_image(older_path, ['/QUIET'], 'v210-quiet')
        self.assertEqual((run.exit_code, run.windows), (1638, []), run.output)
        log = self.run_log('v210-quiet')
        self.assertIn('version: 2.1.1 is installed, newer than this setup\'s 2.1.0', log)
        self.assertEqual(log[-1], 'exit code 1638: not done: a newer version of the product is '
                                  'installed')
        run = self.run_image(older_path, [], 'v210-wizard', presses=('OK',))
        self.assertEqual(run.exit_code, 1638, run.output)
        self.assertEqual([(w['caption'], w['text']) for w in run.windows],
                         [('Release Tool Setup', NEWER)], 'the message and no wizard')
        self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys, IGNORED)),
                         NO_CHANGES, 'nothing changed')

        # The same version again is a repair: installed, 0.
        run = self.run_image(newer_path, ['/QUIET'], 'v211-again')
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(self.host(f'{FOLDER}\\tool.txt').read_bytes(), b'tool 2.1.1\r\n')

        # A project that allows it goes back to 2.1.0; "2.1.1-beta" then is newer again (a
        # pre-release of 2.1.1 after 2.1.0), and 2.1.1 after its beta.
        _, allowed_path = self.image('v210-allowed', '2.1.0', product={'allow_downgrade': True})
        run = self.run_image(allowed_path, ['/QUIET'], 'v210-allowed')
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(self.entry()['DisplayVersion'], '2.1.0')
        self.assertEqual(self.host(f'{FOLDER}\\tool.txt').read_bytes(), b'tool 2.1.0\r\n')
        for name, version in (('beta', '2.1.1-beta'), ('final', '2.1.1')):
            _, path = self.image(name, version)
            run = self.run_image(path, ['/QUIET'], name)
            self.assertEqual(run.exit_code, 0, f'{version}: {run.output}')
            self.assertEqual(self.entry()['DisplayVersion'], version)
        _, beta_path = self.image('beta-again', '2.1.1-beta')
        self.assertEqual(self.run_image(beta_path, ['/QUIET'], 'beta-again').exit_code, 1638)

    def test_a_passive_run_shows_its_progress_and_asks_nothing(self):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        folder = 'C:\\Passive Tool'
        # The busy program runs after the files until the test closes it: the window is seen
        # while the run is under way.
        files = {f'data/file{i:03}.txt': b'x' * 2000 for i in range(300)}
        files['busy.exe'] = Path(BUSY).read_bytes()
        extra = ('[[run]]\nprogram = "%InstallPath%\\\\busy.exe"\nwhen = "after-install"\n')
        _, path = self.image('passive', '3.0', short_name='PassiveTool', extra=extra,
                             files=files)
        # The image's own folder variable names the passive product's folder.
        with self.prefix.session(DRIVER, path, ['/PASSIVE', f'/LOG={LOGS}\\passive.txt',
                                                f'/DIR={folder}']) as session:
            window = session.wait(caption='Release Tool Setup', timeout=60)
            busy = session.wait(caption='Busy Test Program', timeout=60)
            session.screenshot(ARTIFACTS / 'passive.png', window)
            controls = session.controls(window)
            self.assertEqual(controls[1001]['text'], 'Installing Release Tool')
            self.assertEqual(controls[1023]['cls'], 'msctls_progress32')
            buttons = [c for c in controls.values() if c['cls'] == 'Button']
            self.assertEqual(buttons, [], 'nothing in the window asks')
            session.close_window(busy)
            self.assertEqual(session.finish(timeout=120), 0)
            seen = [w['caption'] for w in session.seen()]
        self.assertEqual(sorted(set(seen)), ['Busy Test Program', 'Release Tool Setup'], seen)
        self.assertEqual(self.entry('PassiveTool')['DisplayVersion'], '3.0')
        self.assertTrue(self.host(f'{folder}\\data\\file299.txt').is_file())

        # A failing step takes the quiet answer: the run stops, is rolled back, and ends with
        # 1603, with no window but its own.
        extra = ('[[registry]]\nroot = "hkcu"\nkey = "Software\\\\' + 'L' * 300 + '"\n'
                 'name = "V"\nvalue = "x"\n')
        _, failing = self.image('passive-fails', '3.1', short_name='PassiveFails', extra=extra)
        run = self.run_image(failing, ['/PASSIVE', '/DIR=C:\\Passive Fails'], 'passive-fails')
        self.assertEqual(run.exit_code, 1603, run.output)
        self.assertEqual({w['caption'] for w in run.windows}, {'Release Tool Setup'},
                         'the progress window and no message')
        log = self.run_log('passive-fails')
        asked = [line for line in log if line.startswith('message (not shown: quiet)')]
        self.assertEqual(len(asked), 1, log)
        self.assertTrue(asked[0].endswith(' -> No'), asked[0])
        self.assertIn('rollback: done', log)
        self.assertFalse(self.host('C:\\Passive Fails').exists(), 'rolled back')
        self.assertIsNone(self.entry('PassiveFails'))

    def hello_release(self):
        """The example product built with its winget manifests and Intune rule, once: the
        output folder and the image."""
        out = self.work / 'hello'
        image = out / 'hello-setup.exe'
        if not image.exists():
            out.mkdir(exist_ok=True)
            env = {k: v for k, v in os.environ.items() if k != 'SOURCE_DATE_EPOCH'}
            done = subprocess.run(
                [BUILDER, str(EXAMPLE), '--stub', ENGINE, '-o', str(image), '-q', '--winget',
                 str(out / 'winget'), '--intune', str(out / 'intune.json'), '--installer-url',
                 HELLO_URL, '--package-id', 'KelvaraExamples.Hello'],
                capture_output=True, text=True, env=env, timeout=300)
            self.assertEqual(done.returncode, 0, done.stderr)
        return out, image

    def test_winget_installs_and_removes_it_as_its_manifests_say(self):
        out, image = self.hello_release()
        self.assertEqual(sorted(p.name for p in (out / 'winget').iterdir()),
                         ['KelvaraExamples.Hello.installer.yaml',
                          'KelvaraExamples.Hello.locale.en-US.yaml', 'KelvaraExamples.Hello.yaml'])
        installer = read_manifest(out / 'winget' / 'KelvaraExamples.Hello.installer.yaml')
        version = read_manifest(out / 'winget' / 'KelvaraExamples.Hello.yaml')
        locale = read_manifest(out / 'winget' / 'KelvaraExamples.Hello.locale.en-US.yaml')
        self.assertEqual((version['PackageVersion'], version['ManifestType'],
                          locale['PackageName'], locale['Publisher']),
                         ('1.0', 'version', 'Hello World 1.0', 'Kelvara Examples'))
        [entry] = installer['Installers']
        sha256 = hashlib.sha256(image.read_bytes()).hexdigest().upper()
        self.assertEqual((entry['InstallerSha256'], entry['InstallerUrl'], entry['Scope'],
                          entry['Architecture']), (sha256, HELLO_URL, 'machine', 'x86'))

        # winget runs the installer with its silent, location and log switches, each with its
        # placeholder filled in, and takes what the manifest lists as success.
        path = self.prefix.put('images/hello-setup.exe', image.read_bytes())
        switches = entry['InstallerSwitches']
        folder = 'C:\\Apps\\Hello World'
        args = [switches['Silent'], switches['Log'].replace('<LOGPATH>', f'{LOGS}\\winget.txt'),
                switches['InstallLocation'].replace('<INSTALLPATH>', folder)]
        run = self.prefix.run(DRIVER, path, args, timeout=120, verbatim=True)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        self.assertEqual(self.run_log('winget')[-1], 'exit code 0: done')
        self.assertTrue(self.host(f'{folder}\\hello.cmd').is_file())
        # It finds the installed product by the entry the manifest names.
        [listed] = installer['AppsAndFeaturesEntries']
        values = self.entry(listed['ProductCode'])
        self.assertEqual({k: values[k] for k in ('DisplayName', 'Publisher', 'DisplayVersion')},
                         {k: listed[k] for k in ('DisplayName', 'Publisher', 'DisplayVersion')})
        self.assertEqual({r['InstallerReturnCode']: r['ReturnResponse']
                          for r in installer['ExpectedReturnCodes']}['1638'], 'downgrade')
        self.assertEqual(installer['InstallerSuccessCodes'], ['3010', '1641'])

        # ... and removes it with the entry's quiet uninstall command, as written there.
        command = values['QuietUninstallString']
        program, arguments = command[1:].split('" ', 1)
        run = self.prefix.run(DRIVER, program, [arguments], timeout=120, follow=True,
                              verbatim=True)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        self.assertIsNone(self.entry(listed['ProductCode']))
        self.assertFalse(self.host(folder).exists())

    @unittest.skipUnless(ARCH == 'i686', 'the x86_64 twin installs every product natively')
    def test_intune_installs_detects_and_removes_it_as_its_rule_says(self):
        # The install command from the image's folder, the detection rule in the view it names,
        # then the uninstall command through the command processor, which expands the variables
        # in it (the command in quotes of its own, which the processor takes off). A 32-bit
        # product's folder is named for a 64-bit Windows, where the 32-bit engine runs in the
        # 32-bit view.
        out, image = self.hello_release()
        intune = json.loads((out / 'intune.json').read_text(encoding='utf-8'))
        self.assertEqual((intune['@odata.type'], intune['installCommandLine']),
                         ('#microsoft.graph.win32LobApp', '"hello-setup.exe" /QUIET'))
        [rule] = intune['rules']
        self.assertEqual((rule['keyPath'], rule['valueName'], rule['comparisonValue'],
                          rule['check32BitOn64System']),
                         ('HKEY_LOCAL_MACHINE\\' + UNINSTALL_KEY + '\\HelloWorld',
                          'DisplayVersion', '1.0', True))
        with Prefix(BUILD, 'x86_64', 'releases-intune') as wow:
            wow.put('images/hello-setup.exe', image.read_bytes())
            run = wow.run(DRIVER, 'C:\\windows\\system32\\cmd.exe',
                          ['/c', f'"cd /d C:\\images && {intune["installCommandLine"]}"'],
                          timeout=120, follow=True, verbatim=True)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertEqual(wow.reg_value(rule['keyPath'], rule['valueName'], view=32), '1.0')
            self.assertIsNone(wow.reg_value(rule['keyPath'], rule['valueName'], view=64))
            run = wow.run(DRIVER, 'C:\\windows\\system32\\cmd.exe',
                          ['/c', f'"{intune["uninstallCommandLine"]}"'], timeout=120, follow=True,
                          verbatim=True)
            self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
            self.assertIsNone(wow.reg_value(rule['keyPath'], rule['valueName'], view=32))
            self.assertFalse((wow.drive_c / 'Program Files (x86)' / 'Hello World').exists())

if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
