#!/usr/bin/env python3
"""Large-image benchmark, run by `bench/run.sh scale` inside a display with a Wine prefix.

The payload (made once in the work folder, deterministic): a few hundred MiB of text-like files
that compress, and large random files (stored: the image is mostly stored data), about 3.7 GiB
in all, packaged by kelvara-build into an image of about 3.5 GiB (the image format's offsets
are 32 bits: at most 4 GiB). An uncompressed tar of the same files is made once.
Methods, alternated within each round (the order turns from round to round), each into a new
folder inside the prefix's drive_c, nothing deleted while timing:
  engine  `image.exe S /DIR=C:\\bench\\...` under Wine (one image for every round: /DIR= names
          the folder)
  tar     `tar -xf` of the same files
The inputs of each run are read once just before it (untimed), so both read from the page
cache. Time and memory of a run are measured as bench_common.py says (wall plus sync; peaks of
VmHWM, RssAnon and RssFile); besides, the engine's views of the image file are followed in
/proc/PID/maps: the largest single mapping and the largest total mapped at once.
Every run is checked after its timed part (each file with its size, sampled SHA-256s).
A silent run that shows a window waits for an answer nobody gives: the run is ended after a
screenshot, and the image is run once more with /QUIET and /LOG= (untimed) for the exit code
and the message the engine gave; the engine is not run in later rounds. The same for a run
still going after --engine-timeout seconds.
The engine's private memory is set against its private memory for the 200 MB mixed payload of
`bench/run.sh install`, installed here twice with the same engine.
Everything made for the run (payload, tar, images) is deleted at its end unless --keep."""
import random
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

from bench_common import BenchFolders, MB, bench_arguments, Payload, WindowWatch, cached_folder, exit_text, load_average, log, \
    preread, text_bytes, timed, word_list

COMPRESSIBLE_MB = 320           # text-like files, in COMPRESSIBLE_FILES files
COMPRESSIBLE_FILES = 400
RANDOM_FILES_MB = [1024] + [304] * 8  # stored: random data does not compress
VIEW_TARGET_MB = 64             # largest view of the image, and peak file-backed memory
FILE_BACKED_TARGET_MB = 64
PRIVATE_TOLERANCE_MB = 8        # "about as for the 200 MB payload"
SPACE_MARGIN = 2 << 30          # bytes left free on the disk at the end


def make_scale_payload(dest):
    rng = random.Random(23)
    words = word_list(rng)
    average = (COMPRESSIBLE_MB * MB) // COMPRESSIBLE_FILES
    for i in range(COMPRESSIBLE_FILES):
        folder = dest / 'compressible' / f'part{i % 5}' / f'set{i % 11}'
        folder.mkdir(parents=True, exist_ok=True)
        size = max(1, int(rng.expovariate(1 / average)))
        (folder / f'doc{i:04}.txt').write_bytes(text_bytes(rng, words, size))
    (dest / 'data').mkdir()
    for i, size_mb in enumerate(RANDOM_FILES_MB):
        with open(dest / 'data' / f'pack{i:02}.bin', 'wb') as out:
            for _ in range(size_mb):
                out.write(rng.randbytes(MB))


def median(values):
    return statistics.median(values) if values else float('nan')


