#!/usr/bin/env python3
"""Reads the resources of a 32-bit (or 64-bit) PE file and checks the engine's own.

    pe_resources.py list <file.exe>
        prints every resource: type, name, language, size
    pe_resources.py check-engine <file.exe> [--version A.B.C.D]
        checks icon group 100 (16, 32 and 48 px, 32-bit with alpha or a palette with a mask, the
        icon the shell shows),
        the version information, the application manifest and the wizard's dialog templates
        (every page and the frame in both layouts, with the controls the engine addresses); exit 0 when all hold, 1 when a
        check fails (each failure is printed), 2 when the file cannot be read as a PE file

Standard library only. Every offset and length read from the file is bounds-checked, so a
damaged file gives a clear message, not a traceback.
"""

import argparse
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
TYPE_NAMES = {RT_ICON: "RT_ICON", RT_GROUP_ICON: "RT_GROUP_ICON", RT_VERSION: "RT_VERSION",
              RT_MANIFEST: "RT_MANIFEST", 5: "RT_DIALOG", 6: "RT_STRING", 2: "RT_BITMAP"}

IDI_APP = 100
ICON_SIZES = (16, 32, 48)
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                   "version": "6.0.0.0", "processorArchitecture": "x86",
                   "publicKeyToken": "6595b64144ccf1df", "language": "*"}
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Windows Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
EXPECTED_STRINGS = {"CompanyName": "Kelvara", "FileDescription": "Kelvara Setup",
                    "ProductName": "Kelvara", "OriginalFilename": "kelvara.exe"}
NONEMPTY_STRINGS = ("InternalName", "LegalCopyright", "FileVersion", "ProductVersion")


class PeError(Exception):
    """The file is not a PE file, or a structure in it points outside its bounds."""


def u16(data, offset, what):
    if offset < 0 or offset + 2 > len(data):
        raise PeError(f"{what}: offset {offset:#x} is past the end ({len(data):#x} bytes)")
    return struct.unpack_from("<H", data, offset)[0]


def u32(data, offset, what):
    if offset < 0 or offset + 4 > len(data):
        raise PeError(f"{what}: offset {offset:#x} is past the end ({len(data):#x} bytes)")
    return struct.unpack_from("<I", data, offset)[0]


def utf16_until_nul(data, offset, end):
    """Text from offset up to a NUL character or `end`; returns (text, offset after the NUL)."""
    chars = []
    pos = offset
    while pos + 2 <= end:
        (c,) = struct.unpack_from("<H", data, pos)
        pos += 2
        if c == 0:
            return "".join(map(chr, chars)), pos
        chars.append(c)
    return "".join(map(chr, chars)), pos


