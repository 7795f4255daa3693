"""Setup images made byte by byte, for tests and benchmarks that need an image the builder would
never make (damaged, truncated, odd scripts) or need one without building a project."""
import struct
import zlib

END_RECORD = struct.pack('<i', -1)


def raw_setup_image(stub, script=END_RECORD, file_area=b'', damage_at=None, script_bytes=None):
    """Stub, package header, an opaque file-entry area, the script as a sync-flushed zlib stream,
    and the header fields (wide package offset, script size, checksum)."""
    compressor = zlib.compressobj(9)
    stream = compressor.compress(script) + compressor.flush(zlib.Z_SYNC_FLUSH)
    package_offset = len(stub)
    script_offset = 12 + len(file_area)
    image = bytearray(stub)
    image += struct.pack('<III', 12, script_offset, 0)
    image += file_area
    image += struct.pack('<I', len(script)) + stream
    struct.pack_into('<H', image, 0x12, package_offset & 0xFFFF or 0xFFFF)
    struct.pack_into('<I', image, 0x20, package_offset)
    struct.pack_into('<I', image, 0x1C, len(stream) if script_bytes is None else script_bytes)
    struct.pack_into('<I', image, 0x24, zlib.adler32(memoryview(image)[40:]))
    if damage_at is not None:
        image[damage_at] ^= 0x01
    return bytes(image)


def _package(image):
    """(package offset, first entry offset E, script offset S, required space) of an image."""
    package = struct.unpack_from('<I', image, 0x20)[0] or struct.unpack_from('<H', image, 0x12)[0]
    first, script, required = struct.unpack_from('<III', image, package)
    return package, first, script, required


def image_script(image):
    """The inflated setup script of an image."""
    package, _, script, _ = _package(image)
    at = package + script
    length = struct.unpack_from('<I', image, at)[0]
    # C bytes, as the engine reads them: the zeros that may follow (the image's length is a
    # multiple of 8) are no part of the stream.
    compressed = struct.unpack_from('<I', image, 0x1C)[0]
    return zlib.decompressobj().decompress(image[at + 4:at + 4 + compressed])[:length]


def script_records(script):
    """[(type, payload)] of a script, up to its end record."""
    records, at = [], 0
    while True:
        kind = struct.unpack_from('<i', script, at)[0]
        if kind == -1:
            return records
        length = struct.unpack_from('<I', script, at + 4)[0]
        records.append((kind, script[at + 8:at + 8 + length]))
        at += 8 + length


def with_script_records(image, records):
    """The image with its script made of `records` ([(type, payload)]), files and required space
    kept, checksum and sizes set anew."""
    package, first, script_offset, required = _package(image)
    script = b''.join(struct.pack('<iI', kind, len(payload)) + payload for kind, payload in records)
    rebuilt = bytearray(raw_setup_image(image[:package], script + END_RECORD,
                                        file_area=image[package + 12:package + script_offset]))
    struct.pack_into('<III', rebuilt, package, first, script_offset, required)
    struct.pack_into('<I', rebuilt, 0x24, zlib.adler32(memoryview(rebuilt)[40:]))
    return bytes(rebuilt)


TEXT_RECORD = 5


def without_language_texts(image, language):
    """The image with every text of one language (record type 5) left out of its script."""
    records = [(kind, payload) for kind, payload in script_records(image_script(image))
               if not (kind == TEXT_RECORD and struct.unpack_from('<H', payload)[0] == language)]
    return with_script_records(image, records)
