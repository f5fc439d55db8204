#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The consistency check's cost against the solve's, per worked example, counted in instructions
# under callgrind: unlike times on a shared machine, the counts do not move with the load. Each
# figure is one call of the function measured (the solve on its prepared list; the check of the
# solved page with the sources it keeps), what it calls included.
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
printf '%-14s %16s %16s %8s\n' "worked example" "solve (instr.)" "check (instr.)" "share"
status=0
for example in longitudinal face taper drilling milling shaping; do
    solve=$(perCall "${example}WorkedExample" 'zorvik::solve\(zorvik::PreparedList')
    check=$(perCall "${example}WorkedExampleCheck" \
        'ConsistencyCheck::check\(zorvik::FieldStore const&, std::vector<std::vector')
    share=$((100 * check / solve))
    printf '%-14s %16d %16d %7d%%\n' "$example" "$solve" "$check" "$share"
    [ "$share" -le 15 ] || status=1
done
[ "$status" -eq 0 ] || echo "the check costs more than 15 % of the solve on some page" >&2
exit "$status"
