#!/usr/bin/env bash
# Fails when a C++ source of ours is not as clang-format (with the committed .clang-format) would
# write it, and names each such file. `scripts/check-format.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' ':!third_party/*')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${sources[@]}"
    exit 0
fi
# One call for all: each place it would change is a warning "FILE:LINE:COLUMN: ...".
if report=$(clang-format --dry-run -Werror "${sources[@]}" 2>&1); then
    exit 0
fi
declare -A unformatted=()
while IFS= read -r line; do
    [[ "$line" =~ ^([^:]+):[0-9]+:[0-9]+:\ (error|warning) ]] && unformatted[${BASH_REMATCH[1]}]=1
done <<<"$report"
echo "check-format: not formatted (scripts/check-format.sh --fix formats them):" >&2
if [ ${#unformatted[@]} -eq 0 ]; then
    echo "$report" >&2  # not a formatting warning: clang-format itself failed
else
    printf '  %s\n' "${!unformatted[@]}" | sort >&2
fi
exit 1
