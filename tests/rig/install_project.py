"""Setup images for the end-to-end tests: a project file written from a Python description and
built by the host builder (kelvara-build). Texts are left to the builder's English defaults.

    source = source_folder(work / 'v1', {'app.dll': fixtures.path('version-1.dll'),
                                         'docs/readme.txt': b'hello'}, written=1_500_000_000)
    project = Project('Probe App', variables={'InstallPath': '<ProgramFiles>\\\\Probe App'},
                      files=[FileGroup(source, overwrite='newer', decide='version')])
    image = build_image(builder, engine, project, work)      # Path of the setup image

Fixtures (tests/fixtures): Fixtures(manifest).path('version-2.dll'), .version('version-2.dll').
"""
import json
import os
import shutil
import subprocess
from dataclasses import dataclass, field
from pathlib import Path


@dataclass
class FileGroup:
    """One [[files]] table: the files under `source` (a host folder) go to `target`. None leaves
    a key to the builder's default (overwrite newer, decide version-and-date, compression
    auto, include everything)."""
    source: Path
    target: str = '%InstallPath%'
    overwrite: str = None  # always | newer | newer-or-same | older | never
    decide: str = None  # date | version | version-and-date
    shared: bool = False
    compression: str = None  # auto | stored | compressed
    include: list = None
    exclude: list = None
    component: str = None  # a component's id, or a list of them
    task: str = None


@dataclass
class Project:
    """A product: its name, variables in order, file groups, the [install] switches and, for
    anything else the project file can say, TOML text appended as it is."""
    name: str
    short_name: str = None
    variables: dict = field(default_factory=dict)
    files: list = field(default_factory=list)
    uninstaller: bool = None
    restart: bool = None
    extra: str = ''
    product: dict = field(default_factory=dict)  # more [product] keys ('_' written '-')


def toml_string(text):
    """A TOML basic string."""
    out = []
    for c in str(text):
        if c in '"\\':
            out.append('\\' + c)
        elif ord(c) < 0x20 or ord(c) == 0x7F:
            out.append(f'\\u{ord(c):04x}')
        else:
            out.append(c)
    return '"' + ''.join(out) + '"'


def _toml_value(value):
    if isinstance(value, bool):
        return 'true' if value else 'false'
    if isinstance(value, int):
        return str(value)
    if isinstance(value, (list, tuple)):
        return '[' + ', '.join(_toml_value(v) for v in value) + ']'
    return toml_string(value)


def _table(header, items):
    lines = [header]
    lines += [f'{key} = {_toml_value(value)}' for key, value in items if value is not None]
    return '\n'.join(lines) + '\n'


def project_text(project):
    """The project file for a Project."""
    parts = [_table('[product]', [('name', project.name), ('short-name', project.short_name),
                                  *((k.replace('_', '-'), v) for k, v in project.product.items())])]
    if project.variables:
        parts.append(_table('[variables]', [(toml_string(k), v)
                                            for k, v in project.variables.items()]))
    for group in project.files:
        parts.append(_table('[[files]]', [
            ('source', str(Path(group.source).resolve())), ('target', group.target),
            ('overwrite', group.overwrite), ('decide', group.decide),
            ('shared', group.shared or None), ('compression', group.compression),
            ('include', group.include), ('exclude', group.exclude),
            ('component', group.component), ('task', group.task)]))
    install = [('uninstaller', project.uninstaller), ('restart', project.restart)]
    if any(value is not None for _, value in install):
        parts.append(_table('[install]', install))
    if project.extra:
        parts.append(project.extra.rstrip('\n') + '\n')
    return '\n'.join(parts)


def write_project(project, folder):
    """Writes folder/project.toml; returns its path."""
    path = Path(folder) / 'project.toml'
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(project_text(project), encoding='utf-8')
    return path


def build_image(builder, stub, project, folder, name='setup.exe', defines=()):
    """Builds a Project (or an existing project file's path) with kelvara-build and the engine
    `stub` into folder/name; returns the image's path. `defines`: (name, value) pairs for -D.
    Raises AssertionError with the builder's messages when it fails."""
    folder = Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    project_file = project if isinstance(project, (str, Path)) else write_project(project, folder)
    image = folder / name
    command = [str(builder), str(project_file), '--stub', str(stub), '-o', str(image), '-q']
    for key, value in defines:
        command += ['-D', f'{key}={value}']
    # Every time the builder records comes from the source files, none capped by the caller's
    # environment.
    env = {k: v for k, v in os.environ.items() if k != 'SOURCE_DATE_EPOCH'}
    done = subprocess.run(command, capture_output=True, text=True, env=env, timeout=300)
    if done.returncode != 0:
        raise AssertionError(f'kelvara-build failed ({done.returncode}) for {project_file}:\n'
                             f'{done.stderr}{done.stdout}')
    return image


def dump_image(builder, image):
    """The builder's --dump of an image, as text."""
    done = subprocess.run([str(builder), '--dump', str(image)], capture_output=True, text=True,
                          timeout=120)
    if done.returncode != 0:
        raise AssertionError(f'kelvara-build --dump {image} failed:\n{done.stderr}')
    return done.stdout


def source_folder(folder, files, written=None, read_only=()):
    """Makes a source folder for a file group: `files` maps relative paths ('a/b.txt') to bytes
    or to a host file to copy. `written` (Unix seconds) sets every file's last write time, which
    the builder records; paths in `read_only` lose their write permission, which the builder
    records as the read-only attribute. Returns the folder."""
    folder = Path(folder)
    for relative, content in files.items():
        target = folder / relative
        target.parent.mkdir(parents=True, exist_ok=True)
        if isinstance(content, (bytes, bytearray)):
            target.write_bytes(content)
        else:
            shutil.copyfile(content, target)
        if written is not None:
            os.utime(target, (written, written))
        if relative in read_only:
            target.chmod(0o444)
    return folder


class Fixtures:
    """The versioned PE files built by tests/fixtures, from their manifest (fixtures.json)."""

    def __init__(self, manifest):
        data = json.loads(Path(manifest).read_text())
        self.folder = Path(data['folder'])
        self.files = data['files']

    def path(self, name):
        return Path(self.files[name]['path'])

    def version(self, name):
        """(ms, ls) of the file's version resource, or None."""
        entry = self.files[name]
        return None if entry['version'] is None else (entry['version_ms'], entry['version_ls'])

    def version_text(self, name):
        return self.files[name]['version']
