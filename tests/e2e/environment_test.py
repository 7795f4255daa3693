#!/usr/bin/env python3
"""The environment in real Wine prefixes: the Windows release each emulated release is detected
as, the folder tokens per release, and the requirement messages of the engine.

    environment_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <environment_probe.exe>
"""
import os
import struct
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from raw_image import END_RECORD, raw_setup_image  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE = sys.argv[1:6]
STUB = Path(ENGINE).read_bytes()

CAPTION = 'Probe Setup'
ADMIN_NEEDED = 'Administrator rights needed.'
NT_NEEDED = 'This program needs Windows NT.'
TOO_OLD = 'This program needs %s.'

# Wine's release names, and the code each must be detected as.
RELEASES = {
    'win95': 1, 'win98': 5, 'winme': 6, 'nt351': 3, 'nt40': 3, 'win2k': 7, 'winxp': 8,
    'winxp64': 9, 'win2003': 9, 'vista': 10, 'win2008': 10, 'win7': 10, 'win8': 10,
    'win81': 10, 'win10': 10,
}
# Windows keywords with their minimum code and the name a failure shows.
WINDOWS_KEYWORDS = [
    ('95OSR2', 2, 'Microsoft Windows 95 OSR2'), ('NT4', 3, 'Microsoft Windows NT4'),
    ('98', 4, 'Microsoft Windows 98'), ('98SE', 5, 'Microsoft Windows 98 SE'),
    ('ME', 6, 'Microsoft Windows ME'), ('2000', 7, 'Microsoft Windows 2000'),
    ('XP', 8, 'Microsoft Windows XP'), ('2003', 9, 'Microsoft Windows 2003 Server'),
]
NINE_X = {1, 2, 4, 5, 6}
# Releases on which the engine itself runs the requirement checks (each run costs seconds).
ENGINE_RUNS = {'win98', 'nt40', 'winxp'}


def record(kind, payload):
    return struct.pack('<iI', kind, len(payload)) + payload


def image(windows='', directx='', ie='', access='', admin=False):
    """A setup image with a product name, the three requirement messages (English) and a
    requirements record."""
    settings = (b'Probe\0Probe\0\0' + struct.pack('<II', 0, 0) + b'\0' + struct.pack('<I', 0) +
                b'\0' + b'\0\0\0' + b'\0\0')
    texts = b''.join(record(5, struct.pack('<HBB', 9, 0x60, item) + text.encode() + b'\0')
                     for item, text in ((11, ADMIN_NEEDED), (12, NT_NEEDED), (13, TOO_OLD)))
    demands = b''.join(t.encode() + b'\0' for t in (windows, directx, ie, access))
    folder = record(1, b'%InstallPath%\0C:\\Kelvara Probe\0')
    script = (record(9, settings) + folder + texts +
              record(16, demands + bytes([1 if admin else 0])) + END_RECORD)
    return raw_setup_image(STUB, script)