class PeImage:
    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = u32(data, 0x3C, "e_lfanew")
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        section_count = u16(data, pe + 6, "NumberOfSections")
        optional_size = u16(data, pe + 20, "SizeOfOptionalHeader")
        optional = pe + 24
        magic = u16(data, optional, "optional header magic")
        if magic == 0x10B:
            dirs_count_at, dirs_at = optional + 92, optional + 96
        elif magic == 0x20B:
            dirs_count_at, dirs_at = optional + 108, optional + 112
        else:
            raise PeError(f"unknown optional header magic {magic:#x}")
        self.sections = []
        table = optional + optional_size
        for i in range(section_count):
            at = table + 40 * i
            self.sections.append((u32(data, at + 12, "section VirtualAddress"),
                                  u32(data, at + 16, "section SizeOfRawData"),
                                  u32(data, at + 20, "section PointerToRawData")))
        self.resource_rva = 0
        self.resource_size = 0
        if u32(data, dirs_count_at, "NumberOfRvaAndSizes") > 2:
            self.resource_rva = u32(data, dirs_at + 16, "resource directory RVA")
            self.resource_size = u32(data, dirs_at + 20, "resource directory size")

    def bytes_at(self, rva, size, what):
        """The file bytes of [rva, rva + size), which must lie in one section's raw data."""
        for va, raw_size, raw_at in self.sections:
            if va <= rva and rva + size <= va + raw_size:
                start = raw_at + (rva - va)
                if start + size > len(self.data):
                    break
                return self.data[start:start + size]
        raise PeError(f"{what}: RVA {rva:#x} + {size:#x} is not in the file's sections")

    def resources(self):
        """[(type, name, language, bytes)] in directory order; type and name are ints or strs."""
        if self.resource_rva == 0 or self.resource_size == 0:
            return []
        tree = self.bytes_at(self.resource_rva, self.resource_size, "resource directory")
        found = []
        for type_key, type_dir in self._directory(tree, 0, "type"):
            for name_key, name_dir in self._directory(tree, type_dir, "name"):
                for lang, data_entry in self._directory(tree, name_dir, "language", leaves=True):
                    rva = u32(tree, data_entry, "resource data RVA")
                    size = u32(tree, data_entry + 4, "resource data size")
                    found.append((type_key, name_key, lang,
                                  self.bytes_at(rva, size, f"resource {type_key}/{name_key}")))
        return found

    @staticmethod
    def _directory(tree, offset, level, leaves=False):
        """Entries (key, target offset) of one IMAGE_RESOURCE_DIRECTORY."""
        count = u16(tree, offset + 12, f"{level} directory") + u16(tree, offset + 14,
                                                                   f"{level} directory")
        entries = []
        for i in range(count):
            at = offset + 16 + 8 * i
            name = u32(tree, at, f"{level} entry")
            target = u32(tree, at + 4, f"{level} entry")
            if name & 0x80000000:
                name_at = name & 0x7FFFFFFF
                length = u16(tree, name_at, f"{level} name")
                if name_at + 2 + 2 * length > len(tree):
                    raise PeError(f"{level} name at {name_at:#x} runs past the directory")
                key = tree[name_at + 2:name_at + 2 + 2 * length].decode("utf-16-le", "replace")
            else:
                key = name & 0xFFFF
            is_directory = bool(target & 0x80000000)
            if is_directory == leaves:
                found = "a subdirectory" if is_directory else "data"
                raise PeError(f"{level} entry {key!r}: {found} where the other was expected")
            entries.append((key, target & 0x7FFFFFFF))
        return entries


# --- Version information ---------------------------------------------------------------------

class VersionNode:
    def __init__(self, key, value_type, value, children):
        self.key = key
        self.value_type = value_type
        self.value = value  # raw bytes
        self.children = children

    def child(self, key):
        return next((c for c in self.children if c.key == key), None)

    def text(self):
        return utf16_until_nul(self.value, 0, len(self.value))[0]


def align4(n):
    return (n + 3) & ~3


def parse_version_node(data, offset, end, depth=0):
    """One node of a VS_VERSIONINFO tree: wLength, wValueLength, wType, key, value, children."""
    if depth > 4:
        raise PeError("version information nests too deeply")
    length = u16(data, offset, "version node length")
    value_length = u16(data, offset + 2, "version node value length")
    value_type = u16(data, offset + 4, "version node type")
    node_end = offset + length
    if length < 6 or node_end > end:
        raise PeError(f"version node at {offset:#x} has a bad length {length}")
    key, after_key = utf16_until_nul(data, offset + 6, node_end)
    value_at = min(align4(after_key), node_end)
    if value_type == 1:
        # Text, counted in characters; some writers count bytes instead, so a value that would
        # run past its node is taken to the node's end (the text stops at its NUL anyway).
        value_end = min(value_at + 2 * value_length, node_end)
    else:
        value_end = value_at + value_length
        if value_end > node_end:
            raise PeError(f"version node {key!r}: value runs past the node")
    value = data[value_at:value_end]
    children_at = align4(value_end)
    children = []
    pos = children_at
    while pos + 6 <= node_end:
        child = parse_version_node(data, pos, node_end, depth + 1)
        children.append(child)
        pos = align4(pos + u16(data, pos, "version node length"))
    return VersionNode(key, value_type, value, children)


