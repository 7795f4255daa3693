#!/usr/bin/env python3
"""Images whose files share LZMA2 blocks, installed silently in a fresh Wine prefix: every file
with its bytes and times beside a stored and a deflated group, a file across several blocks,
files an upgrade passes over by its overwrite rule, small views of the image, and damaged blocks
refused with nothing left behind.

    solid_blocks_test.py <build-dir> <arch> <kelvara.exe> <ui_driver.exe> <probe.exe>
                         <fixtures.json> <kelvara-build>
"""
import os
import random
import re
import struct
import sys
import tempfile
import unittest
import zlib
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'rig'))
from install_project import (FileGroup, Fixtures, Project, build_image,  # noqa: E402
                             dump_image, source_folder)
from probe import Probe, filetime_from_unix  # noqa: E402
from system_snapshot import NO_CHANGES, changes, snapshot  # noqa: E402
from wine_prefix import Prefix  # noqa: E402

FIXTURE = Path(__file__).resolve().parents[1] / 'fixtures' / 'package-before-blocks'
if sys.argv[1:2] != ['--make-package-fixture']:
    BUILD, ARCH, ENGINE, DRIVER, PROBE, MANIFEST, BUILDER = sys.argv[1:8]
    FIXTURES = Fixtures(MANIFEST)
PACKAGED, NEWER = 1_500_000_000, 1_600_000_000
ROOT = 'C:\\Kelvara Blocks'
UNINSTALL = 'Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall'
BLOCK_FLAG, BLOCK_PART = 0x08, 12


def blocks_of(builder, image):
    """The dump's block lines: (method, filter, content, packed) of each block."""
    found = re.findall(r'^  block \d+: (\w+), filter (\w+), (\d+) bytes of content packed to '
                       r'(\d+) bytes', dump_image(builder, image), re.M)
    return [(m, f, int(c), int(p)) for m, f, c, p in found]


def block_parts(image):
    """Offsets in the image of each block part, found the way the engine walks the package."""
    package = struct.unpack_from('<I', image, 0x20)[0] or struct.unpack_from('<H', image, 0x12)[0]
    first, script, _ = struct.unpack_from('<III', image, package)
    parts, at = [], package + first
    while at < package + script:  # group by group
        end = package + struct.unpack_from('<I', image, at)[0]
        at = image.index(b'\0', at + 20) + 1
        while at < end:
            name_end = image.index(b'\0', at)
            flags = image[name_end + 5]
            at = name_end + 6
            if flags == BLOCK_FLAG:
                parts.append(at)
                at += BLOCK_PART + struct.unpack_from('<I', image, at + 8)[0]
            elif flags & 0x01:
                at += 48 + struct.unpack_from('<I', image, at + 44)[0]
        at = end
    return parts


def x86_program(library, size):
    """A PE image of x86 code as a compiler leaves it: a few routines called from everywhere,
    each call's relative address different (the x86 filter makes them one absolute address)."""
    code = bytearray(Path(library).read_bytes())
    rng = random.Random(size)
    while len(code) + 6 < size:
        target = 0x1000 + 16 * rng.randrange(8)
        code += b'\xE8' + struct.pack('<i', target - (len(code) + 5)) + bytes([0x90 + rng.randrange(4)])
    return bytes(code)


def deflated_product(work, builder, stub):
    """A product of deflated and stored files, built by `builder` on `stub`: the package of this
    one, as the builder made it before blocks, is kept in tests/fixtures/package-before-blocks."""
    manual = b''.join(b'line %d of the manual\r\n' % i for i in range(3000))
    source = source_folder(Path(work) / 'deflated-src', {
        'readme.txt': b'read me\r\n',
        'docs/manual.txt': manual,
        'docs/empty.txt': b'',
        'data/noise.bin': random.Random(9).randbytes(5000),
    }, written=PACKAGED)
    project = Project('Deflated 1.0', short_name='Deflated', uninstaller=True,
                      variables={'InstallPath': f'{ROOT}\\Deflated'},
                      files=[FileGroup(source, overwrite='always')])
    return build_image(builder, stub, project, Path(work) / 'deflated'), source


