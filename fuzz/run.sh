#!/usr/bin/env bash
# Builds the libFuzzer harnesses (the fuzz preset) and runs each one:
#   fuzz/run.sh SECONDS [HARNESS...]
# First every kept regression input (fuzz/regressions/<harness>/) and every seed
# (fuzz/corpus/<harness>/) is run once: any crash there fails at once. Then each harness fuzzes
# for SECONDS (0: the seeds only), growing a working corpus under build/fuzz/work/<harness>
# from the seeds; the committed corpora are never written. A crash leaves its input in
# build/fuzz/crashes/ and fails the run; keep it in fuzz/regressions/<harness>/ with the fix.
# The last line per harness gives its executions and their rate.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: fuzz/run.sh SECONDS [HARNESS...]" >&2
    exit 2
fi
seconds=$1
shift
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    for seeds in fuzz/corpus/*/; do harnesses+=("$(basename "$seeds")"); done
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
bin=build/fuzz/fuzz
# A small quarantine keeps freed memory in use again soon: the default (256 MB) makes every
# large allocation touch fresh pages, which costs the image harness a third of its speed.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
mkdir -p build/fuzz/crashes

failed=0
for name in "${harnesses[@]}"; do
    harness=$bin/${name}_fuzz
    if [ ! -x "$harness" ]; then
        echo "fuzz: no harness '$name' (built: $(cd $bin && ls | sed 's/_fuzz$//' | tr '\n' ' '))" >&2
        exit 2
    fi
    log=build/fuzz/$name.log
    inputs=()
    for dir in fuzz/regressions/$name fuzz/corpus/$name; do
        [ -d "$dir" ] && inputs+=("$dir"/*)
    done
    if [ ${#inputs[@]} -eq 0 ]; then
        echo "fuzz: $name has no seed corpus in fuzz/corpus/$name" >&2
        exit 2
    fi
    # Each seed and regression input once, by name, so that a failure names its file.
    if ! "$harness" -artifact_prefix=build/fuzz/crashes/$name- "${inputs[@]}" >"$log" 2>&1; then
        echo "fuzz: $name fails on a kept input:" >&2
        tail -n 30 "$log" >&2
        failed=1
        continue
    fi
    if [ "$seconds" -eq 0 ]; then
        echo "fuzz: $name: ${#inputs[@]} kept inputs pass"
        continue
    fi
    work=build/fuzz/work/$name
    mkdir -p "$work"
    regressions=()
    [ -d fuzz/regressions/$name ] && regressions=(fuzz/regressions/$name)
    # Inputs that run long (a replacement that spends the whole insertion budget) are still
    # mutated, only less often than quick ones: without the scaling they came to take most of
    # the expansion harness's time.
    if ! "$harness" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
        -entropic_scale_per_exec_time=1 -artifact_prefix=build/fuzz/crashes/$name- \
        "$work" fuzz/corpus/$name "${regressions[@]}" >"$log" 2>&1; then
        echo "fuzz: $name found a crash (input in build/fuzz/crashes/):" >&2
        grep -A 25 -m 1 'ERROR\|invariant broken\|runtime error\|deadly signal' "$log" >&2 || tail -n 30 "$log" >&2
        failed=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz: $name: ${runs:-?} executions in ${seconds} s (${rate:-?}/s), no crash," \
        "$(ls "$work" | wc -l) inputs in the working corpus"
done
exit $failed