def dotted(ms, ls):
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


# --- Checks ----------------------------------------------------------------------------------

class Report:
    def __init__(self):
        self.failures = []

    def ok(self, message):
        print(f"ok: {message}")

    def fail(self, message):
        self.failures.append(message)
        print(f"FAIL: {message}", file=sys.stderr)

    def expect(self, condition, message, detail=""):
        if condition:
            self.ok(message)
        else:
            self.fail(f"{message}{': ' + detail if detail else ''}")
        return condition


def of_type(resources, type_id):
    return [(name, lang, data) for (t, name, lang, data) in resources if t == type_id]


def icon_image_facts(data):
    """(width, height, bits, has transparent pixels, has opaque pixels, has transparent pixels
    that would tint the screen) of one RT_ICON image.

    A 32-bit image tells both by its alpha channel, a palette image (1, 4 or 8 bits) by its AND
    mask; the image's parts must fill its bytes exactly."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        if len(data) < 26:
            raise PeError("PNG icon image is cut short")
        width, height = struct.unpack_from(">II", data, 16)
        return width, height, data[24] * (4 if data[25] == 6 else 3), True, True, False
    header_size = u32(data, 0, "icon BITMAPINFOHEADER")
    if header_size < 40:
        raise PeError(f"icon image header is {header_size} bytes")
    width, height2 = struct.unpack_from("<ii", data, 4)
    bits = u16(data, 14, "icon bit count")
    height = height2 // 2
    opaque = transparent = tinted = False
    if width <= 0 or height <= 0:
        return width, height, bits, transparent, opaque, tinted
    if bits == 32:
        pixels_end = header_size + width * height * 4
        if pixels_end > len(data):
            raise PeError(f"{width}x{height} icon image is cut short")
        alphas = data[header_size + 3:pixels_end:4]
        transparent = 0 in alphas
        opaque = 255 in alphas
    elif bits in (1, 4, 8):
        colours = u32(data, 32, "icon biClrUsed") or (1 << bits)
        if colours > (1 << bits):
            raise PeError(f"{width}x{height} icon image has {colours} colours at {bits} bits")
        mask_at = header_size + 4 * colours + ((width * bits + 31) // 32) * 4 * height
        mask_stride = ((width + 31) // 32) * 4
        if mask_at + mask_stride * height != len(data):
            raise PeError(f"{width}x{height} icon image is {len(data)} bytes, its parts "
                          f"{mask_at + mask_stride * height}")
        palette_at = header_size
        stride = ((width * bits + 31) // 32) * 4
        for row in range(height):
            line = data[mask_at + row * mask_stride:mask_at + (row + 1) * mask_stride]
            shown = [not (line[x // 8] & (0x80 >> (x % 8))) for x in range(width)]
            opaque = opaque or any(shown)
            transparent = transparent or not all(shown)
            # The system masks the screen with the AND mask, then XORs the colours in: a
            # transparent pixel that is not black would tint whatever is behind the icon.
            pixels = data[header_size + 4 * colours + row * stride:][:stride]
            for x in (x for x in range(width) if not shown[x]):
                index = (pixels[x * bits // 8] >> (8 - bits - (x * bits) % 8)) & ((1 << bits) - 1)
                if index >= colours or any(data[palette_at + 4 * index:][:3]):
                    tinted = True
    return width, height, bits, transparent, opaque, tinted


def check_icon(resources, report):
    groups = of_type(resources, RT_GROUP_ICON)
    if not report.expect(any(name == IDI_APP for name, _, _ in groups),
                         f"icon group {IDI_APP} is present",
                         f"icon groups found: {[name for name, _, _ in groups] or 'none'}"):
        return
    # The shell shows the first icon group of the file.
    report.expect(groups[0][0] == IDI_APP, f"icon group {IDI_APP} is the first, shown by the shell",
                  f"the first icon group is {groups[0][0]!r}")
    icons = {name: data for name, _, data in of_type(resources, RT_ICON)}
    for _, lang, group in (g for g in groups if g[0] == IDI_APP):
        _, kind, count = struct.unpack_from("<HHH", group, 0) if len(group) >= 6 else (0, 0, 0)
        if not report.expect(kind == 1 and len(group) >= 6 + 14 * count,
                             f"icon group {IDI_APP} (language {lang:#x}) is well formed",
                             f"type {kind}, {count} entries in {len(group)} bytes"):
            continue
        sizes = []
        for i in range(count):
            width, height, _, _, planes, bits, size, icon_id = struct.unpack_from(
                "<BBBBHHIH", group, 6 + 14 * i)
            width, height = width or 256, height or 256
            sizes.append(width)
            label = f"icon {width}x{height} (RT_ICON {icon_id})"
            report.expect(width == height and bits in (4, 8, 32),
                          f"{label} is square, 32-bit or with a palette", f"{bits} bits per pixel")
            image = icons.get(icon_id)
            if not report.expect(image is not None and len(image) == size,
                                 f"{label} exists with the size the group gives",
                                 "missing" if image is None else f"{len(image)} bytes, not {size}"):
                continue
            facts = icon_image_facts(image)
            report.expect(facts[:3] == (width, height, bits),
                          f"{label} image is {width}x{height} at the group's {bits} bits",
                          f"the image says {facts[0]}x{facts[1]} at {facts[2]} bits")
            report.expect(facts[3] and facts[4], f"{label} has transparent and opaque pixels",
                          f"transparent pixels: {facts[3]}, opaque pixels: {facts[4]}")
            report.expect(not facts[5], f"{label} leaves the screen as it is where transparent",
                          "a pixel under the mask has a colour other than black")
        report.expect(sorted(sizes) == list(ICON_SIZES),
                      f"icon group {IDI_APP} holds sizes {', '.join(map(str, ICON_SIZES))}",
                      f"it holds {sorted(sizes)}")


def check_version(resources, expected_version, report):
    """Returns the file version text, for comparison with the manifest, or None."""
    versions = of_type(resources, RT_VERSION)
    if not report.expect(any(name == 1 for name, _, _ in versions),
                         "version resource 1 is present"):
        return None
    file_version = None
    for _, lang, data in (v for v in versions if v[0] == 1):
        root = parse_version_node(data, 0, len(data))
        fixed = root.value
        if not report.expect(root.key == "VS_VERSION_INFO" and len(fixed) >= 52
                             and struct.unpack_from("<I", fixed, 0)[0] == 0xFEEF04BD,
                             f"version resource (language {lang:#x}) has VS_FIXEDFILEINFO",
                             f"key {root.key!r}, {len(fixed)} bytes of fixed information"):
            continue
        fixed_file = dotted(*struct.unpack_from("<II", fixed, 8))
        fixed_product = dotted(*struct.unpack_from("<II", fixed, 16))
        string_info = root.child("StringFileInfo")
        tables = string_info.children if string_info else []
        if not report.expect(len(tables) == 1, "version resource has one string table",
                             f"{len(tables)} tables"):
            continue
        table = tables[0]
        strings = {node.key: node.text() for node in table.children}
        for key, expected in EXPECTED_STRINGS.items():
            report.expect(strings.get(key) == expected, f"{key} is {expected!r}",
                          f"it is {strings.get(key)!r}")
        for key in NONEMPTY_STRINGS:
            report.expect(bool(strings.get(key)), f"{key} is given", "missing or empty")
        report.expect(strings.get("FileVersion") == fixed_file,
                      f"FileVersion text matches the fixed file version {fixed_file}",
                      f"the text is {strings.get('FileVersion')!r}")
        report.expect(strings.get("ProductVersion") == fixed_product,
                      f"ProductVersion text matches the fixed product version {fixed_product}",
                      f"the text is {strings.get('ProductVersion')!r}")
        if expected_version:
            report.expect(fixed_file == expected_version and fixed_product == expected_version,
                          f"the version is {expected_version}",
                          f"file version {fixed_file}, product version {fixed_product}")
        var_info = root.child("VarFileInfo")
        translation = var_info.child("Translation") if var_info else None
        pairs = []
        if translation and len(translation.value) >= 4:
            pairs = [f"{lang_id:04X}{codepage:04X}" for lang_id, codepage in
                     struct.iter_unpack("<HH", translation.value[:len(translation.value) // 4 * 4])]
        report.expect(table.key.upper() in pairs,
                      f"the Translation entry names the string table {table.key}",
                      f"Translation gives {pairs or 'nothing'}")
        file_version = fixed_file
    return file_version


def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def check_manifest(resources, file_version, report, edition="classic"):
    manifests = [(name, data) for name, _, data in of_type(resources, RT_MANIFEST)]
    # CREATEPROCESS_MANIFEST_RESOURCE_ID: the one the loader reads when the process starts.
    if not report.expect(any(name == 1 for name, _ in manifests), "manifest resource 1 is present",
                         f"manifests found: {[name for name, _ in manifests] or 'none'}"):
        return
    for _, data in (m for m in manifests if m[0] == 1):
        try:
            root = ElementTree.fromstring(data)
        except ElementTree.ParseError as error:
            # The loader refuses to start a program whose manifest is not well-formed XML.
            report.fail(f"the manifest is well-formed XML: {error}")
            continue
        report.ok("the manifest is well-formed XML")
        report.expect(root.tag == "{urn:schemas-microsoft-com:asm.v1}assembly"
                      and root.get("manifestVersion") == "1.0",
                      "the manifest's root is an asm.v1 assembly, manifestVersion 1.0",
                      f"root {root.tag}")
        elements = list(root.iter())

        identity = next((e for e in root if local_name(e.tag) == "assemblyIdentity"), None)
        report.expect(identity is not None and identity.get("processorArchitecture") == "x86",
                      "the manifest names the engine's own assembly for x86",
                      "missing" if identity is None else f"attributes {identity.attrib}")
        if identity is not None and file_version:
            report.expect(identity.get("version") == file_version,
                          f"the manifest's assembly version is the file version {file_version}",
                          f"it is {identity.get('version')!r}")

        dependencies = [e for e in elements if local_name(e.tag) == "dependentAssembly"]
        identities = [i.attrib for d in dependencies for i in d
                      if local_name(i.tag) == "assemblyIdentity"]
        report.expect(COMMON_CONTROLS in identities,
                      "the manifest depends on Common-Controls 6.0.0.0 (x86, *)",
                      f"dependencies: {identities or 'none'}")

        levels = [e.attrib for e in elements if local_name(e.tag) == "requestedExecutionLevel"]
        # The rights it was given: a machine-wide run asks for more itself, a user's never does.
        # uiAccess is false when left out, as the engine's manifest does to save its bytes.
        report.expect(levels in ([{"level": "asInvoker"}],
                                 [{"level": "asInvoker", "uiAccess": "false"}]),
                      "the manifest requests level asInvoker, uiAccess false",
                      f"requestedExecutionLevel: {levels or 'none'}")

        listed = {e.get("Id", "").lower() for e in elements if local_name(e.tag) == "supportedOS"}
        missing = [name for guid, name in SUPPORTED_OS.items() if guid not in listed]
        report.expect(not missing,
                      "the manifest lists Vista through Windows 10 and 11 as supported",
                      f"missing: {', '.join(missing)}")

        # System DPI aware: the dialogs are laid out in dialog units and the fonts and stripe are
        # sized from the screen's DPI. Not per-monitor: the wizard does not rescale itself when it
        # moves to a screen of another DPI.
        dpi = [(local_name(e.tag), (e.text or "").strip()) for e in elements
               if local_name(e.tag) in ("dpiAware", "dpiAwareness")]
        report.expect(dpi == [("dpiAware", "true")],
                      "the manifest declares system DPI awareness (dpiAware true, nothing else)",
                      f"found {dpi or 'nothing'}")

        # The Unicode edition runs with UTF-8 as its ANSI code page; the classic edition in the
        # system's.
        code_pages = [(e.tag, (e.text or "").strip()) for e in elements
                      if local_name(e.tag) == "activeCodePage"]
        wanted = ([("{http://schemas.microsoft.com/SMI/2019/WindowsSettings}activeCodePage",
                    "UTF-8")] if edition == "unicode" else [])
        report.expect(code_pages == wanted,
                      f"the manifest's code page is the {edition} edition's "
                      f"({'UTF-8' if wanted else 'none: the system one'})",
                      f"found {code_pages or 'none'}")


# --- Dialog templates --------------------------------------------------------------------------

RT_DIALOG = 5
WS_CHILD, WS_VISIBLE, WS_POPUP = 0x40000000, 0x10000000, 0x80000000
WS_TABSTOP, WS_MINIMIZEBOX, DS_SETFONT, DS_CONTROL = 0x00010000, 0x00020000, 0x40, 0x0400
BS_TYPE_MASK, BS_AUTOCHECKBOX, SS_TYPE_MASK, SS_ETCHEDHORZ = 0x0F, 3, 0x1F, 0x10
CLASS_ORDINALS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox",
                  0x84: "ScrollBar", 0x85: "ComboBox"}


def _sz_or_ord(data, offset, end, what):
    """A template's name field: (text or ordinal, offset after it)."""
    first = u16(data, offset, what)
    if first == 0xFFFF:
        return u16(data, offset + 2, what), offset + 4
    return utf16_until_nul(data, offset, end)


