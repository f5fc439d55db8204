#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Batch benchmark: a file of random longitudinal turning pages through zorvik-solve --csv with one
# job and with two, per-row cost and peak memory (maximum resident set), median of several runs,
# against the solve of the same pages in memory. Use a Release build for figures.
# Usage: bench/batch/batch.sh [build-dir] [rows] [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
rows=${2:-1000000}
runs=${3:-5}
solver=$build/tools/zorvik-solve
pages=$build/bench/batch/batch_pages
for program in "$solver" "$pages"; do
    [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/solve"
for _ in $(seq "$runs"); do
    "$pages" "$rows" "$work/pages.csv" >>"$work/solve"
done
solve_us=$(median <"$work/solve")

# Prints "microseconds-per-row kilobytes" for one run.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$solver" longitudinal --csv "$work/pages.csv" --jobs "$1" \
        >"$work/out.csv"
    end=$(date +%s%N)
    [ "$(wc -l <"$work/out.csv")" -eq $((rows + 1)) ] || { echo "short output" >&2; exit 1; }
    awk -v ns=$((end - start)) -v n="$rows" -v kb="$(tail -n 1 "$work/rss")" \
        'BEGIN { printf "%.3f %d\n", ns / 1000 / n, kb }'
}

for jobs in 1 2; do
    : >"$work/jobs$jobs"
    for _ in $(seq "$runs"); do
        measure "$jobs" >>"$work/jobs$jobs"
    done
done
one_us=$(cut -d' ' -f1 "$work/jobs1" | median)
one_kb=$(cut -d' ' -f2 "$work/jobs1" | median)
two_us=$(cut -d' ' -f1 "$work/jobs2" | median)
two_kb=$(cut -d' ' -f2 "$work/jobs2" | median)

printf '%-36s %12s %14s\n' "$rows rows, median of $runs" "µs per row" "peak RSS KiB"
printf '%-36s %12s %14s\n' "solve in memory" "$solve_us" "-"
printf '%-36s %12s %14s\n' "zorvik-solve --csv --jobs 1" "$one_us" "$one_kb"
printf '%-36s %12s %14s\n' "zorvik-solve --csv --jobs 2" "$two_us" "$two_kb"
awk -v s="$solve_us" -v a="$one_us" -v b="$two_us" 'BEGIN {
    printf "one job against the solve alone: %.2f (target at most 1.50)\n", a / s
    printf "two jobs against one, throughput: %.2f (target at least 1.70)\n", a / b
}'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
