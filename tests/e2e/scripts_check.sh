#!/usr/bin/env bash
# The project's scripts never fail by themselves: a script that stops at its first failure
# (set -e) with pipefail ends with status 141 whenever a pipe's reader (head, grep -q) exits
# before its writer is done, which depends on timing. No such script pipes into one.
#   scripts_check.sh <source-dir>
set -uo pipefail
source=$1
status=0
# The fault itself, so that this check is known to be about something real.
if bash -c 'set -eo pipefail; seq 1 200000 | head -n 1 >/dev/null'; then
    echo "FAIL: this shell shows no SIGPIPE fault; the check below would prove nothing"
    status=1
fi
while IFS= read -r script; do
    grep -qE '^set -[a-z]*e[a-z]* pipefail' "$script" || continue
    hits=$(grep -nE '\|[[:space:]]*(head|grep[[:space:]]+-[a-zA-Z]*[qm])\b' "$script")
    if [ -n "$hits" ]; then
        echo "FAIL: $script pipes into a reader that may exit first:"
        echo "$hits" | sed 's/^/    /'
        status=1
    fi
done < <(find "$source/scripts" "$source/bench" "$source/fuzz" "$source/tests" -name '*.sh')
[ $status -eq 0 ] && echo "scripts: no pipe ends early under set -e and pipefail"
exit $status