def parse_dialog(data):
    """A DLGTEMPLATE or DLGTEMPLATEEX: {'style', 'size', 'font', 'controls': [{'id', 'class',
    'style', 'rect', 'text'}]}. Ordinal classes come back by name."""
    end = len(data)
    extended = u16(data, 0, "dialog version") == 1 and u16(data, 2, "dialog signature") == 0xFFFF
    # Offsets of the fields that differ: the header's style, count and size, the font's name
    # after its point size, and each item's style, rectangle, id (with its width) and class.
    if extended:
        style_at, count_at, size_at, header, face_skip = 12, 16, 22, 26, 6
        item_style_at, rect_at, id_at, id_format, item_header = 8, 12, 20, "<i", 24
    else:
        style_at, count_at, size_at, header, face_skip = 0, 8, 14, 18, 2
        item_style_at, rect_at, id_at, id_format, item_header = 0, 8, 16, "<H", 18
    style = u32(data, style_at, "dialog style")
    count = u16(data, count_at, "dialog item count")
    if size_at + 4 > end:
        raise PeError("dialog header is cut short")
    size = struct.unpack_from("<hh", data, size_at)
    at = header
    for what in ("dialog menu", "dialog class", "dialog title"):
        _, at = _sz_or_ord(data, at, end, what)
    font = None
    if style & DS_SETFONT:
        points = u16(data, at, "dialog font size")
        face, at = utf16_until_nul(data, at + face_skip, end)
        font = (points, face)
    controls = []
    for _ in range(count):
        at = align4(at)
        if at + item_header > end:
            raise PeError("dialog item runs past the template")
        item_style = u32(data, at + item_style_at, "dialog item style")
        rect = struct.unpack_from("<hhhh", data, at + rect_at)
        control_id = struct.unpack_from(id_format, data, at + id_at)[0]
        cls, at = _sz_or_ord(data, at + item_header, end, "dialog item class")
        text, at = _sz_or_ord(data, at, end, "dialog item text")
        extra = u16(data, at, "dialog item extra count")
        at += 2 + extra
        controls.append({"id": control_id, "class": CLASS_ORDINALS.get(cls, cls),
                         "style": item_style, "rect": rect, "text": text})
    return {"style": style, "size": size, "font": font, "controls": controls}


