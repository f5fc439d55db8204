#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Instructions per batch row against the solve of the same page in memory, per operation, counted
# under callgrind: a row of `zorvik-solve OPERATION --csv FILE --jobs 1` (reading, the solve that
# records where its results came from, the consistency check, writing), less the start-up a
# one-row file costs, over the instructions of one solve in batch_pages. Unlike times on the
# shared machine, the counts do not move with the load. Needs valgrind; use a Release build.
# Usage: bench/batch/instructions.sh [build-dir] [rows]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
rows=${2:-20000}
solver=$build/tools/zorvik-solve
pages=$build/bench/batch/batch_pages
for program in "$solver" "$pages"; do
    [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done
command -v valgrind >/dev/null || { echo "needs valgrind (apt-get install valgrind)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# All instructions of a command's run.
total() {
    valgrind --tool=callgrind --callgrind-out-file="$work/out" "$@" >/dev/null 2>&1
    callgrind_annotate "$work/out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }'
}

printf '%-14s %14s %14s %8s\n' operation "solve" "batch row" "ratio"
status=0
for operation in longitudinal face taper drilling milling shaping; do
    "$pages" "$rows" "$work/rows.csv" comma "$operation" >/dev/null
    "$pages" 1 "$work/one.csv" comma "$operation" >/dev/null
    valgrind --tool=callgrind --callgrind-out-file="$work/solve" "$pages" "$rows" \
        "$work/again.csv" comma "$operation" >/dev/null 2>&1
    solve=$(callgrind_annotate --tree=calling --inclusive=yes "$work/solve" 2>/dev/null |
        grep -E "^ *[0-9,]+ .*> .*zorvik::solve\(zorvik::PreparedList.*\([0-9,]+x\)" | head -n 1 |
        sed -E 's/^ *([0-9,]+) .*\(([0-9,]+)x\).*$/\1 \2/' | tr -d , |
        awk '{ printf "%d\n", $1 / $2 }')
    many=$(total "$solver" "$operation" --csv "$work/rows.csv" --jobs 1)
    one=$(total "$solver" "$operation" --csv "$work/one.csv" --jobs 1)
    row=$(((many - one) / (rows - 1)))
    ratio=$(awk -v r="$row" -v s="$solve" 'BEGIN { printf "%.2f", r / s }')
    printf '%-14s %14d %14d %8s\n' "$operation" "$solve" "$row" "$ratio"
    awk -v r="$ratio" 'BEGIN { exit !(r > 1.5) }' && status=1
done
[ "$status" -eq 0 ] || echo "a batch row costs more than 1.5 solves on some operation" >&2
exit "$status"
