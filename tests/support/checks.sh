# SPDX-License-Identifier: GPL-3.0-or-later
# What the scripts that drive the real zorvik-solve share, sourced after `set -euo pipefail`: a
# scratch folder $work removed at the end, and checks that count what failed and go on, so that
# one run shows every fault. The script ends with `finish NAME`.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# expect WHAT ACTUAL WANTED
expect() {
    checks=$((checks + 1))
    [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}
# verify WHAT COMMAND...: the command succeeds.
verify() {
    local what=$1
    shift
    checks=$((checks + 1))
    "$@" || fail "$what"
}
# run NAME COMMAND...: runs the command with its output in $work/NAME.out and $work/NAME.err and
# its exit status in status.
run() {
    local name=$1
    shift
    status=0
    "$@" >"$work/$name.out" 2>"$work/$name.err" || status=$?
}
# Whether file $1 is the first bytes of file $2, ending on a line end.
prefix_of() {
    local size
    size=$(stat -c %s "$1")
    [ "$size" -gt 0 ] && [ "$(tail -c 1 "$1" | od -An -c | tr -d ' ')" = '\n' ] &&
        cmp -s "$1" <(head -c "$size" "$2")
}
# Milliseconds since the epoch.
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}
# finish NAME: the count of checks, and the status of the whole script.
finish() {
    echo "$1: $((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