# The wizard's templates: (standard id, what must hold for the code that addresses them) -
# controls as (id, class, check) with check one of "", "checkbox", "hidden checkbox", "hidden".
WIZARD_PAGES = {
    129: [(1021, "ComboBox", ""), (1001, "Static", ""), (1002, "Static", ""), (1003, "Static", "")],
    130: [(1001, "Static", ""), (1002, "Static", ""), (1006, "Static", "")],
    131: [(1017, "RICHEDIT", ""), (1001, "Static", ""), (1002, "Static", ""),
          (1003, "Static", "")],
    132: [(1017, "RICHEDIT", ""), (1001, "Static", ""), (1002, "Static", "")],
    135: [(1018, "Edit", ""), (1013, "Button", ""), (1005, "Static", ""), (1006, "Static", ""),
          (1007, "Static", ""), (1008, "Static", "")],
    137: [(1003, "Button", "checkbox"), (1004, "Button", "checkbox"),
          (1005, "Button", "checkbox")],
    138: [(1001, "Static", ""), (1002, "Static", ""), (1003, "Static", "")],
    139: [(1023, "msctls_progress32", ""), (1004, "Static", ""), (1005, "Static", "")],
    140: [(1004, "Button", "hidden checkbox"), (1005, "Button", "hidden checkbox"),
          (1006, "Button", "hidden checkbox"), (1007, "Static", "hidden"),
          (1008, "Static", "hidden"), (1003, "Static", "")],
}
# Only in one layout: the start menu page's group list.
LAYOUT_CONTROLS = {137: [(1018, "Edit", ""), (1019, "ListBox", "")],
                   157: [(1021, "ComboBox", "")]}
