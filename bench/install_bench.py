#!/usr/bin/env python3
"""Silent-install benchmark, run by `bench/run.sh install` inside a display with a Wine prefix.

Methods, alternated within each round (the order rotates from round to round), each into a new
folder inside the prefix's drive_c, nothing deleted while timing:
  engine     kelvara-build image of the payload, `image.exe S`, one image per round
             (-D InstallPath)
  tar        `tar -xzf` of the same payload (tar.gz made once)
  peer       the Debian nsis package's installer of the same payload (SetCompressor zlib, not
             solid, as the engine's image), `/S /D=...`; only where its stub can run here
  peer-lzma  the same with SetCompressor /SOLID lzma (the peer's smallest installers)
Each round gives the ratios engine/tar, engine/peer and engine/peer-lzma; the report gives their
medians. The Wine server is kept running and warmed up before the first timed run.
The fixed cost: a tiny payload (two files) installed by the engine and by the zlib peer,
alternated (the order turning from pair to pair), FIXED_COST_RUNS each; the median of the
per-pair ratios engine/peer.
Every run is checked after its timed part: each payload file present with its size, and the
SHA-256 of a sample of files; the engine's figures are given only when every run installed the
payload. Time and memory of a run are measured as bench_common.py says (wall plus sync; peaks
of VmHWM, RssAnon and RssFile). Memory is given for the mixed payload (the timed rounds), one
200 MB file of mixed content (an image of the same size as the mixed payload's, so only the
file sizes differ), one 200 MB random file (a larger image: random data is stored) and the tiny
payload (the fixed-cost runs)."""
import random
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

from bench_common import BenchFolders, MB, bench_arguments, Payload, cached_folder, exit_text, load_average, log, preread, \
    text_bytes, timed, word_list

MEMORY_TOLERANCE_MB = 8     # a one-file payload's peak may exceed the mixed one's by this much
ENGINE_TARGET_TAR = 1.0     # engine <= 1.0 x tar
ENGINE_TARGET_PEER = 0.55   # engine <= 0.55 x peer (zlib)
FIXED_COST_TARGET = 1.0     # the engine's fixed cost <= the peer's (zlib)
FIXED_COST_RUNS = 5         # tiny-payload runs of the engine and of the peer, alternated
PEERS = {                   # method: nsis SetCompressor argument, its stub's name
    'peer': ('zlib', 'zlib'),               # per file, not solid: as the engine's image
    'peer-lzma': ('/SOLID lzma', 'lzma_solid'),  # the peer's smallest installers
}


# ---------------------------------------------------------------- payloads, cached by folder name

def make_one_file_mixed(dest, total_mb):
    """One file of alternating 1 MB text-like and random blocks: compresses as the mixed one."""
    rng = random.Random(11)
    words = word_list(rng)
    with open(dest / 'big-mixed.dat', 'wb') as out:
        for block in range(total_mb):
            out.write(text_bytes(rng, words, MB) if block % 2 == 0 else rng.randbytes(MB))


def make_one_file_random(dest, total_mb):
    rng = random.Random(13)
    with open(dest / 'big-random.bin', 'wb') as out:
        for _ in range(total_mb):
            out.write(rng.randbytes(MB))


def make_tiny(dest):
    rng = random.Random(17)
    (dest / 'docs').mkdir()
    (dest / 'readme.txt').write_bytes(b'tiny payload\n' * 40)
    (dest / 'docs' / 'data.bin').write_bytes(rng.randbytes(3000))


# ---------------------------------------------------------------- the benchmark

