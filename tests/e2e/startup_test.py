#!/usr/bin/env python3
"""Start-up of the engine in a real Wine prefix: the choice between installer and uninstaller by
the package offset, the checksum verification with its messages, and the command line.

    startup_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe>
"""
import struct
import sys
import unittest
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from raw_image import END_RECORD, raw_setup_image  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER = sys.argv[1:5]
STUB = Path(ENGINE).read_bytes()


def variable(name, value):
    payload = name.encode() + b'\0' + value.encode() + b'\0'
    return struct.pack('<iI', 1, len(payload)) + payload


# Every script names its installation folder: a run without one is refused.
INSTALL_PATH = 'C:\\Kelvara Startup'
DEFINES_FOLDER = variable('%InstallPath%', INSTALL_PATH)


def setup_image(stub, script=END_RECORD, **kwargs):
    return raw_setup_image(stub, DEFINES_FOLDER + script, **kwargs)


def file_group(start, target, name, data):
    """A file group at package offset `start` with one stored file: header (end offset, mode,
    rule, shared, reserved, target folder), then the entry (name, depth 0, flags 1, the file
    part, the data)."""
    entry = (name + b'\0' + struct.pack('<IB', 0, 1) + struct.pack('<I', 0x20) + bytes(24) +
             struct.pack('<IIIII', 0, len(data), 0, 0, len(data)) + data)
    body = struct.pack('<IIII', 0, 0, 0, 0) + target + b'\0' + entry
    return struct.pack('<I', start + 4 + len(body)) + body


def message(caption, text):
    return (caption, text)


