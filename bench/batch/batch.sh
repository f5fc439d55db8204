#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Batch benchmark: a file of random pages of an operation (longitudinal turning unless named)
# through zorvik-solve --csv with one
# job and with two, per-row cost and peak memory (maximum resident set), median of several runs,
# against the solve of the same pages in memory. The same pages go through twice: separated by
# commas, and as a decimal-comma spreadsheet writes them (semicolons, decimal commas read and
# written). Use a Release build for figures.
# Usage: bench/batch/batch.sh [build-dir] [rows] [runs] [operation]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
rows=${2:-1000000}
runs=${3:-5}
operation=${4:-longitudinal}
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
    "$pages" "$rows" "$work/pages.csv" comma "$operation" >>"$work/solve"
done
"$pages" "$rows" "$work/pages-semicolon.csv" semicolon "$operation" >/dev/null
solve_us=$(cut -d' ' -f1 "$work/solve" | median)
solve_cpu=$(cut -d' ' -f2 "$work/solve" | median)

# Prints "wall-µs-per-row cpu-µs-per-row kilobytes" for one run of jobs $1 on file $2.
measure() {
    local start end
    # Truncating the last run's output (tens of megabytes) takes the shell some 20 ms: not the
    # tool's work, so it is done before the clock starts.
    rm -f "$work/out.csv"
    start=$(date +%s%N)
    /usr/bin/time -f '%U %S %M' -o "$work/time" "$solver" "$operation" --csv "$work/$2.csv" \
        --jobs "$1" >"$work/out.csv"
    end=$(date +%s%N)
    [ "$(wc -l <"$work/out.csv")" -eq $((rows + 1)) ] || { echo "short output" >&2; exit 1; }
    tail -n 1 "$work/time" | awk -v ns=$((end - start)) -v n="$rows" \
        '{ printf "%.3f %.3f %d\n", ns / 1000 / n, ($1 + $2) * 1e6 / n, $3 }'
}

# Runs of the two files and job counts alternate, so that a disturbance spreads over all four.
for _ in $(seq "$runs"); do
    for file in pages pages-semicolon; do
        for jobs in 1 2; do
            measure "$jobs" "$file" >>"$work/$file-jobs$jobs"
        done
    done
done
column() { cut -d' ' -f"$1" "$work/$3-jobs$2" | median; }

printf '%-40s %14s %14s %14s\n' "$operation, $rows rows, median of $runs" "wall µs/row" "CPU µs/row" \
    "peak RSS KiB"
printf '%-40s %14s %14s %14s\n' "solve in memory" "$solve_us" "$solve_cpu" "-"
for file in pages pages-semicolon; do
    for jobs in 1 2; do
        printf '%-40s %14s %14s %14s\n' "$file: --csv --jobs $jobs" "$(column 1 $jobs $file)" \
            "$(column 2 $jobs $file)" "$(column 3 $jobs $file)"
    done
    awk -v s="$solve_us" -v a="$(column 1 1 $file)" -v b="$(column 1 2 $file)" \
        -v sc="$solve_cpu" -v ac="$(column 2 1 $file)" -v f="$file" 'BEGIN {
        printf "%s: one job against the solve alone: %.2f (target at most 1.50); CPU time: %.2f\n", \
            f, a / s, ac / sc
        printf "%s: two jobs against one, throughput: %.2f (target at least 1.70)\n", f, a / b
    }'
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
