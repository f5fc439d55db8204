#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The consistency check's cost against the solve's, per worked example, counted in instructions
# under callgrind: unlike times on a shared machine, the counts do not move with the load. Each
# figure is one call of the function measured (the solve on its prepared list, recording where
# its results came from, as a batch row's; the check of the solved page), what it calls included.
# Needs valgrind (Debian's package). Use a Release build for figures.
# Usage: bench/check_share.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
bench=${1:-build}/bench/bench_solver
[ -x "$bench" ] || { echo "missing $bench: build first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "needs valgrind (apt-get install valgrind)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Instructions per call of the function matching $2, in benchmark $1: its cost, callees
# included, over the times the benchmark called it.
perCall() {
    valgrind --tool=callgrind --callgrind-out-file="$work/out" "$bench" \
        --benchmark_filter="^$1\$" --benchmark_min_time=0.05 >/dev/null 2>&1
    callgrind_annotate --tree=calling --inclusive=yes "$work/out" 2>/dev/null |
        grep -E "^ *[0-9,]+ .*>.*$2.*\([0-9,]+x\)" | head -n 1 |
        sed -E 's/^ *([0-9,]+) .*\(([0-9,]+)x\).*$/\1 \2/' | tr -d , |
        awk '{ printf "%d\n", $1 / $2 }'
}
# Two ways in: after a solve, from what its record says (a batch row, zorvik-solve, a job), and
# from sources kept as lists (the window, whose page has seen several solves), which adds turning
# the lists into bits. The goal is held on the first, the one repeated row after row.
printf '%-14s %14s %14s %7s %16s %7s\n' "worked example" "solve" "check" "share" \
    "from kept lists" "share"
status=0
for example in longitudinal face taper drilling milling shaping; do
    solve=$(perCall "${example}WorkedExampleSolveAndCheck" 'zorvik::solve\(zorvik::PreparedList')
    check=$(perCall "${example}WorkedExampleSolveAndCheck" \
        'ConsistencyCheck::check\(zorvik::FieldStore const&, std::initializer_list')
    kept=$(perCall "${example}WorkedExampleCheck" \
        'ConsistencyCheck::check\(zorvik::FieldStore const&, std::vector<std::vector')
    share=$(awk -v c="$check" -v s="$solve" 'BEGIN { printf "%.1f", 100 * c / s }')
    printf '%-14s %14d %14d %6s%% %16d %6s%%\n' "$example" "$solve" "$check" "$share" "$kept" \
        "$(awk -v c="$kept" -v s="$solve" 'BEGIN { printf "%.1f", 100 * c / s }')"
    awk -v r="$share" 'BEGIN { exit !(r > 15) }' && status=1
done
[ "$status" -eq 0 ] || echo "the check costs more than 15 % of the solve on some page" >&2
exit "$status"
