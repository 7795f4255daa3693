#!/usr/bin/env python3
"""Start-up of the engine in a real Wine prefix: the choice between installer and uninstaller by
the package offset, the checksum verification with its messages, and the command line.

    startup_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe>
"""
import struct
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from raw_image import END_RECORD, raw_setup_image  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

BUILD, ARCH, ENGINE, DRIVER = sys.argv[1:5]
STUB = Path(ENGINE).read_bytes()


def setup_image(stub, script=END_RECORD, **kwargs):
    return raw_setup_image(stub, script, **kwargs)


def message(caption, text):
    return (caption, text)


class Startup(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'startup')

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def run_engine(self, name, data, args=('S',), exit_code=0):
        """Runs an image (silently unless told otherwise: the wizard is not what these test)."""
        path = self.prefix.put(name, data)
        run = self.prefix.run(DRIVER, path, args)
        self.assertFalse(run.timed_out, f'{name} did not end:\n{run.output}')
        self.assertEqual(run.exit_code, exit_code, run.output)
        return [(w['caption'], w['text']) for w in run.windows], run

    def test_package_offset_zero_runs_as_uninstaller_whatever_follows(self):
        # Garbage after the stub would fail any checksum: the uninstaller never checks one.
        windows, _ = self.run_engine('bare.exe', STUB + b'\xAB' * 4096)
        self.assertEqual(windows, [], 'an uninstaller without install log ends quietly')

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
        truncated = struct.pack('<iI', 9, 1000) + b'Short\0Name\0'
        variable = struct.pack('<iI', 1, 8) + b'A\0value\0' + END_RECORD
        cases = {
            'unknown.exe': setup_image(STUB, unknown),
            'truncated.exe': setup_image(STUB, truncated),
            # More compressed bytes promised than the file holds: the read stops at its end.
            'long-c.exe': setup_image(STUB, variable, script_bytes=1 << 20),
        }
        for name, image in cases.items():
            windows, _ = self.run_engine(name, image)
            self.assertEqual(windows, [], name)

    def test_command_lines_never_disturb_start_up(self):
        for args in (['S'], ['s'], ['SILENT'], ['/S'], ['s', 'extra', 'x'] * 5, ['  ']):
            windows, _ = self.run_engine('cmd.exe-copy.exe', STUB, args)
            self.assertEqual(windows, [], f'arguments {args}')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]], verbosity=2)
