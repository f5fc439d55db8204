#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real zorvik-solve where a soak found it holding on or flooding: a stop signal (TERM, INT,
# HUP) ends it promptly with the status of that signal while it waits on any file it reads
# (a FIFO without a writer) or writes (rows longer than a pipe takes at once, to a reader that has
# stopped); a file that never ends is refused by its size; messages about bad machine files and
# raw or huge file names are a few hundred bytes of valid UTF-8 without control bytes; and the
# messages that need the real process name the real cause.
# Usage: cli.sh ZORVIK_SOLVE
set -euo pipefail
solve=$1
# LeakSanitizer, in a sanitizer build, reports nothing of a process a signal ends.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
source "$(dirname "$0")/../support/checks.sh"

# solve_in_background OUT ARGUMENTS...: starts the tool with its output into OUT, its process id
# in pid. A background job of a script starts with SIGINT ignored, which the tool leaves ignored,
# as it does nohup's SIGHUP: the job gives it back its default.
solve_in_background() {
    env --default-signal=INT "$solve" "${@:2}" >"$1" &
    pid=$!
}
# await PID MS: waits up to MS milliseconds for process PID to end, then kills it; sets status to
# how it ended.
await() {
    local deadline=$(($(now_ms) + $2))
    while [ "$(now_ms)" -lt $deadline ] && [ -e "/proc/$1" ] &&
        [ "$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null)" != Z ]; do
        sleep 0.01
    done
    kill -KILL "$1" 2>/dev/null || true
    status=0
    wait "$1" || status=$?
}
# Nothing under 4 KiB of one line that a terminal could take for a control sequence.
clean_message() {
    [ "$(wc -c <"$1")" -le 4096 ] && [ "$(wc -l <"$1")" -eq 1 ] &&
        iconv -f UTF-8 -t UTF-8 "$1" >/dev/null 2>&1 &&
        ! LC_ALL=C grep -aqP '[\x00-\x08\x0b-\x1f\x7f]' "$1"
}

mkfifo "$work/fifo" "$work/stall"
# Rows of 200 kB: far more than a pipe takes at once (4 096 bytes) or holds (64 KiB).
{
    echo "Job,txtidiam"
    for i in 1 2 3 4; do echo "$(head -c 200000 /dev/zero | tr '\0' x),5$i"; done
} >"$work/wide.csv"
"$solve" face --csv "$work/wide.csv" --keep Job >"$work/wide.out"