class Bench(BenchFolders):
    def __init__(self, args):
        super().__init__(args, 'scale')
        self.made = []  # files and folders to delete at the end
        self.engine_failure = None  # what went wrong, once the engine failed
        self.failed_runs = []  # the engine's failed runs of the large image, with their peaks

    # ---- inputs

    def build_image(self, name, groups):
        """(image or None, seconds, what the builder said); groups: [(source, target,
        compression)]."""
        project = self.out / f'{name}.toml'
        text = ('[product]\nname = "Benchmark"\n\n'
                '[variables]\nInstallPath = "C:\\\\bench\\\\default"\n\n'
                '[install]\nuninstaller = true\n')
        for source, target, compression in groups:
            target_text = target.replace('\\', '\\\\')
            text += (f'\n[[files]]\nsource = "{source}"\ntarget = "{target_text}"\n'
                     f'compression = "{compression}"\n')
        project.write_text(text)
        image = self.out / f'{name}.exe'
        command = [self.args.builder, str(project), '-q', '--threads', '2', '--stub',
                   self.args.stub, '-o', str(image)]
        start = time.perf_counter()
        built = subprocess.run(command, capture_output=True, text=True)
        seconds = time.perf_counter() - start
        self.made.append(image)
        said = (built.stdout + built.stderr).strip()
        if built.returncode != 0 or not image.is_file():
            return None, seconds, (f'`{" ".join(command)}` exited with {built.returncode}: '
                                   f'{said or "(no message)"}')
        return image, seconds, said

    def dump_summary(self, image):
        """The builder's reading of an image it made: its header lines, and whether the checksum
        it computes matches the one recorded."""
        dump = subprocess.run([self.args.builder, '--dump', str(image)], capture_output=True,
                              text=True)
        lines = dump.stdout.splitlines()
        head = [line for line in lines[:6] if not line.startswith('  ')]
        files = sum(1 for line in lines if line.startswith('  ') and ' bytes, ' in line)
        ok = dump.returncode == 0 and any('(matches)' in line for line in head)
        return ok, head, files, dump.returncode, dump.stderr.strip()

    def free_bytes(self):
        return shutil.disk_usage(self.work).free

    # ---- runs

    def run_engine(self, image, install_name, payload):
        """The run, and the failure text or None."""
        target = self.fresh(install_name)
        preread(image)
        watch = WindowWatch(image.name, self.out / f'{install_name}-window.png')
        run = timed([self.args.wine, str(image), 'S', '/DIR=' + self.windows_path(install_name)],
                    self.log_file, mapped_file=image, watch=watch,
                    timeout=self.args.engine_timeout)
        ok, message, _ = payload.check(target)
        failure = None
        if run.ended:
            failure = (f'the benchmark ended the run after {run.seconds:.1f} s: {run.ended}; '
                       f'{message}')
        elif run.exit_code != 0 or not ok:
            failure = f'{exit_text(run.exit_code)}; {message}'
        return run, failure

    def run_quiet(self, image, install_name, payload):
        """The image once more with /QUIET and /LOG= (untimed): its exit code, run log, check."""
        target = self.fresh(install_name)
        run_log = self.unix_path(f'{install_name}.log')
        run = timed([self.args.wine, str(image), '/QUIET',
                     '/DIR=' + self.windows_path(install_name),
                     '/LOG=' + self.windows_path(f'{install_name}.log')], self.log_file,
                    mapped_file=image, timeout=self.args.engine_timeout)
        _, message, _ = payload.check(target)
        lines = run_log.read_text(errors='replace').splitlines() if run_log.exists() else []
        return run, message, lines

    def run_tar(self, archive, install_name, payload):
        target = self.fresh(install_name)
        target.mkdir()  # tar -C needs the folder; made untimed
        preread(archive)
        run = timed(['tar', '-xf', str(archive), '-C', str(target)], self.log_file)
        ok, message, extras = payload.check(target)
        if run.exit_code != 0 or not ok or extras:
            raise SystemExit(f'tar run {install_name} failed (exit code {run.exit_code}): '
                             f'{message} {extras[:3]}')
        return run

    def engine_failed(self, image, install_name, failure, payload):
        log(f'  ENGINE FAILED ({install_name}): {failure}')
        self.engine_failure = f'{install_name}: {failure}'
        if self.args.no_quiet_rerun:
            return
        log('  the same image with /QUIET /LOG= (untimed), for its exit code and message:')
        run, message, lines = self.run_quiet(image, f'{install_name}-quiet', payload)
        code = exit_text(run.exit_code) if not run.ended else f'no exit code ({run.ended})'
        logged = [line.split('exit code', 1)[1].strip() for line in lines if ' exit code ' in line]
        if logged:
            code += f'; the run log says: exit code {logged[-1]}'
        log(f'    {code}, after {run.seconds:.1f} s; {message}')
        log(f'    largest view of the image {run.largest_view_mb:.1f} MiB, private '
            f'{run.peak_private_mb:.1f} MiB, file-backed {run.peak_file_mb:.1f} MiB')
        for line in lines or ['(no run log)']:
            log(f'    | {line}')
        self.engine_failure += f'; with /QUIET: {code}'

    # ---- the benchmark

    def main(self):
        try:
            return self.measure()
        finally:
            if not self.args.keep:
                for path in self.made:
                    if path.is_dir():
                        shutil.rmtree(path, ignore_errors=True)
                    else:
                        path.unlink(missing_ok=True)
                log(f'deleted what the run made (payload, tar, images): '
                    f'{self.free_bytes() / (1 << 30):.1f} GiB free on the disk')

    def measure(self):
        log(f'disk: {self.free_bytes() / (1 << 30):.1f} GiB free in {self.work}')
        log('preparing (not timed): payload, tar, images')
        root = self.work / 'payload-scale'
        self.made.append(root)
        cached_folder(root, make_scale_payload)
        scale = Payload('scale', root)
        mixed = Payload('mixed', Path(self.args.payload).resolve())
        log(f'payload: {len(scale.files)} files, {scale.bytes / MB:.0f} MiB ({root}): '
            f'{COMPRESSIBLE_FILES} text-like files of about {COMPRESSIBLE_MB} MiB, '
            f'{len(RANDOM_FILES_MB)} random files of {sum(RANDOM_FILES_MB)} MiB (stored)')
        wine = subprocess.run([self.args.wine, '--version'], capture_output=True, text=True)
        log(f'wine: {wine.stdout.strip()} ({self.args.wine}), prefix {self.drive_c.parent}')
        if not shutil.which('xwininfo'):
            log('window watch: xwininfo is missing: a run waiting at a message box is ended only '
                f'after {self.args.engine_timeout:.0f} s')

        archive = self.work / 'payload-scale.tar'
        self.made.append(archive)
        if not archive.exists() or archive.stat().st_mtime < root.stat().st_mtime:
            partial = archive.with_name(archive.name + '.partial')
            subprocess.run(['tar', '-cf', str(partial), '-C', str(root), '.'], check=True)
            partial.rename(archive)
        log(f'tar: {archive.stat().st_size / MB:.0f} MiB')

        image, seconds, said = self.build_image('scale', [
            (root / 'compressible', '%InstallPath%\\compressible', 'auto'),
            (root / 'data', '%InstallPath%\\data', 'stored')])
        if image:
            ok, head, files, code, errors = self.dump_summary(image)
            log(f'builder: made {image.name}, {image.stat().st_size / MB:.0f} MiB '
                f'({image.stat().st_size} bytes) in {seconds:.0f} s'
                + (f'; it said: {said}' if said else ''))
            log(f'  kelvara-build --dump: {files} file entries, '
                + ('checksum matches' if ok else f'NOT READABLE (exit code {code}) {errors}'))
            for line in head:
                log(f'  | {line}')
        else:
            log(f'BUILDER FAILED after {seconds:.0f} s: {said}')
            self.engine_failure = f'no image: {said}'
        mixed_image, _, mixed_said = self.build_image('mixed', [
            (mixed.root, '%InstallPath%', 'auto')])
        warm_image, _, warm_said = self.build_image('warm', [
            (mixed.root / 'group0' / 'sub0', '%InstallPath%', 'auto')])
        if not mixed_image or not warm_image:
            raise SystemExit(f'the builder cannot make the small images: {mixed_said or warm_said}')
        warm = Payload('warm', mixed.root / 'group0' / 'sub0')

        rounds = self.args.rounds
        need_round = 2 * scale.bytes
        affordable = int((self.free_bytes() - SPACE_MARGIN - 3 * mixed.bytes) // need_round)
        if affordable < rounds:
            log(f'DISK: room for {max(affordable, 0)} rounds of {need_round / (1 << 30):.1f} GiB '
                f'each, not {rounds}: {max(affordable, 0)} rounds')
            rounds = max(affordable, 0)
        (self.drive_c / 'bench').mkdir(exist_ok=True)

        log('warming up the Wine server (not timed)')
        _, failure = self.run_engine(warm_image, 'warm-engine', warm)
        if failure:
            raise SystemExit(f'the engine cannot install a few small files: {failure}')

        log('the 200 MB mixed payload, for the engine\'s private memory (2 runs)')
        baseline = []
        for i in (1, 2):
            run, failure = self.run_engine(mixed_image, f'mixed-{i}', mixed)
            if failure:
                log(f'  ENGINE FAILED (mixed-{i}): {failure}')
            else:
                baseline.append(run)
                log(f'  mixed-{i}: {run.seconds:.2f} s, private {run.peak_private_mb:.1f} MiB, '
                    f'file-backed {run.peak_file_mb:.1f} MiB, resident {run.peak_rss_mb:.1f} MiB, '
                    f'largest view {run.largest_view_mb:.1f} MiB')

        log(f'load average before the rounds: {load_average()}')
        results = {'engine': [], 'tar': []}
        ratios = []
        started = time.perf_counter()
        done_rounds = 0
        for r in range(1, rounds + 1):
            round_start = time.perf_counter()
            order = ['engine', 'tar'] if r % 2 else ['tar', 'engine']
            runs = {}
            for method in order:
                if method == 'tar':
                    runs['tar'] = self.run_tar(archive, f'tar-{r}', scale)
                elif image and not self.engine_failure:
                    run, failure = self.run_engine(image, f'engine-{r}', scale)
                    runs['engine'] = run
                    run.failed = bool(failure)
                    if failure:
                        self.failed_runs.append(run)
                        self.engine_failed(image, f'engine-{r}', failure, scale)
                    else:
                        results['engine'].append(run)
            results['tar'].append(runs['tar'])
            done_rounds = r
            self.log_round(r, order, runs, ratios)
            elapsed = time.perf_counter() - started
            if r < rounds and elapsed + (time.perf_counter() - round_start) > self.args.budget:
                log(f'TIME: {r} of {rounds} rounds in {elapsed:.0f} s; another would pass the '
                    f'budget of {self.args.budget:.0f} s')
                break
        log(f'load average after the rounds: {load_average()}')
        self.report(results, ratios, done_rounds, rounds, baseline, image)
        return 1 if self.engine_failure else 0

    def log_round(self, r, order, runs, ratios):
        t = runs['tar']
        parts = [f'tar {t.seconds:.2f} s']
        e = runs.get('engine')
        if e:
            parts.insert(0, f'engine {e.seconds:.2f} s' + (' (FAILED)' if e.failed else ''))
            if not e.failed:
                ratios.append(e.seconds / t.seconds)
                parts.append(f'engine/tar {ratios[-1]:.2f}')
            parts.append(f'engine peak private {e.peak_private_mb:.1f} MiB, file-backed '
                         f'{e.peak_file_mb:.1f} MiB, resident {e.peak_rss_mb:.1f} MiB, largest '
                         f'view {e.largest_view_mb:.1f} MiB, largest mapped at once '
                         f'{e.largest_mapped_mb:.1f} MiB')
        else:
            parts.insert(0, 'engine not run' + (' (it failed before)' if self.engine_failure
                                                else ''))
        log(f'round {r} ({" ".join(order)}): {" | ".join(parts)}')

    def report(self, results, ratios, done_rounds, rounds, baseline, image):
        log()
        log(f'rounds: {done_rounds}' + (f' of {rounds}' if done_rounds < rounds else ''))
        tar = results['tar']
        if tar:
            log(f'tar -xf: median {median([r.seconds for r in tar]):.2f} s wall plus sync, CPU '
                f'{median([r.cpu_seconds for r in tar]):.2f} s ({len(tar)} runs)')
        base_private = median([r.peak_private_mb for r in baseline])
        log(f'engine, 200 MB mixed payload: private {base_private:.1f} MiB, file-backed '
            f'{median([r.peak_file_mb for r in baseline]):.1f} MiB, largest view '
            f'{median([r.largest_view_mb for r in baseline]):.1f} MiB (medians of {len(baseline)})')

        runs = results['engine']
        if self.engine_failure:
            log(f'ENGINE FAILED: {self.engine_failure}')
        if runs:
            log(f'engine: median {median([r.seconds for r in runs]):.2f} s wall plus sync, CPU '
                f'{median([r.cpu_seconds for r in runs]):.2f} s ({len(runs)} runs); median '
                f'engine/tar {median(ratios):.2f}')
        else:
            log('engine: no install of the large image succeeded: no time')
        if not image:
            log('engine memory: not measured (no image)')
            return
        shown = runs or self.failed_runs
        if not shown:
            log('engine memory: not measured (no run of the large image)')
            return
        what = f'medians of {len(runs)} runs' if runs else 'in the failed run'
        private = median([r.peak_private_mb for r in shown])
        file_backed = median([r.peak_file_mb for r in shown])
        view = median([r.largest_view_mb for r in shown])
        resident = median([r.peak_rss_mb for r in shown])
        log(f'engine memory, large image ({what}): resident {resident:.1f} MiB, '
            f'private {private:.1f} MiB, file-backed {file_backed:.1f} MiB, largest view of '
            f'the image {view:.1f} MiB, largest mapped at once '
            f'{median([r.largest_mapped_mb for r in shown]):.1f} MiB')

        def verdict(ok):
            return ('met' if ok else 'MISSED') if runs else \
                'not judged: the engine did not install the image'

        log(f'peak file-backed: {file_backed:.1f} MiB (target <= {FILE_BACKED_TARGET_MB} MiB): '
            f'{verdict(file_backed <= FILE_BACKED_TARGET_MB)}')
        log(f'largest view of the image: {view:.1f} MiB (target <= {VIEW_TARGET_MB} MiB): '
            f'{verdict(view <= VIEW_TARGET_MB)}')
        log(f'private: {private:.1f} MiB against {base_private:.1f} MiB for the 200 MB payload '
            f'(target: about the same, within {PRIVATE_TOLERANCE_MB} MiB): '
            f'{verdict(abs(private - base_private) <= PRIVATE_TOLERANCE_MB)}')


def main():
    parser = bench_arguments(__doc__, rounds=3, peers=False)
    parser.add_argument('--budget', type=float, default=3600,
                        help='seconds for the timed rounds: no round is started that would '
                             'likely end past them')
    parser.add_argument('--engine-timeout', type=float, default=1800,
                        help='seconds after which an engine run is ended')
    parser.add_argument('--no-quiet-rerun', action='store_true',
                        help='no /QUIET run after a failed one')
    parser.add_argument('--keep', action='store_true',
                        help='keep the payload, tar and images (about 11 GiB) for another run')
    sys.exit(Bench(parser.parse_args()).main())


if __name__ == '__main__':
    main()
