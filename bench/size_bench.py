#!/usr/bin/env python3
"""Image size and silent-install benchmark, run by `bench/run.sh size` inside a display with a
Wine prefix.

Payloads: real Windows binaries (Wine's own PE DLLs and programs: the i386-windows folder the
wine32 package installs) and the benchmarks' mixed payload (text-like and random files).
Methods, per payload, each image made once (cached while its inputs stay the same):
  engine-zlib    kelvara-build, compression "zlib" (each file deflated), `image.exe /QUIET /DIR=`
  engine-lzma2   kelvara-build, compression "lzma2" (blocks of 64 MiB, the x86 filter where the
                 block is mostly code), the same command line
  peer-zlib      the Debian nsis package's installer, SetCompressor zlib, `/S /D=...`
  peer-lzma      the same with SetCompressor /SOLID lzma
  tar-gz         `tar -xzf` of a tar of the payload (gzip -6)
  tar-xz         `tar -xJf` of the same tar (xz -6)
Every install goes into a new folder, nothing is deleted while timing, and the methods alternate
within each round (the order turning from round to round); time is wall plus sync and memory the
peaks bench_common.py measures. Every run is checked: each payload file present with its size and
a sample of hashes. The settings: images of the real binaries with blocks of 8 and 32 MiB too,
each size and one install's peak private memory.
Where this machine cannot run the peers (they are 32-bit), their 32-bit installers are made
all the same, for the image sizes only, and not run.
The last two lines: `median image engine-new/peer-lzma: X` (the real binaries' image sizes) and
`median install engine-new/tar-gz: Y` (the median of the per-round ratios on the real binaries)."""
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

from bench_common import BenchFolders, MB, bench_arguments, Payload, exit_text, load_average, log, preread, timed

IMAGE_TARGET = 1.0        # engine-lzma2 image <= 1.0 x the solid-LZMA peer's
INSTALL_TARGET_TAR = 1.0  # engine-lzma2 install <= 1.0 x tar -xzf
INSTALL_TARGET_PEER = 0.2  # engine-lzma2 install <= 0.2 x the solid-LZMA peer
PRIVATE_LIMIT_MB = 144    # the engine's peak private memory, whatever the payload
PEERS = {'peer-zlib': ('zlib', 'zlib'), 'peer-lzma': ('/SOLID lzma', 'lzma_solid')}
REAL_BINARIES = Path('/usr/lib/i386-linux-gnu/wine/i386-windows')
BLOCK_SETTINGS = (8, 32)  # MiB, besides the default 64
SIZE_ONLY_PEER_TARGET = 'x86-unicode'