# --- A stop signal while the tool waits: to open or read a file, or for room in a pipe.
# Each row: what it waits on | its output: null, or stall, a pipe that is not read | its arguments.
while IFS='|' read -r what output arguments; do
    arguments=${arguments//FIFO/$work/fifo}
    read -ra args <<<"${arguments//WIDE/$work/wide.csv}"
    for signal in TERM INT HUP; do
        name="$what, SIG$signal"
        if [ "$output" = stall ]; then
            solve_in_background "$work/stall" "${args[@]}"
            exec 4<"$work/stall"
        else
            solve_in_background /dev/null "${args[@]}"
        fi
        sleep 0.5
        start=$(now_ms)
        kill -$signal $pid
        # Quietly: the shell reports a death by SIGHUP when it notices it.
        await $pid 3000 2>/dev/null
        elapsed=$(($(now_ms) - start))
        echo "$name: ended after $elapsed ms, status $status"
        expect "$name: status" $status $((128 + $(kill -l $signal)))
        # A tool that held on would be killed at three seconds, and its status would say so; the
        # time itself only shows the margin, which a sanitizer build on a loaded machine eats
        # into (2.3 s once, writing wide rows).
        verify "$name: ended within three seconds ($elapsed ms)" [ $elapsed -lt 3000 ]
        if [ "$output" = stall ]; then
            cat <&4 >"$work/stall.out"
            exec 4<&-
            size=$(stat -c %s "$work/stall.out")
            # Whole pieces of at most 4 096 bytes: the rows before, and the start of the last.
            verify "$name: the pipe holds the first $size bytes of the output" \
                cmp -s "$work/stall.out" <(head -c "$size" "$work/wide.out")
        fi
    done
done <<'ROWS'
--job, a FIFO without a writer|null|--job FIFO
--machine, a FIFO without a writer|null|face --machine FIFO
--csv, a FIFO without a writer|null|face --csv FIFO
200 kB rows into a pipe whose reader stopped reading|stall|face --csv WIDE --keep Job
ROWS

# --- A file that never ends is refused once it is over the limit, at once and in few bytes. A
# build that starts under a limit of address space runs under one, so that a tool that reads
# without a limit fails here rather than growing until the kernel stops it.
limited=()
if (ulimit -v 2000000 && "$solve" --help >/dev/null 2>&1); then
    limited=(bash -c 'ulimit -v 2000000 && exec "$@"' -)
fi
start=$(now_ms)
run zero timeout 10 "${limited[@]}" "$solve" face --machine /dev/zero
elapsed=$(($(now_ms) - start))
echo "--machine /dev/zero: ended after $elapsed ms, $(wc -c <"$work/zero.err") bytes on stderr"
expect "--machine /dev/zero, status" $status 2
verify "--machine /dev/zero: ended within a second ($elapsed ms)" [ $elapsed -lt 1000 ]
expect "--machine /dev/zero, message" "$(cat "$work/zero.err")" "zorvik-solve: machine file \
'/dev/zero': larger than a machine file can be: more than 64 KiB (65 536 bytes)"

# --- Bad machine files and raw or huge file names: one short line of UTF-8, no control bytes.
# Each row: what; a command writing the machine file; the arguments (MACHINE: the file); status.
page="longitudinal txtidiam=50 txtfdiam=42 txtlen=100 txtangle=90 txtcspeed=150 txtfeed=0.3"
huge=$(head -c 130000 /dev/zero | tr '\0' x)
raw=$(printf '/no/\x1b[2J\xff\x01')
while IFS=';' read -r what writer arguments expected; do
    eval "$writer" >"$work/bad.machine"
    arguments=${arguments//MACHINE/$work/bad.machine}
    arguments=${arguments//HUGE/$huge}
    read -ra args <<<"${arguments//RAW/$raw}"
    run message "$solve" "${args[@]}"
    echo "$what: $(wc -c <"$work/message.err") bytes on stderr, status $status"
    expect "$what, status" $status "$expected"
    verify "$what: one line of at most 4 KiB, UTF-8, no control bytes ($(wc -c \
        <"$work/message.err") bytes)" clean_message "$work/message.err"
done <<ROWS
ESC in a value;printf 'name = L\npower = \x1b[2J\n';face --machine MACHINE;2
0xFF in a key;printf '\xff\xfe = 1\n';face --machine MACHINE;2
NUL in a key;printf 'na\0me = L\n';face --machine MACHINE;2
a line of 1 MiB;head -c 1048576 /dev/zero | tr '\0' x;face --machine MACHINE;2
a line of 60 kB;head -c 60000 /dev/zero | tr '\0' x;face --machine MACHINE;2
50 MB of NULs;head -c 50000000 /dev/zero;face --machine MACHINE;2
a name with escape codes;printf 'name = \e[31mRed\e[0m\nmax-rpm = 10\n';$page --machine MACHINE;2
a machine file name of 130 000 bytes;true;face --machine HUGE;2
a raw machine file name;true;face --machine RAW;2
a job file name of 130 000 bytes;true;--job HUGE;1
a raw job file name;true;--job RAW;1
ROWS

# --- Messages that need the real process: the CSV file named in a read error (reading
# /proc/self/mem from its start fails), and files given by process substitution, as scripts give
# them: a machine's speed range upside down names both lines, a job's text that is no number is
# warned of and fails --strict.
run mem "$solve" face --csv /proc/self/mem
expect "--csv /proc/self/mem, status" $status 1
expect "--csv /proc/self/mem, message" "$(cat "$work/mem.err")" \
    "zorvik-solve: '/proc/self/mem' could not be read to its end"
run range "$solve" face --machine <(printf 'name = L\nmin-rpm = 50\nmax-rpm = 40\n')
expect "--machine <(range upside down), status" $status 2
verify "--machine <(range upside down): names both lines ($(cat "$work/range.err"))" \
    grep -qx "zorvik-solve: machine file '/dev/fd/[0-9]*', lines 2 and 3: the lowest spindle \
speed, 50 rev/min, is above the highest, 40 rev/min" "$work/range.err"
run text "$solve" --job <(printf '{"format": "zorvik-job", "version": 1, "windows": [{"operation":
    "drilling", "pages": [{"fields": {"txtidiam": {"text": "1.200.0"}}}]}]}') --strict
expect "--job <(a text that is no number) --strict, status" $status 1
verify "--job <(a text that is no number): warned of ($(cat "$work/text.err"))" grep -q \
    "^zorvik-solve: warning: window 1 (drilling), field txtidiam: '1.200.0' is not a number" \
    "$work/text.err"

finish cli_reliability
