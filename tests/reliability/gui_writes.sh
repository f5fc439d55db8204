#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Nothing the calculator writes is lost to a full disk, a file size limit or a second calculator:
# - on a full 64 KiB tmpfs (mounted here; needs root) and past a file size limit, a job saved,
#   the recovery file, a PDF and the settings keep the file written before, byte for byte, and
#   the user is told (the Qt test and the writer's unit test, given the full file system);
# - the real executable under ulimit -f lives on and says that the recovery file failed;
# - two real calculators: the second neither offers nor removes the first's live recovery file;
#   once the first is killed, the next one started offers it.
# Exits 77 (skipped) when the tmpfs cannot be mounted, after everything else has passed.
# Usage, on an X server of its own: gui_writes.sh ZORVIK TEST_JOBKEEPER JOB_TESTS
set -euo pipefail
zorvik=$1
test_jobkeeper=$2
job_tests=$3
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    mountpoint -q "$work/full" 2>/dev/null && umount "$work/full"
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "gui_writes: $*" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

cat >"$work/bracket.zorvik" <<'JOB'
{"format": "zorvik-job", "version": 1, "windows": [
  {"operation": "drilling", "pages": [{"fields": {"txtfdiam2": {"text": "10"}}}]}]}
JOB

skipped=0
mkdir "$work/full"
if mount -t tmpfs -o size=64k,mode=0777 tmpfs "$work/full" 2>"$work/mount.txt"; then
    ZORVIK_FULL_DISK=$work/full QT_QPA_PLATFORM=offscreen \
        "$test_jobkeeper" failedWriteKeepsTheOldFile >"$work/qt.txt" 2>&1 ||
        { cat "$work/qt.txt"; fail "the Qt test failed on a full file system"; }
    grep -q 'SKIP' "$work/qt.txt" && { cat "$work/qt.txt"; fail "the Qt test skipped a row"; }
    ZORVIK_FULL_DISK=$work/full "$job_tests" --gtest_filter='FileWrite.*' \
        --gtest_fail_if_no_test_selected >"$work/unit.txt" 2>&1 ||
        { cat "$work/unit.txt"; fail "the writer's test failed on a full file system"; }
    grep -q 'SKIPPED' "$work/unit.txt" && { cat "$work/unit.txt"; fail "the writer skipped"; }
    echo "gui_writes: a 64 KiB tmpfs filled up: job, recovery file, PDF, settings kept whole"
else
    echo "gui_writes: SKIPPING the full file system checks: a tmpfs cannot be mounted here" \
         "($(cat "$work/mount.txt")); run as root to have them"
    skipped=1
fi

# Starts the real calculator in the background with its own state directory: start NAME STATE
# [ARGUMENT...]. Its process id goes to $work/NAME.pid, its output to $work/NAME.txt.
start() {
    local name=$1 state=$2
    shift 2
    XDG_STATE_HOME=$state "$zorvik" "$@" >"$work/$name.txt" 2>&1 &
    echo $! >"$work/$name.pid"
    pids+=("$!")
    disown
}
# The top-level windows of a process titled as the calculator's questions and main window are.
windows_of() {
    local pid=$1 count=0 id
    for id in $(xwininfo -root -children | awk '/"Zorvik - Machining Engineer"/ { print $1 }'); do
        xprop -id "$id" _NET_WM_PID | grep -q "= $pid\$" && count=$((count + 1))
    done
    echo "$count"
}
wait_for() { # wait_for SECONDS COMMAND...: true once the command is
    local i
    for i in $(seq $(($1 * 10))); do "${@:2}" && return 0; sleep 0.1; done
    return 1
}
recovery_of() { find "$1" -name "recovery-$2-*.zorvik" -size +0 2>/dev/null | head -n 1 || true; }
has_recovery() { [ -n "$(recovery_of "$@")" ]; }
has_windows() { [ "$(windows_of "$1")" -ge "$2" ]; }

# Past the file size limit the write fails; the calculator stays and says so on its log, which
# goes through a pipe: the limit is for files.
XDG_STATE_HOME=$work/limited-state bash -c 'echo $$ >"$0"; ulimit -f 0; exec "$@"' \
    "$work/limited.pid" "$zorvik" "$work/bracket.zorvik" 2>&1 | cat >"$work/limited.txt" &
disown
wait_for 5 test -s "$work/limited.pid" || fail "the limited calculator did not start"
limited=$(cat "$work/limited.pid")
pids+=("$limited")
wait_for 20 grep -q "recovery file could not be written" "$work/limited.txt" ||
    { cat "$work/limited.txt"; fail "no word of the failed recovery file under ulimit -f"; }
sleep 1
kill -0 "$limited" 2>/dev/null || fail "the calculator died under ulimit -f"
grep -q "File too large" "$work/limited.txt" || fail "the failure does not say why"
echo "gui_writes: under ulimit -f the calculator lives on and tells: $(grep -m1 recovery \
    "$work/limited.txt")"

# Two calculators on one state directory.
state=$work/state/Zorvik-Engineer
start first "$work/state" "$work/bracket.zorvik"
first=$(cat "$work/first.pid")
wait_for 20 has_recovery "$state" "$first" || fail "no recovery file for the first"
kept=$(recovery_of "$state" "$first")
[ "$(stat -c %a "$state")" = 700 ] || fail "the state directory is $(stat -c %a "$state")"
[ "$(stat -c %a "$kept")" = 600 ] || fail "the recovery file is $(stat -c %a "$kept")"
start second "$work/state"
second=$(cat "$work/second.pid")
wait_for 20 has_windows "$second" 1 || fail "the second calculator did not show"
sleep 2
[ "$(windows_of "$second")" = 1 ] || fail "the second calculator asks about the first's file"
[ -s "$kept" ] || fail "the second calculator removed the first's recovery file"
kill -9 "$first"
start third "$work/state"
third=$(cat "$work/third.pid")
wait_for 20 has_windows "$third" 2 ||
    fail "the killed calculator's recovery file was not offered"
echo "gui_writes: a live calculator's recovery file is its own; a killed one's is offered"
[ "$skipped" = 0 ] || exit 77