def package_bytes(image):
    """The package of an image, header to the end of its script block."""
    package = struct.unpack_from('<I', image, 0x20)[0] or struct.unpack_from('<H', image, 0x12)[0]
    script = struct.unpack_from('<III', image, package)[1]
    script_bytes = struct.unpack_from('<I', image, 0x1C)[0]
    return image[package:package + script + 4 + script_bytes], script_bytes


def on_stub(stub, package, script_bytes):
    """A package behind another stub, its header fields and checksum written as the builder
    writes them."""
    image = bytearray(stub) + package
    image += bytes(-len(image) % 8)
    struct.pack_into('<H', image, 0x12, len(stub) & 0xFFFF or 0xFFFF)
    struct.pack_into('<I', image, 0x20, len(stub))
    struct.pack_into('<I', image, 0x1C, script_bytes)
    return with_checksum(bytes(image))


def with_checksum(image):
    """The image with its Adler-32 made right again: damage the checksum cannot see."""
    image = bytearray(image)
    struct.pack_into('<I', image, 0x24, zlib.adler32(memoryview(image)[40:]))
    return bytes(image)


class SolidBlocks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.prefix = Prefix(BUILD, ARCH, 'solid-blocks')
        cls.probe = Probe(cls.prefix, PROBE)
        cls.work = Path(tempfile.mkdtemp(prefix='solid-blocks-', dir=cls.prefix.path.parent))

    @classmethod
    def tearDownClass(cls):
        cls.prefix.close()

    def host(self, windows_path):
        return self.prefix.drive_c / windows_path[3:].replace('\\', '/')

    def run_image(self, name, image_bytes, args=(), environment=None, timeout=180):
        path = self.prefix.put(f'images/{name}.exe', image_bytes)
        log = f'C:\\logs\\{name}.log'
        self.host('C:\\logs\\x').parent.mkdir(parents=True, exist_ok=True)
        run = self.prefix.run(DRIVER, path, ['/QUIET', f'/LOG={log}', *args], timeout=timeout,
                              environment=environment)
        self.assertFalse(run.timed_out, run.output)
        return run, self.host(log).read_text('latin-1') if self.host(log).exists() else ''

    def product(self, name, version, overwrite='newer'):
        """Version 1 or 2 of a product: x86 libraries, text, random bytes, a file across several
        blocks and an empty one in LZMA2 blocks of 1 MiB; a stored and a deflated group beside."""
        rng = random.Random(version)
        manual = b''.join(b'line %d of the manual, version %d\r\n' % (i, version)
                          for i in range(30000))
        solid = source_folder(self.work / f'{name}-{version}' / 'solid', {
            'bin/app.exe': x86_program(FIXTURES.path(f'version-{version}.dll'), 1_200_000),
            'bin/tool.dll': FIXTURES.path(f'version-{version}.dll'),
            'bin/plain.dll': FIXTURES.path('unversioned.dll'),
            'docs/manual.txt': manual,
            'docs/empty.txt': b'',
            'data/noise.bin': rng.randbytes(300_000),
            'data/large.bin': (manual + rng.randbytes(100_000)) * 3,  # about 3.5 MiB
            **{f'parts/part{i:03}.txt': b'part %d of version %d\r\n' % (i, version) * (i + 1)
               for i in range(120)},
        }, written=PACKAGED + version)
        stored = source_folder(self.work / f'{name}-{version}' / 'stored',
                               {'kept.dat': b'stored bytes %d' % version}, written=PACKAGED)
        deflated = source_folder(self.work / f'{name}-{version}' / 'zlib',
                                 {'deflated.txt': manual[:20000]}, written=PACKAGED)
        project = Project(f'{name} {version}', short_name=name, uninstaller=True,
                          variables={'InstallPath': f'{ROOT}\\{name}'},
                          product={'compression': 'lzma2', 'block_size': 1},
                          files=[FileGroup(solid, overwrite=overwrite, decide='date'),
                                 FileGroup(stored, target='%InstallPath%\\stored',
                                           compression='stored', overwrite='always'),
                                 FileGroup(deflated, target='%InstallPath%\\zlib',
                                           compression='zlib', overwrite='always')])
        image = build_image(BUILDER, ENGINE, project, self.work / f'{name}-{version}' / 'image')
        return image, {'': solid, 'stored': stored, 'zlib': deflated}

    def assert_installed(self, folder, sources, skipped=(), written=None):
        for sub, source in sources.items():
            for path in source.rglob('*'):
                if path.is_dir():
                    continue
                relative = path.relative_to(source).as_posix()
                target = self.host(f'{folder}\\{sub}\\{relative}' if sub else
                                   f'{folder}\\{relative}')
                if relative in skipped:
                    self.assertNotEqual(target.read_bytes(), path.read_bytes(), relative)
                    continue
                self.assertEqual(target.read_bytes(), path.read_bytes(), relative)
                if written and not sub:
                    info = self.probe.stat(f'{folder}\\{relative}', versions=False)
                    self.assertEqual(info.written, filetime_from_unix(written), relative)

    def test_blocks_install_every_file_and_an_upgrade_passes_over_the_newer_ones(self):
        image, sources = self.product('Upgrade', 1)
        blocks = blocks_of(BUILDER, image)
        self.assertGreaterEqual(len(blocks), 5, 'a group of about 5 MiB in blocks of 1 MiB')
        self.assertTrue(all(method == 'lzma2' for method, *_ in blocks))
        self.assertIn('x86', [f for _, f, *_ in blocks], 'the block of the libraries')
        self.assertIn('none', [f for _, f, *_ in blocks], 'the blocks of text and noise')
        # Random bytes do not shrink: they are stored beside the blocks, between their files.
        dump = dump_image(BUILDER, image)
        self.assertRegex(dump, r'\n +noise\.bin  300000 bytes, stored,')
        self.assertRegex(dump, r'\n +large\.bin  \d+ bytes, in the blocks at')

        # Small views put block headers and packed bytes across the views' edges.
        for views in (None, {'KELVARA_VIEW_SIZE': str(64 * 1024)}):
            folder = f'{ROOT}\\Upgrade'
            run, log = self.run_image('upgrade-1', image.read_bytes(), environment=views)
            self.assertEqual(run.exit_code, 0, log)
            self.assertEqual(run.windows, [], 'a quiet install shows nothing')
            self.assertRegex(log, r'files: blocks of up to 1048576 bytes in \d buffers, '
                                  r'decoded by \d helper threads')
            self.assert_installed(folder, sources, written=PACKAGED + 1)
            installed_log = self.host(f'{folder}\\uninstall.log').read_text('latin-1')
            self.assertIn(f'b,{folder}\\data\\large.bin', installed_log)

        # Version 2 over it: the files made newer since are passed over, in the middle of
        # their blocks, and everything else is replaced.
        kept = ('parts/part007.txt', 'data/noise.bin', 'bin/plain.dll')
        for relative in kept:
            target = self.host(f'{folder}\\{relative}')
            target.write_bytes(b'changed by the user')
            os.utime(target, (NEWER, NEWER))
        image2, sources2 = self.product('Upgrade', 2)
        run, log = self.run_image('upgrade-2', image2.read_bytes())
        self.assertEqual(run.exit_code, 0, log)
        self.assert_installed(folder, sources2, skipped=kept)
        for relative in kept:
            self.assertEqual(self.host(f'{folder}\\{relative}').read_bytes(),
                             b'changed by the user', relative)

    def test_deflated_images_are_as_before_and_install_as_before(self):
        image, source = deflated_product(self.work, BUILDER, ENGINE)
        package, _ = package_bytes(image.read_bytes())
        before = (FIXTURE / 'package.bin').read_bytes()
        script_bytes = int((FIXTURE / 'script-bytes').read_text())
        # The file groups, from the package header's end to the script (whose texts have grown
        # since: the question about programs in use).
        groups = package[12:struct.unpack_from('<I', package, 4)[0]]
        self.assertEqual(groups, before[12:struct.unpack_from('<I', before, 4)[0]],
                         'the builder makes the same file groups as before blocks, byte for byte')
        # The package made before, behind today's engine.
        old = on_stub(Path(ENGINE).read_bytes(), (FIXTURE / 'package.bin').read_bytes(),
                      script_bytes)
        run, log = self.run_image('before-blocks', old)
        self.assertEqual(run.exit_code, 0, log)
        self.assertNotIn('files: blocks', log, 'no block to read')
        for path in source.rglob('*'):
            if path.is_file():
                relative = path.relative_to(source).as_posix()
                self.assertEqual(self.host(f'{ROOT}\\Deflated\\{relative}').read_bytes(),
                                 path.read_bytes(), relative)

    def test_damaged_blocks_are_refused_and_leave_the_machine_as_it_was(self):
        image, _ = self.product('Damaged', 1, overwrite='always')
        good = image.read_bytes()
        parts = block_parts(good)
        self.assertEqual(len(parts), len(blocks_of(BUILDER, image)), 'the walk finds each block')
        last = parts[-1]
        packed = struct.unpack_from('<I', good, last + 8)[0]
        damages = {
            'an unknown method': [(parts[1], 9)],
            'the reserved byte set': [(parts[1] + 3, 1)],
            'an unknown filter': [(parts[0] + 1, 5)],
            'a content length the files do not claim': [(parts[1] + 5, good[parts[1] + 5] ^ 1)],
            # Inside the packed bytes: found while the files are written, after the first
            # blocks' files are in place, which the rollback takes away again.
            'a block cut short': [(last + BLOCK_PART + packed - 1, 0x55)],
        }
        keys = [('HKLM', f'{UNINSTALL}\\Damaged')]
        ignored = ['rig', 'rig/*', 'images', 'images/*', 'logs', 'logs/*']
        # The first run in a prefix makes the user's shell folders that are missing (the folder
        # tokens ask for them): one refused run first, so that the comparison sees only what the
        # installations did.
        run, _ = self.run_image('first', with_checksum(good[:parts[0]] + b'\x09' + good[parts[0] + 1:]))
        self.assertEqual(run.exit_code, 1603)
        before = snapshot(self.prefix, self.probe, keys, ignore=ignored)
        for what, patches in damages.items():
            damaged = bytearray(good)
            for at, value in patches:
                damaged[at] = value
            run, log = self.run_image('damaged', with_checksum(bytes(damaged)))
            self.assertEqual(run.exit_code, 1603, f'{what}: {log}')
            self.assertIn('The installer file is damaged!', log, what)
            self.assertEqual(changes(before, snapshot(self.prefix, self.probe, keys,
                                                      ignore=ignored)), NO_CHANGES, what)
        # And the image itself installs: the damage was all there was.
        run, log = self.run_image('undamaged', good)
        self.assertEqual(run.exit_code, 0, log)


if __name__ == '__main__':
    if sys.argv[1:2] == ['--make-package-fixture']:
        # solid_blocks_test.py --make-package-fixture <kelvara-build> <kelvara.exe>: the package
        # the given builder makes, into the fixture folder (see its README).
        with tempfile.TemporaryDirectory() as temp:
            built, _ = deflated_product(temp, sys.argv[2], sys.argv[3])
            package, script_bytes = package_bytes(built.read_bytes())
        FIXTURE.mkdir(parents=True, exist_ok=True)
        (FIXTURE / 'package.bin').write_bytes(package)
        (FIXTURE / 'script-bytes').write_text(f'{script_bytes}\n')
        sys.exit(0)
    unittest.main(argv=sys.argv[:1], verbosity=2)
