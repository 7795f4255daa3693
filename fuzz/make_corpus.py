#!/usr/bin/env python3
"""Writes the seed corpora of the harnesses (fuzz/corpus/<harness>/) from the example project,
the builder's test project, the test rig's raw images and the unit tests' byte fixtures.

    fuzz/make_corpus.py BUILDER      # BUILDER: a host kelvara-build (fuzz/run.sh builds one)

The corpora are committed; run this again after a format change and commit what it writes.
Inputs that go through the harnesses' byte reader (FuzzedDataProvider) are made with the same
rules: strings from the front, numbers and flags from the back.
"""
import lzma
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / 'tests' / 'rig'))
from raw_image import END_RECORD, raw_setup_image, image_script  # noqa: E402

CORPUS = ROOT / 'fuzz' / 'corpus'
STUB = b'MZ' + bytes(62)  # all the image layout needs of a stub


class Provider:
    """Bytes that a FuzzedDataProvider reads back as the values given, in the same order."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()  # in the order consumed; stored reversed at the end

    def string(self, text):
        """ConsumeRandomLengthString: backslashes doubled, ended by a backslash and one more byte."""
        data = text.encode('latin-1') if isinstance(text, str) else text
        self.front += data.replace(b'\\', b'\\\\') + b'\\x'
        return self

    def raw(self, data):
        self.front += data
        return self

    def integer(self, value, size=1):
        """ConsumeIntegral / ConsumeIntegralInRange (value is the offset from the minimum)."""
        for i in reversed(range(size)):
            self.back.append((value >> (8 * i)) & 0xFF)
        return self

    def flag(self, value):
        return self.integer(1 if value else 0)

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def write(harness, name, data):
    folder = CORPUS / harness
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def build_image(builder, project, work, name):
    stub = work / 'stub.exe'
    stub.write_bytes(STUB)
    out = work / f'{name}.exe'
    subprocess.run([str(builder), str(project), '--stub', str(stub), '-o', str(out), '-q'],
                   check=True, env={'SOURCE_DATE_EPOCH': '1000000000', 'PATH': '/usr/bin:/bin'})
    return out.read_bytes()


def package_of(image):
    offset = struct.unpack_from('<I', image, 0x20)[0] or struct.unpack_from('<H', image, 0x12)[0]
    return image[offset:]


def record(kind, payload):
    return struct.pack('<iI', kind, len(payload)) + payload


def z(text):
    return text.encode('latin-1') + b'\0'


def hand_script():
    """One record of every type, with the fields the engine reads."""
    settings = (z('Tool') + z('Tool 1.0') + z('Tahoma,0x000000') + struct.pack('<II', 0x02000000, 0)
                + z(',0xFF0000') + struct.pack('<I', 0x01000000) + b'\x01'
                + z('HKLM,\\Software\\Tool,Path') + z('<Windows>\\readme.txt') + z('') + b'\x3F\x00')
    records = [
        record(9, settings),
        record(2, bytes([1, 1, 0, 1, 1, 0, 1, 0, 1, 1, 1, 1])),
        record(1, z('%InstallPath%') + z('<ProgramFiles>\\Tool')),
        record(1, z('%Group%') + z('Tool, the program')),
        record(3, z('Licence text')),
        record(4, z('Readme text')),
        record(5, struct.pack('<HBB', 9, 1, 0) + z('Welcome to <ProgramFiles>')),
        record(5, struct.pack('<HBB', 7, 0x80, 1) + z('&Weiter >')),
        record(6, b'\x01' + struct.pack('<HHH', 9, 7, 200)),
        record(7, struct.pack('<II', 0x000080, 0x000000)),
        record(8, struct.pack('<I', 0x00C88C00)),
        record(10, z('<Programs>\\%Group%\\Tool.lnk,%InstallPath%\\tool.exe,,,,0,1,0x0654,1')),
        record(10, z('<Desktop>\\Tool.lnk,%InstallPath%\\tool.exe,-x,C:\\,icon.ico,2')),
        record(11, z('2,Software\\Tool\\,Path,1,%InstallPath%')),
        record(11, z('1,Software\\Tool,Flags,3,0aFf1')),
        record(11, z('0x80000001,\\Software\\Tool,Count,4,0x10')),
        record(11, z('1,Software\\Tool,List,7,a|b|c')),
        record(11, z('2,Software\\Tool,Legacy,1,x86 side,32')),
        record(12, z('tool.ini,Main,Path,%InstallPath%,1')),
        record(13, z('%InstallPath%\\setup.exe,/quiet,%InstallPath%\\,3,1,0,2')),
        record(13, z('open,%InstallPath%\\readme.txt,,-1,0')),
        record(14, z('%InstallPath%\\tool.dll,DllRegisterServer,,,0,1')),
        record(14, z('%InstallPath%\\tool.dll,Init,1,2,-1')),
        record(15, z('.tool,Tool.Document,text/plain,Tool document,A tip,"%InstallPath%\\tool.exe" "%1",'
                     '%InstallPath%\\tool.exe,-3')),
        record(16, z('XP') + z('9.0') + z('6.0') + z('') + b'\x01'),
        record(17, z('"Tool 1.0",right,bottom,10,20,Arial,24,0,7,1,0,0xFFFFFF,2,0x101010')),
        record(18, z('1.0.3') + z('Tool Makers') + z('https://example.com/tool') + z('')),
        record(19, b'\x01'),
        record(21, b'\x02\x00' + struct.pack('<I', 100) + z('core') + z('Core') + z('')),
        record(21, b'\x01\x01' + struct.pack('<I', 20) + z('docs') + z('Docs') + z('To read')),
        record(22, b'\x01\x01' + z('desktop') + z('Desktop icon') + z('')),
        record(22, b'\x00\x01' + z('menu') + z('Menu icon') + z('')),
        record(23, b'\x00' + struct.pack('<I', 3) + z('full') + z('Full')),
        record(23, b'\x01' + struct.pack('<I', 0) + z('custom') + z('Custom')),
        record(24, struct.pack('<II', 2, 0)),
        record(11, z('2,Software\\Tool,Docs,1,%InstallPath%\\docs')),
        record(24, struct.pack('<II', 0, 2)),
        record(10, z('<Programs>\\Tool.lnk,%InstallPath%\\tool.exe')),
        record(24, struct.pack('<II', 0, 0)),
        record(99, b'skipped'),
    ]
    return b''.join(records) + END_RECORD


def hand_package():
    """Two groups: nested folders, a stored and a compressed file with versions."""
    def group(target, entries, mode=1, rule=2, shared=0):
        header = struct.pack('<IIIII', 0, mode, rule, shared, 0) + z(target)
        return header, entries

    def folder(name, depth):
        return z(name) + struct.pack('<IB', depth, 0)

    def file(name, depth, data, compressed, size, version=(0, 0)):
        stored = zlib.compress(data) if compressed else data
        part = struct.pack('<IQQQIIIII', 0x20, 1, 2, 125000000000000000, 0, size,
                           version[0], version[1], len(stored))
        return z(name) + struct.pack('<IB', depth, 1 | (2 if compressed else 0)) + part + stored

    body = bytearray()
    groups = [
        group('%InstallPath%', [folder('docs', 0), file('readme.txt', 1, b'Read me.\r\n', False, 10),
                                folder('deep', 1), file('a.dll', 2, b'x' * 300, True, 300,
                                                        (0x00010002, 0x00030004))]),
        group('<System>', [file('shared.dll', 0, b'\1\0\0\0' * 40, True, 160)], 2, 1, 1),
    ]
    offset = 12
    for header, entries in groups:
        start = len(body)
        body += header + b''.join(entries)
        struct.pack_into('<I', body, start, offset + len(body) - start)
        offset += len(body) - start
    script = struct.pack('<I', 4) + zlib.compress(END_RECORD)
    return struct.pack('<III', 12, 12 + len(body), 1000) + bytes(body) + script


def blocks_package():
    """One group whose files share LZMA2 blocks: a block liblzma packed through the x86 filter,
    then one of uncompressed chunks; a file across both, an empty one and a folder between."""
    first = b''.join(b'\xE8' + struct.pack('<i', 0x1000 - i) + b'\x90' for i in range(0, 3000, 6))
    second = b'the second file, in both blocks. ' * 40
    content = first + second
    cut = len(first) + 100

    def block(data, packed, filter_):
        prop = next(p for p in range(41) if ((2 | p & 1) << (p // 2 + 11)) >= len(data))
        return (b'\0' + struct.pack('<IB', 0, 0x08) + bytes([1, filter_, prop, 0]) +
                struct.pack('<II', len(data), len(packed)) + packed)

    def in_block(name, size, depth=0):
        part = struct.pack('<IQQQIIIII', 0x20, 1, 2, 125000000000000000, 0, size, 0, 0, 0)
        return z(name) + struct.pack('<IB', depth, 0x05) + part

    x86 = lzma.compress(content[:cut], format=lzma.FORMAT_RAW,
                        filters=[{'id': lzma.FILTER_X86}, {'id': lzma.FILTER_LZMA2, 'preset': 6}])
    rest = content[cut:]
    stored = bytes([1]) + struct.pack('>H', len(rest) - 1) + rest + b'\0'
    body = (struct.pack('<IIIII', 0, 1, 2, 0, 0) + z('%InstallPath%') + block(content[:cut], x86, 1) +
            in_block('code.dll', len(first)) + in_block('empty.txt', 0) +
            z('docs') + struct.pack('<IB', 0, 0) + in_block('both.txt', len(second), 1) +
            block(rest, stored, 0))
    body = bytearray(body)
    struct.pack_into('<I', body, 0, 12 + len(body))
    script = struct.pack('<I', 4) + zlib.compress(END_RECORD)
    return struct.pack('<III', 12, 12 + len(body), 1000) + bytes(body) + script


LOG = (
    '=== Kelvara log file ===\n'
    'Example Tool 1.0\n'
    'ExampleTool\n'
    '1,0xC88C00,0x0,0xFFFFFF,0x2000000,Tahoma,0x1ABCDEF,MS Sans Serif,0x12\n'
    'a,C:\\Program Files\\Example\n'
    'a,C:\\Program Files\\Example\\docs\\\n'
    'b,C:\\Program Files\\Example\\tool.exe\n'
    'b,C:\\Program Files\\Example\\Remove.exe\n'
    'c,1,Software\\Example,Path\n'
    'c,2,Software\\Acme, Inc\\Tool,Value\n'
    'e,0,.xyz,1\n'
    'e,2,Software\\Example\n'
    'e,2,Software\\Acme, Inc,0\n'
    'g,C:\\Windows\\System\\shared.dll\n'
    'h,C:\\Menu\\Example.lnk\n'
    'd,C:\\Program Files\\Example\\cleanup.exe,/s,C:\\Program Files\\Example,1\n'
    'f,C:\\Program Files\\Example\\tool.dll,DllUnregisterServer,,\n'
    'r,2,1,43003A005C00,Software\\Example,Old%2C value\n'
    'j,1,C:\\Windows\\win.ini,Main,Key,old%25value\n'
    'k,C:\\App\\tool.exe.kvr,C:\\App\\tool.exe\n'
    'l,C:\\Windows\\System\\common.dll\n'
    'a,D:\n'
    'a,C:\\WINDOWS\\system32\\..\n'
    'a,\\\\server\\share\\folder\n'
    'v,64,b,C:\\Windows\\System32\\tool64.dll\n'
    'v,32,c,2,Software\\Example,Legacy\n'
    'v,64,v,64,e,2,Software\\Example\n'
)


def log_writer_seed():
    p = Provider()
    p.string('Example Tool 1.0').string('ExampleTool')
    p.flag(True)  # compact layout
    for value in (0x00C88C00, 0, 0x00FFFFFF, 0x02000000, 0x01ABCDEF, 0x12):
        p.integer(value, 4)
    p.string('Tahoma').string('MS Sans Serif')
    p.integer(7)  # operations
    p.integer(3).integer(0).integer(0).string('C:\\Program Files\\Example')  # folder, both logs
    p.integer(0).integer(1).string('2').string('Software\\Example').string('Path')
    p.integer(1).integer(2).integer(2, 4).string('Software\\Acme, Inc').flag(False)
    p.integer(0).integer(3).integer(2, 4).integer(1, 4).integer(4).raw(b'C:\\\0')
    p.string('Software\\Example').string('Old, value')
    p.integer(4).integer(4).string('C:\\win.ini').string('Main').string('Key').flag(True)
    p.string('old%value')
    p.integer(4).integer(5).integer(0).string('C:\\App\\tool.exe.kvr').flag(True)
    p.string('C:\\App\\tool.exe')
    p.integer(1).integer(6).string('d').flag(True).string('C:\\App\\cleanup.exe,/s,,1')
    return b'\x01' + p.bytes()


WININIT = [
    '',
    '[boot]\r\nx=y\r\n',
    '[boot]\r\nx=y',
    '[rename]\r\nA.DLL=B.TMP\r\n\r\n[Other]\r\nx=y\r\n',
    '[boot]\r\n[Rename]\r\nA.DLL=B.TMP\r\n',
    '[Rename]\r\n[Other]\r\n',
    '[x]\r\n[RENAME]',
    'junk',
]


def wininit_seeds():
    seeds = []
    for i, old in enumerate(WININIT):
        p = Provider().flag(i % 3 == 0).string('C:\\APP\\TOOL.EXE').string('C:\\TEMP\\KVR1.TMP')
        seeds.append(b'\x00' + p.raw(old.encode()).bytes())
    # A well-formed file: [Rename], two entries, a blank line, [boot], an open last line.
    chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\\:._~!#$%&'()-@^`{}"

    def short_path(path):
        p.integer(len(path))
        for c in path:
            p.integer(chars.index(c))

    p = Provider().integer(5)
    for kind, section in ((0, 0), (2, None), (2, None), (1, None), (0, 3)):
        p.integer(kind)
        if kind == 0:
            p.integer(section)
        if kind == 2:
            short_path('C:\\A.DLL')
            short_path('C:\\B.TMP')
    p.flag(False)  # no line break after the last line
    p.flag(False)  # a move, not a deletion
    short_path('C:\\NEW.DLL')
    short_path('C:\\KVR1.TMP')
    seeds.append(b'\x01' + p.bytes())
    return seeds


def expansion_seed():
    p = Provider()

    def text(value):
        for c in value.encode('latin-1'):
            p.flag(False).integer(c)
        p.flag(False).integer(0)

    p.integer(1)  # a variable
    text('App')
    text('<ProgramFiles>\\Tool')
    p.flag(True)  # defined, not set
    p.integer(2)
    text('%App%\\bin,<Temp>,%app%')
    p.integer(0)
    text('a<Temp>b<Temp>')
    text('Temp')
    text('<Temp>x')
    p.flag(False)
    p.integer(4)
    text('0x1F,-12,017')
    text(',')
    p.integer(51).flag(True)
    p.integer(5)
    text('"C:\\Program Files\\Tool\\tool.exe",a,,b')
    p.flag(True)
    text(',')
    p.integer(6)
    text('C:\\SETUP.EXE S "C:\\A B" X  ')
    p.integer(10)
    p.integer(7)
    return p.bytes()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    builder = Path(sys.argv[1]).resolve()
    if CORPUS.exists():
        shutil.rmtree(CORPUS)
    with tempfile.TemporaryDirectory() as temp:
        work = Path(temp)
        hello = build_image(builder, ROOT / 'examples' / 'hello' / 'project.toml', work, 'hello')
        full = build_image(builder, ROOT / 'tests' / 'tools' / 'data' / 'full' / 'project.toml',
                           work, 'full')
    script = hand_script()
    images = {
        'hello.exe': hello,
        'full.exe': full,
        'hand.exe': raw_setup_image(STUB, script),
        'end-only.exe': raw_setup_image(STUB),
        'damaged.exe': raw_setup_image(STUB, script, damage_at=100),
        'script-bytes-short.exe': raw_setup_image(STUB, script, script_bytes=10),
        'uninstaller.exe': STUB,
    }
    for name, image in images.items():
        write('setup_image', name, image)
    # The example's script is enough of the builder's records: the test project's adds only
    # more of the same default texts.
    write('script_records', 'hello.bin', image_script(hello))
    for name, image in (('hello', hello), ('full', full)):
        write('package_walker', f'{name}.bin', package_of(image))
    write('script_records', 'hand.bin', script)
    write('script_records', 'truncated.bin', script[:200])
    write('package_walker', 'hand.bin', hand_package())
    write('package_walker', 'blocks.bin', blocks_package())
    write('install_log', 'log.txt', b'\x00' + LOG.encode())
    write('install_log', 'header-only.txt', b'\x00' + LOG.split('a,')[0].encode())
    write('install_log', 'writer.bin', log_writer_seed())
    for i, seed in enumerate(wininit_seeds()):
        write('wininit_ini', f'seed-{i}.bin', seed)
    write('expansion', 'operations.bin', expansion_seed())
    write('project', 'hello.toml', (ROOT / 'examples' / 'hello' / 'project.toml').read_bytes())
    write('project', 'full.toml',
          (ROOT / 'tests' / 'tools' / 'data' / 'full' / 'project.toml').read_bytes())
    write('project', 'minimal.toml', b'[product]\nname = "P"\n')


if __name__ == '__main__':
    main()
