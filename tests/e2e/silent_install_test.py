#!/usr/bin/env python3
"""Silent installations of generated projects in a fresh Wine prefix: the files with their bytes,
times and attributes, the install log byte for byte, the uninstaller copy, the overwrite rules
against real versioned files, files in use, shared counts, and the rollback of a failed run.

    silent_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                           <fixtures.json> <kelvara-build>
"""
import os
import random
import re
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Fixtures, Project, build_image,  # noqa: E402
                             dump_image, source_folder)
from probe import (FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY, Probe,  # noqa: E402
                   filetime_from_unix, restart)
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, MANIFEST, BUILDER = sys.argv[1:8]
FIXTURES = Fixtures(MANIFEST)
HEADER = '=== Kelvara log file ==='
OLD, PACKAGED, NEW = 1_400_000_000, 1_500_000_000, 1_600_000_000  # Unix times of the tests


def dump_entries(builder, image):
    """The package's entries in package order, from the builder's dump: (relative path, is a
    folder), one group after the other."""
    groups, entries, stack = [], None, []
    for line in dump_image(builder, image).splitlines():
        if line.startswith('group '):
            entries, stack = [], []
            groups.append(entries)
            continue
        if entries is None or not line.startswith('  ') or line.startswith('records'):
            if line.startswith('records'):
                entries = None
            continue
        depth = (len(line) - len(line.lstrip(' '))) // 2 - 1
        text = line.strip()
        stack = stack[:depth]
        if text.endswith('\\'):
            stack.append(text[:-1])
            entries.append(('\\'.join(stack), True))
        else:
            name = re.match(r'(.+?)  \d+ bytes', text).group(1)
            entries.append(('\\'.join(stack + [name]), False))
    return groups


class SilentInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'silent-install')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='silent-install-', dir=cls.prefix.path.parent))

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def install(self, name, project, presses=(), exit_code=0, args=(), environment=None):
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        path = self.prefix.put(f'images/{name}.exe', image.read_bytes())
        run = self.prefix.run(DRIVER, path, ['S', *args], presses=presses, timeout=120,
                              environment=environment)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return image, run

    def temp_leftovers(self):
        """KVR temporary files in the temporary folders the engine may use."""
        found = []
        for temp in [*self.prefix.drive_c.glob('users/*/AppData/Local/Temp'),
                     *self.prefix.drive_c.glob('users/*/Temp')]:
            found += [p.name for p in temp.glob('KVR*')]
        found += [p.name for p in (self.prefix.drive_c / 'windows' / 'temp').glob('KVR*')]
        return found

    def test_full_install_places_every_file_and_writes_the_logs(self):
        rng = random.Random(5)
        text = b''.join(b'line %d of the manual\r\n' % i for i in range(4000))
        source = source_folder(self.work / 'full-src', {
            'readme.txt': b'hello, world\r\n',
            'bin/tool.dll': FIXTURES.path('version-2.dll'),
            'bin/data/table.bin': rng.randbytes(70000),          # stored: does not compress
            'docs/manual.txt': text,                             # compressed
            'docs/big/large.txt': text * 60,                     # several inflate pieces
            'docs/empty.txt': b'',
            'locked.cfg': b'read only\r\n',
        }, written=PACKAGED, read_only=('locked.cfg',))
        project = Project('Full Product 1.0', short_name='FullProduct',
                          variables={'InstallPath': 'C:\\Kelvara Full\\Full, Inc'},
                          files=[FileGroup(source, overwrite='always')], uninstaller=True)
        image, run = self.install('full', project)
        self.assertEqual(run.windows, [], 'a good silent install shows nothing')

        root = 'C:\\Kelvara Full\\Full, Inc'
        entries = dump_entries(BUILDER, image)[0]
        for relative, is_folder in entries:
            path = f'{root}\\{relative}'
            info = self.probe.stat(path, versions=False)
            self.assertTrue(info.exists, path)
            if is_folder:
                continue
            expected = (source / relative.replace('\\', '/')).read_bytes()
            self.assertEqual(self.host(path).read_bytes(), expected, path)
            self.assertEqual(info.written, filetime_from_unix(PACKAGED), path)
            attributes = FILE_ATTRIBUTE_ARCHIVE
            if relative == 'locked.cfg':
                attributes |= FILE_ATTRIBUTE_READONLY
            self.assertEqual(info.attributes, attributes, path)
        self.assertEqual(self.probe.stat(f'{root}\\bin\\tool.dll').version,
                         FIXTURES.version('version-2.dll'))

        log = self.host(f'{root}\\uninstall.log').read_bytes()
        lines = log.decode('latin-1').split('\n')
        self.assertEqual(lines[-1], '', 'every line ends in LF, the last one too')
        self.assertNotIn('\r', log.decode('latin-1'))
        settings = lines[3]
        self.assertRegex(settings, r'^0,0x[0-9A-F]+,0x[0-9A-F]+,0x[0-9A-F]+,0x[0-9A-F]+,[^,]*,'
                                   r'0x[0-9A-F]+,[^,]*,0x[0-9A-F]+$')
        expected = [HEADER, 'Full Product 1.0', 'FullProduct', settings,
                    'a,C:\\Kelvara Full', f'a,{root}']  # the chain: both are new
        expected += [f'{"a" if folder else "b"},{root}\\{rel}' for rel, folder in entries]
        expected += [f'b,{root}\\uninstall.exe', f'b,{root}\\uninstall.log',
                     'e,2,Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FullProduct,1',
                     '']  # the uninstall entry, removed with everything below it
        self.assertEqual(lines, expected)

        # The uninstaller: the image up to its package with the package fields cleared (offset,
        # script bytes, checksum); it is the engine but for the PE checksum, which the image
        # carries as zero (a checksum of the stub alone is wrong once the package follows).
        package_offset = int.from_bytes(image.read_bytes()[0x20:0x24], 'little')
        stub = bytearray(image.read_bytes()[:package_offset])
        stub[0x12:0x14] = b'\0\0'
        stub[0x1C:0x28] = bytes(12)
        uninstaller = self.host(f'{root}\\uninstall.exe').read_bytes()
        self.assertEqual(uninstaller, bytes(stub))
        engine = Path(ENGINE).read_bytes()
        checksum_field = int.from_bytes(engine[0x3C:0x40], 'little') + 24 + 64
        self.assertEqual(uninstaller[checksum_field:checksum_field + 4], bytes(4))
        differing = [i for i in range(len(engine)) if engine[i] != uninstaller[i]]
        self.assertTrue(all(checksum_field <= i < checksum_field + 4 for i in differing),
                        f'only the PE checksum differs from the engine: {differing}')
        self.assertEqual(len(image.read_bytes()) % 8, 0, 'the image ends on an 8-byte boundary')
        self.assertEqual(self.temp_leftovers(), [], 'no temporary file is left behind')

    def test_overwrite_modes_and_decision_rules(self):
        v1, v2, v3 = (FIXTURES.path(f'version-{n}.dll') for n in (1, 2, 3))
        bare = FIXTURES.path('unversioned.dll')
        # (case, mode, rule, packaged file, installed file, installed write time, replaced?)
        cases = [
            ('always', 'always', 'date', v1, v3, NEW, True),
            ('never', 'never', 'date', v3, v1, OLD, False),
            ('newer-date-older', 'newer', 'date', v1, v1, NEW, False),
            ('newer-date-newer', 'newer', 'date', v1, v1, OLD, True),
            ('same-date-equal', 'newer-or-same', 'date', v1, v1, PACKAGED, True),
            ('newer-date-equal', 'newer', 'date', v1, v1, PACKAGED, False),
            ('older-date-older', 'older', 'date', v1, v1, NEW, True),
            ('older-date-newer', 'older', 'date', v1, v1, OLD, False),
            ('newer-version-lower', 'newer', 'version', v2, v3, OLD, False),
            ('newer-version-higher', 'newer', 'version', v2, v1, NEW, True),
            ('newer-version-none', 'newer', 'version', v2, bare, NEW, True),
            ('older-version-lower', 'older', 'version', v2, v3, OLD, True),
            ('same-version-equal', 'newer-or-same', 'version', v2, v2, NEW, True),
            ('both-newer-but-date', 'newer', 'version-and-date', v2, v1, NEW, False),
            ('both-newer', 'newer', 'version-and-date', v2, v1, OLD, True),
            ('both-none-date-old', 'newer', 'version-and-date', v2, bare, OLD, True),
            ('both-none-date-new', 'newer', 'version-and-date', v2, bare, NEW, False),
            ('read-only-target', 'always', 'date', v2, v1, NEW, True),
        ]
        root = 'C:\\Kelvara Tests\\Overwrite'
        groups = []
        for case, mode, rule, packaged, installed, written, _ in cases:
            source = source_folder(self.work / 'overwrite' / case, {'file.dll': packaged},
                                   written=PACKAGED)
            groups.append(FileGroup(source, target=f'{root}\\{case}', overwrite=mode,
                                    decide=rule))
            target = self.host(f'{root}\\{case}\\file.dll')
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(installed.read_bytes())
            os.utime(target, (written, written))
            if case == 'read-only-target':
                target.chmod(0o444)  # Wine's read-only attribute
        project = Project('Overwrite', variables={'InstallPath': root}, files=groups,
                          uninstaller=True)
        _, run = self.install('overwrite', project)
        self.assertEqual(run.windows, [])

        log = self.host(f'{root}\\uninstall.log').read_text('latin-1').split('\n')
        for case, mode, rule, packaged, installed, written, replaced in cases:
            path = f'{root}\\{case}\\file.dll'
            content = self.host(path).read_bytes()
            info = self.probe.stat(path, versions=False)
            if replaced:
                self.assertEqual(content, packaged.read_bytes(), case)
                self.assertEqual(info.written, filetime_from_unix(PACKAGED), case)
                self.assertEqual(info.attributes, FILE_ATTRIBUTE_ARCHIVE,
                                 f'{case}: the packaged attributes, read-only gone')
                self.assertIn(f'b,{path}', log, case)
            else:
                self.assertEqual(content, installed.read_bytes(), f'{case}: left untouched')
                self.assertEqual(info.written, filetime_from_unix(written), case)
                self.assertNotIn(f'b,{path}', log, f'{case}: not logged')

    def test_files_in_use_are_replaced_at_the_restart(self):
        root = 'C:\\Kelvara Tests\\InUse'
        normal = source_folder(self.work / 'inuse-normal', {'app.exe': b'new app'},
                               written=PACKAGED)
        shared = source_folder(self.work / 'inuse-shared', {'common.dll': b'new common'},
                               written=PACKAGED)
        for name, old in (('app.exe', b'old app'), ('common.dll', b'old common')):
            target = self.host(f'{root}\\{name}')
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(old)
        project = Project('In Use', variables={'InstallPath': root}, uninstaller=True,
                          files=[FileGroup(normal, overwrite='always'),
                                 FileGroup(shared, overwrite='always', shared=True)])
        with self.probe.hold(f'{root}\\app.exe'), self.probe.hold(f'{root}\\common.dll'):
            # Try again (still held), then leave it to the restart; then no restart now.
            _, run = self.install('in-use', project, presses=('Yes', 'No', 'No'), exit_code=3010)
        questions = [w['text'] for w in run.windows]
        in_use = [t for t in questions if 'app.exe' in t]
        self.assertEqual(len(in_use), 2, f'asked twice for the normal file only: {questions}')
        self.assertFalse(any('common.dll' in t for t in questions), questions)
        self.assertEqual(len(questions), 3, f'then the restart question: {questions}')
        self.assertTrue(all(w['style'] & 0x4 for w in run.windows), 'Yes/No questions')

        self.assertEqual(self.host(f'{root}\\app.exe').read_bytes(), b'old app')
        renames = self.probe.pending_renames()
        self.assertEqual(len(renames), 2, renames)
        # Staged beside their targets, where the move at the restart stays on one volume, and
        # nothing is left in the temporary folder.
        self.assertTrue(all(source.lower().startswith(f'\\??\\{root.lower()}\\kvr')
                            for source, _ in renames), renames)
        self.assertEqual(self.temp_leftovers(), [])
        log = self.host(f'{root}\\uninstall.log').read_text('latin-1')
        self.assertNotIn('app.exe', log, 'a deferred file is not logged')
        self.assertNotIn('common.dll', log)

        restart(self.prefix)
        self.assertEqual(self.host(f'{root}\\app.exe').read_bytes(), b'new app')
        self.assertEqual(self.host(f'{root}\\common.dll').read_bytes(), b'new common')
        self.assertEqual(self.probe.shared_count(f'{root}\\common.dll'), 1,
                         'a deferred shared file is counted when it is scheduled')

    def test_shared_files_are_counted_per_installation(self):
        root = 'C:\\Kelvara Tests\\Shared'
        source = source_folder(self.work / 'shared-src', {'shared.dll': b'shared'},
                               written=PACKAGED)
        project = Project('Shared', variables={'InstallPath': root}, uninstaller=True,
                          files=[FileGroup(source, shared=True, overwrite='always')])
        self.install('shared-1', project)
        self.assertEqual(self.probe.shared_count(f'{root}\\shared.dll'), 1)
        self.install('shared-2', project)
        self.assertEqual(self.probe.shared_count(f'{root}\\shared.dll'), 2)
        log = self.host(f'{root}\\uninstall.log').read_text('latin-1')
        self.assertIn(f'g,{root}\\shared.dll\n', log)
        self.assertNotIn(f'b,{root}\\shared.dll', log)

    def test_a_failed_run_is_rolled_back(self):
        root = 'C:\\Kelvara Tests\\Failing'
        existing = self.host(f'{root}\\kept\\existing.txt')
        existing.parent.mkdir(parents=True, exist_ok=True)
        existing.write_bytes(b'was here before')
        blocker = self.host(f'{root}\\blocked')
        blocker.write_bytes(b'a file where a folder should go')
        before = self.probe.tree(root)

        first = source_folder(self.work / 'fail-first', {
            'new/one.txt': b'one', 'new/deeper/two.txt': b'two', 'existing.txt': b'overwritten'},
            written=PACKAGED)
        second = source_folder(self.work / 'fail-second', {'three.txt': b'three'},
                               written=PACKAGED)
        project = Project('Failing', variables={'InstallPath': root}, uninstaller=True, files=[
            FileGroup(first, target=f'{root}\\kept', overwrite='always'),
            FileGroup(second, target=f'{root}\\blocked\\sub', overwrite='always')])
        _, run = self.install('failing', project, presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assertIn(f'{root}\\blocked\\sub', run.windows[0]['text'])

        after = self.probe.tree(root)
        self.assertEqual(sorted(after), sorted(before), 'everything the run made is gone')
        self.assertEqual(existing.read_bytes(), b'was here before',
                         'a file the run replaced is back as it was')
        self.assertEqual(blocker.read_bytes(), b'a file where a folder should go')
        self.assertFalse(self.host(f'{root}\\uninstall.exe').exists())
        self.assertEqual(self.temp_leftovers(), [], 'the rollback log is gone')

    def test_errors_answered_yes_complete_the_run_with_errors(self):
        root = 'C:\\Kelvara Tests\\Errors'
        blocker = self.host(f'{root}\\blocked')
        blocker.parent.mkdir(parents=True, exist_ok=True)
        blocker.write_bytes(b'a file where a folder should go')
        good = source_folder(self.work / 'errors-good', {'good.txt': b'good'}, written=PACKAGED)
        bad = source_folder(self.work / 'errors-bad', {'lost.txt': b'lost'}, written=PACKAGED)
        project = Project('Errors', variables={'InstallPath': root}, uninstaller=True, files=[
            FileGroup(good, overwrite='always'),
            FileGroup(bad, target=f'{root}\\blocked\\sub', overwrite='always')])
        # Go on without the folder, skip the file that cannot be made, then the closing report.
        _, run = self.install('errors', project, presses=('Yes', 'Yes', 'OK'), exit_code=1)
        texts = [w['text'] for w in run.windows]
        self.assertEqual(len(texts), 3, run.output)
        self.assertIn(f'{root}\\blocked\\sub', texts[0])
        self.assertIn(f'{root}\\blocked\\sub\\lost.txt', texts[1])
        self.assertEqual(run.windows[2]['buttons'], 'OK', 'the closing report only informs')
        self.assertEqual(self.host(f'{root}\\good.txt').read_bytes(), b'good')
        log = self.host(f'{root}\\uninstall.log').read_text('latin-1')
        self.assertIn(f'b,{root}\\good.txt\n', log)
        self.assertNotIn('lost.txt', log)

    def test_small_views_and_the_second_thread_give_every_byte(self):
        """The image read through the smallest views (two allocation steps), so that names,
        fields and content cross the views' edges everywhere, and the content inflated ahead by
        the second thread; a second run over the installation skips one group's files, whose
        content the second thread has already begun, and replaces the other's."""
        rng = random.Random(17)
        words = [bytes(rng.choice(b'abcdefghij') for _ in range(rng.randint(2, 8)))
                 for _ in range(300)]

        def content(i):
            size = rng.randint(0, 400_000) if i % 7 else rng.randint(0, 40)
            if i % 3 == 0:
                return rng.randbytes(size)  # stored
            return b' '.join(rng.choice(words) for _ in range(size // 5))[:size]

        kept = {f'kept/{"deep/" * (i % 3)}file {"k" * (i % 40)}{i}.txt': content(i)
                for i in range(30)}
        replaced = {f'replaced/part {i}.bin': content(i) for i in range(30, 60)}
        kept_source = source_folder(self.work / 'views-kept', kept, written=PACKAGED)
        replaced_source = source_folder(self.work / 'views-replaced', replaced, written=PACKAGED)
        root = 'C:\\Kelvara Tests\\Views'
        project = Project('Views', variables={'InstallPath': root}, uninstaller=True, files=[
            FileGroup(kept_source, overwrite='never'),
            FileGroup(replaced_source, overwrite='always')])
        small_views = {'KELVARA_VIEW_SIZE': str(128 * 1024)}
        log = self.host('C:\\logs\\views.log')
        log.parent.mkdir(parents=True, exist_ok=True)

        def windows(relative):
            return root + '\\' + relative.replace('/', '\\')

        def check(files, source):
            for relative in files:
                path = windows(relative)
                self.assertEqual(self.host(path).read_bytes(),
                                 (source / relative).read_bytes(), path)
                self.assertEqual(self.probe.stat(path, versions=False).written,
                                 filetime_from_unix(PACKAGED), path)

        image, run = self.install('views', project, args=['/LOG=C:\\logs\\views.log'],
                                  environment=small_views)
        self.assertGreater(image.stat().st_size, 6 * 128 * 1024, 'the image spans many views')
        self.assertEqual(run.windows, [], run.output)
        check(kept, kept_source)
        check(replaced, replaced_source)
        first_log = log.read_text('latin-1')
        if os.cpu_count() > 1:
            self.assertIn('files: inflated ahead by a second thread', first_log)
        self.assertNotIn('second thread stopped', first_log)

        # Some kept files are changed (and stay so: never overwritten) or gone, some replaced
        # ones are changed or gone (and come back as packaged).
        for relative in list(kept)[::4]:
            self.host(windows(relative)).write_bytes(b'changed')
        for relative in list(kept)[1::8]:  # missing: made again, even with "never"
            self.host(windows(relative)).unlink()
        for relative in list(replaced)[::3]:
            self.host(windows(relative)).write_bytes(b'changed')
        for relative in list(replaced)[1::5]:
            self.host(windows(relative)).unlink()
        run = self.prefix.run(DRIVER, self.prefix.put('images/views.exe', image.read_bytes()),
                              ['S', '/LOG=C:\\logs\\views.log'], timeout=120,
                              environment=small_views)
        self.assertEqual(run.exit_code, 0, run.output)
        self.assertEqual(run.windows, [], run.output)
        check(replaced, replaced_source)
        for i, relative in enumerate(kept):
            path = self.host(windows(relative))
            expected = b'changed' if i % 4 == 0 else kept[relative]
            self.assertEqual(path.read_bytes(), expected, relative)
        self.assertNotIn('second thread stopped', log.read_text('latin-1'))
        self.assertEqual(self.temp_leftovers(), [])


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
