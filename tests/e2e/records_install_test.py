#!/usr/bin/env python3
"""Silent installations with registry values, INI entries, file associations and the uninstall
entry, in a fresh Wine prefix, read back through the Win32 API with the probe: every value type
with its bytes, the key lines of the install log, the rollback of a failed run (what the run made
goes, what was there before stays), the INI files in the Windows folder, the document types the
shell uses, and the entry in the list of installed programs.

    records_install_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                            <kelvara-build>
"""
import re
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Project, build_image, dump_image,  # noqa: E402
                             source_folder, toml_string)
from probe import (REG_BINARY, REG_DWORD, REG_EXPAND_SZ, REG_MULTI_SZ, REG_SZ,  # noqa: E402
                   Probe)
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER, PROBE, BUILDER = sys.argv[1:7]
UNINSTALL_KEY = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
QUESTION_BUTTONS = 'Yes|No'
LONG_NAME = 'L' * 300  # longer than a registry key name may be: creating it fails
LONG_VALUE_NAME = 'N' * 17000  # longer than a value name may be: setting it fails


def utf16(text):
    """A string value as the system stores it: UTF-16LE with its terminator."""
    return (text + '\0').encode('utf-16-le')


def toml_table(header, **items):
    """One [[header]] table; keys with '_' are written with '-'; None leaves a key out."""
    lines = [f'[[{header}]]']
    for key, value in items.items():
        if value is None:
            continue
        if isinstance(value, bool):
            text = 'true' if value else 'false'
        elif isinstance(value, int):
            text = str(value)
        elif isinstance(value, list):
            text = '[' + ', '.join(toml_string(v) for v in value) + ']'
        else:
            text = toml_string(value)
        lines.append(f'{key.replace("_", "-")} = {text}')
    return '\n'.join(lines) + '\n\n'


def registry(root, key, name=None, value=None, type=None):
    return toml_table('registry', root=root, key=key, name=name, type=type, value=value)


def ini(file, section, key=None, value=None, append=None):
    return toml_table('ini', file=file, section=section, key=key, value=value, append=append)


def association(extension, type, **fields):
    return toml_table('associations', extension=extension, type=type, **fields)


def read_ini(path):
    """{section: {key: value}} of an INI file as the system wrote it (CR LF lines)."""
    sections, current = {}, None
    for line in path.read_text('latin-1').splitlines():
        line = line.strip()
        if line.startswith('[') and line.endswith(']'):
            current = sections.setdefault(line[1:-1], {})
        elif '=' in line and current is not None:
            key, value = line.split('=', 1)
            current[key] = value
    return sections