PAGE_SIZES = {0: (331, 185), 20: (266, 117)}
FRAME_SIZES = {0: (329, 215), 20: (264, 140)}
SEPARATOR_TOPS = {0: 34, 20: 20}


def check_wizard_dialogs(resources, report):
    wanted = {page + offset for page in WIZARD_PAGES for offset in (0, 20)} | {142, 162}
    dialogs = {}
    for name, _, data in of_type(resources, RT_DIALOG):
        if name not in wanted:
            continue
        try:
            dialogs[name] = parse_dialog(data)
        except PeError as error:
            report.fail(f"dialog {name} reads as a template: {error}")
    for offset in (0, 20):
        layout = "compact" if offset else "standard"
        for page, required in WIZARD_PAGES.items():
            number = page + offset
            dialog = dialogs.get(number)
            if not report.expect(dialog is not None, f"{layout} page template {number} exists",
                                 "missing"):
                continue
            check_page(number, dialog, required + LAYOUT_CONTROLS.get(number, []), offset,
                       report)
        frame = dialogs.get(142 + offset)
        if report.expect(frame is not None, f"{layout} wizard frame {142 + offset} exists",
                         "missing"):
            check_frame(142 + offset, frame, offset, report)


def check_page(number, dialog, required, offset, report):
    width, height = PAGE_SIZES[offset]
    report.expect(dialog["size"] == (width, height) and
                  dialog["style"] & (WS_CHILD | DS_CONTROL) == WS_CHILD | DS_CONTROL and
                  not dialog["style"] & WS_POPUP,
                  f"page {number}: a {width} x {height} child dialog",
                  f"size {dialog['size']}, style {dialog['style']:#x}")
    by_id = {c["id"]: c for c in dialog["controls"]}
    separator = by_id.get(1027)
    report.expect(separator is not None and separator["class"].lower() == "static" and
                  separator["style"] & SS_TYPE_MASK == SS_ETCHEDHORZ and
                  separator["rect"][1] == SEPARATOR_TOPS[offset],
                  f"page {number}: the header line 1027 at y {SEPARATOR_TOPS[offset]}",
                  f"found {separator}")
    for control_id, cls, check in required:
        control = by_id.get(control_id)
        if not report.expect(control is not None and control["class"].lower() == cls.lower(),
                             f"page {number}: control {control_id} is a {cls}",
                             f"found {control}"):
            continue
        if "checkbox" in check:
            report.expect(control["style"] & BS_TYPE_MASK == BS_AUTOCHECKBOX,
                          f"page {number}: control {control_id} is an auto check box",
                          f"style {control['style']:#x}")
        if "hidden" in check:
            report.expect(not control["style"] & WS_VISIBLE,
                          f"page {number}: control {control_id} starts hidden",
                          f"style {control['style']:#x}")
    # Nothing reaches past the page (a drop-down list's height is its open list's). The welcome
    # page's line is one unit wider than the page, as the frame's right edge hides.
    outside = [c["id"] for c in dialog["controls"]
               if c["rect"][0] + c["rect"][2] > width + 1 or c["rect"][1] + c["rect"][3] > height]
    report.expect(not outside, f"page {number}: every control lies on the page",
                  f"past its edge: {outside}")