class Environment(unittest.TestCase):
    # Each test gets its own prefix: what one writes into the registry must not steer another.
    def setUp(self):
        self.prefix = Prefix(BUILD, ARCH, 'environment-' + self._testMethodName[5:])
        self.prefix.put('rig/probe.exe', Path(PROBE).read_bytes())

    def tearDown(self):
        self.prefix.close()

    def wine(self, *args, env=None):
        done = subprocess.run([self.prefix.wine, *args], env=env or self.prefix.env,
                              capture_output=True, text=True, timeout=120)
        return done.stdout.replace('\r', '')

    def registry(self, *lines):
        """Imports registry lines (regedit syntax) into the prefix."""
        path = self.prefix.put('rig/values.reg', ('REGEDIT4\r\n\r\n' + '\r\n'.join(lines) +
                                                  '\r\n').encode())
        self.wine('regedit', '/s', path)

    def set_release(self, release):
        # The release must be in place before the next program starts: read it back. In a
        # prefix that is still starting, the first write is now and then lost: write again.
        shown = ''
        for _ in range(3):
            self.wine('reg', 'add', 'HKCU\\Software\\Wine', '/v', 'Version', '/d', release, '/f')
            shown = self.wine('reg', 'query', 'HKCU\\Software\\Wine', '/v', 'Version')
            if release in shown:
                break
        self.assertIn(release, shown, f'the prefix did not take release {release}')

    def probe(self):
        found = dict(line.split('=', 1) for line in self.wine('C:\\rig\\probe.exe').splitlines()
                     if '=' in line)
        self.assertIn('code', found, 'the probe printed nothing')
        return found

    def run_image(self, name, data, env=None):
        path = self.prefix.put(name, data)
        saved = self.prefix.env
        if env:
            self.prefix.env = dict(saved, **env)
        try:
            run = self.prefix.run(DRIVER, path, ['S'])
        finally:
            self.prefix.env = saved
        self.assertFalse(run.timed_out, run.output)
        # A requirement that is not met ends the run before anything is installed.
        self.assertEqual(run.exit_code, 1603 if run.windows else 0, run.output)
        for window in run.windows:
            self.assertEqual(window['caption'], CAPTION, run.output)
            self.assertEqual(window['owner'], '0', 'requirement messages have no owner')
        return [w['text'] for w in run.windows]

    def assert_missing(self, name, data, missing, env=None):
        self.assertEqual(self.run_image(name, data, env), [TOO_OLD % missing], name)

    def assert_passes(self, name, data, env=None):
        self.assertEqual(self.run_image(name, data, env), [], name)

    def test_releases_and_their_requirement_results(self):
        report = []
        try:
            for release, code in RELEASES.items():
                with self.subTest(release=release):
                    self.set_release(release)
                    found = self.probe()
                    report.append(f'{release}: code {found["code"]}, nt {found["nt"]}')
                    self.assertEqual(int(found['code']), code)
                    nt = code not in NINE_X
                    self.assertEqual(found['nt'], '1' if nt else '0')
                    if release in ENGINE_RUNS:
                        self.check_engine_results(release, code, nt)
                    # The common-folder rule: all users' desktop except on 95 and 98.
                    common, user = found['token2'], found['token9']
                    if code in (1, 2, 4, 5):
                        self.assertEqual(common, user)
                    else:
                        self.assertNotEqual(common, user)
                    if code in (4, 5):
                        self.assertEqual(found['token1'], found['token27'] + '\\Application Data',
                                         '<CommonAppData> on 98 is <AllUsers>\\Application Data')
        finally:
            self.set_release('win7')
            print('\n'.join(report), file=sys.stderr)

    def check_engine_results(self, release, code, nt):
        met = [k for k in WINDOWS_KEYWORDS if k[1] <= code]
        unmet = [k for k in WINDOWS_KEYWORDS if k[1] > code]
        if met:
            self.assert_passes(f'{release}-met.exe', image(windows=met[-1][0]))
        if unmet:
            keyword, _, name = unmet[0]
            self.assert_missing(f'{release}-unmet.exe', image(windows=keyword), name)
        # Wine runs as an administrator: on NT the flag passes; 9x never asks.
        texts = self.run_image(f'{release}-nt.exe', image(windows='nt', admin=True))
        self.assertEqual(texts, [] if nt else [NT_NEEDED])

    def test_folder_tokens_on_the_prefix(self):
        self.set_release('win7')
        found = self.probe()
        temp = found['token23']
        self.assertTrue(temp.lower().endswith('\\temp'), temp)
        self.assertEqual(found['token18'], temp, 'no Quick Launch folder: <QuickLaunch> is <Temp>')
        self.assertEqual(found['token10'], temp, 'no Internet Explorer setup path')
        self.assertEqual(found['token13'], temp, 'no Access')
        for token in range(35):
            path = found[f'token{token}']
            if token in (10, 13):  # <IE> and <MSAccess>: their programs are absent
                continue
            self.assertTrue(self.windows_folder_exists(path), f'token {token}: {path}')
        # "My Video" is not among Wine's Shell Folders values: it was made and recorded.
        video = found['token34']
        self.assertEqual(video, found['token15'] + '\\My Video')
        self.assertIn(video, self.wine('reg', 'query',
                                       'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\'
                                       'Explorer\\Shell Folders', '/v', 'My Video'))
        # Once the Quick Launch folder exists it is used.
        quick = found['token0'] + '\\Microsoft\\Internet Explorer\\Quick Launch'
        self.wine('cmd', '/c', 'mkdir', quick)
        self.assertEqual(self.probe()['token18'], quick)
        # Each side of the system by name: on 32-bit Windows there is one, and the 64-bit
        # tokens name nothing; the x86_64 twin sees both sides of its 64-bit prefix natively.
        sides = {name: found[f'token{row}'] for row, name in
                 ((16, 'files'), (22, 'system'), (35, 'files32'), (36, 'files64'),
                  (37, 'system32'), (38, 'syswow64'))}
        if ARCH == 'i686':
            self.assertEqual(found['architecture'], '0')
            self.assertEqual(sides, dict(sides, files32=sides['files'], files64='',
                                         system32=sides['system'], syswow64=''))
        else:
            self.assertEqual(found['architecture'], '1')
            self.assertEqual(sides, {
                'files': 'C:\\Program Files', 'system': 'C:\\windows\\system32',
                'files32': 'C:\\Program Files (x86)', 'files64': 'C:\\Program Files',
                'system32': 'C:\\windows\\system32', 'syswow64': 'C:\\windows\\syswow64'})

    @unittest.skipUnless(ARCH == 'i686', 'the 32-bit engine on 64-bit Windows')
    def test_both_sides_of_a_64_bit_prefix_through_wow64(self):
        # The 32-bit probe in a 64-bit prefix: the system's processor is found, the plain tokens
        # name the 32-bit side and the explicit ones each side, the native system folder through
        # the alias a 32-bit program reaches it by.
        with Prefix(BUILD, 'x86_64', 'environment-wow64') as wide:
            wide.put('rig/probe.exe', Path(PROBE).read_bytes())
            shown = subprocess.run([wide.wine, 'C:\\rig\\probe.exe'], env=wide.env,
                                   capture_output=True, text=True, timeout=120).stdout
        found = dict(line.split('=', 1) for line in shown.replace('\r', '').splitlines()
                     if '=' in line)
        self.assertEqual(found.get('architecture'), '1', shown)
        self.assertEqual({row: found[f'token{row}'] for row in (16, 22, 35, 36, 37, 38)}, {
            16: 'C:\\Program Files (x86)', 22: 'C:\\windows\\system32',
            35: 'C:\\Program Files (x86)', 36: 'C:\\Program Files',
            37: 'C:\\windows\\Sysnative', 38: 'C:\\windows\\syswow64'})

    def windows_folder_exists(self, path):
        relative = path[3:].replace('\\', '/') if path[1:3] == ':\\' else None
        if relative is None:
            return False
        target = self.prefix.drive_c / relative
        # drive_c is case-sensitive on the host; Windows is not.
        if target.is_dir():
            return True
        parts = Path(relative).parts
        current = self.prefix.drive_c
        for part in parts:
            names = {p.name.lower(): p for p in current.iterdir()} if current.is_dir() else {}
            if part.lower() not in names:
                return False
            current = names[part.lower()]
        return current.is_dir()

    def test_requirement_messages_and_nothing_installed(self):
        self.set_release('winxp')
        self.run_image('warm-up.exe', image())  # the first run records missing folder values
        before = self.files()
        self.assert_missing('xp-2003.exe', image(windows='2003', admin=True),
                            'Microsoft Windows 2003 Server')
        self.assertEqual(self.files() - before, {Path('xp-2003.exe')}, 'nothing installed')
        self.set_release('win7')
        self.assert_passes('admin.exe', image(admin=True))
        # From Windows 7 on by release name or by version, the build included. The engine's
        # manifest names these systems, so it is told 8.1 and 10 where a program without one
        # would be told 8.
        self.set_release('win81')
        self.assert_passes('81-81.exe', image(windows='8.1'))
        self.assert_missing('81-10.exe', image(windows='10'), 'Microsoft Windows 10')
        self.set_release('win10')
        self.assert_passes('10-10.exe', image(windows='10'))
        self.assert_passes('10-first.exe', image(windows='10.0.10240'))  # 10's first build
        self.assert_missing('10-later.exe', image(windows='10.0.65535'),
                            'Microsoft Windows 10.0.65535')
        self.assert_missing('10-11.exe', image(windows='11'), 'Microsoft Windows 11')
        self.set_release('win7')
        self.assert_passes('unknown.exe', image(windows='Vista', ie='7.0', directx='10', access='2010'))

    def files(self):
        root = self.prefix.drive_c
        return {p.relative_to(root) for p in root.rglob('*') if p.is_file()}

    def test_detections_driven_by_registry_values(self):
        self.set_release('win7')
        ie_key = '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer]'
        self.registry(ie_key, '"Version"="6.0.2600.0000"')
        self.assert_missing('ie60.exe', image(ie='6.0sp1'), 'Internet Explorer 6.0 SP1')
        self.assert_passes('ie60-ok.exe', image(ie='6.0'))
        self.registry(ie_key, '"Version"="6.0.2800.1106"')
        self.assert_passes('ie60sp1.exe', image(ie='6.0SP1'))

        # Without Direct3D 9 the registry value tells 8.0 from 8.1.
        no_d3d9 = {'WINEDLLOVERRIDES': self.prefix.env['WINEDLLOVERRIDES'] + ';d3d9=d'}
        dx_key = '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\DirectX]'
        self.assert_passes('dx9.exe', image(directx='9.0'))
        self.registry(dx_key, '"Version"="4.08.01.0881"')
        self.assert_passes('dx81.exe', image(directx='8.1'), no_d3d9)
        self.assert_missing('dx81-9.exe', image(directx='9.0'), 'DirectX 9.0', no_d3d9)
        self.registry(dx_key, '"Version"="4.08.00.0400"')
        self.assert_missing('dx80.exe', image(directx='8.1'), 'DirectX 8.1', no_d3d9)

        # Access: a program file with Access 2000 SR1's version.
        self.assert_missing('no-access.exe', image(access='97'), 'Microsoft Access 97')
        program = self.prefix.put('Office/MSACCESS.EXE', self.versioned_file((8, 0, 0, 3822)))
        self.registry('[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\'
                      'App Paths\\MSACCESS.EXE]', '@="' + program.replace('\\', '\\\\') + '"')
        self.assert_passes('access-sr1.exe', image(access='2000SR1'))
        self.assert_missing('access-sr2.exe', image(access='2000sr2'), 'Microsoft Access 2000 SR2')

    def versioned_file(self, version):
        """The prefix's kernel32.dll with its fixed file version replaced."""
        data = bytearray((self.prefix.drive_c / 'windows' / 'system32' / 'kernel32.dll').read_bytes())
        marker = struct.pack('<II', 0xFEEF04BD, 0x00010000)
        places, at = [], data.find(marker)
        while at >= 0:
            places.append(at)
            at = data.find(marker, at + 1)
        self.assertTrue(places, 'kernel32.dll has a version resource')
        for at in places:  # every copy: the file may carry more than one
            struct.pack_into('<II', data, at + 8, (version[0] << 16) | version[1],
                             (version[2] << 16) | version[3])
        return bytes(data)


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
