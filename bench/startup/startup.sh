#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up benchmark: wall time from process start until the main window is on the screen with
# the New Project dialog in it, and peak memory (maximum resident set), median of several runs,
# side by side with a bare Qt program that shows only an empty main window with a work area.
# Both run on one private virtual X server. Usage: bench/startup/startup.sh [build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-21}
zorvik=$build/app/zorvik
bare=$build/bench/startup/bare_mdi
for program in "$zorvik" "$bare"; do
    [ -x "$program" ] || { echo "missing $program: build first (scripts/build.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
exec 3>"$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/displayfd" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n 1 "$work/displayfd")"
export QT_QPA_PLATFORM=xcb

# Prints "milliseconds kilobytes" for one start.
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f %M -o "$work/rss" "$@" --quit-when-shown >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(tail -n 1 "$work/rss")"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure "$bare" >/dev/null
measure "$zorvik" >/dev/null
: >"$work/bare"
: >"$work/zorvik"
for _ in $(seq "$runs"); do
    measure "$bare" >>"$work/bare"
    measure "$zorvik" >>"$work/zorvik"
done

bare_ms=$(cut -d' ' -f1 "$work/bare" | median)
bare_kb=$(cut -d' ' -f2 "$work/bare" | median)
zorvik_ms=$(cut -d' ' -f1 "$work/zorvik" | median)
zorvik_kb=$(cut -d' ' -f2 "$work/zorvik" | median)
printf '%-28s %10s %14s\n' "program (median of $runs)" "start ms" "peak RSS KiB"
printf '%-28s %10s %14s\n' "bare QMainWindow + QMdiArea" "$bare_ms" "$bare_kb"
printf '%-28s %10s %14s\n' "zorvik" "$zorvik_ms" "$zorvik_kb"
awk -v a="$zorvik_ms" -v b="$bare_ms" -v c="$zorvik_kb" -v d="$bare_kb" \
    'BEGIN { printf "ratio: time %.2f, memory %.2f (target at most 1.30 each)\n", a / b, c / d }'