class Bench(BenchFolders):
    def __init__(self, args):
        super().__init__(args, 'install')
        self.engine_failures = []

    # ---- inputs (all made before anything is timed)

    def engine_image(self, source_dir, install_name, image_name):
        project = self.out / f'{source_dir.name}.toml'
        project.write_text(
            '[product]\nname = "Benchmark"\n\n'
            '[variables]\nInstallPath = "C:\\\\bench\\\\default"\n\n'
            '[install]\nuninstaller = true\n\n'
            f'[[files]]\nsource = "{source_dir}"\ntarget = "%InstallPath%"\n')
        image = self.out / image_name
        subprocess.run([self.args.builder, str(project), '-q', '--threads', '2', '--stub',
                        self.args.stub, '-D', 'InstallPath=' + self.windows_path(install_name),
                        '-o', str(image)], check=True)
        return image

    def peer_image(self, method, source_dir, image_name):
        compressor = PEERS[method][0]
        script = self.out / f'{image_name}.nsi'
        image = self.out / image_name
        text = (f'Unicode true\nTarget {self.args.peer_target}\n'
                f'SetCompressor {compressor}\n'
                'Name "Benchmark"\n'
                f'OutFile "{image}"\n'
                'InstallDir "C:\\bench\\peer-default"\n'
                'RequestExecutionLevel user\n'
                'Section\n'
                '  SetOutPath "$INSTDIR"\n'
                f'  File /r "{source_dir}/*"\n'
                '  WriteUninstaller "$INSTDIR\\uninstall.exe"\n'
                'SectionEnd\n'
                'Section "Uninstall"\n'
                '  RMDir /r "$INSTDIR"\n'
                'SectionEnd\n')
        stale = (not image.exists() or not script.exists() or script.read_text() != text
                 or image.stat().st_mtime < source_dir.stat().st_mtime)
        if stale:
            script.write_text(text)
            subprocess.run(['makensis', '-V1', str(script)], check=True)
        return image

    def peer_unavailable(self, method):
        """Why the peer `method` cannot be measured here, or None."""
        if self.args.peer_target.startswith('none:'):
            return self.args.peer_target[5:]
        if not shutil.which('makensis'):
            return 'makensis is not installed (installing nsis failed)'
        stub = Path('/usr/share/nsis/Stubs') / f'{PEERS[method][1]}-{self.args.peer_target}'
        if not stub.exists():
            return (f'the nsis package has no {stub.name} stub: it makes only 32-bit x86 '
                    'installers, and this machine cannot execute 32-bit x86 code '
                    '(tests/rig/runs-32bit-code.sh)')
        return None

    # ---- runs

    def run_engine(self, image, install_name, payload):
        target = self.fresh(install_name)
        run = timed([self.args.wine, str(image), 'S'], self.log_file)
        ok, message, extras = payload.check(target)
        if run.exit_code != 0:
            ok, message = False, f'{exit_text(run.exit_code)}; {message}'
        if not ok:
            self.engine_failures.append(f'{install_name}: {message}')
            log(f'  ENGINE FAILED ({install_name}): {message}')
        run.ok = ok
        return run, ok, extras

    def run_tar(self, archive, install_name, payload):
        target = self.fresh(install_name)
        target.mkdir()  # tar -C needs the folder; made untimed
        run = timed(['tar', '-xzf', str(archive), '-C', str(target)], self.log_file)
        ok, message, extras = payload.check(target)
        if run.exit_code != 0 or not ok or extras:
            raise SystemExit(f'tar run {install_name} failed (exit code {run.exit_code}): '
                             f'{message} {extras[:3]}')
        run.ok = True
        return run, ok, extras

    def run_peer(self, image, install_name, payload):
        target = self.fresh(install_name)
        run = timed([self.args.wine, str(image), '/S', '/D=' + self.windows_path(install_name)],
                    self.log_file)
        ok, message, extras = payload.check(target)
        if run.exit_code != 0 or not ok:
            raise SystemExit(f'peer run {install_name} failed (exit code {run.exit_code}): '
                             f'{message}')
        run.ok = True
        return run, ok, extras

    def main(self):
        rounds = self.args.rounds
        log('preparing (not timed): payloads, images, archive')
        mixed = Payload('mixed', Path(self.args.payload).resolve())
        one_mixed = Payload('one file, mixed content', cached_folder(
            self.work / 'payload-onefile-mixed', lambda d: make_one_file_mixed(d, 200)))
        one_random = Payload('one file, random', cached_folder(
            self.work / 'payload-onefile-random', lambda d: make_one_file_random(d, 200)))
        tiny = Payload('tiny', cached_folder(self.work / 'payload-tiny', make_tiny))
        log(f'payload: {len(mixed.files)} files, {mixed.bytes / MB:.1f} MiB ({mixed.root})')
        wine = subprocess.run([self.args.wine, '--version'], capture_output=True, text=True)
        log(f'wine: {wine.stdout.strip()} ({self.args.wine}), prefix {self.drive_c.parent}')

        archive = self.work / 'payload.tar.gz'
        if not archive.exists() or archive.stat().st_mtime < mixed.root.stat().st_mtime:
            partial = archive.with_name(archive.name + '.partial')
            subprocess.run(['tar', '-czf', str(partial), '-C', str(mixed.root), '.'], check=True)
            partial.rename(archive)

        engine_images = [self.engine_image(mixed.root, f'run-{r}', f'engine-run-{r}.exe')
                         for r in range(1, rounds + 1)]
        warm_engine = self.engine_image(tiny.root, 'warm-engine', 'engine-warm.exe')
        fixed_images = [self.engine_image(tiny.root, f'fixed-engine-{i}', f'engine-fixed-{i}.exe')
                        for i in range(1, FIXED_COST_RUNS + 1)]
        memory_kinds = [one_mixed, one_random]
        memory_runs = [(p, f'mem-{k}-{i}') for i in (1, 2) for k, p in enumerate(memory_kinds)]
        memory_images = {name: self.engine_image(p.root, name, f'engine-{name}.exe')
                         for p, name in memory_runs}

        peer_images, warm_peers, unmeasured = {}, {}, {}
        for method, (compressor, _) in PEERS.items():
            reason = self.peer_unavailable(method)
            if reason:
                unmeasured[method] = reason
                log(f'{method}: NOT MEASURED: {reason}')
                continue
            peer_images[method] = self.peer_image(method, mixed.root, f'{method}.exe')
            warm_peers[method] = self.peer_image(method, tiny.root, f'{method}-warm.exe')
            log(f'{method}: nsis {self.args.peer_target} installer, SetCompressor {compressor}, '
                f'{peer_images[method].stat().st_size / MB:.1f} MiB')
        log(f'engine image: {engine_images[0].stat().st_size / MB:.1f} MiB; '
            f'tar.gz: {archive.stat().st_size / MB:.1f} MiB')

        for path in engine_images + [archive] + list(peer_images.values()):
            preread(path)
        (self.drive_c / 'bench').mkdir(exist_ok=True)

        log('warming up the Wine server (not timed)')
        _, ok, extras = self.run_engine(warm_engine, 'warm-engine', tiny)
        if ok:
            log(f'  engine wrote besides the payload: {", ".join(extras) or "nothing"}')
        for method, image in warm_peers.items():
            _, _, extras = self.run_peer(image, f'warm-{method}', tiny)
            log(f'  {method} wrote besides the payload: {", ".join(extras) or "nothing"}')

        log(f'load average before the rounds: {load_average()}')
        methods = ['engine', 'tar'] + list(peer_images)
        results = {m: [] for m in methods}
        for r in range(1, rounds + 1):
            order = methods[(r - 1) % len(methods):] + methods[:(r - 1) % len(methods)]
            for method in order:
                if method == 'engine':
                    run = self.run_engine(engine_images[r - 1], f'run-{r}', mixed)[0]
                elif method == 'tar':
                    run = self.run_tar(archive, f'tar-{r}', mixed)[0]
                else:
                    run = self.run_peer(peer_images[method], f'{method}-{r}', mixed)[0]
                results[method].append(run)
            log(self.round_line(r, order, {m: results[m][-1] for m in methods}))
        log(f'load average after the rounds: {load_average()}')

        # The fixed cost: the tiny payload, the engine and the zlib peer alternated, the order
        # turning from pair to pair.
        log('fixed cost runs (tiny payload, new folders)')
        fixed = {'engine': [], 'peer': []}
        for i in range(1, FIXED_COST_RUNS + 1):
            order = ['engine', 'peer'] if i % 2 else ['peer', 'engine']
            for method in order:
                if method == 'engine':
                    fixed['engine'].append(
                        self.run_engine(fixed_images[i - 1], f'fixed-engine-{i}', tiny)[0])
                elif 'peer' in warm_peers:
                    fixed['peer'].append(
                        self.run_peer(warm_peers['peer'], f'fixed-peer-{i}', tiny)[0])

        log('memory runs (engine only, new folders)')
        memory = {mixed.name: results['engine'], tiny.name: fixed['engine']}
        images = {mixed.name: engine_images[0].stat().st_size,
                  tiny.name: fixed_images[0].stat().st_size}
        for p, name in memory_runs:
            memory.setdefault(p.name, []).append(self.run_engine(memory_images[name], name, p)[0])
            images[p.name] = memory_images[name].stat().st_size

        self.report(results, fixed, memory, images, [mixed, tiny] + memory_kinds, unmeasured)
        for image in (engine_images + [warm_engine] + fixed_images
                      + list(memory_images.values())):
            image.unlink()  # made anew with each run's install folder: nothing to keep
        return 1 if self.engine_failures else 0

    @staticmethod
    def round_line(r, order, last):
        e, t = last['engine'], last['tar']
        peers = [m for m in PEERS if m in last]
        times = [f'engine {e.seconds:.2f} s' + ('' if e.ok else ' (FAILED)'),
                 f'tar {t.seconds:.2f} s'] + [f'{m} {last[m].seconds:.2f} s' for m in peers]
        ratios = ([f'engine/tar {e.seconds / t.seconds:.2f}'] if e.ok else []) + \
            [f'engine/{m} {e.seconds / last[m].seconds:.2f}' for m in peers if e.ok] + \
            [f'{m}/tar {last[m].seconds / t.seconds:.2f}' for m in peers]
        line = f'round {r} ({" ".join(order)}): {", ".join(times)} | {", ".join(ratios)}'
        if e.ok:
            line += (f' | engine peak {e.peak_rss_mb:.0f} MiB resident, '
                     f'{e.peak_private_mb:.0f} MiB private')
        return line

    def report(self, results, fixed, memory, images, payloads, unmeasured):
        def median_ratio(a, b, runs=results):
            return statistics.median(x.seconds / y.seconds for x, y in zip(runs[a], runs[b]))

        def verdict(ratio, target):
            return f'{ratio:.2f} (target <= {target}): {"met" if ratio <= target else "MISSED"}'

        def medians(runs):
            return (f'median {statistics.median(r.seconds for r in runs):.2f} s wall plus sync, '
                    f'CPU {statistics.median(r.cpu_seconds for r in runs):.2f} s')

        log()
        log(f'tar -xzf: {medians(results["tar"])}')
        for method in PEERS:
            if method in results:
                log(f'{method}: {medians(results[method])}; '
                    f'median {method}/tar: {median_ratio(method, "tar"):.2f}')
            else:
                log(f'{method}: not measured: {unmeasured[method]}')
        if fixed['peer']:
            log(f'peer fixed cost (tiny payload): {medians(fixed["peer"])} '
                f'({len(fixed["peer"])} runs)')
        if self.engine_failures:
            nothing = 'nothing installed' in self.engine_failures[0]
            log(f'ENGINE {"INSTALLED NOTHING" if nothing else "INSTALL WRONG"}: no engine '
                f'figures; {len(self.engine_failures)} engine runs did not install their payload, '
                f'first: {self.engine_failures[0]}')
            return
        log(f'engine: {medians(results["engine"])}; fixed cost (tiny payload): '
            f'{medians(fixed["engine"])} ({len(fixed["engine"])} runs)')
        log(f'median engine/tar: {verdict(median_ratio("engine", "tar"), ENGINE_TARGET_TAR)}')
        if 'peer' in results:
            log(f'median engine/peer (zlib): '
                f'{verdict(median_ratio("engine", "peer"), ENGINE_TARGET_PEER)}')
        else:
            log(f'median engine/peer (zlib): not measured (target <= {ENGINE_TARGET_PEER})')
        if 'peer-lzma' in results:
            log(f'median engine/peer-lzma (solid lzma): {median_ratio("engine", "peer-lzma"):.2f}')
        if fixed['peer']:
            log(f'fixed cost, median engine/peer (zlib), tiny payload: '
                f'{verdict(median_ratio("engine", "peer", fixed), FIXED_COST_TARGET)}')
        else:
            log(f'fixed cost, engine/peer (zlib): not measured (target <= {FIXED_COST_TARGET})')

        log('engine peak memory, MiB, medians (resident: peak of the process, Wine included; '
            'private and file-backed: peaks of its parts):')
        parts = ('peak_rss_mb', 'peak_private_mb', 'peak_file_mb')
        peaks = {}
        for p in payloads:
            runs = memory[p.name]
            peaks[p.name] = [statistics.median(getattr(r, part) for r in runs) for part in parts]
            log(f'  {p.name:<24} {len(p.files):>5} files, {p.bytes / MB:5.1f} MiB, image '
                f'{images[p.name] / MB:5.1f} MiB: resident {peaks[p.name][0]:6.1f}, private '
                f'{peaks[p.name][1]:5.1f}, file-backed {peaks[p.name][2]:6.1f} ({len(runs)} runs)')
        for method in PEERS:
            if method in results:
                rss, private, file_backed = (
                    statistics.median(getattr(r, part) for r in results[method]) for part in parts)
                log(f'  {method}, mixed payload: resident {rss:.1f}, private {private:.1f}, '
                    f'file-backed {file_backed:.1f}')

        # File sizes: the same bytes in one file instead of 1,500, images of about equal size.
        mixed, one_file = peaks['mixed'], peaks['one file, mixed content']
        grows = [what for what, i in (('resident', 0), ('private', 1))
                 if one_file[i] > mixed[i] + MEMORY_TOLERANCE_MB]
        log(f'file sizes: one 200 MiB file against 1,500 files: resident '
            f'{one_file[0] - mixed[0]:+.1f} MiB, private {one_file[1] - mixed[1]:+.1f} MiB: '
            + (f'GROWS WITH FILE SIZE ({", ".join(grows)})' if grows else
               f'independent (within {MEMORY_TOLERANCE_MB} MiB)'))
        private = [peak[1] for peak in peaks.values()]
        log(f'private memory over all payloads: {min(private):.1f}-{max(private):.1f} MiB: '
            + ('independent of the payload' if max(private) - min(private) <= MEMORY_TOLERANCE_MB
               else 'DEPENDS ON THE PAYLOAD'))
        small, large = peaks['tiny'], peaks['one file, random']
        span = (images['one file, random'] - images['tiny']) / MB
        log(f'image size: from the tiny image to the {images["one file, random"] / MB:.0f} MiB '
            f'one, resident grows {large[0] - small[0]:.1f} MiB, file-backed '
            f'{large[2] - small[2]:.1f} MiB ({(large[2] - small[2]) / span:.2f} MiB per MiB '
            'of image)')


def main():
    parser = bench_arguments(__doc__, rounds=5)
    sys.exit(Bench(parser.parse_args()).main())


if __name__ == '__main__':
    main()
