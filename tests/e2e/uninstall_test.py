#!/usr/bin/env python3
"""The uninstaller as a user runs it, in a fresh Wine prefix: the installed copy asks and starts
its temporary copy, the removal dialog shows the progress and, when folders are left over, the
leftover-files page with its tree; shared files, files in use with the restart, cancelling, and
logs that are no logs. Screenshots of the dialog in both layouts are kept for review under
<build-dir>/artifacts/uninstall/.

    uninstall_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                      <kelvara-build>
"""
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import FileGroup, Project, build_image, source_folder  # noqa: E402
from probe import SHARED_DLLS_KEY, Probe, restart  # noqa: E402
from system_snapshot import NO_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix, picture_facts  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
ARTIFACTS = Path(BUILD) / 'artifacts' / 'uninstall'
WRITTEN = 1_500_000_000

# Controls of the removal dialog.
SUBTITLE, STATUS, PATH, MESSAGE = 1002, 1003, 1004, 1007
SELECT_ALL, DELETE, THIRD_BUTTON, PROGRESS, TREE = 1010, 1011, 1012, 1023, 1026
CORNER = 1005  # the engine's name, or the packager's text, in the lower left corner
FOLDER, FILE = 1, 2  # tree item kinds
VK_SPACE = 0x20

LEFTOVER_MESSAGE = 'Some folders contain files which was not created by this installation'
UNINSTALL_KEY = 'SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall'


def compared_keys(product):
    """Registry keys compared before the install and after the uninstall: the product's entry
    in the list of installed programs and the shared counts. Keys a test's project writes are
    added here as the installer learns to write them."""
    return [('HKLM', f'{UNINSTALL_KEY}\\{product}'), ('HKLM', SHARED_DLLS_KEY)]


class Uninstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'uninstall')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='uninstall-', dir=cls.prefix.path.parent))
        ARTIFACTS.mkdir(parents=True, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.temp_before = set(self.temp_files())

    # ---- helpers ----

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def snapshot(self, product):
        return snapshot(self.prefix, self.probe, compared_keys(product))

    def assertSameSystem(self, before, after):
        self.assertEqual(changes(before, after), NO_CHANGES)

    def install(self, name, project):
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        path = self.prefix.put(f'images/{name}.exe', image.read_bytes())
        run = self.prefix.run(DRIVER, path, ['S'], timeout=120)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)

    def project(self, name, root, files, layout=None, shared=None, hide_maker=False):
        source = source_folder(self.work / f'{name}-src', files, written=WRITTEN,
                               read_only=[p for p in files if p.endswith('.ro')])
        groups = [FileGroup(source, overwrite='always')]
        if shared:
            folder, shared_files = shared
            groups.append(FileGroup(source_folder(self.work / f'{name}-shared', shared_files,
                                                  written=WRITTEN),
                                    target=folder, overwrite='always', shared=True))
        extra = f'[look]\nlayout = "{layout}"\n' if layout else ''
        return Project(f'{name} Product', short_name=name, variables={'InstallPath': root},
                       files=groups, uninstaller=True, extra=extra,
                       product={'maker_link': False} if hide_maker else {})

    def start_uninstaller(self, session, name):
        """Answers the installed copy's question with Yes; returns the removal dialog."""
        question = session.wait(f'{name} Uninstall', 'Are you sure you want to completely remove')
        self.assertIn(f'{name} Product', question['text'])
        session.press(question, 'Yes')
        return session.wait(f'{name} Uninstall', f'Please wait while the {name} Product',
                            skip=[question])

    def leftover_page(self, session, dialog):
        """Waits until the dialog has become the leftover-files page; returns its controls."""
        return session.wait_for(
            lambda: (lambda c: c if c[THIRD_BUTTON]['text'] == 'Finish' else None)(
                session.controls(dialog)), 'the leftover-files page', timeout=30)

    def tree(self, session, dialog):
        return {item['path']: item for item in session.tree(dialog, TREE)}

    def screenshot(self, session, name, window):
        """Keeps a picture of the dialog for review, and checks it is one: the window's size, and
        the many colours of text, buttons and icons (a blank or unpainted window has one or two)."""
        path = session.screenshot(ARTIFACTS / f'{name}.png', window)
        width, height, colours = picture_facts(path)
        self.assertEqual((width, height), tuple(session.rect(window)[2:]), path)
        self.assertGreaterEqual(colours, 16, f'{path} shows hardly anything')

    def finish(self, session, exit_code=0):
        self.assertEqual(session.finish(60), exit_code, session.transcript)

    def assertNoWindow(self, session, text):
        shown = [w['text'] for w in session.seen()]
        self.assertFalse([t for t in shown if text in t], f'no "{text}" among {shown}')

    def assertNoNewTempFiles(self):
        self.assertEqual(sorted(set(self.temp_files()) - self.temp_before), [],
                         'the temporary copy and delself.bat are gone')

    def temp_files(self):
        """The engine's temporary copies and self-removal scripts in the temporary folders."""
        drive = self.prefix.drive_c
        found = []
        for temp in [*drive.glob('users/*/AppData/Local/Temp'), *drive.glob('users/*/Temp'),
                     drive / 'windows/temp']:
            found += [p.name for p in temp.glob('*') if p.name.startswith('KVR') or
                      p.name.lower() == 'delself.bat']
        return found

    # ---- tests ----

    def test_round_trip_leaves_the_system_as_it_was(self):
        root = 'C:\\Kelvara Round\\Trip'
        existing = self.host('C:\\Kelvara Round\\before.txt')
        existing.parent.mkdir(parents=True, exist_ok=True)
        existing.write_bytes(b'was here before the install')
        project = self.project('RoundTrip', root, {
            'readme.txt': b'hello\r\n', 'empty.txt': b'', 'locked.ro': b'read only',
            'bin/tool.dll': b'MZ' + bytes(5000), 'docs/deep/er/manual.txt': b'manual ' * 999})
        image = build_image(BUILDER, ENGINE, project, self.work / 'round-trip')
        path = self.prefix.put('images/round-trip.exe', image.read_bytes())
        before = self.snapshot('RoundTrip')

        run = self.prefix.run(DRIVER, path, ['S'], timeout=120)
        self.assertEqual((run.exit_code, run.windows), (0, []), run.output)
        self.assertTrue(self.host(f'{root}\\docs\\deep\\er\\manual.txt').exists())
        with self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as session:
            dialog = self.start_uninstaller(session, 'RoundTrip')
            done = session.wait('RoundTrip Uninstall', 'have been succesfully removed',
                                skip=[dialog], timeout=60)
            self.assertEqual(done['text'],
                             'RoundTrip Product have been succesfully removed from your computer.')
            self.assertEqual(done['buttons'], 'OK')
            session.press(done, 'OK')
            self.finish(session)
            captions = [w['caption'] for w in session.seen()]
        self.assertEqual(len(captions), 3, f'question, removal dialog, message: {captions}')
        self.assertFalse(self.host(root).exists(), 'the installation folder is gone')
        self.assertNoNewTempFiles()
        self.assertEqual(existing.read_bytes(), b'was here before the install')
        self.assertSameSystem(before, self.snapshot('RoundTrip'))

    def test_no_in_the_first_stage_changes_nothing(self):
        root = 'C:\\Kelvara Tests\\Declined'
        self.install('declined', self.project('Declined', root, {'a.txt': b'a', 'b/c.txt': b'c'}))
        before = self.snapshot('Declined')
        with self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as session:
            question = session.wait('Declined Uninstall', 'Are you sure')
            session.press(question, 'No')
            self.finish(session, 1602)  # declined
            self.assertEqual(len(session.seen()), 1, session.seen())
        self.assertSameSystem(before, self.snapshot('Declined'))

    def test_logs_that_are_damaged_or_foreign_end_the_uninstaller_silently(self):
        root = 'C:\\Kelvara Tests\\Damaged'
        self.install('damaged', self.project('Damaged', root, {'a.txt': b'a', 'b/c.txt': b'c'}))
        log = self.host(f'{root}\\uninstall.log')
        good = log.read_bytes()
        lines = good.split(b'\n')
        cases = {
            'header in other letter case': b'\n'.join([lines[0].lower()] + lines[1:]),
            'three lines': b'\n'.join(lines[:3]) + b'\n',
            'four lines without the last line feed': b'\n'.join(lines[:4]),
            'a foreign file': b'[Setup]\nName=Other\n' + b'\n'.join(lines[4:]),
        }
        copy = self.prefix.put('Kelvara Tests/second-stage.exe',
                               self.host(f'{root}\\uninstall.exe').read_bytes())
        for case, data in cases.items():
            with self.subTest(case):
                log.write_bytes(data)
                before = self.snapshot('Damaged')
                for args in ([], [f'{root}\\uninstall.log']):  # first stage, second stage
                    program = f'{root}\\uninstall.exe' if not args else copy
                    with self.prefix.session(DRIVER, program, args) as session:
                        self.finish(session, 1603)  # could not run
                        self.assertEqual(session.seen(), [], f'{case}, arguments {args}')
                    self.assertSameSystem(before, self.snapshot('Damaged'))
        log.write_bytes(good)

    def test_leftover_page_offers_the_files_the_install_did_not_make(self):
        root = 'C:\\Kelvara Tests\\Leftovers'
        self.install('leftovers', self.project('Leftovers', root, {
            'app.txt': b'app', 'data/table.txt': b'table', 'data/deeper/more.txt': b'more'}))
        foreign = ['notes.txt', 'old.ro', 'older.ro', 'data/user.txt', 'data/deeper/keep.txt',
                   'data/deeper/inner/x.txt', 'cache/a.tmp', 'cache/sub/b.tmp']
        for relative in foreign:
            path = self.host(f'{root}\\{relative}')
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(relative.encode())
            if relative.endswith('.ro'):
                path.chmod(0o444)  # Wine shows a file without write permission as read-only
        data, cache = (root, 'data'), (root, 'cache')

        with self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as s:
            dialog = self.start_uninstaller(s, 'Leftovers')
            controls = self.leftover_page(s, dialog)
            self.assertEqual(controls[1001]['text'], 'Uninstall Completed')
            self.assertIn(LEFTOVER_MESSAGE, controls[STATUS]['text'])
            self.assertEqual(controls[SUBTITLE]['text'],
                             'Leftovers Product have been succesfully removed from your computer.')
            for hidden in (PATH, PROGRESS):
                self.assertEqual(controls[hidden]['visible'], 0, f'control {hidden} is hidden')
            for shown in (TREE, SELECT_ALL, DELETE):
                self.assertEqual(controls[shown]['visible'], 1, f'control {shown} is shown')
            self.assertEqual(controls[DELETE]['enabled'], 0, 'nothing is checked yet')
            tree = self.tree(s, dialog)
            self.assertEqual([p for p in tree if len(p) == 1], [(root,)],
                             'data and data\\deeper are shown only inside the outermost folder')
            self.assertEqual(tree[(root,)]['kind'], FOLDER)
            self.screenshot(s, 'standard-leftover-page-collapsed', dialog)

            # Expanding loads a folder: subfolders first, then files, each sorted; what the
            # installation made is gone.
            s.click(dialog, TREE, (root,), 'button')
            tree = self.tree(s, dialog)
            self.assertEqual([(p[-1], tree[p]['kind']) for p in tree if len(p) == 2],
                             [('cache', FOLDER), ('data', FOLDER), ('notes.txt', FILE),
                              ('old.ro', FILE), ('older.ro', FILE)])
            s.click(dialog, TREE, data, 'button')
            s.click(dialog, TREE, data + ('deeper',), 'button')

            # Delete: a collapsed folder and three files, two of them read-only.
            chosen = [data + ('deeper', 'inner'), (root, 'notes.txt'), (root, 'old.ro'),
                      (root, 'older.ro')]
            for path in chosen:
                s.click(dialog, TREE, path, 'check')
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 1, 'Delete is enabled')
            tree = self.tree(s, dialog)
            self.assertEqual(sorted(p for p in tree if tree[p]['checked']),
                             sorted(chosen + [data + ('deeper', 'inner', '')]),
                             'a collapsed folder checks what it will hold')
            self.screenshot(s, 'standard-leftover-page-checked', dialog)
            s.press(dialog, 'Delete')
            confirm = s.wait('Confirm Operation', 'delete all selected files and folders')
            self.assertEqual(confirm['owner'], 1)
            s.press(confirm, 'Yes')
            first = s.wait('Deleting File', 'is a read-only file. Delete anyway?', skip=[confirm])
            self.assertIn(f'{root}\\old.ro', first['text'])
            s.press(first, 'No')
            second = s.wait('Deleting File', f'{root}\\older.ro', skip=[confirm, first])
            s.press(second, 'Yes')
            tree = s.wait_for(lambda: (lambda t: t if (root, 'older.ro') not in t else None)(
                self.tree(s, dialog)), 'the deleted items leave the tree')
            self.assertEqual(sorted(p[1:] for p in tree if len(p) > 1 and p[:2] != cache),
                             [('data',), ('data', 'deeper'), ('data', 'deeper', 'keep.txt'),
                              ('data', 'user.txt')], 'the read-only file kept by No leaves too')
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 0)

            # A collapsed folder checked and then expanded shows its contents checked.
            s.click(dialog, TREE, cache, 'check')
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 1)
            s.click(dialog, TREE, cache, 'button')
            tree = self.tree(s, dialog)
            inside = [p for p in tree if p[:2] == cache]
            self.assertEqual(inside, [cache, cache + ('sub',), cache + ('sub', ''),
                                      cache + ('a.tmp',)])
            self.assertTrue(all(tree[p]['checked'] for p in inside), tree)
            # Unchecking one file unchecks its folders up to the top; the rest stays checked.
            s.click(dialog, TREE, cache + ('a.tmp',), 'check')
            tree = self.tree(s, dialog)
            self.assertEqual([p for p in tree if tree[p]['checked']],
                             [cache + ('sub',), cache + ('sub', '')])
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 1)
            # The last checked item unchecked disables Delete; Select all enables it again.
            s.click(dialog, TREE, cache + ('sub',), 'check')
            tree = self.tree(s, dialog)
            self.assertEqual([p for p in tree if tree[p]['checked']], [], 'nothing is checked')
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 0, 'Delete is disabled')
            s.press(dialog, 'Select all')
            s.wait_for(lambda: s.controls(dialog)[DELETE]['enabled'] == 1, 'Delete enabled')
            tree = self.tree(s, dialog)
            self.assertTrue(all(item['checked'] for item in tree.values()), tree)

            # The space bar unchecks the selected folder like a click; collapsed, nothing hidden
            # in it stays checked.
            s.click(dialog, TREE, cache, 'button')
            s.click(dialog, TREE, cache, 'label')
            s.key(dialog, VK_SPACE)
            tree = s.wait_for(lambda: (lambda t: t if not t[cache]['checked'] else None)(
                self.tree(s, dialog)), 'the space bar toggled the check box')
            self.assertEqual([p for p in tree if p[:2] == cache and tree[p]['checked']], [])
            self.assertFalse(tree[(root,)]['checked'])
            self.assertTrue(tree[data]['checked'])
            self.assertEqual(s.controls(dialog)[DELETE]['enabled'], 1)

            s.press(dialog, 'Finish')  # nothing more is deleted
            self.finish(s)
            self.assertNoWindow(s, 'have been succesfully removed from your computer.')

        remaining = sorted(p.relative_to(self.host(root)).as_posix()
                           for p in self.host(root).rglob('*'))
        self.assertEqual(remaining, ['cache', 'cache/a.tmp', 'cache/sub', 'cache/sub/b.tmp',
                                     'data', 'data/deeper', 'data/deeper/keep.txt',
                                     'data/user.txt', 'old.ro'])
        self.assertNoNewTempFiles()

    def test_shared_files_survive_until_the_last_uninstall_asks(self):
        common = 'C:\\Kelvara Common'
        shared = (common, {'one.dll': b'one', 'two.dll': b'two'})
        self.install('shared-a', self.project('SharedA', 'C:\\Kelvara Tests\\SharedA',
                                              {'a.txt': b'a'}, shared=shared))
        self.install('shared-b', self.project('SharedB', 'C:\\Kelvara Tests\\SharedB',
                                              {'b.txt': b'b'}, shared=shared))
        self.assertEqual(self.probe.shared_count(f'{common}\\one.dll'), 2)

        def uninstall(name, answer, made_common):
            with self.prefix.session(DRIVER, f'C:\\Kelvara Tests\\{name}\\uninstall.exe') as s:
                dialog = self.start_uninstaller(s, name)
                answer(s, dialog)
                if made_common:
                    # The common folder keeps files this uninstallation did not delete.
                    self.leftover_page(s, dialog)
                    self.assertEqual([p for p in self.tree(s, dialog) if len(p) == 1],
                                     [(common,)])
                    s.press(dialog, 'Finish')
                else:
                    # It was there before this installation: never offered for deletion.
                    done = s.wait(f'{name} Uninstall', 'have been succesfully removed',
                                  skip=[dialog], timeout=60)
                    s.press(done, 'OK')
                self.finish(s)
                return s.seen()

        seen = uninstall('SharedA', lambda s, dialog: None, True)
        self.assertFalse([w for w in seen if w['caption'] == 'Shared File Detected'], seen)
        self.assertEqual(self.probe.shared_count(f'{common}\\one.dll'), 1)
        self.assertTrue(self.host(f'{common}\\two.dll').exists())
        self.assertFalse(self.host('C:\\Kelvara Tests\\SharedA').exists())

        def yes_to_all_then_no(s, dialog):
            # The log is undone from its end: two.dll is asked about first.
            question = s.wait('Shared File Detected', 'File name: two.dll')
            self.assertIn(f'Located in: {common}', question['text'])
            self.assertEqual(question['buttons'], 'Yes|Yes To All|No')
            s.press(question, 'Yes To All')
            sure = s.wait('Confirm Operation', 'remove all shared components')
            s.press(sure, 'No')
            again = s.wait('Shared File Detected', 'File name: one.dll', skip=[question])
            s.press(again, 'No')

        uninstall('SharedB', yes_to_all_then_no, False)
        self.assertFalse(self.host(f'{common}\\two.dll').exists(), 'Yes To All deleted it')
        self.assertTrue(self.host(f'{common}\\one.dll').exists(), 'No kept it')
        self.assertIsNone(self.probe.shared_count(f'{common}\\one.dll'), 'no count is left')

    def in_use_run(self, name, layout):
        """Uninstalls while a file is held open: screenshots of the progress (the question moved
        off the dialog) and of the leftover page; answers No to the in-use question and to the
        restart. Returns the held file's path. The compact product hides the engine's name,
        which its uninstaller then hides too."""
        root = f'C:\\Kelvara {name}'  # a folder of its own: the outermost one left over
        self.install(name.lower(), self.project(name, root, {
            'a.txt': b'a', 'b.txt': b'b', 'held.txt': b'held'}, layout=layout,
            hide_maker=layout == 'compact'))
        held = f'{root}\\held.txt'
        with self.probe.hold(held), self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as s:
            dialog = self.start_uninstaller(s, name)
            question = s.wait('Deleting File', 'is currently in use by another application',
                              timeout=30)
            self.assertIn(held, question['text'])
            self.assertEqual(question['owner'], 1, 'owned by the removal dialog')
            controls = s.controls(dialog)
            # The held file is the first line undone (the uninstall entry, the uninstaller and
            # its log go last, so that a removal cut off can be run again): a line's status and
            # path show once the line is done, and are empty before.
            self.assertEqual(controls[STATUS]['text'], '')
            self.assertEqual(controls[PATH]['text'], '', controls[PATH])
            self.assertGreater(controls[PROGRESS]['position'], 0)
            self.assertLess(controls[PROGRESS]['position'], 100)
            s.move(question, 0, 600)
            self.screenshot(s, f'{layout}-progress', dialog)
            rect = s.rect(dialog)
            s.press(question, 'No')
            controls = self.leftover_page(s, dialog)
            self.assertEqual((controls[CORNER]['text'], controls[CORNER]['visible']),
                             ('Kelvara', 0) if layout == 'compact' else ('Kelvara', 1))
            if layout == 'compact':
                self.assertEqual(controls[MESSAGE]['visible'], 1)
                self.assertIn(LEFTOVER_MESSAGE, controls[MESSAGE]['text'])
                self.assertEqual((controls[SUBTITLE]['visible'], controls[STATUS]['visible']),
                                 (0, 0))
            else:
                self.assertIn(LEFTOVER_MESSAGE, controls[STATUS]['text'])
            s.click(dialog, TREE, (root,), 'button')
            tree = self.tree(s, dialog)
            self.assertEqual(list(tree), [(root,)], 'a file left for the restart is not shown')
            self.screenshot(s, f'{layout}-leftover-page', dialog)
            s.press(dialog, 'Finish')
            ask = s.wait(f'{name} Uninstall', 'To complete the uninstallation your computer '
                         'must be restarted', skip=[dialog])
            self.assertEqual(ask['buttons'], 'Yes|No')
            s.press(ask, 'No')
            self.finish(s)
        return held, rect

    def test_a_file_in_use_is_deleted_at_the_restart(self):
        held, (_, _, width, height) = self.in_use_run('InUse', 'standard')
        # 329 x 215 dialog units (264 x 140 in the compact layout).
        self.assertTrue(width > 450 and height > 300, f'{width} x {height} pixels')
        self.assertTrue(self.host(held).exists())
        renames = self.probe.pending_renames()
        self.assertEqual([(s.lower(), t) for s, t in renames],
                         [('\\??\\' + held.lower(), '')], 'a deletion at the restart')
        restart(self.prefix)
        self.assertFalse(self.host(held).exists(), 'deleted by the restart')

    def test_compact_layout(self):
        held, (_, _, width, height) = self.in_use_run('Compact', 'compact')
        self.assertTrue(self.host(held).exists())
        # 264 x 140 dialog units against the standard 329 x 215.
        self.assertTrue(width < 450 and height < 280, f'{width} x {height} pixels')

    def test_cancel_during_the_removal_stops_it_and_asks_no_restart(self):
        root = 'C:\\Kelvara Tests\\Abort'
        files = {f'file{i:02}.txt': b'x' for i in range(8)}
        files['zz-held.txt'] = b'held'  # the last file: undone first (the uninstaller goes last)
        self.install('abort', self.project('Abort', root, files))
        held = f'{root}\\zz-held.txt'
        renames_before = self.probe.pending_renames()
        with self.probe.hold(held), self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as s:
            dialog = self.start_uninstaller(s, 'Abort')
            in_use = s.wait('Deleting File', 'is currently in use')
            s.press(in_use, 'Yes')  # try again: two more seconds in which Cancel is pressed
            s.gone(in_use)
            s.press(dialog, 'Cancel')
            quit_question = s.wait('Abort Uninstall', 'The uninstall procedure is not complete',
                                   skip=[dialog])
            self.assertEqual(quit_question['buttons'], 'Yes|No')
            again = s.wait('Deleting File', 'is currently in use', skip=[in_use])
            s.press(again, 'No')  # the file would wait for the restart...
            s.press(quit_question, 'Yes')  # ...but the uninstallation is abandoned
            self.finish(s)
            self.assertNoWindow(s, 'must be restarted')
            self.assertNoWindow(s, 'have been succesfully removed')
        self.assertEqual(self.probe.pending_renames(), renames_before, 'nothing for the restart')
        self.assertTrue(self.host(held).exists())
        self.assertTrue(self.host(f'{root}\\file00.txt').exists(), 'the rest was not removed')
        for own in ('uninstall.exe', 'uninstall.log'):
            self.assertTrue(self.host(f'{root}\\{own}').exists(),
                            f'{own} stays: the uninstallation can be run again')
        self.assertNoNewTempFiles()


if __name__ == '__main__':
    if not Path(BUILDER).exists():
        sys.exit(f'no builder at {BUILDER}: build the host-asan preset first (scripts/build.sh)')
    unittest.main(argv=[sys.argv[0]], verbosity=2)