def check_frame(number, dialog, offset, report):
    width, height = FRAME_SIZES[offset]
    report.expect(dialog["size"] == (width, height) and dialog["style"] & WS_POPUP and
                  dialog["style"] & WS_MINIMIZEBOX,
                  f"frame {number}: a {width} x {height} popup with a minimize box",
                  f"size {dialog['size']}, style {dialog['style']:#x}")
    by_id = {c["id"]: c for c in dialog["controls"]}
    for control_id in (1010, 1011, 1012):
        button = by_id.get(control_id)
        if not report.expect(button is not None and button["class"].lower() == "button",
                             f"frame {number}: button {control_id}", f"found {button}"):
            continue
        report.expect(bool(button["style"] & WS_TABSTOP) == (offset == 0),
                      f"frame {number}: button {control_id} is a tab stop only in the standard "
                      "layout", f"style {button['style']:#x}")
        report.expect(bool(button["style"] & WS_VISIBLE) == (control_id != 1010),
                      f"frame {number}: Back starts hidden, Next and Cancel shown",
                      f"button {control_id} style {button['style']:#x}")
    line = by_id.get(1003)
    report.expect(line is not None and line["style"] & SS_TYPE_MASK == SS_ETCHEDHORZ and
                  line["rect"][1] == PAGE_SIZES[offset][1],
                  f"frame {number}: the band's line 1003 where the page ends",
                  f"found {line}")


