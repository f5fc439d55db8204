#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real executable on its own virtual X server opens a job given on its command line, and a
# moment later has its windows in the recovery file; killed without warning (SIGKILL), it
# leaves that file whole: a job the command-line solver reads, with the texts the job gave.
set -euo pipefail
zorvik=$1
solve=$2
work=$(mktemp -d)
trap 'kill -9 "$(cat "$work/pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$work"' EXIT

cat >"$work/bracket.zorvik" <<'JOB'
{"format": "zorvik-job", "version": 1, "windows": [
  {"operation": "longitudinal", "page shown": 1, "pages": [
    {"fields": {"txtidiam": {"text": "60"}, "txtfdiam": {"text": "52"}}},
    {"fields": {"txtcspeed": {"text": "1.200.0"}}}]},
  {"operation": "drilling", "pages": [{"fields": {"txtfdiam2": {"text": "10"}}}]}]}
JOB
state=$work/state/Zorvik-Engineer

unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_STATE_HOME=$work/state
timeout 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" sh -c \
    '"$0" "$1" >"$2/out.txt" 2>&1 & echo $! >"$2/pid"; wait' \
    "$zorvik" "$work/bracket.zorvik" "$work" &
runner=$!

fail() { echo "recovery: $*"; cat "$work/out.txt" 2>/dev/null || true; exit 1; }
# Each running calculator has a recovery file of its own, named by its process.
recovery=
for _ in $(seq 150); do
    recovery=$(find "$state" -name 'recovery-*.zorvik' -size +0 2>/dev/null | head -n 1 || true)
    [ -n "$recovery" ] && break
    sleep 0.1
done
[ -n "$recovery" ] || fail "no recovery file 15 s after the job opened"
sleep 1.5 # past the second a change waits for, so nothing is half-written when it dies
kill -9 "$(cat "$work/pid")"
wait "$runner" || true

rows=$("$solve" --job "$recovery") || fail "the recovery file is no job: $rows"
grep -q '^longitudinal,Roughing Data,60,52,' <<<"$rows" || fail "roughing page lost: $rows"
grep -q '^longitudinal,Finishing Data,.*,1.200.0,' <<<"$rows" || fail "finishing page lost: $rows"
grep -q '^drilling,' <<<"$rows" || fail "drilling window lost: $rows"
grep -q '"page shown": 1' "$recovery" || fail "the page shown was not kept"
echo "recovery: the windows survived a kill in $recovery"
