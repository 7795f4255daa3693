#!/usr/bin/env python3
"""The test rig itself, in a fresh Wine prefix: what the probe reads matches what was set from
Windows and from the host, the fixture libraries carry the versions they were built with, a held
file cannot be deleted or written, and a played restart applies the moves scheduled for it.
Later tests trust these tools; here they are checked against independent sources.

    rig_probe_test.py <build-dir> <arch> <probe.exe> <fixtures.json> <kelvara-build> <kelvara.exe>
"""
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Fixtures, Project, build_image,  # noqa: E402
                             dump_image, source_folder)
from probe import (FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN,  # noqa: E402
                   FILE_ATTRIBUTE_READONLY, REG_DWORD, REG_MULTI_SZ, REG_SZ, SHARED_DLLS_KEY,
                   Probe, ProbeError, compare_trees, filetime_from_unix, restart)
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, PROBE, MANIFEST, BUILDER, ENGINE = sys.argv[1:7]
FIXTURES = Fixtures(MANIFEST)

# 2019-04-17 18:40:00.1234567 UTC: a time with digits down to the FILETIME's 100 ns.
WRITTEN = 132000000001234567
ACCESSED = 131000000007654321


class RigProbe(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'rig-probe')
        cls.probe = Probe(cls.prefix, PROBE)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def cmd(self, *args):
        """Runs a command of Windows' command interpreter in the prefix."""
        return subprocess.run([self.prefix.wine, 'cmd', '/c', *args], env=self.prefix.env,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=60)

    def host(self, windows_path):
        """The host path of a C:\\ path."""
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def test_stat_reads_what_windows_and_the_host_set(self):
        path = self.prefix.put('stat/a.txt', b'12345')
        os.utime(self.host(path), (1_500_000_000, 1_500_000_000))
        info = self.probe.stat(path)
        self.assertEqual((info.exists, info.folder, info.size, info.attributes),
                         (True, False, 5, FILE_ATTRIBUTE_ARCHIVE), info)
        self.assertEqual(info.written, filetime_from_unix(1_500_000_000), info)
        self.assertIsNone(info.version)

        # Times set through SetFileTime reach the host's file system to the 100 ns.
        self.probe.set_times(path, accessed=ACCESSED, written=WRITTEN)
        info = self.probe.stat(path, versions=False)
        self.assertEqual((info.accessed, info.written), (ACCESSED, WRITTEN), info)
        host = os.stat(self.host(path))
        self.assertEqual(host.st_mtime_ns, (WRITTEN - filetime_from_unix(0)) * 100)
        self.assertEqual(host.st_atime_ns, (ACCESSED - filetime_from_unix(0)) * 100)

        # One flag per call: Wine's attrib applies only the last of several.
        self.assertEqual(self.cmd('attrib', '+r', path).returncode, 0)
        self.assertEqual(self.cmd('attrib', '+h', path).returncode, 0)
        info = self.probe.stat(path, versions=False)
        self.assertEqual(info.attributes,
                         FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)
        self.assertEqual(os.stat(self.host(path)).st_mode & 0o222, 0, 'read-only on the host')

        folder, missing, deep = self.probe.stat_many(
            ['C:\\stat', 'C:\\stat\\missing.txt', 'C:\\no-such\\folder\\file'])
        self.assertTrue(folder.exists and folder.folder, folder)
        self.assertFalse(missing.exists)
        self.assertFalse(deep.exists)

    def test_tree_lists_everything_and_compares(self):
        self.prefix.put('tree/top.txt', b'top')
        self.prefix.put('tree/sub/deeper/leaf.txt', b'leaf!')
        before = self.probe.tree('C:\\tree')
        self.assertEqual(sorted(before), ['sub', 'sub\\deeper', 'sub\\deeper\\leaf.txt',
                                          'top.txt'])
        self.assertTrue(before['sub\\deeper'].folder)
        self.assertEqual(before['sub\\deeper\\leaf.txt'].size, 5)
        self.assertIsNone(self.probe.tree('C:\\tree\\missing'))

        self.assertEqual(self.cmd('del', 'C:\\tree\\top.txt').returncode, 0)
        self.prefix.put('tree/new.txt', b'new')
        self.probe.set_times('C:\\tree\\sub\\deeper\\leaf.txt', written=WRITTEN)
        changes = compare_trees(before, self.probe.tree('C:\\tree'))
        self.assertEqual((changes.added, changes.removed, list(changes.changed)),
                         (['new.txt'], ['top.txt'], ['sub\\deeper\\leaf.txt']))

    def test_fixtures_carry_their_versions(self):
        names = sorted(FIXTURES.files)
        for name in names:
            self.prefix.put('fixtures/' + name, FIXTURES.path(name).read_bytes())
        infos = self.probe.stat_many(['C:\\fixtures\\' + name for name in names])
        for name, info in zip(names, infos):
            with self.subTest(name=name):
                self.assertEqual(info.version, FIXTURES.version(name), info)
                self.assertEqual(info.version_text, FIXTURES.version_text(name))
        self.assertIsNone(FIXTURES.version('unversioned.dll'))
        self.assertEqual(FIXTURES.version('version-40000.dll'), (40000 << 16, 0))
        for name, entry in FIXTURES.files.items():
            if entry['kind'] == 'dll':
                with self.subTest(dll_get_version=name):
                    self.assertEqual(self.probe.dll_version('C:\\fixtures\\' + name),
                                     entry['dll_get_version'])

    def test_builder_records_the_fixture_versions(self):
        self.assertTrue(Path(BUILDER).exists(),
                        f'no builder at {BUILDER}: build the host-asan preset first')
        names = ['version-1.dll', 'version-40000.dll', 'version-1-0-40000-0.dll',
                 'program-2.exe', 'unversioned.dll']
        with tempfile.TemporaryDirectory() as work:
            source = source_folder(Path(work) / 'files',
                                   {name: FIXTURES.path(name) for name in names})
            project = Project('Rig Fixtures', variables={'InstallPath': '<ProgramFiles>\\Rig'},
                              files=[FileGroup(source, overwrite='newer', decide='version')])
            dump = dump_image(BUILDER, build_image(BUILDER, ENGINE, project, work))
        lines = {line.split()[0]: line for line in dump.splitlines() if line.startswith('  ')}
        self.assertIn('overwrite newer decide version', dump)
        for name in names:
            with self.subTest(name=name):
                version = FIXTURES.version_text(name)
                if version is None:
                    self.assertNotIn(', version ', lines[name])
                else:
                    self.assertTrue(lines[name].endswith(f', version {version}'), lines[name])

    def test_hold_keeps_others_out_until_released(self):
        path = self.prefix.put('held/a.txt', b'original')
        with self.probe.hold(path):
            self.cmd('del', path)
            self.cmd(f'echo changed> {path}')
            self.assertTrue(self.probe.stat(path, versions=False).exists, 'deleted while held')
            self.assertEqual(self.host(path).read_bytes(), b'original')
        self.assertEqual(self.cmd('del', path).returncode, 0)
        self.assertFalse(self.probe.stat(path).exists, 'not deleted after the hold')
        with self.probe.hold('C:\\held'):
            self.cmd('rd', 'C:\\held')
            self.assertTrue(self.probe.stat('C:\\held').exists, 'folder removed while held')
        self.cmd('rd', 'C:\\held')
        self.assertFalse(self.probe.stat('C:\\held').exists, 'folder not removed after the hold')
        with self.assertRaises(ProbeError):
            with self.probe.hold('C:\\held\\missing.txt', timeout=30):
                pass

    def test_registry_values_and_shared_counts(self):
        lines = ['[HKEY_LOCAL_MACHINE\\Software\\KelvaraRig]', '"Text"="hello"',
                 '"Number"=dword:0000002a', '"List"=hex(7):61,00,62,00,00',
                 '[HKEY_LOCAL_MACHINE\\Software\\KelvaraRig\\Child]',
                 f'[HKEY_LOCAL_MACHINE\\{SHARED_DLLS_KEY}]',
                 '"C:\\\\Shared\\\\a.dll"=dword:00000003', '"C:\\\\Shared\\\\text.dll"="3"']
        reg = self.prefix.put('rig/values.reg',
                              ('REGEDIT4\r\n\r\n' + '\r\n'.join(lines) + '\r\n').encode())
        subprocess.run([self.prefix.wine, 'regedit', '/s', reg], env=self.prefix.env,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=True)

        key = 'Software\\KelvaraRig'
        text = self.probe.reg_query('HKLM', key, 'Text')
        self.assertEqual((text.type, text.value), (REG_SZ, 'hello'))
        number = self.probe.reg_query('HKEY_LOCAL_MACHINE', key, 'Number')
        self.assertEqual((number.type, number.value, number.data), (REG_DWORD, 42, b'*\0\0\0'))
        listed = self.probe.reg_query('HKLM', key, 'List')
        self.assertEqual((listed.type, listed.value), (REG_MULTI_SZ, ['a', 'b']))
        self.assertIsNone(self.probe.reg_query('HKLM', key, 'Missing'))
        self.assertIsNone(self.probe.reg_query('HKLM', key + '\\Missing', 'Text'))
        values, subkeys = self.probe.reg_key('HKLM', key)
        self.assertEqual((sorted(values), subkeys), (['List', 'Number', 'Text'], ['Child']))

        self.assertEqual(self.probe.shared_count('C:\\Shared\\a.dll'), 3)
        self.assertEqual(self.probe.shared_count('c:\\shared\\A.DLL'), 3, 'names ignore case')
        self.assertIsNone(self.probe.shared_count('C:\\Shared\\b.dll'))
        with self.assertRaises(ProbeError):
            self.probe.shared_count('C:\\Shared\\text.dll')

    def test_restart_applies_scheduled_moves(self):
        source = self.prefix.put('restart/new.bin', b'new content')
        target = self.prefix.put('restart/target.bin', b'old content')
        doomed = self.prefix.put('restart/doomed.bin', b'delete me')
        self.probe.schedule_move(source, target)
        self.probe.schedule_move(doomed)
        self.assertEqual(self.probe.pending_renames(),
                         [('\\??\\' + source, '!\\??\\' + target), ('\\??\\' + doomed, '')])
        self.assertEqual(self.host(target).read_bytes(), b'old content', 'moved before restart')

        # A restart ends every program, so a target held open is free by then.
        with self.assertRaisesRegex(ProbeError, 'ended before'):
            with self.probe.hold(target):
                restart(self.prefix)
        self.assertEqual(self.probe.pending_renames(), [])
        self.assertEqual(self.host(target).read_bytes(), b'new content')
        self.assertEqual([i.exists for i in self.probe.stat_many([source, doomed])],
                         [False, False])


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