class Bench(BenchFolders):
    def __init__(self, args):
        super().__init__(args, 'size')
        self.failures = []

    # ---- inputs, made once while their sources stay the same

    def stale(self, output, *inputs):
        return not output.exists() or any(output.stat().st_mtime < Path(i).stat().st_mtime
                                          for i in inputs)

    def engine_image(self, payload, compression, block_mib=64):
        name = f'{payload.name}-engine-{compression}' + ('' if block_mib == 64 else f'-{block_mib}')
        project = self.out / f'{name}.toml'
        text = ('[product]\nname = "Benchmark"\n'
                f'compression = "{compression}"\nblock-size = {block_mib}\n\n'
                '[variables]\nInstallPath = "C:\\\\bench\\\\default"\n\n'
                '[install]\nuninstaller = true\n\n'
                f'[[files]]\nsource = "{payload.root}"\ntarget = "%InstallPath%"\n')
        image = self.out / f'{name}.exe'
        if self.stale(image, payload.root, self.args.stub, self.args.builder) or \
                not project.exists() or project.read_text() != text:
            project.write_text(text)
            subprocess.run([self.args.builder, str(project), '-q', '--threads', '2', '--stub',
                            self.args.stub, '-o', str(image)], check=True)
        return image

    def peer_image(self, payload, method, target=None):
        compressor = PEERS[method][0]
        target = target or self.args.peer_target
        script = self.out / f'{payload.name}-{method}-{target}.nsi'
        image = self.out / f'{payload.name}-{method}-{target}.exe'
        text = (f'Unicode true\nTarget {target}\nSetCompressor {compressor}\n'
                'Name "Benchmark"\n'
                f'OutFile "{image}"\nInstallDir "C:\\bench\\peer-default"\n'
                'RequestExecutionLevel user\nSection\n  SetOutPath "$INSTDIR"\n'
                f'  File /r "{payload.root}/*"\n  WriteUninstaller "$INSTDIR\\uninstall.exe"\n'
                'SectionEnd\nSection "Uninstall"\n  RMDir /r "$INSTDIR"\nSectionEnd\n')
        if self.stale(image, payload.root) or not script.exists() or script.read_text() != text:
            script.write_text(text)
            subprocess.run(['makensis', '-V1', str(script)], check=True)
        return image

    def archives(self, payload):
        tar = self.out / f'{payload.name}.tar'
        gz, xz = tar.with_suffix('.tar.gz'), tar.with_suffix('.tar.xz')
        if self.stale(gz, payload.root) or self.stale(xz, payload.root):
            subprocess.run(['tar', '-cf', str(tar), '-C', str(payload.root), '.'], check=True)
            subprocess.run(['gzip', '-6', '-f', '-k', str(tar)], check=True)
            subprocess.run(['xz', '-6', '-f', '-k', '-T1', str(tar)], check=True)
            tar.unlink()
        return gz, xz

    def peer_unavailable(self):
        if self.args.peer_target.startswith('none:'):
            return self.args.peer_target[5:]
        if not shutil.which('makensis'):
            return 'makensis is not installed (installing nsis failed)'
        for _, stub in PEERS.values():
            if not (Path('/usr/share/nsis/Stubs') / f'{stub}-{self.args.peer_target}').exists():
                return (f'the nsis package has no {stub}-{self.args.peer_target} stub: it makes '
                        'only 32-bit x86 installers, and this machine cannot execute 32-bit x86 '
                        'code (tests/rig/runs-32bit-code.sh)')
        return None

    def peers_sized_only(self):
        """Where the peers cannot run here, their 32-bit installers can still be made: the same
        payload, the same compressors, for the image sizes (their stub is a little smaller than
        the 64-bit engine's, which makes the comparison a little harder for the engine)."""
        return shutil.which('makensis') and all(
            (Path('/usr/share/nsis/Stubs') / f'{stub}-{SIZE_ONLY_PEER_TARGET}').exists()
            for _, stub in PEERS.values())

    # ---- runs

    def run(self, method, source, install_name, payload):
        target = self.fresh(install_name)
        if method.startswith('tar'):
            target.mkdir()  # tar -C needs the folder; made untimed
            command = ['tar', '-xzf' if method == 'tar-gz' else '-xJf', str(source), '-C',
                       str(target)]
        elif method.startswith('peer'):
            command = [self.args.wine, str(source), '/S', '/D=' + self.windows_path(install_name)]
        else:
            command = [self.args.wine, str(source), '/QUIET',
                       '/DIR=' + self.windows_path(install_name)]
        run = timed(command, self.log_file)
        ok, message, _ = payload.check(target)
        if run.exit_code != 0 or not ok:
            self.failures.append(f'{method} {install_name}: {exit_text(run.exit_code)}; {message}')
            log(f'  FAILED ({method}, {install_name}): {exit_text(run.exit_code)}; {message}')
        run.ok = run.exit_code == 0 and ok
        return run

    def measure(self, payload, sources, rounds):
        methods = list(sources)
        results = {m: [] for m in methods}
        for r in range(1, rounds + 1):
            order = methods[(r - 1) % len(methods):] + methods[:(r - 1) % len(methods)]
            for method in order:
                results[method].append(
                    self.run(method, sources[method], f'{payload.name}-{method}-{r}', payload))
            last = {m: results[m][-1] for m in methods}
            log(f'{payload.name} round {r}: ' + ', '.join(
                f'{m} {last[m].seconds:.2f} s' for m in methods) +
                f' | engine-lzma2/tar-gz {last["engine-lzma2"].seconds / last["tar-gz"].seconds:.2f}')
        return results

    def main(self):
        log('preparing (not timed): payloads, images, archives')
        real = Payload('real', REAL_BINARIES)
        mixed = Payload('mixed', Path(self.args.payload).resolve())
        reason = self.peer_unavailable()
        sized_only = False
        if reason:
            log(f'peers: NOT MEASURED: {reason}')
            sized_only = self.peers_sized_only()
            if sized_only:
                log(f'peers: their images made with Target {SIZE_ONLY_PEER_TARGET}, for the '
                    'image sizes only')
        wine = subprocess.run([self.args.wine, '--version'], capture_output=True, text=True)
        log(f'wine: {wine.stdout.strip()}, prefix {self.drive_c.parent}')
        (self.drive_c / 'bench').mkdir(exist_ok=True)

        sizes, installs = {}, {}
        for payload in (real, mixed):
            log(f'payload {payload.name}: {len(payload.files)} files, '
                f'{payload.bytes / MB:.1f} MiB ({payload.root})')
            sources = {'engine-zlib': self.engine_image(payload, 'zlib'),
                       'engine-lzma2': self.engine_image(payload, 'lzma2')}
            if not reason:
                for method in PEERS:
                    sources[method] = self.peer_image(payload, method)
            sources['tar-gz'], sources['tar-xz'] = self.archives(payload)
            sizes[payload.name] = {m: p.stat().st_size for m, p in sources.items()}
            if reason and sized_only:
                for method in PEERS:
                    sizes[payload.name][method] = self.peer_image(
                        payload, method, SIZE_ONLY_PEER_TARGET).stat().st_size
            for method, size in sizes[payload.name].items():
                note = '  (32-bit installer, made for its size, not run)' \
                    if method in PEERS and method not in sources else ''
                log(f'  {method:<13} {size:>12,} bytes  {size / MB:8.1f} MiB{note}')
            for path in sources.values():
                preread(path)
            log(f'load average before the rounds: {load_average()}')
            installs[payload.name] = self.measure(payload, sources, self.args.rounds)

        log()
        log('the settings (real binaries): block size, image, peak private memory of one install')
        settings = {64: (sizes['real']['engine-lzma2'], statistics.median(
            r.peak_private_mb for r in installs['real']['engine-lzma2']))}
        for block_mib in BLOCK_SETTINGS:
            image = self.engine_image(real, 'lzma2', block_mib)
            run = self.run('engine-lzma2', image, f'real-blocks-{block_mib}', real)
            settings[block_mib] = (image.stat().st_size, run.peak_private_mb)
        for block_mib in sorted(settings):
            size, private = settings[block_mib]
            log(f'  blocks of {block_mib:>2} MiB: image {size:>12,} bytes, private '
                f'{private:6.1f} MiB')

        log()
        for name, results in installs.items():
            log(f'{name}: median seconds (wall plus sync) and peak private MiB: ' + ', '.join(
                f'{m} {statistics.median(r.seconds for r in runs):.2f} s '
                f'{statistics.median(r.peak_private_mb for r in runs):.0f}'
                for m, runs in results.items()))
            for peer in ('tar-gz', 'peer-lzma', 'peer-zlib', 'tar-xz'):
                if peer in results:
                    ratio = statistics.median(a.seconds / b.seconds for a, b in
                                              zip(results['engine-lzma2'], results[peer]))
                    log(f'  {name}: median install engine-lzma2/{peer}: {ratio:.2f}')
            for peer in ('peer-lzma', 'tar-xz', 'engine-zlib'):
                if peer in sizes[name]:
                    log(f'  {name}: image engine-lzma2/{peer}: '
                        f'{sizes[name]["engine-lzma2"] / sizes[name][peer]:.3f}')
        private = max(max(r.peak_private_mb for r in installs[n]['engine-lzma2']) for n in installs)
        log(f'engine-lzma2 peak private memory over both payloads: {private:.1f} MiB (limit '
            f'{PRIVATE_LIMIT_MB}): {"met" if private <= PRIVATE_LIMIT_MB else "MISSED"}')
        if 'peer-lzma' in installs['real']:
            peer = statistics.median(a.seconds / b.seconds for a, b in
                                     zip(installs['real']['engine-lzma2'],
                                         installs['real']['peer-lzma']))
            log(f'median install engine-new/peer-lzma: {peer:.2f} (target <= '
                f'{INSTALL_TARGET_PEER})')
        if self.failures:
            log(f'FAILED RUNS: {len(self.failures)}, first: {self.failures[0]}')
        image_ratio = (sizes['real']['engine-lzma2'] / sizes['real']['peer-lzma']
                       if 'peer-lzma' in sizes['real'] else float('nan'))
        install_ratio = statistics.median(a.seconds / b.seconds for a, b in
                                          zip(installs['real']['engine-lzma2'],
                                              installs['real']['tar-gz']))
        log(f'median image engine-new/peer-lzma: {image_ratio:.3f}')
        log(f'median install engine-new/tar-gz: {install_ratio:.2f}')
        return 1 if self.failures else 0


def main():
    parser = bench_arguments(__doc__, rounds=3)
    sys.exit(Bench(parser.parse_args()).main())


if __name__ == '__main__':
    main()
