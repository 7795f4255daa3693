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