class Startup(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'startup')

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def run_engine(self, name, data, args=('S',), exit_code=0, presses=()):
        """Runs an image (silently unless told otherwise: the wizard is not what these test)."""
        path = self.prefix.put(name, data)
        run = self.prefix.run(DRIVER, path, args, presses=presses)
        self.assertFalse(run.timed_out, f'{name} did not end:\n{run.output}')
        self.assertEqual(run.exit_code, exit_code, run.output)
        return [(w['caption'], w['text']) for w in run.windows], run

    def test_package_offset_zero_runs_as_uninstaller_whatever_follows(self):
        # Garbage after the stub would fail any checksum: the uninstaller never checks one.
        windows, _ = self.run_engine('bare.exe', STUB + b'\xAB' * 4096, exit_code=1603)
        self.assertEqual(windows, [], 'an uninstaller without install log ends quietly, and '
                                      'says with its exit code that it could not run')

    def test_intact_image_passes_verification(self):
        self.assertGreater(len(STUB), 0xFFFF, 'the stub needs the wide package offset')
        windows, _ = self.run_engine('intact.exe', setup_image(STUB))
        self.assertEqual(windows, [])
        # Bytes 0 to 39 outside the header fields are not covered by the checksum.
        image = bytearray(setup_image(STUB))
        image[0x04] ^= 0xFF
        image[0x0E] ^= 0xFF
        windows, _ = self.run_engine('header-bytes.exe', bytes(image))
        self.assertEqual(windows, [])

    def test_damaged_byte_from_offset_40_is_reported(self):
        for offset in (40, len(STUB) + 5, -1):
            image = setup_image(STUB, damage_at=offset)
            windows, run = self.run_engine(f'damaged{offset}.exe', image, exit_code=1603)
            self.assertEqual(windows, [message('Kelvara', 'The installer file is damaged!')],
                             f'damage at {offset}')
            self.assertEqual(run.windows[0]['owner'], '0', 'start-up messages have no owner')

    def test_truncated_image_fails_the_read_not_the_sum(self):
        # The header promises a checksum over bytes that a cut file no longer has; the sum of the
        # rest simply differs.
        image = setup_image(STUB)[:-3]
        windows, _ = self.run_engine('cut.exe', image, exit_code=1603)
        self.assertEqual(windows, [message('Kelvara', 'The installer file is damaged!')])

    def test_odd_scripts_are_applied_without_harm(self):
        unknown = struct.pack('<iI', 99, 5) + b'abcde' + struct.pack('<iI', 0, 0) + END_RECORD
        cases = {
            'unknown.exe': setup_image(STUB, unknown),
            # More compressed bytes promised than the file holds: the read stops at its end.
            'long-c.exe': setup_image(STUB, variable('A', 'value') + END_RECORD,
                                      script_bytes=1 << 20),
        }
        for name, image in cases.items():
            windows, _ = self.run_engine(name, image)
            self.assertEqual(windows, [], name)

    def test_damaged_packages_and_scripts_are_refused_whole(self):
        """Fields outside the checksum that point anywhere, and scripts cut short: the damaged
        message, 1603, and nothing of the script applied (its folder is never made, no
        temporary file is left)."""
        ini = self.prefix.drive_c / 'kelvara-startup.ini'
        text = b'C:\\kelvara-startup.ini,S,K,v\0'
        records = struct.pack('<iI', 12, len(text)) + text + END_RECORD
        good = setup_image(STUB, records)
        stream_length = struct.unpack_from('<I', good, 0x1C)[0]
        past_end = bytearray(good)
        struct.pack_into('<I', past_end, len(STUB) + 4, len(good))  # S past the end of the file
        struct.pack_into('<I', past_end, 0x24, zlib.adler32(memoryview(past_end)[40:]))
        entries_past_script = bytearray(good)
        struct.pack_into('<I', entries_past_script, len(STUB), 0x7FFFFFF0)  # E beyond S
        struct.pack_into('<I', entries_past_script, 0x24,
                         zlib.adler32(memoryview(entries_past_script)[40:]))
        first_group = file_group(12, b'C:\\kelvara-startup-files', b'first.txt', b'first')
        huge_script = bytearray(good)
        script_offset = struct.unpack_from('<I', good, len(STUB) + 4)[0]
        struct.pack_into('<I', huge_script, len(STUB) + script_offset, 0xFFFFFFF0)  # U
        struct.pack_into('<I', huge_script, 0x24, zlib.adler32(memoryview(huge_script)[40:]))
        cases = {
            # A short C: the stream stops before the end record.
            'short-c.exe': setup_image(STUB, records, script_bytes=stream_length // 2),
            'no-end-record.exe': setup_image(STUB, struct.pack('<iI', 9, 1000) + b'Short\0N\0'),
            'header-past-end.exe': bytes(past_end),
            'entries-past-script.exe': bytes(entries_past_script),
            'script-too-large.exe': bytes(huge_script),
            # A whole first group and a second one whose file name is a path: the damage is
            # found before the first group's file is written.
            'entry-damaged.exe': setup_image(STUB, records, file_area=first_group + file_group(
                12 + len(first_group), b'C:\\kelvara-startup-files', b'..\\escape.txt', b'x')),
        }
        temp_before = sorted(p.name for p in self.temp_folder().glob('KVR*'))
        for name, image in cases.items():
            with self.subTest(name):
                windows, run = self.run_engine(name, image, exit_code=1603)
                self.assertEqual(windows, [message('Kelvara', 'The installer file is damaged!')])
                self.assertEqual(run.windows[0]['owner'], '0')
                self.assertFalse(ini.exists(), 'nothing of the script was applied')
                self.assertFalse((self.prefix.drive_c / 'kelvara-startup-files').exists())
        self.assertEqual(sorted(p.name for p in self.temp_folder().glob('KVR*')), temp_before)
        # The same image, whole, installs: the damage above is what was refused.
        self.assertEqual(self.run_engine('whole.exe', good)[0], [])
        self.assertEqual(ini.read_bytes().replace(b'\r', b''), b'[S]\nK=v\n')

    def temp_folder(self):
        found = [*self.prefix.drive_c.glob('users/*/AppData/Local/Temp'),
                 *self.prefix.drive_c.glob('users/*/Temp')]
        return found[0] if found else self.prefix.drive_c / 'windows' / 'temp'

    def test_only_a_first_argument_that_begins_with_s_makes_the_run_silent(self):
        """The installer's command line: a first argument that begins with S, in any case and
        whatever follows it, installs without a window, and so does the usual /S (anywhere);
        any other line shows the wizard, which is cancelled here before anything is written."""
        ini = self.prefix.drive_c / 'kelvara-cmdline.ini'
        text = b'C:\\kelvara-cmdline.ini,S,K,v\0'
        welcome_page = struct.pack('<iI', 2, 12) + bytes([1] + [0] * 11)
        image = setup_image(STUB, welcome_page + struct.pack('<iI', 12, len(text)) + text +
                            END_RECORD)
        for args in (['S'], ['s'], ['SILENT'], ['s', 'extra', 'x'] * 5, ['/S'], ['X', '/s']):
            with self.subTest(args=args):
                ini.unlink(missing_ok=True)
                windows, _ = self.run_engine('cmdline.exe', image, args)
                self.assertEqual(windows, [])
                self.assertEqual(ini.read_bytes().replace(b'\r', b''), b'[S]\nK=v\n')
        for args in ([], ['  '], ['X', 'S']):
            with self.subTest(args=args):
                ini.unlink(missing_ok=True)
                windows, run = self.run_engine('cmdline.exe', image, args, exit_code=1602,
                                               presses=('Cancel', 'Yes'))
                self.assertTrue(any('Cancel' in w['buttons'] and w['owner'] == '0'
                                    for w in run.windows), f'no wizard window: {windows}')
                self.assertFalse(ini.exists(), 'the wizard was cancelled before installing')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