class RecordsInstall(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'records-install')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='records-install-', dir=cls.prefix.path.parent))
        cls.windows = cls.prefix.drive_c / 'windows'

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def reg_add(self, root, key, name=None, data=None):
        """Creates a key with a string value, or an empty key, with the system's reg tool."""
        command = [self.prefix.wine, 'reg', 'add', f'{root}\\{key}', '/f']
        if name is not None:
            command += ['/v', name, '/d', data]
        subprocess.run(command, env=self.prefix.env, check=True, capture_output=True,
                       timeout=60)
        if name is None:  # the tool gives a new key an empty default value: a key holds none
            subprocess.run([self.prefix.wine, 'reg', 'delete', f'{root}\\{key}', '/ve', '/f'],
                           env=self.prefix.env, check=True, capture_output=True, timeout=60)

    def project(self, name, root, extra, **kwargs):
        """A product with one small file in `root`, so that the installation folder, the
        uninstaller and the install log exist; `extra` holds its record tables."""
        source = source_folder(self.work / f'{name}-src', {'readme.txt': b'records\r\n'})
        kwargs.setdefault('uninstaller', True)
        return Project(kwargs.pop('product', f'Records {name}'), variables={
            'InstallPath': root, **kwargs.pop('variables', {})},
            files=[FileGroup(source, overwrite='always')], extra=extra, **kwargs)

    def install(self, name, project, presses=(), exit_code=0):
        image = build_image(BUILDER, ENGINE, project, self.work / name)
        path = self.prefix.put(f'images/{name}.exe', image.read_bytes())
        run = self.prefix.run(DRIVER, path, ['S'], presses=presses, timeout=120)
        self.assertFalse(run.timed_out, run.output)
        self.assertEqual(run.exit_code, exit_code, run.output)
        return image, run

    def log_lines(self, root):
        log = self.host(f'{root}\\uninstall.log').read_bytes().decode('latin-1')
        self.assertTrue(log.endswith('\n'))
        return log.split('\n')[:-1]

    def registry_lines(self, root):
        """The "c", "e" and "r" lines of the install log, in order."""
        return [line for line in self.log_lines(root) if line[:2] in ('c,', 'e,', 'r,')]

    def assert_value(self, root, key, name, type, data):
        value = self.probe.reg_query(root, key, name)
        self.assertIsNotNone(value, f'{root}\\{key} value {name!r} is missing')
        self.assertEqual((value.type, value.data), (type, data), f'{root}\\{key} value {name!r}')

    def assert_question(self, window, *texts):
        """A Yes/No question with the setup caption that names each of `texts`."""
        self.assertEqual(window['buttons'], QUESTION_BUTTONS, window)
        self.assertTrue(window['caption'].endswith(' Setup'), window)
        for text in texts:
            self.assertIn(text, window['text'])

    # --- registry values -------------------------------------------------------------------

    def test_registry_values_have_their_types_bytes_and_log_lines(self):
        root = 'C:\\Kelvara Records\\Values'
        self.reg_add('HKCU', 'Software\\KelvaraPre', 'Keep', 'old')
        types = 'Software\\KelvaraValues\\Types'  # Software exists; the two below it are new
        extra = ''.join([
            registry('hkcu', types, 'Str', 'hello world'),
            registry('hkcu', types, 'Exp', '%Undefined%\\kelvara', type='expand-string'),
            registry('hkcu', types, 'Bin', '0aFf10', type='binary'),
            registry('hkcu', types, 'Dw', 305419896, type='dword'),
            registry('hkcu', types, 'DwNeg', -1, type='dword'),
            registry('hkcu', types, 'Multi', ['one', 'two'], type='multi-string'),
            registry('hkcu', types, None, 'default text'),
            registry('hkcu', 'Software\\KelvaraValues\\%Sub%', 'Path', '%InstallPath%'),
            registry('hkcu', 'Software\\KelvaraPre', 'Keep', 'new'),
            registry('hkcu', 'Software\\KelvaraPre', 'Added', 'added'),
            registry('hkcu', '\\Software\\KelvaraValues\\Trimmed\\', 'T', 't'),
            registry('hklm', 'Software\\KelvaraMachine', 'M', 'machine'),
        ])
        project = self.project('values', root, extra, variables={'Sub': 'FromVariable'})
        _, run = self.install('values', project)
        self.assertEqual(run.windows, [], 'a good silent install shows nothing')

        self.assert_value('HKCU', types, 'Str', REG_SZ, utf16('hello world'))
        self.assert_value('HKCU', types, 'Exp', REG_EXPAND_SZ, utf16('%Undefined%\\kelvara'))
        self.assert_value('HKCU', types, 'Bin', REG_BINARY, bytes([0x0A, 0xFF, 0x10]))
        self.assert_value('HKCU', types, 'Dw', REG_DWORD, bytes([0x78, 0x56, 0x34, 0x12]))
        self.assert_value('HKCU', types, 'DwNeg', REG_DWORD, b'\xff\xff\xff\xff')
        self.assert_value('HKCU', types, 'Multi', REG_MULTI_SZ, 'one\0two\0\0'.encode('utf-16-le'))
        self.assert_value('HKCU', types, '', REG_SZ, utf16('default text'))
        self.assert_value('HKCU', 'Software\\KelvaraValues\\FromVariable', 'Path', REG_SZ,
                          utf16(root))
        self.assert_value('HKCU', 'Software\\KelvaraPre', 'Keep', REG_SZ, utf16('new'))
        self.assert_value('HKCU', 'Software\\KelvaraValues\\Trimmed', 'T', REG_SZ, utf16('t'))
        self.assert_value('HKLM', 'Software\\KelvaraMachine', 'M', REG_SZ, utf16('machine'))

        expected = [
            'e,1,Software\\KelvaraValues',  # the new middle level; "Software" was there
            f'e,1,{types}',
            *[f'c,1,{types},{name}' for name in ('Str', 'Exp', 'Bin', 'Dw', 'DwNeg', 'Multi')],
            f'c,1,{types},',  # the default value
            'e,1,Software\\KelvaraValues\\FromVariable',
            'c,1,Software\\KelvaraValues\\FromVariable,Path',
            # A key that was there gets no line; a value that was there, what it held.
            'r,1,1,6F6C6400,Software\\KelvaraPre,Keep',
            'c,1,Software\\KelvaraPre,Added',
            'e,1,Software\\KelvaraValues\\Trimmed',
            'c,1,Software\\KelvaraValues\\Trimmed,T',
            'e,2,Software\\KelvaraMachine',
            'c,2,Software\\KelvaraMachine,M',
            f'e,2,{UNINSTALL_KEY}\\Records values,1',
        ]
        self.assertEqual(self.registry_lines(root), expected)

    def test_a_failing_key_answered_no_rolls_back_to_what_was_there(self):
        root = 'C:\\Kelvara Records\\RollbackKeys'
        base = 'Software\\KelvaraRollback'
        self.reg_add('HKCU', base, 'Keep', 'old')
        self.reg_add('HKCU', f'{base}\\Existing', 'Other', 'other')
        self.reg_add('HKCU', f'{base}\\EmptyBefore')
        extra = ''.join([
            registry('hkcu', f'{base}\\New1\\New2', 'V', 'x'),  # two new levels
            registry('hkcu', base, 'Keep', 'new'),  # overwritten: comes back
            registry('hkcu', base, 'Added', 'y'),  # new value in an old key: goes
            registry('hkcu', f'{base}\\Existing', 'E', 'z'),
            registry('hkcu', f'{base}\\EmptyBefore', 'E', 'z'),  # its key line: no rollback
            registry('hkpd', 'Kelvara', 'V', 'x'),  # not a root one can write to
            registry('hkcu', f'{base}\\After', 'V', 'never'),
        ])
        _, run = self.install('rollback-keys', self.project('rollback-keys', root, extra),
                              presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assert_question(run.windows[0], 'HKPD\\Kelvara')

        key = self.probe.reg_key('HKCU', base)
        self.assertIsNotNone(key, 'a key that was there before stays')
        values, subkeys = key
        self.assertEqual({name: v.value for name, v in values.items()}, {'Keep': 'old'},
                         'the new value is gone, the overwritten one is back')
        self.assertEqual(sorted(subkeys), ['EmptyBefore', 'Existing'],
                         'the new keys are gone, the old ones stay, an empty one too')
        existing, _ = self.probe.reg_key('HKCU', f'{base}\\Existing')
        self.assertEqual(list(existing), ['Other'])
        self.assertEqual(self.probe.reg_key('HKCU', f'{base}\\EmptyBefore'), ({}, []))
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\Records rollback-keys'))
        self.assertFalse(self.host(root).exists(), 'the files are gone too')

    def test_a_failing_key_answered_yes_goes_on_with_errors(self):
        root = 'C:\\Kelvara Records\\GoOn'
        extra = ''.join([
            registry('hkcu', 'Software\\KelvaraGoOn\\Before', 'V', 'before'),
            registry('hkcu', f'Software\\KelvaraGoOn\\{LONG_NAME}', 'V', 'x'),
            registry('hkcu', 'Software\\KelvaraGoOn\\Value', LONG_VALUE_NAME, 'x'),
            registry('hkcu', 'Software\\KelvaraGoOn\\After', 'V', 'after'),
        ])
        _, run = self.install('go-on', self.project('go-on', root, extra),
                              presses=('Yes', 'Yes', 'OK'), exit_code=1)
        self.assertEqual(len(run.windows), 3, run.output)
        self.assert_question(run.windows[0], 'create this registry key',
                             f'HKCU\\Software\\KelvaraGoOn\\{LONG_NAME}')
        self.assert_question(run.windows[1], 'write the registry value', LONG_VALUE_NAME[:200])
        self.assertEqual(run.windows[2]['buttons'], 'OK', 'then: completed with errors')
        self.assert_value('HKCU', 'Software\\KelvaraGoOn\\Before', 'V', REG_SZ, utf16('before'))
        self.assert_value('HKCU', 'Software\\KelvaraGoOn\\After', 'V', REG_SZ, utf16('after'))
        lines = self.registry_lines(root)
        self.assertFalse([line for line in lines if LONG_NAME in line],
                         'the key that could not be made is not logged')
        self.assertIn('e,1,Software\\KelvaraGoOn\\Value', lines, 'its key was made')
        value_key = 'c,1,Software\\KelvaraGoOn\\Value,'
        value_lines = [line for line in lines if line.startswith(value_key)]
        self.assertEqual(value_lines, [], 'the value that could not be set is not logged')
        self.assertIn('c,1,Software\\KelvaraGoOn\\After,V', lines)

    def test_a_failing_association_answered_yes_ends_with_errors(self):
        """The only failing step is an association: going on from it still ends with errors."""
        root = 'C:\\Kelvara Records\\AssociationYes'
        extra = association('.kvryes', LONG_NAME, command='never.exe')
        _, run = self.install('association-yes', self.project('association-yes', root, extra),
                              presses=('Yes', 'OK'), exit_code=1)
        self.assertEqual(len(run.windows), 2, run.output)
        self.assert_question(run.windows[0], '.kvryes')
        self.assertEqual(run.windows[1]['buttons'], 'OK', 'then: completed with errors')

    # --- INI entries -------------------------------------------------------------------------

    def windows_path(self, name):
        return f'C:\\windows\\{name}'

    def test_ini_entries_create_append_and_delete(self):
        root = 'C:\\Kelvara Records\\Ini'
        app = f'{root}\\conf\\app.ini'
        (self.windows / 'kelvara-existing.ini').write_bytes(b'[Old]\r\nkept=1\r\n')
        win_ini = (self.windows / 'win.ini').read_bytes()
        self.assertTrue(win_ini, 'the prefix has a win.ini')
        extra = ''.join([
            ini(app, 'Main', 'A', '1'),
            ini(app, 'Main', 'B', '2'),
            ini(app, 'Main', 'C', '3'),
            ini(app, 'Main', 'A', '+more', append=True),
            ini(app, 'Main', 'New', 'fresh', append=True),  # nothing to append to yet
            ini(app, 'Main', 'B'),  # no value: the key goes
            ini(app, 'Gone', 'X', '1'),
            ini(app, 'Gone'),  # no key: the section goes
            ini('kelvara-records.ini', 'Bare', 'K', 'v'),
            ini('win.ini', 'KelvaraRecords', 'K', 'v'),
            ini('kelvara-existing.ini', 'New', 'K', 'v'),
            ini(f'{root}\\missing\\never.ini', 'S', 'K'),  # deleting from no file makes none
        ])
        self.install('ini', self.project('ini', root, extra))

        self.assertEqual(read_ini(self.host(app)),
                         {'Main': {'A': '1+more', 'C': '3', 'New': 'fresh'}})
        self.assertEqual(read_ini(self.windows / 'kelvara-records.ini'), {'Bare': {'K': 'v'}},
                         'a bare name lands in the Windows folder')
        self.assertEqual(read_ini(self.windows / 'kelvara-existing.ini'),
                         {'Old': {'kept': '1'}, 'New': {'K': 'v'}})
        self.assertEqual(read_ini(self.windows / 'win.ini')['KelvaraRecords'], {'K': 'v'})
        self.assertFalse(self.host(f'{root}\\missing\\never.ini').exists())

        lines = [line.lower() for line in self.log_lines(root)]
        files = [line for line in lines if line.startswith('b,') and line.endswith('.ini')]
        self.assertEqual(files, [f'b,{app}'.lower(),
                                 f'b,{self.windows_path("kelvara-records.ini")}'.lower()],
                         'only INI files the run created are logged, bare ones in the Windows '
                         'folder; win.ini and other files that were there are not')
        self.assertIn(f'a,{root}\\conf'.lower(), lines)

    def test_an_ini_file_that_cannot_be_written_is_a_failing_step(self):
        root = 'C:\\Kelvara Records\\LockedIni'
        # A folder where the file should be: no profile function can write into it.
        locked = self.windows / 'kelvara-locked.ini'
        locked.mkdir()
        (locked / 'theirs.txt').write_bytes(b'a person\'s file')
        extra = ini('kelvara-locked.ini', 'New', 'K', 'v')
        _, run = self.install('locked-ini', self.project('locked-ini', root, extra),
                              presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assert_question(run.windows[0], 'could not write this file',
                             self.windows_path('kelvara-locked.ini'))
        self.assertEqual([p.name for p in locked.iterdir()], ['theirs.txt'], 'as it was')
        self.assertFalse(self.host(root).exists(), 'rolled back')

    def test_a_rollback_keeps_ini_files_and_associations_that_were_there(self):
        root = 'C:\\Kelvara Records\\RollbackIni'
        self.reg_add('HKCR', '.kvrold', 'Keep', '1')
        self.reg_add('HKCR', '.kvrold\\ShellNew')
        (self.windows / 'kelvara-kept.ini').write_bytes(b'[Old]\r\nkept=1\r\n')
        extra = ''.join([
            ini('kelvara-rollback.ini', 'S', 'K', 'v'),
            ini('win.ini', 'KelvaraRollback', 'K', 'v'),
            ini('kelvara-kept.ini', 'New', 'K', 'v'),
            ini(f'{root}\\new\\deeper\\x.ini', 'S', 'K', 'v'),
            association('.kvrnew', 'Kelvara.RollbackNew', description='new'),
            association('.kvrold', 'Kelvara.RollbackOld', description='old'),
            association('.kvrlong', LONG_NAME, command='never.exe'),  # the type cannot be made
        ])
        _, run = self.install('rollback-ini', self.project('rollback-ini', root, extra),
                              presses=('No',), exit_code=1603)
        self.assertEqual(len(run.windows), 1, run.output)
        self.assert_question(run.windows[0], '.kvrlong')

        self.assertFalse((self.windows / 'kelvara-rollback.ini').exists(),
                         'an INI file the run made is gone')
        self.assertTrue((self.windows / 'win.ini').exists(), 'win.ini was there: it stays')
        self.assertIn('mail', read_ini(self.windows / 'win.ini'), 'with what it held before')
        self.assertEqual(read_ini(self.windows / 'kelvara-kept.ini')['Old'], {'kept': '1'})
        self.assertFalse(self.host(root).exists(), 'the new folders and the INI file are gone')

        for key in ('.kvrnew', 'Kelvara.RollbackNew', '.kvrlong', 'Kelvara.RollbackOld'):
            self.assertIsNone(self.probe.reg_key('HKCR', key), f'HKCR\\{key} was new: gone')
        old = self.probe.reg_key('HKCR', '.kvrold')
        self.assertIsNotNone(old, 'an extension key that was there before stays')
        values, subkeys = old
        self.assertEqual(values['Keep'].value, '1')
        self.assertEqual(subkeys, ['ShellNew'])

    # --- file associations --------------------------------------------------------------------

    def test_associations_register_the_document_type(self):
        root = 'C:\\Kelvara Records\\Assoc'
        marker = 'C:\\kelvara-opened.txt'
        command = f'"C:\\windows\\system32\\cmd.exe" /c copy "%1" "{marker}"'
        extra = ''.join([
            association('.kvrdoc', 'Kelvara.Document', content_type='application/x-kelvara',
                        description='Kelvara test document', tip='Opens in %Tool%',
                        command=command, icon=f'{root}\\tool.exe', icon_index=2),
            association('.kvrmin', 'Kelvara.Minimal'),
        ])
        self.install('assoc', self.project('assoc', root, extra,
                                           variables={'Tool': 'the test tool'}))

        doc = 'Kelvara.Document'
        self.assert_value('HKCR', '.kvrdoc', '', REG_SZ, utf16(doc))
        self.assert_value('HKCR', '.kvrdoc', 'Content Type', REG_SZ,
                          utf16('application/x-kelvara'))
        self.assert_value('HKCR', doc, '', REG_SZ, utf16('Kelvara test document'))
        self.assert_value('HKCR', doc, 'InfoTip', REG_EXPAND_SZ, utf16('Opens in the test tool'))
        self.assert_value('HKCR', f'{doc}\\shell\\open\\command', '', REG_SZ, utf16(command))
        self.assert_value('HKCR', f'{doc}\\DefaultIcon', '', REG_SZ, utf16(f'{root}\\tool.exe,2'))
        self.assert_value('HKCR', '.kvrmin', '', REG_SZ, utf16('Kelvara.Minimal'))
        self.assert_value('HKCR', '.kvrmin', 'Content Type', REG_SZ, utf16(''))
        self.assertIsNone(self.probe.reg_key('HKCR', 'Kelvara.Minimal'),
                          'a type without description, tip, command or icon gets no key')
        self.assertEqual(self.registry_lines(root)[:4], [
            'e,0,.kvrdoc,1', f'e,0,{doc},1', 'e,0,.kvrmin,1', 'e,0,Kelvara.Minimal,1'])

        # A document opened through the shell starts the command registered for its type.
        content = b'opened through the shell\r\n'
        document = self.prefix.put('docs/sample.kvrdoc', content)
        subprocess.run([self.prefix.wine, 'start', '/wait', document], env=self.prefix.env,
                       capture_output=True, timeout=120)
        opened = self.host(marker)
        deadline = time.monotonic() + 30
        while not opened.exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertTrue(opened.exists(), 'the open command ran for the document')
        self.assertEqual(opened.read_bytes(), content, 'and was given the document')

    # --- the uninstall entry ----------------------------------------------------------------

    def test_the_uninstall_entry_lists_the_product(self):
        root = 'C:\\Kelvara Records\\Entry'
        source = source_folder(self.work / 'entry-src', {'data.bin': bytes(5000),
                                                         'more/two.bin': bytes(3000)})
        project = Project('Kelvara Records Demo 2.0', short_name='KelvaraRecordsDemo',
                          variables={'InstallPath': root}, files=[FileGroup(source)],
                          uninstaller=True)
        image, _ = self.install('entry', project)
        required = int(re.search(r'required space (\d+) bytes', dump_image(BUILDER, image))[1])
        self.assertGreater(required, 0)

        key = f'{UNINSTALL_KEY}\\KelvaraRecordsDemo'
        entry = self.probe.reg_key('HKLM', key)
        self.assertIsNotNone(entry, 'the uninstall entry is there')
        values, subkeys = entry
        uninstaller = f'{root}\\uninstall.exe'
        self.assertRegex(values.pop('InstallDate').value, r'^20\d{6}$', 'the day, YYYYMMDD')
        self.assertEqual({name: (v.type, v.value) for name, v in values.items()}, {
            'DisplayName': (REG_SZ, 'Kelvara Records Demo 2.0'),
            'UninstallString': (REG_SZ, f'"{uninstaller}"'),  # a command line: quoted
            'QuietUninstallString': (REG_SZ, f'"{uninstaller}" /S'),
            'InstallLocation': (REG_SZ, root),
            'DisplayIcon': (REG_SZ, uninstaller),
            'EstimatedSize': (REG_DWORD, (required + 1023) // 1024),
            'NoModify': (REG_DWORD, 1),
            'NoRepair': (REG_DWORD, 1),
        })
        self.assertEqual(subkeys, [])
        self.assertEqual(self.registry_lines(root), [f'e,2,{key},1'],
                         'one line for the whole entry, and nothing for its values')
        self.assertTrue(self.host(uninstaller).exists())

        # Without an uninstaller there is no entry.
        plain = Project('Kelvara Records Plain', short_name='KelvaraRecordsPlain',
                        variables={'InstallPath': 'C:\\Kelvara Records\\Plain'},
                        files=[FileGroup(source)], uninstaller=False)
        self.install('entry-plain', plain)
        self.assertIsNone(self.probe.reg_key('HKLM', f'{UNINSTALL_KEY}\\KelvaraRecordsPlain'))

    def test_the_uninstaller_removes_what_the_run_made_and_keeps_the_rest(self):
        root = 'C:\\Kelvara Records\\Removed'
        self.reg_add('HKCU', 'Software\\KelvaraKept', 'Other', 'kept')
        win_ini = read_ini(self.windows / 'win.ini')
        extra = ''.join([
            registry('hkcu', 'Software\\KelvaraRemoved\\Deep', 'V', 'x'),
            registry('hkcu', 'Software\\KelvaraKept', 'Mine', 'x'),
            ini('kelvara-removed.ini', 'S', 'K', 'v'),
            ini('win.ini', 'KelvaraRemoved', 'K', 'v'),
            association('.kvrgone', 'Kelvara.Gone', description='gone'),
        ])
        self.install('removed', self.project('removed', root, extra, short_name='KelvaraGone'))
        entry = f'{UNINSTALL_KEY}\\KelvaraGone'
        self.assertIsNotNone(self.probe.reg_key('HKLM', entry))

        with self.prefix.session(DRIVER, f'{root}\\uninstall.exe') as session:
            question = session.wait('Uninstall', 'Are you sure')
            session.press(question, 'Yes')
            dialog = session.wait('Uninstall', 'Please wait while', skip=[question])
            done = session.wait('Uninstall', 'removed', skip=[question, dialog], timeout=60)
            self.assertEqual(done['buttons'], 'OK', done)
            session.press(done, 'OK')
            self.assertEqual(session.finish(60), 0, session.transcript)

        self.assertIsNone(self.probe.reg_key('HKLM', entry), 'the uninstall entry is gone')
        self.assertIsNone(self.probe.reg_key('HKCU', 'Software\\KelvaraRemoved'))
        kept, _ = self.probe.reg_key('HKCU', 'Software\\KelvaraKept')
        self.assertEqual(list(kept), ['Other'], 'an old key keeps its own values')
        for key in ('.kvrgone', 'Kelvara.Gone'):
            self.assertIsNone(self.probe.reg_key('HKCR', key), f'HKCR\\{key} is gone')
        self.assertFalse((self.windows / 'kelvara-removed.ini').exists())
        self.assertTrue((self.windows / 'win.ini').exists(),
                        'win.ini was there before: the uninstaller leaves it')
        after = read_ini(self.windows / 'win.ini')
        self.assertEqual({k: v for k, v in after.items() if k != 'KelvaraRemoved'}, win_ini)
        self.assertFalse(self.host(root).exists())


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