def check_engine(path, expected_version, edition="classic"):
    with open(path, "rb") as f:
        resources = PeImage(f.read()).resources()
    report = Report()
    check_icon(resources, report)
    file_version = check_version(resources, expected_version, report)
    check_manifest(resources, file_version, report, edition)
    check_wizard_dialogs(resources, report)
    if report.failures:
        print(f"{path}: {len(report.failures)} resource check(s) failed", file=sys.stderr)
        return 1
    print(f"{path}: all resource checks passed")
    return 0


def list_resources(path):
    with open(path, "rb") as f:
        resources = PeImage(f.read()).resources()
    for type_key, name, lang, data in resources:
        type_name = TYPE_NAMES.get(type_key, type_key)
        print(f"{type_name}\t{name}\t{lang:#06x}\t{len(data)} bytes")
    return 0


def main(argv):
    parser = argparse.ArgumentParser(prog="pe_resources.py",
                                     description="Reads and checks the resources of a PE file.")
    commands = parser.add_subparsers(dest="command", required=True)
    listing = commands.add_parser("list", help="print every resource")
    listing.add_argument("file")
    checking = commands.add_parser("check-engine", help="check the engine's icon, version "
                                   "information and manifest")
    checking.add_argument("file")
    checking.add_argument("--version", help="the expected file version, A.B.C.D")
    checking.add_argument("--edition", choices=("classic", "unicode"), default="classic",
                          help="the engine's edition, which its manifest tells")
    args = parser.parse_args(argv[1:])  # exits with status 2 on bad usage
    try:
        if args.command == "list":
            return list_resources(args.file)
        return check_engine(args.file, args.version, args.edition)
    except OSError as error:
        print(f"pe_resources: {error}", file=sys.stderr)
        return 2
    except PeError as error:
        print(f"pe_resources: {args.file}: {error}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
