"""What a test compares before and after a run that must leave the machine as it was: every file
and folder of the prefix's drive C and the registry keys it names.

    before = snapshot(prefix, probe, [('HKLM', 'Software\\\\Product')])
    ... run ...
    test.assertEqual(changes(before, snapshot(...)), NO_CHANGES)
"""
import fnmatch
import os
from pathlib import Path

from probe import ProbeError

# Left out of the file comparison: the rig's programs, copied in on first use. (Measured: Wine
# itself changes nothing else under drive_c while the engine and these programs run.)
WINE_CHANGES = ['rig', 'rig/*']
NO_CHANGES = {'files left behind': [], 'files lost': [], 'files changed': [],
              'registry keys changed': []}


def files_of(drive_c, ignore=WINE_CHANGES):
    """Every file and folder under drive_c: {relative path: (is a folder, size, mtime)}."""
    entries = {}
    for folder, folders, files in os.walk(drive_c):
        for name in folders + files:
            path = Path(folder) / name
            relative = path.relative_to(drive_c).as_posix()
            if any(fnmatch.fnmatch(relative, pattern) for pattern in ignore):
                continue
            info = path.lstat()
            is_folder = path.is_dir() and not path.is_symlink()
            entries[relative] = (is_folder, 0 if is_folder else info.st_size,
                                 0 if is_folder else info.st_mtime_ns)
    return entries


def registry_of(probe, root, key):
    """The key with everything below it: {key path: {value name: RegValue}}; {} when missing."""
    try:
        found = probe.reg_key(root, key)
    except ProbeError as error:
        # Seen once in many runs: the probe process ended at once, without a word. Asked again
        # it answers; a real failure to read the key fails again.
        if 'ended with' not in str(error):
            raise
        found = probe.reg_key(root, key)
    if found is None:
        return {}
    values, subkeys = found
    keys = {key: values}
    for subkey in subkeys:
        keys.update(registry_of(probe, root, f'{key}\\{subkey}'))
    return keys


def snapshot(prefix, probe, keys, ignore=WINE_CHANGES):
    """(files, registry) of the prefix: its drive C and the (root, key) trees in `keys`."""
    registry = {}
    for root, key in keys:
        registry.update({(root, k): v for k, v in registry_of(probe, root, key).items()})
    return files_of(prefix.drive_c, ignore), registry


def changes(before, after):
    """What differs between two snapshots, in the form of NO_CHANGES."""
    (files_before, registry_before), (files_after, registry_after) = before, after
    keys = set(registry_before) | set(registry_after)
    return {
        'files left behind': sorted(files_after.keys() - files_before.keys()),
        'files lost': sorted(files_before.keys() - files_after.keys()),
        'files changed': sorted(p for p in files_before.keys() & files_after.keys()
                                if files_before[p] != files_after[p]),
        'registry keys changed': sorted(k for k in keys
                                        if registry_before.get(k) != registry_after.get(k)),
    }
